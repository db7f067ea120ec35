// What the parameter fields share: their length cap and how a refused one is
// marked.
#pragma once

#include <QString>

class QLineEdit;

namespace bocavo::labo {

// Long enough for any sound value, short enough that a refusal quoting the
// text stays one readable line.
inline constexpr int kFieldChars = 24; // characters

// A refused field turns red and its tooltip gives the reason instead of the
// help it gives otherwise (kept as its "What's this"). Only its colours
// change, never its frame, so it keeps its size and nothing below it moves.
void mark(QLineEdit* field, const QString& reason);

} // namespace bocavo::labo
