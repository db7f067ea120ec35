#include "ui/windows/aprotocole.h"

#include "ui/fonts.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace bocavo::ui {

namespace {

inline constexpr int kClientWidth = 7275;  // twips
inline constexpr int kClientHeight = 7305; // twips

inline constexpr TwipBox kLabel1{2715, 240, 1785, 315};
inline constexpr TwipBox kText1{120, 720, 7035, 4110};
inline constexpr TwipBox kText2{120, 4920, 7035, 1305};
inline constexpr TwipBox kCommand1{2745, 6480, 1785, 600};
// Reaches past the client area: only its corner piece inside can be clicked.
inline constexpr TwipBox kLabel2{6840, 6960, 960, 555};

inline constexpr qreal kTitlePoints = 12;
inline constexpr qreal kTextPoints = 8.25;

// Stored as the program always kept it: CR LF after every line, trailing
// spaces, the double space on line 4 and the original spelling included.
const char* const kProtocole =
    "40 boules de différentes couleurs representant les différents allèles sont \r\n"
    "enfermées par paires dans 20 sacs opaques. Il ya a en tout 10 boules blanches, \r\n"
    "10 boules rouges, 10 boules bleues et 10 boules vertes mais la réparttion des \r\n"
    "sacs n'est pas connues. Dites quelles sont  les frequences allèliques dans la \r\n"
    "population de départ.\r\n"
    "Pour simuler l'action de la reproduction sexuée au sein de cette population, \r\n"
    "mettez de coté au hasard 4 sacs qui représentent les individus qui n'auront pas \r\n"
    "de descendant à la génération suivante. Formez avec les 16 sacs restants 8 \r\n"
    "couples. Pour chacun des couples, effectuez un tirage au sort en prenant une \r\n"
    "boule dans chaque sac, notez le couple d'allèle possèdé par ce premier enfant et \r\n"
    "remmettez les boules dans leur sacs d'origine. Faites un deuxième tirage au sort \r\n"
    "en ne prenant que 6 couples au hasard, notez les génotypes des 6 enfants \r\n"
    "formés et remettez les boules en place. Faites un troisième tirage au sort pour 4 \r\n"
    "couples pris au hasard parmis ceux qui avaient un deuxième enfant puis pour 2 \r\n"
    "couples au hasard parmis ceux qui avaient eu un troisième enfant. \r\n"
    "Vous disposez maitenant des génotype de 20 individus issus de la première \r\n"
    "génération. Calculez ces fréquences allèliques dans cette population. Que \r\n"
    "constatez vous? Confrontez vos résultats à ceux des autres groupes.\r\n"
    "Question subsidiaires : Que se passerait-t-il si un nouvel allèle (boule jaune) \r\n"
    "apparaisait dans les cellules germinale d'un des individus?\r\n";

const char* const kNote =
    "Ici, les boules vertes, rouges, blanches, et bleues, sont remplacées par des allèles "
    "numérotés de 1 à 4. Les couples ne sont pas tirés au hasard mais comme la répartition "
    "des allèles se fait au hasard, cela revient au même... De même il est possible de "
    "passer à la génération suivantes; les enfants de la première génération passent donc "
    "au niveau des parents et on recommence le protocole.\r\n";

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
    : ToolWindow(QStringLiteral("aprotocole"), QStringLiteral("Protocole"), kClientWidth,
                 kClientHeight, Sizing::Fixed) {
    auto* title = new QLabel(QStringLiteral("PROTOCOLE"), this);
    title->setObjectName(QStringLiteral("Label1"));
    place(title, kLabel1);
    title->setFont(verdanaFont(kTitlePoints, QFont::Bold));

    QPlainTextEdit* text1 = createFixedText(this, QStringLiteral("Text1"), kText1, kProtocole);
    QPlainTextEdit* text2 = createFixedText(this, QStringLiteral("Text2"), kText2, kNote);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
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
