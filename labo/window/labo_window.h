// The laboratory's window: parameters, the four commands, progress, the four
// views and the exports. It holds no run of its own: the RunController it is
// given owns the run, and the window reflects it.
#pragma once

#include "core/text/result.h"

#include <QFont>
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QGroupBox;
class QPlainTextEdit;
class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QPrinter;

namespace bocavo::labo {

struct Scenario;

class ChartTab;
class ClassTab;
class AllClassesTab;
class FixationTab;
class HeterozygosityTab;
class GenotypesTab;
class ParameterPanel;
class RunController;
class SeriesDialog;
struct RunCost;

class LaboWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit LaboWindow(RunController* controller, QWidget* parent = nullptr);

    // The exports without their file dialogs, for the dialogs and for tests.
    // Every file is written by the controller, off the window's thread
    // (controller busy until done); pictures are drawn at `size` (default: the
    // chart's size on screen).
    void exportCsvTo(const QString& path);
    // Above kMaxWorkbookCells, first asks whether to keep one generation in K.
    void exportWorkbookTo(const QString& path);
    void exportPngTo(const QString& path, QSize size = {});
    void exportSvgTo(const QString& path, QSize size = {});
    void printTo(QPrinter* printer);
    // « Copier le tableau »: the numbers of the view on display, to the clipboard.
    void copyTable();
    // The scenario files without their dialogs. A file that cannot be read or
    // is refused changes nothing; the reason is shown.
    void saveScenarioTo(const QString& path);
    void openScenarioFrom(const QString& path);
    // « Copier le lien de ce scénario »: the parameters and the consigne as
    // "labo.html#scenario=…", for the clipboard.
    void copyScenarioLink();
    // Files above this size are announced first (100 MB unless a test lowers it).
    void setCsvWarningBytes(std::uint64_t bytes) { csvWarningBytes_ = bytes; }

    ParameterPanel* parameters() const { return parameters_; }
    QPushButton* launchButton() const { return launch_; }
    QPushButton* nextButton() const { return next_; }
    QPushButton* fixationButton() const { return fixation_; }
    QPushButton* resetButton() const { return reset_; }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* progress() const { return progress_; }
    QLabel* runLabel() const { return runLabel_; }
    QTabWidget* tabs() const { return tabs_; }
    ClassTab* classTab() const { return classTab_; }
    AllClassesTab* allClassesTab() const { return allClassesTab_; }
    FixationTab* fixationTab() const { return fixationTab_; }
    HeterozygosityTab* heterozygosityTab() const { return heterozygosityTab_; }
    GenotypesTab* genotypesTab() const { return genotypesTab_; }
    // « Série de tailles », opened from the « Outils » menu.
    SeriesDialog* seriesDialog() const { return seriesDialog_; }
    // « Affichage »: « A et B côte à côte » (usable with set B) and « Mode
    // projecteur » (F11; F11 or Échap leaves it).
    QAction* sideBySideAction() const { return sideBySide_; }
    QAction* projectorAction() const { return projector_; }
    // Full screen, thick lines and large type; leaving restores the window as it was.
    void setProjectorMode(bool on);
    // The last problem shown to the user, if any.
    QMessageBox* notice() const { return notice_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createCommands();
    void createTabs();
    void createMenus();
    void createDisplayMenu();
    // « A et B côte à côte » needs a run with set B.
    void refreshDisplayCommands();
    void layOut();
    void connectController();

    void onLaunch();
    void onFixation();
    bool costAccepted(const Scenario& plan, bool untilFixation);
    bool costAccepted(const RunCost& cost);
    void updateCommands();
    void refreshRunLabel();
    void refreshPendingNotice();
    void refreshCurrentTab();
    void showProblem(const QString& text);
    // Why a command or an export did not start; nothing when it did.
    void showRefusal(const Result<void>& started);
    ChartTab* currentTab() const;
    void exportCsv();
    void exportWorkbook();
    void exportPicture(const char* format);
    void saveFile(const QString& path, std::function<Result<void>(QByteArray&)> draw,
                  const QString& doneText);
    void printCurrentChart();
    void onSaveScenario();
    void onOpenScenario();
    // The lesson: the scenario's instructions, beside the parameters.
    void createLesson();
    void showConsigne(const std::string& consigne);
    // The parameters with the consigne, when every field is sound.
    std::optional<Scenario> lesson() const;

    RunController* controller_ = nullptr;
    ParameterPanel* parameters_ = nullptr;
    QPushButton* launch_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* fixation_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* runLabel_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    ClassTab* classTab_ = nullptr;
    AllClassesTab* allClassesTab_ = nullptr;
    FixationTab* fixationTab_ = nullptr;
    HeterozygosityTab* heterozygosityTab_ = nullptr;
    GenotypesTab* genotypesTab_ = nullptr;
    std::array<QAction*, 6> exportActions_{}; // and « Copier le tableau »
    QAction* openScenario_ = nullptr;
    QMessageBox* notice_ = nullptr;
    SeriesDialog* seriesDialog_ = nullptr;
    std::string consigne_; // of the scenario opened last; empty: none
    QGroupBox* consigneBox_ = nullptr;
    QPlainTextEdit* consigneText_ = nullptr;
    std::uint64_t csvWarningBytes_;
    QWidget* parameterColumn_ = nullptr;
    QAction* sideBySide_ = nullptr;
    QAction* projector_ = nullptr;
    QAction* leaveProjector_ = nullptr;
    // The window as it was before the projector.
    struct Before {
        QRect geometry;
        Qt::WindowStates state;
        QFont font;
        bool fontSet = false;
    } before_;
};

} // namespace bocavo::labo
