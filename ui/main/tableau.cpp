#include "ui/main/tableau.h"

#include "core/run/colours.h"
#include "core/run/tableau_layout.h"
#include "engine/breeding.h"
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

using namespace tableau_layout;

namespace {

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
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(bocavoIcon());

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
    addZoomKeys(*this, [this](ZoomKey key) { zoom(key); });
}

void Tableau::createTitles() {
    Label5 = createTitle("Label5", QString::fromUtf8(kLabel5Text), client_);
    Label6 = createTitle("Label6", QString::fromUtf8(kLabel6Text), client_);
}

void Tableau::createGrids() {
    Tableau_Parent =
        new GenotypeGrid(QString::fromUtf8(kParentRowPrefix), kParentLabelColumn, client_);
    Tableau_Parent->setObjectName(QStringLiteral("Tableau_Parent"));
    Tableau_Enfant =
        new GenotypeGrid(QString::fromUtf8(kChildRowPrefix), kChildLabelColumn, client_);
    Tableau_Enfant->setObjectName(QStringLiteral("Tableau_Enfant"));
}

void Tableau::createPanels() {
    Frame2 = new FrequencyPanel(kParentPanel, client_);
    Frame1 = new FrequencyPanel(kChildPanel, client_);
}

void Tableau::createButtons() {
    Simuler = createButton("Simuler", QString::fromUtf8(kSimulerCaption), client_);
    GenSuiv = createButton("GenSuiv", QString::fromUtf8(kGenSuivCaption), client_);
    GenSuiv->setEnabled(false); // nothing to breed from before the first Simulation
    Command1 = createButton("Command1", QString::fromUtf8(kCommand1Caption), client_);
}

void Tableau::createMenu() {
    // Inside the window on every desktop: the layout counts on it.
    menuBar()->setNativeMenuBar(false);
    // A command straight on the bar: choosing it runs Quit, no submenu opens.
    quit = menuBar()->addAction(QString::fromUtf8(kQuitCaption));
    quit->setObjectName(QStringLiteral("quit"));
    help = menuBar()->addMenu(QString::fromUtf8(kHelpCaption));
    help->setObjectName(QStringLiteral("help"));
    protocole = help->addAction(QString::fromUtf8(kProtocoleCaption));
    protocole->setObjectName(QStringLiteral("protocole"));
    propos = help->addAction(QString::fromUtf8(kProposCaption));
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

void Tableau::placeControls() {
    setFont(verdanaFont(scaledPoints(kFontPoints, scale_)));
    client_->setFixedSize(twipSize(kClientWidth, kClientHeight, scale_));
    place(Label5, kLabel5, scale_);
    place(Label6, kLabel6, scale_);
    Tableau_Parent->placeAt(kTableauParent, scale_);
    Tableau_Enfant->placeAt(kTableauEnfant, scale_);
    place(Frame2, kFrame2, scale_);
    place(Frame1, kFrame1, scale_);
    Frame2->setScale(scale_);
    Frame1->setScale(scale_);
    place(Simuler, kSimuler, scale_);
    place(GenSuiv, kGenSuiv, scale_);
    place(Command1, kCommand1, scale_);
}

void Tableau::setScale(int scale) {
    if (scale == scale_)
        return;
    scale_ = scale;
    placeControls();
    // The window takes its new fixed size now, not at the next event loop pass.
    layout()->activate();
    emit scaleChanged(scale_);
}

void Tableau::layOut() {
    placeControls();
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

void Tableau::showGroup(int number) {
    setWindowTitle(QString::fromUtf8(kTitle) + QString::fromUtf8(kGroupTitle) +
                   QString::number(number));
}

void Tableau::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closing();
}

} // namespace bocavo::ui
