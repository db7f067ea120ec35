#include "ui/windows/apropos.h"

#include "core/run/aux_layouts.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace bocavo::ui {

using namespace apropos_layout;

apropos::apropos()
    : ToolWindow(QStringLiteral("apropos"), QString::fromUtf8(kTitle), kClientWidth, kClientHeight,
                 Sizing::Resizable) {
    text_ = createTextBox(this, QStringLiteral("Text1"), QString::fromUtf8(kAbout));
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    ok_ = new QPushButton(QString::fromUtf8(kCommand1Caption), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    connect(ok_, &QPushButton::clicked, this, &QWidget::hide);
    placeControls();
}

void apropos::placeControls() {
    placeTextBox(text_, kText1, interfaceFont(scale()), scale());
    place(ok_, kCommand1, scale());
}

} // namespace bocavo::ui
