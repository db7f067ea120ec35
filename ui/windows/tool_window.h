// What the four auxiliary windows share: a parentless tool window of a fixed
// client size (or a first size, for the one the user may enlarge), the face
// that stands in for the platform's user-interface font, and the read-only
// grey text box.
#pragma once

#include "ui/twips.h"

#include <QFont>
#include <QString>
#include <QWidget>

class QPlainTextEdit;

namespace bocavo::ui {

enum class Sizing { Fixed, Resizable };

// A caption bar with a close button only, no task-bar entry, no owner: an
// ordinary window, so that the main window comes above it when clicked. The
// close button discards the window (it deletes itself); OK buttons only hide
// it, on a click, on Space and on Enter. Whoever keeps the window learns of
// the discard through closed().
class ToolWindow : public QWidget {
    Q_OBJECT
public:
    ToolWindow(const QString& name, const QString& title, int clientWidth, int clientHeight,
               Sizing sizing); // client size in twips

    // The window at `scale` quarters: its client size (the first size, for the
    // one the user may enlarge), its fonts and every control, times the scale.
    int scale() const { return scale_; }
    void setScale(int scale);

signals:
    // Emitted when the window accepts a close: it is hidden and will be deleted
    // once control returns to the event loop, so it must not be shown again.
    void closed();

protected:
    // Places every control, and sets each font of its own, at scale(). Each
    // window calls it once its controls exist.
    virtual void placeControls() = 0;

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int clientWidth_, clientHeight_; // twips
    Sizing sizing_;
    int scale_ = kUnitScale;
};

// The legend and the About box follow the platform's user-interface font. The
// fixed label widths were laid out for a narrow face at about 8 pt, so a
// narrow face stands in for it wherever this program runs.
QFont interfaceFont(int scale = kUnitScale);

// The texts are kept as the program stores them, every line ended by CR LF;
// shown, each CR LF ends one line.
QString withLineBreaks(const QString& crlfText);

// A multi-line, read-only text box on the light grey background, to be
// placed with placeTextBox.
QPlainTextEdit* createTextBox(QWidget* parent, const QString& name, const QString& crlfText);
// Its place, font and tab stops at `scale` quarters.
void placeTextBox(QPlainTextEdit* edit, const TwipBox& box, const QFont& font, int scale);

} // namespace bocavo::ui
