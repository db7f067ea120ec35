#include "ui/windows/apropos.h"

#include "ui/windows/aux_layouts.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace bocavo::ui {

using namespace apropos_layout;

apropos::apropos()
    : ToolWindow(QStringLiteral("apropos"), QString::fromUtf8(kTitle), kClientWidth, kClientHeight,
                 Sizing::Resizable) {
    QPlainTextEdit* text = createTextBox(this, QStringLiteral("Text1"), kText1,
                                         QString::fromUtf8(kAbout), interfaceFont());
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* ok = new QPushButton(QString::fromUtf8(kCommand1Caption), this);
    ok->setObjectName(QStringLiteral("Command1"));
    place(ok, kCommand1);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace bocavo::ui
