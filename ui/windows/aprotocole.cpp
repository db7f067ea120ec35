#include "ui/windows/aprotocole.h"

#include "ui/fonts.h"
#include "ui/windows/aux_layouts.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace bocavo::ui {

using namespace aprotocole_layout;

namespace {

// Both texts show whole at once, so neither box has a scroll bar.
QPlainTextEdit* createFixedText(QWidget* parent, const QString& name, const TwipBox& box,
                                const char* text) {
    QPlainTextEdit* edit =
        createTextBox(parent, name, box, QString::fromUtf8(text), verdanaFont(kTextPoints));
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return edit;
}

} // namespace

aprotocole::aprotocole()
    : ToolWindow(QStringLiteral("aprotocole"), QString::fromUtf8(kTitle), kClientWidth,
                 kClientHeight, Sizing::Fixed) {
    auto* title = new QLabel(QString::fromUtf8(kLabel1Text), this);
    title->setObjectName(QStringLiteral("Label1"));
    place(title, kLabel1);
    title->setFont(verdanaFont(kTitlePoints, QFont::Bold));

    QPlainTextEdit* text1 = createFixedText(this, QStringLiteral("Text1"), kText1, kProtocole);
    QPlainTextEdit* text2 = createFixedText(this, QStringLiteral("Text2"), kText2, kNote);

    auto* ok = new QPushButton(QString::fromUtf8(kCommand1Caption), this);
    ok->setObjectName(QStringLiteral("Command1"));
    place(ok, kCommand1);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);

    // An empty label on the window's background: nothing of it shows.
    clickArea_ = new QLabel(this);
    clickArea_->setObjectName(QStringLiteral("Label2"));
    place(clickArea_, kLabel2);
    clickArea_->installEventFilter(this);

    setTabOrder(text1, ok);
    setTabOrder(ok, text2);
}

bool aprotocole::eventFilter(QObject* watched, QEvent* event) {
    if (watched != clickArea_) {
        return ToolWindow::eventFilter(watched, event);
    }
    // A click is a press and a release of the left button on the area.
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        pressedInArea_ = mouse->button() == Qt::LeftButton;
        return pressedInArea_;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !pressedInArea_) {
            return false;
        }
        pressedInArea_ = false;
        // Only the part inside the client area belongs to the click area.
        if (clickArea_->visibleRegion().contains(mouse->position().toPoint())) {
            emit giftRequested();
        }
        return true;
    }
    return false;
}

} // namespace bocavo::ui
