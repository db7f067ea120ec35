#include "ui/main/tableau.h"

#include "engine/breeding.h"
#include "ui/colours.h"
#include "ui/fonts.h"
#include "ui/icon.h"
#include "ui/main/frequency_panel.h"
#include "ui/main/genotype_grid.h"
#include "ui/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

namespace bocavo::ui {

namespace {

inline constexpr int kClientWidth = 8640;  // twips, below the menu bar
inline constexpr int kClientHeight = 8520; // twips

inline constexpr TwipBox kLabel5{270, 60, 1875, 255};           // twips
inline constexpr TwipBox kLabel6{4560, 60, 1875, 255};          // twips
inline constexpr TwipBox kTableauParent{150, 420, 4095, 5370};  // twips
inline constexpr TwipBox kTableauEnfant{4470, 420, 4005, 5370}; // twips
inline constexpr TwipBox kFrame2{150, 5940, 4095, 1800};        // twips
inline constexpr TwipBox kFrame1{4470, 5940, 4020, 1800};       // twips
inline constexpr TwipBox kSimuler{960, 7920, 1815, 495};        // twips
inline constexpr TwipBox kGenSuiv{3480, 7920, 1815, 495};       // twips
inline constexpr TwipBox kCommand1{6240, 7920, 1815, 495};      // twips

inline constexpr int kParentLabelColumn = 1100; // twips
inline constexpr int kChildLabelColumn = 1000;  // twips

inline constexpr double kFontPoints = 8.25;

QLabel* createTitle(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* createButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

Tableau::Tableau(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Tableau"));
    setWindowTitle(QStringLiteral("Variation de Frequences d'Allèles"));
    setWindowIcon(bocavoIcon());
    setFont(verdanaFont(kFontPoints));

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);

    createTitles();
    createGrids();
    createPanels();
    createButtons();
    createMenu();
    connectDefaultButton();
    layOut();
    Form_Load();
}

void Tableau::createTitles() {
    Label5 = createTitle("Label5", QStringLiteral("Génération mère :"), client_);
    Label6 = createTitle("Label6", QStringLiteral("Génération fille :"), client_);
}

void Tableau::createGrids() {
    Tableau_Parent = new GenotypeGrid(QStringLiteral("Individu "), kParentLabelColumn, client_);
    Tableau_Parent->setObjectName(QStringLiteral("Tableau_Parent"));
    Tableau_Enfant = new GenotypeGrid(QStringLiteral("Enfant  "), kChildLabelColumn, client_);
    Tableau_Enfant->setObjectName(QStringLiteral("Tableau_Enfant"));
}

void Tableau::createPanels() {
    Frame2 = new FrequencyPanel({"Frame2",
                                 {"Label11", "Label14", "Label13", "Label12"},
                                 {"Label15", "Label16", "Label17", "Label18"}},
                                client_);
    Frame1 = new FrequencyPanel({"Frame1",
                                 {"Label10", "Label7", "Label8", "Label9"},
                                 {"Label1", "Label2", "Label3", "Label4"}},
                                client_);
}

void Tableau::createButtons() {
    Simuler = createButton("Simuler", QStringLiteral("&Simulation"), client_);
    GenSuiv = createButton("GenSuiv", QStringLiteral("&Génération suivante"), client_);
    GenSuiv->setEnabled(false); // nothing to breed from before the first Simulation
    Command1 = createButton("Command1", QStringLiteral("&Légende"), client_);
}

void Tableau::createMenu() {
    // Inside the window on every desktop: the layout counts on it.
    menuBar()->setNativeMenuBar(false);
    // A command straight on the bar: choosing it runs Quit, no submenu opens.
    quit = menuBar()->addAction(QStringLiteral("&Quitter"));
    quit->setObjectName(QStringLiteral("quit"));
    help = menuBar()->addMenu(QStringLiteral("&?"));
    help->setObjectName(QStringLiteral("help"));
    protocole = help->addAction(QStringLiteral("&Protocole"));
    protocole->setObjectName(QStringLiteral("protocole"));
    propos = help->addAction(QStringLiteral("&A propos..."));
    propos->setObjectName(QStringLiteral("propos"));
}

void Tableau::connectDefaultButton() {
    // A main window has no default button of its own: Return and Enter are
    // routed by hand, to the focused button as a dialog would, else to Simuler.
    Simuler->setDefault(true);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, &Tableau::pressDefault);
    }
}

void Tableau::pressDefault() {
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (button == nullptr || button->parentWidget() != client_)
        button = Simuler;
    if (button->isEnabled())
        button->animateClick();
}

void Tableau::layOut() {
    client_->setFixedSize(twipSize(kClientWidth, kClientHeight));
    place(Label5, kLabel5);
    place(Label6, kLabel6);
    place(Tableau_Parent, kTableauParent);
    place(Tableau_Enfant, kTableauEnfant);
    place(Frame2, kFrame2);
    place(Frame1, kFrame1);
    place(Simuler, kSimuler);
    place(GenSuiv, kGenSuiv);
    place(Command1, kCommand1);
    // Neither the user nor the window manager may resize the window.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Only the grids and the buttons take the focus, in this cycle.
    setTabOrder(Tableau_Parent, Simuler);
    setTabOrder(Simuler, Tableau_Enfant);
    setTabOrder(Tableau_Enfant, GenSuiv);
    setTabOrder(GenSuiv, Command1);
    Tableau_Parent->setFocus();
}

void Tableau::Form_Load() {
    // Pale green on every other couple, starting with the first; rows 17-18
    // are coloured too although those two never breed.
    for (int couple = 1; couple <= kIndividus / 2; couple += 2)
        Tableau_Parent->colourRows(2 * couple - 1, 2 * couple, QColor(kCoupleBandColour));
    // One colour per brood, on the rows that brood fills.
    for (std::size_t b = 0; b < kBroods.size(); ++b) {
        Tableau_Enfant->colourRows(kBroods[b].Deb + 1, kBroods[b].Deb + kBroods[b].nbr_couple,
                                   QColor(kBroodColours[b]));
    }
    // The cursors rest on the last cell each colouring reached.
    Tableau_Parent->restCursorAt(18, 2);
    Tableau_Enfant->restCursorAt(20, 2);
}

void Tableau::showScreen(const Screen& screen) {
    Tableau_Parent->showGenotypes(screen.parents);
    Tableau_Enfant->showGenotypes(screen.children);
    Frame2->showTexts(screen.parentFrequencies);
    Frame1->showTexts(screen.childFrequencies);
    Frame2->setTitle(QString::fromStdString(screen.parentCaption));
    Frame1->setTitle(QString::fromStdString(screen.childCaption));
    Simuler->setEnabled(screen.simulerEnabled);
    GenSuiv->setEnabled(screen.genSuivEnabled);
}

void Tableau::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closing();
}

} // namespace bocavo::ui
