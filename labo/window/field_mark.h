// What the parameter fields share: their length cap, their texts from the
// parameter table and how a refused one is marked.
#pragma once

#include <QString>
#include <string_view>

class QLineEdit;

namespace bocavo::labo {

// Long enough for any sound value, short enough that a refusal quoting the
// text stays one readable line.
inline constexpr int kFieldChars = 24; // characters

// A refused field turns red and its tooltip gives the reason instead of the
// help it gives otherwise (kept as its "What's this"). Only its colours
// change, never its frame, so it keeps its size and nothing below it moves.
void mark(QLineEdit* field, const QString& reason);

// A text of the parameter table (UTF-8) as the window shows it.
inline QString tableText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace bocavo::labo
