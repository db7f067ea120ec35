#include "ui/windows/apropos.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace bocavo::ui {

namespace {

// The first size only: the user may enlarge the window, and nothing in it moves.
inline constexpr int kClientWidth = 5430;  // twips
inline constexpr int kClientHeight = 4290; // twips

inline constexpr TwipBox kText1{240, 240, 4965, 3255};
inline constexpr TwipBox kCommand1{1800, 3720, 1500, 360};

// CR LF after every line; the history lines hold real tab characters.
const char* const kAbout = "Bocavo, version 3.3\r\n"
                           "La dérive génétique en classe de sciences de la vie et de la Terre.\r\n"
                           "Réalisé par l'équipe de développement de Bocavo.\r\n"
                           "\r\n"
                           "Modification :\r\n"
                           "-2.0 :\t- Correction du code\r\n"
                           "\r\n"
                           "-3.0 :\t- Ajout de la fonction 'Génération suivante'\r\n"
                           "\t- Coloration du code remaniée : il n'y a plus de bugs\r\n"
                           "\t- Menu\r\n"
                           "\r\n"
                           "-3.1 :\t- Ajout d'une légende\r\n"
                           "\t- Ajout du protocole\r\n"
                           "\t- Ajout de A propos...\r\n"
                           "\r\n"
                           "-3.2 :\t- Modification du protocole\r\n"
                           "\r\n"
                           "PS : Pour ceux qui savent chercher, il y a une petite surprise ...\r\n";

} // namespace

apropos::apropos()
    : ToolWindow(QStringLiteral("apropos"), QStringLiteral("A propos ..."), kClientWidth,
                 kClientHeight, Sizing::Resizable) {
    QPlainTextEdit* text = createTextBox(this, QStringLiteral("Text1"), kText1,
                                         QString::fromUtf8(kAbout), interfaceFont());
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    place(ok, kCommand1);
    connect(ok, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace bocavo::ui
