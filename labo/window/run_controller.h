// Runs the laboratory's long work off the window's thread: advancing the
// classes and writing the CSV file. It owns the run and its statistics; the
// window only asks and reflects.
//
// While a task runs, the worker writes generations past the published one and
// the window reads the published ones only, so the two never touch the same
// counts. A poll timer takes in the new generations and reports progress.
#pragma once

#include "model/experiment.h"
#include "model/statistics.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class QThread;

namespace bocavo::labo {

class RunController : public QObject {
    Q_OBJECT
public:
    explicit RunController(QObject* parent = nullptr);
    ~RunController() override; // cancels a running task and waits for its current step

    const Experiment* experiment() const { return experiment_.get(); }
    const Statistics& statistics() const { return stats_; }
    bool busy() const { return thread_ != nullptr; }

    // Each command returns an empty string when started, else why it was refused.
    // "Lancer": the run of these parameters to `generations`, continuing the
    // current run when it is the same one and not already past it.
    QString launch(int classes, std::uint32_t seed, int generations);
    QString nextGeneration();
    // Continues the current run when it has these parameters, else starts one.
    QString untilFixation(int classes, std::uint32_t seed);
    QString reset();
    QString exportCsv(const QString& path, int every);
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
    QString start(Job job, Done done);
    void runCancelled();
    void replaceRun(int classes, std::uint32_t seed);
    void poll();
    void onThreadFinished();

    std::shared_ptr<Experiment> experiment_;
    Statistics stats_;
    QThread* thread_ = nullptr;
    QTimer poll_;
    std::atomic<bool> cancel_{false};
    std::atomic<int> permille_{0};
    Done done_;
    QString failure_; // written by the worker, read after it ends
    bool cancelled_ = false;
};

} // namespace bocavo::labo
