#include "ui/windows/tool_window.h"

#include "core/run/aux_layouts.h"
#include "core/run/colours.h"
#include "ui/taskbar.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace bocavo::ui {

using tool_layout::kCharactersPerTab;
using tool_layout::kInterfacePoints;

ToolWindow::ToolWindow(const QString& name, const QString& title, int clientWidth, int clientHeight,
                       Sizing sizing)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      clientWidth_(clientWidth), clientHeight_(clientHeight), sizing_(sizing) {
    setObjectName(name);
    setWindowTitle(title);
    // Discarded by its close button; and never what keeps the program running.
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(interfaceFont());
    const QSize client = twipSize(clientWidth, clientHeight);
    if (sizing == Sizing::Fixed) {
        setFixedSize(client);
    } else {
        resize(client);
    }
}

void ToolWindow::setScale(int scale) {
    if (scale == scale_)
        return;
    scale_ = scale;
    setFont(interfaceFont(scale));
    const QSize client = twipSize(clientWidth_, clientHeight_, scale);
    if (sizing_ == Sizing::Fixed) {
        setFixedSize(client);
    } else {
        resize(client);
    }
    placeControls();
}

void ToolWindow::showEvent(QShowEvent* event) {
    // Sent before the window is mapped; a spontaneous one means it already is.
    if (!event->spontaneous())
        skipTaskBar(*this);
    QWidget::showEvent(event);
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
    // Outside a dialog a button answers Space only: Enter on the focused one
    // reaches its window, which presses it as a dialog would.
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && button != nullptr && button->isEnabled()) {
        button->animateClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        emit closed();
    }
}

QFont interfaceFont(int scale) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(scaledPoints(kInterfacePoints, scale));
    return font;
}

QString withLineBreaks(const QString& crlfText) {
    // CR LF ends a line: the last one's leaves no empty line to scroll to. A
    // lone CR would also start a new paragraph in the text box, so each CR LF
    // must become exactly one break.
    QString text = crlfText;
    if (text.endsWith(QLatin1String("\r\n"))) {
        text.chop(2);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QPlainTextEdit* createTextBox(QWidget* parent, const QString& name, const QString& crlfText) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(name);
    // The grey goes to the viewport alone. A palette set on the box would
    // reach its scroll bars as a fresh palette in every new window, and the
    // style keys its cached scroll-bar pictures by palette: each About window
    // ever opened would leave a few KB in Qt's pixmap cache.
    QWidget* viewport = edit->viewport();
    QPalette palette = viewport->palette();
    palette.setColor(QPalette::Base, QColor::fromRgb(kTextBoxGrey));
    viewport->setPalette(palette);
    edit->setReadOnly(true);
    edit->setTabChangesFocus(true);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setPlainText(withLineBreaks(crlfText));
    return edit;
}

void placeTextBox(QPlainTextEdit* edit, const TwipBox& box, const QFont& font, int scale) {
    place(edit, box, scale);
    edit->setFont(font);
    edit->setTabStopDistance(kCharactersPerTab * QFontMetricsF(font).averageCharWidth());
}

} // namespace bocavo::ui
