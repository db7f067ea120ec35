// The window's one background runner: advancing the classes, and writing
// every file the window writes (CSV, workbook, pictures, PDF, scenarios), one task at a
// time, with busy, cancel, progress and failure handled here alone. It owns
// the lab core's run (LabRun: one experiment and its statistics per
// parameter set, A and, when comparing, B), works it on its worker, and the
// window only asks and reflects. Nothing the window's
// thread does waits for a file, so a named pipe nobody reads never freezes it.
//
// While a task runs, the worker writes generations past the published one and
// the window reads the published ones only, so the two never touch the same
// counts. A poll timer takes in the new generations and reports progress.
#pragma once

#include "core/lab/run/lab_run.h"
#include "labo/files/csv_writer.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QThread;

namespace bocavo::labo {

class SizeSeries;

// Every command refused while a task runs is refused in these words.
inline const QString kWaitText =
    QString::fromUtf8(kWaitRefusal.data(), static_cast<qsizetype>(kWaitRefusal.size()));
// Every export cancelled is told in these words.
inline const QString kExportCancelled =
    QStringLiteral("Export annulé : aucun fichier n'a été écrit. La simulation est conservée.");

class RunController : public QObject {
    Q_OBJECT
public:
    // `seeds` starts the source of "Nouvelle graine" (a fresh value each
    // session by default, a fixed one in tests).
    explicit RunController(QObject* parent = nullptr);
    explicit RunController(std::uint32_t seeds, QObject* parent = nullptr);
    ~RunController() override; // cancels a running task and waits for its current step

    // The run: its sets, their statistics, its texts and commands.
    const LabRun& run() const { return run_; }
    // The sets of the current run: 0 (none), 1 (A) or 2 (A and B).
    int sets() const { return run_.sets(); }
    // Set 0 is A, set 1 is B; null (and empty statistics) past sets().
    const Experiment* experiment(int set = 0) const { return run_.experiment(set); }
    const Statistics& statistics(int set = 0) const { return run_.statistics(set); }
    Sets experiments() const;                             // A, then B when comparing
    std::vector<const Statistics*> allStatistics() const; // A, then B when comparing

    // The scenario the current run was started with; only with a run.
    const Scenario& scenario() const { return run_.scenario(); }
    bool busy() const { return thread_ != nullptr; }
    // Where the window's new seeds come from: the window's one random source.
    Source_Aleatoire& seedSource() { return seeds_; }

    // Each command and export is started, or refused with the French reason.
    // "Lancer": the run of this scenario to its generations, continuing the
    // current run when it is the same one and no set is already past them.
    Result<void> launch(const Scenario& plan) { return command(LabCommand::Launch, plan); }
    // One generation more for every set.
    Result<void> nextGeneration() { return command(LabCommand::NextGeneration, {}); }
    // Continues the current run when it has this scenario, else starts one.
    Result<void> untilFixation(const Scenario& plan) {
        return command(LabCommand::UntilFixation, plan);
    }
    Result<void> reset();
    Result<void> exportCsv(const QString& path, int every);
    // The workbook of every set (A, then B) to its last generation, keeping one
    // generation in `every`; the window has checked its size (kMaxWorkbookCells).
    Result<void> exportWorkbook(const QString& path, int every);
    // Any other file: `draw` makes its bytes on the worker (or says why it
    // could not), then they are written there through FileOutput; `doneText`
    // is said once the file is in place.
    using Draw = std::function<Result<void>(QByteArray& bytes)>;
    Result<void> saveFile(const QString& path, Draw draw, const QString& doneText);
    // « Série de tailles »: the sizes not yet done, on the worker, beside the
    // run (which it leaves as it is); the rows stay with the series, whose
    // rowsDone() may be read meanwhile.
    Result<void> runSeries(std::shared_ptr<SizeSeries> series);
    // Whether exportCsv would start now, or why not (busy, or no run yet).
    Result<void> exportRefusal() const;
    void cancel();

    // Waits for the running task, if any, and handles its end (for tests and
    // for closing the window).
    void waitForIdle();

signals:
    void runReplaced();            // new or no experiment: views start over
    void grown();                  // statistics took in new generations
    void progressed(int permille); // share of the task done
    void busyChanged(bool busy);
    void finished(const QString& text, bool failed); // what to tell the user

private:
    using Job = std::function<void(const Control&)>;
    using Done = std::function<void(bool cancelled)>;
    Result<void> start(Job job, Done done);
    Result<void> command(LabCommand command, const Scenario& plan);
    static Sets setsOf(const std::vector<std::shared_ptr<const Experiment>>& held);
    void poll();
    void onThreadFinished();

    LabRun run_;
    QThread* thread_ = nullptr;
    QTimer poll_;
    std::atomic<bool> cancel_{false};
    std::atomic<int> permille_{0};
    Done done_;
    QString failure_; // written by the worker, read after it ends
    Source_Aleatoire seeds_;
};

} // namespace bocavo::labo
