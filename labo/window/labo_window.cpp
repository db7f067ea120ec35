#include "labo/window/labo_window.h"

#include "core/lab/science/run_cost.h"
#include "core/lab/words/pending_notice.h"
#include "labo/files/csv_writer.h"
#include "labo/files/scenario_file.h"
#include "labo/window/access_keys.h"
#include "labo/window/all_classes_tab.h"
#include "labo/window/class_tab.h"
#include "labo/window/csv_size_dialog.h"
#include "labo/window/fixation_tab.h"
#include "labo/window/genotypes_tab.h"
#include "labo/window/heterozygosity_tab.h"
#include "labo/window/numbers.h"
#include "labo/window/parameter_panel.h"
#include "labo/window/run_controller.h"
#include "labo/window/series_dialog.h"
#include "ui/icon.h"

#include <QAction>
#include <QChartView>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace bocavo::labo {
namespace {

inline constexpr QSize kRoomyWindow{1280, 820}; // pixels, when the screen has room
inline constexpr QSize kFrameAllowance{16, 48}; // pixels of the window manager's frame and caption
inline constexpr int kLeastColumnWidth = 260;   // pixels: below it the column scrolls sideways

std::filesystem::path fileName(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QPushButton* newButton(const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

} // namespace

LaboWindow::LaboWindow(RunController* controller, QWidget* parent)
    : QMainWindow(parent), controller_(controller),
      parameters_(new ParameterPanel(controller->seedSource())), csvWarningBytes_(kLargeCsvBytes) {
    setObjectName("Labo");
    setWindowTitle("Laboratoire de dérive - Bocavo");
    setWindowIcon(ui::bocavoIcon());
    createCommands();
    createTabs();
    createLesson();
    createMenus();
    layOut();
    AccessKeyGuard::install(this);
    connectController();
    updateCommands();
    refreshRunLabel();
    refreshCurrentTab();
    // A projector's 1024 × 768 is common in classrooms: never open larger than
    // the screen the window is on.
    resize(kRoomyWindow.boundedTo(screen()->availableGeometry().size() - kFrameAllowance));
}

void LaboWindow::createCommands() {
    launch_ = newButton("&Lancer", "lancer");
    launch_->setToolTip("Fait dériver toutes les classes jusqu'à la génération choisie");
    next_ = newButton("Génération &suivante", "generationSuivante");
    next_->setToolTip("Une génération de plus pour chaque classe");
    fixation_ = newButton("Jusqu'à fi&xation", "jusquAFixation");
    fixation_->setToolTip("Continue jusqu'à ce que chaque classe n'ait plus qu'un allèle");
    reset_ = newButton("&Réinitialiser", "reinitialiser");
    cancel_ = newButton("&Annuler", "annuler");
    progress_ = new QProgressBar;
    progress_->setObjectName("progression");
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    runLabel_ = new QLabel;
    runLabel_->setObjectName("etat");
    runLabel_->setWordWrap(true);

    connect(launch_, &QPushButton::clicked, this, &LaboWindow::onLaunch);
    connect(fixation_, &QPushButton::clicked, this, &LaboWindow::onFixation);
    connect(next_, &QPushButton::clicked, this,
            [this] { showRefusal(controller_->nextGeneration()); });
    connect(reset_, &QPushButton::clicked, this, [this] { showRefusal(controller_->reset()); });
    connect(cancel_, &QPushButton::clicked, controller_, &RunController::cancel);
    connect(parameters_, &ParameterPanel::validityChanged, this, &LaboWindow::updateCommands);
    connect(parameters_, &ParameterPanel::validityChanged, this, &LaboWindow::refreshPendingNotice);
}

void LaboWindow::createTabs() {
    tabs_ = new QTabWidget;
    tabs_->setObjectName("vues");
    classTab_ = new ClassTab;
    allClassesTab_ = new AllClassesTab;
    fixationTab_ = new FixationTab;
    heterozygosityTab_ = new HeterozygosityTab;
    genotypesTab_ = new GenotypesTab;
    tabs_->addTab(classTab_, "Une classe");
    tabs_->addTab(allClassesTab_, "Toutes les classes");
    tabs_->addTab(fixationTab_, "Fixation");
    tabs_->addTab(heterozygosityTab_, "Hétérozygotie");
    tabs_->addTab(genotypesTab_, "Génotypes");
    connect(tabs_, &QTabWidget::currentChanged, this, &LaboWindow::refreshCurrentTab);
    connect(classTab_, &ClassTab::problem, this, &LaboWindow::showProblem);
}

void LaboWindow::createMenus() {
    QMenu* file = menuBar()->addMenu("&Fichier");
    openScenario_ = file->addAction("&Ouvrir un scénario…", this, &LaboWindow::onOpenScenario);
    openScenario_->setShortcut(QKeySequence::Open);
    QAction* save = file->addAction("&Enregistrer le scénario…", this, &LaboWindow::onSaveScenario);
    save->setShortcut(QKeySequence::Save);
    file->addAction("Copier le &lien de ce scénario", this, &LaboWindow::copyScenarioLink)
        ->setObjectName("copierLien");
    file->addSeparator();
    exportActions_[0] =
        file->addAction("Exporter les données en &CSV...", this, &LaboWindow::exportCsv);
    exportActions_[1] =
        file->addAction("Exporter pour le &tableur...", this, &LaboWindow::exportWorkbook);
    exportActions_[2] =
        file->addAction("Exporter le graphique en &PNG...", this, [this] { exportPicture("PNG"); });
    exportActions_[3] =
        file->addAction("Exporter le graphique en &SVG...", this, [this] { exportPicture("SVG"); });
    exportActions_[4] =
        file->addAction("&Imprimer le graphique...", this, &LaboWindow::printCurrentChart);
    exportActions_[4]->setShortcut(QKeySequence::Print);
    file->addSeparator();
    QAction* quit = file->addAction("&Quitter", this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
    QMenu* edit = menuBar()->addMenu("É&dition");
    exportActions_[5] = edit->addAction("&Copier le tableau", this, &LaboWindow::copyTable);
    exportActions_[5]->setObjectName("copierTableau");
    exportActions_[5]->setShortcut(QKeySequence::Copy);
    createDisplayMenu();
    // Its own window beside this one: set A's settings at several sizes.
    seriesDialog_ = new SeriesDialog(
        controller_, parameters_, [this](const RunCost& cost) { return costAccepted(cost); }, this);
    QMenu* tools = menuBar()->addMenu("&Outils");
    tools
        ->addAction("Série de &tailles...", this,
                    [this] {
                        seriesDialog_->show();
                        seriesDialog_->raise();
                        seriesDialog_->activateWindow();
                    })
        ->setObjectName("serieDeTailles");
}

// The parameters in a column on the left, the commands and the views beside
// them: the charts keep the window's whole height.
void LaboWindow::layOut() {
    // The commands, then the progress of the one running under them: one row
    // for both would not fit a projector's width beside the parameters.
    auto* commands = new QHBoxLayout;
    for (QPushButton* button : {launch_, next_, fixation_, reset_})
        commands->addWidget(button);
    commands->addStretch(1);
    auto* running = new QHBoxLayout;
    running->addWidget(progress_, 1);
    running->addWidget(cancel_);
    // The parameters scroll rather than push the window past a small screen.
    auto* column = new QWidget;
    auto* left = new QVBoxLayout(column);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(consigneBox_);
    left->addWidget(parameters_);
    left->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName("colonneParametres");
    scroll->setWidget(column);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // Its bar always there, so that the room the column asks for counts it
    // and the fields never slide under it; narrower than that, it scrolls.
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setMinimumWidth(kLeastColumnWidth);
    parameterColumn_ = scroll;
    auto* right = new QVBoxLayout;
    right->addLayout(commands);
    right->addLayout(running);
    right->addWidget(runLabel_);
    right->addWidget(tabs_, 1);
    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(scroll);
    layout->addLayout(right, 1);
    setCentralWidget(central);
}

void LaboWindow::connectController() {
    connect(controller_, &RunController::busyChanged, this, &LaboWindow::updateCommands);
    // A run continued to new generations takes the fields in without being replaced.
    connect(controller_, &RunController::busyChanged, this, &LaboWindow::refreshPendingNotice);
    connect(controller_, &RunController::progressed, progress_, &QProgressBar::setValue);
    connect(controller_, &RunController::grown, this, [this] {
        refreshRunLabel();
        refreshCurrentTab();
    });
    connect(controller_, &RunController::runReplaced, this, [this] {
        for (int i = 0; i < tabs_->count(); ++i)
            static_cast<ChartTab*>(tabs_->widget(i))->forgetRun();
        refreshRunLabel();
        refreshPendingNotice();
        refreshCurrentTab();
        updateCommands();
    });
    connect(controller_, &RunController::finished, this, [this](const QString& text, bool failed) {
        // A failure is told in its box; no earlier success is left showing.
        if (failed)
            statusBar()->clearMessage();
        else
            statusBar()->showMessage(text);
        refreshRunLabel();
        refreshCurrentTab();
        updateCommands();
        if (failed)
            showProblem(text);
    });
}

void LaboWindow::onLaunch() {
    const auto plan = parameters_->scenario();
    if (!plan)
        return showProblem(parameters_->errors());
    if (controller_->busy())
        return showProblem(kWaitText);
    if (!costAccepted(*plan, false))
        return;
    showRefusal(controller_->launch(*plan));
}

void LaboWindow::onFixation() {
    const auto plan = parameters_->scenario();
    if (!plan)
        return showProblem(parameters_->errors());
    if (controller_->busy())
        return showProblem(kWaitText);
    if (!costAccepted(*plan, true))
        return;
    showRefusal(controller_->untilFixation(*plan));
}

// A run of more than a minute of processor time or a gigabyte is asked for
// first, with its estimate: a click should not hold a classroom's machine
// for hours unawares.
bool LaboWindow::costAccepted(const Scenario& plan, bool untilFixation) {
    return costAccepted(estimateRun(plan, untilFixation));
}

bool LaboWindow::costAccepted(const RunCost& cost) {
    if (!cost.costly())
        return true;
    QMessageBox ask(QMessageBox::Question, "Laboratoire de dérive",
                    QString("Ce calcul demandera %1.\nLe lancer quand même ? « Annuler » "
                            "l'arrête à tout moment.")
                        .arg(QString::fromStdString(costText(cost))),
                    QMessageBox::Yes | QMessageBox::No, this);
    ask.setObjectName("confirmationCout");
    ask.setDefaultButton(QMessageBox::No);
    ask.button(QMessageBox::Yes)->setText("&Lancer");
    ask.button(QMessageBox::No)->setText("&Ne pas lancer");
    return ask.exec() == QMessageBox::Yes;
}

void LaboWindow::updateCommands() {
    const bool busy = controller_->busy();
    // An export running is the controller's task, not the run's.
    const LabCommands can = controller_->run().commands(busy, parameters_->scenario().has_value());
    launch_->setEnabled(can.launch);
    fixation_->setEnabled(can.launch);
    next_->setEnabled(can.nextGeneration);
    reset_->setEnabled(can.reset);
    cancel_->setEnabled(can.cancel);
    parameters_->setEnabled(can.edit);
    for (QAction* action : exportActions_)
        action->setEnabled(can.exports);
    openScenario_->setEnabled(can.edit);
    if (!busy)
        progress_->setValue(controller_->run().hasRun() ? progress_->maximum() : 0);
    refreshDisplayCommands();
}

void LaboWindow::refreshRunLabel() {
    runLabel_->setText(QString::fromStdString(controller_->run().runLabel()));
}

// Fields edited after a run wait for the next « Lancer »: the views still show
// the run's own parameters, and the panel says so until the two agree again.
void LaboWindow::refreshPendingNotice() {
    const bool hasRun = controller_->experiment() != nullptr;
    parameters_->showPending(hasRun ? QString::fromStdString(pendingNotice(controller_->scenario(),
                                                                           parameters_->scenario()))
                                    : QString());
}

ChartTab* LaboWindow::currentTab() const {
    return static_cast<ChartTab*>(tabs_->currentWidget());
}

// Only the visible view is redrawn; the others catch up when shown.
void LaboWindow::refreshCurrentTab() {
    std::vector<SetRun> sets;
    for (int set = 0; set < controller_->sets(); ++set)
        sets.push_back({controller_->experiment(set), &controller_->statistics(set)});
    currentTab()->display(std::move(sets));
}

void LaboWindow::showRefusal(const Result<void>& started) {
    if (!started)
        showProblem(QString::fromStdString(started.reason()));
}

void LaboWindow::showProblem(const QString& text) {
    if (!notice_) {
        notice_ = new QMessageBox(QMessageBox::Warning, "Laboratoire de dérive", QString(),
                                  QMessageBox::Ok, this);
        notice_->setObjectName("probleme");
    }
    notice_->setText(text);
    notice_->open(); // window-modal, without blocking the event loop
}

void LaboWindow::onSaveScenario() {
    if (!parameters_->scenario())
        return showProblem("Le scénario ne peut pas être enregistré tant que des paramètres sont "
                           "refusés :\n" +
                           parameters_->errors());
    const QString path = QFileDialog::getSaveFileName(
        this, "Enregistrer le scénario",
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/lecon" +
            kScenarioExtension,
        QString("Scénarios (*%1)").arg(kScenarioExtension));
    if (!path.isEmpty())
        saveScenarioTo(path);
}

void LaboWindow::saveScenarioTo(const QString& path) {
    const auto plan = lesson();
    if (!plan)
        return showProblem("Le scénario ne peut pas être enregistré tant que des paramètres sont "
                           "refusés :\n" +
                           parameters_->errors());
    const std::string text = scenarioText(*plan);
    saveFile(
        path,
        [text](QByteArray& bytes) {
            bytes = QByteArray::fromStdString(text);
            return Result<void>();
        },
        QString("Scénario enregistré dans « %1 ».").arg(path));
}

void LaboWindow::onOpenScenario() {
    const QString path = QFileDialog::getOpenFileName(
        this, "Ouvrir un scénario",
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        QString("Scénarios (*%1);;Tous les fichiers (*)").arg(kScenarioExtension));
    if (!path.isEmpty())
        openScenarioFrom(path);
}

void LaboWindow::openScenarioFrom(const QString& path) {
    if (controller_->busy())
        return showProblem(kWaitText);
    const Result<Scenario> file = loadScenario(fileName(path));
    if (!file)
        return showProblem(QString("Le scénario « %1 » n'a pas été ouvert ; les paramètres "
                                   "restent les mêmes.\n%2")
                               .arg(path, QString::fromStdString(file.reason())));
    parameters_->setScenario(*file);
    showConsigne(file->consigne);
    statusBar()->showMessage(
        QString("Scénario « %1 » ouvert : « Lancer » le fait tourner.").arg(path));
}

// A running task is cancelled, and the window closes as soon as the runner
// has stopped: within one class's generation, or the next look for a pipe's
// reader (a file left unfinished is removed).
void LaboWindow::closeEvent(QCloseEvent* event) {
    controller_->cancel();
    controller_->waitForIdle();
    event->accept();
}

} // namespace bocavo::labo
