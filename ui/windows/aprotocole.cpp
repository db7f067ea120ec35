#include "ui/windows/aprotocole.h"

#include "core/run/aux_layouts.h"
#include "ui/fonts.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace bocavo::ui {

using namespace aprotocole_layout;

namespace {

// Both texts show whole at once, so neither box has a scroll bar.
QPlainTextEdit* createFixedText(QWidget* parent, const QString& name, const char* text) {
    QPlainTextEdit* edit = createTextBox(parent, name, QString::fromUtf8(text));
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return edit;
}

} // namespace

aprotocole::aprotocole()
    : ToolWindow(QStringLiteral("aprotocole"), QString::fromUtf8(kTitle), kClientWidth,
                 kClientHeight, Sizing::Fixed) {
    title_ = new QLabel(QString::fromUtf8(kLabel1Text), this);
    title_->setObjectName(QStringLiteral("Label1"));

    text1_ = createFixedText(this, QStringLiteral("Text1"), kProtocole);
    text2_ = createFixedText(this, QStringLiteral("Text2"), kNote);

    ok_ = new QPushButton(QString::fromUtf8(kCommand1Caption), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    connect(ok_, &QPushButton::clicked, this, &QWidget::hide);

    // An empty label on the window's background: nothing of it shows.
    clickArea_ = new QLabel(this);
    clickArea_->setObjectName(QStringLiteral("Label2"));
    clickArea_->installEventFilter(this);

    setTabOrder(text1_, ok_);
    setTabOrder(ok_, text2_);
    placeControls();
}

void aprotocole::placeControls() {
    place(title_, kLabel1, scale());
    title_->setFont(verdanaFont(scaledPoints(kTitlePoints, scale()), QFont::Bold));
    const QFont text = verdanaFont(scaledPoints(kTextPoints, scale()));
    placeTextBox(text1_, kText1, text, scale());
    placeTextBox(text2_, kText2, text, scale());
    place(ok_, kCommand1, scale());
    place(clickArea_, kLabel2, scale());
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
