#include "labo/window/run_controller.h"

#include "core/lab/science/limits.h"
#include "core/lab/view/run_status.h"
#include "labo/files/csv_writer.h"
#include "labo/files/file_output.h"
#include "labo/window/numbers.h"

#include <QThread>
#include <algorithm>
#include <exception>
#include <random>

namespace bocavo::labo {
namespace {

constexpr int kPollMs = 150; // how often the views catch up with a running task

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString standingText(const std::vector<int>& generations) {
    return fromUtf8(runStanding(generations));
}

RunController::RunController(QObject* parent) : RunController(std::random_device{}(), parent) {}

RunController::RunController(std::uint32_t seeds, QObject* parent)
    : QObject(parent), seeds_(seeds) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &RunController::poll);
}

RunController::~RunController() {
    if (thread_) {
        cancel_ = true;
        thread_->wait();
        delete thread_;
    }
}

const Experiment* RunController::experiment(int set) const {
    return set >= 0 && set < sets() ? runs_[static_cast<std::size_t>(set)].experiment.get()
                                    : nullptr;
}

Sets RunController::experiments() const {
    Sets sets;
    for (const Run& run : runs_)
        sets.push_back(run.experiment.get());
    return sets;
}

std::vector<const Statistics*> RunController::allStatistics() const {
    std::vector<const Statistics*> all;
    for (const Run& run : runs_)
        all.push_back(&run.stats);
    return all;
}

const Statistics& RunController::statistics(int set) const {
    return set >= 0 && set < sets() ? runs_[static_cast<std::size_t>(set)].stats : none_;
}

bool RunController::sameRun(const Scenario& plan) const {
    return sets() == (plan.b ? 2 : 1) && continuesRun(scenario_, plan);
}

void RunController::replaceRun(const Scenario& plan) {
    scenario_ = plan;
    runs_.clear();
    for (const Settings* settings : {&plan.a, plan.b ? &*plan.b : nullptr}) {
        if (!settings)
            continue;
        Run& run = runs_.emplace_back();
        // B draws its own sequences even with A's parameters.
        run.experiment = std::make_shared<Experiment>(
            *settings, plan.classes, setSeed(plan, static_cast<int>(runs_.size()) - 1));
        run.stats.reset(plan.classes);
    }
    emit runReplaced();
}

bool RunController::allFixed() const {
    return std::all_of(runs_.begin(), runs_.end(),
                       [](const Run& run) { return run.experiment->allFixed(); });
}

std::vector<int> RunController::extinctClasses() const {
    std::vector<int> all;
    for (const Run& run : runs_)
        all.push_back(run.experiment->extinctClasses());
    return all;
}

std::vector<int> RunController::generations() const {
    std::vector<int> all;
    for (const Run& run : runs_)
        all.push_back(run.experiment->generation());
    return all;
}

int RunController::lastGeneration() const {
    int last = -1;
    for (const Run& run : runs_)
        last = std::max(last, run.experiment->generation());
    return last;
}

// Each set in turn, A then B, with one progress bar for both: set i of n fills
// the i-th n-th of it. A cancel stops the set under way and skips the others.
RunController::Job RunController::eachSet(std::function<void(Experiment&, const Control&)> step) {
    std::vector<std::shared_ptr<Experiment>> experiments;
    for (const Run& run : runs_)
        experiments.push_back(run.experiment);
    return [experiments, step = std::move(step)](const Control& control) {
        const double n = static_cast<double>(experiments.size());
        for (std::size_t i = 0; i < experiments.size(); ++i) {
            const Control part{control.cancel, [&control, i, n](int generation, double done) {
                                   control.progress(generation,
                                                    (static_cast<double>(i) + done) / n);
                               }};
            step(*experiments[i], part);
            if (control.cancel->load())
                return;
        }
    };
}

QString RunController::launch(const Scenario& plan) {
    if (busy())
        return kWaitRefusal;
    const int generations = plan.generations;
    const bool behind = std::all_of(runs_.begin(), runs_.end(), [generations](const Run& run) {
        return run.experiment->generation() <= generations;
    });
    if (!sameRun(plan) || !behind)
        replaceRun(plan);
    scenario_.generations = generations; // a run continued now goes to the new last generation
    return start(eachSet([generations](Experiment& run, const Control& c) {
                     if (run.generation() < generations)
                         run.advanceTo(generations, c);
                 }),
                 [this, generations](bool cancelled) {
                     const bool reached =
                         std::all_of(runs_.begin(), runs_.end(), [generations](const Run& run) {
                             return run.experiment->generation() == generations;
                         });
                     if (cancelled && !reached)
                         return runCancelled();
                     emit finished(fromUtf8(reachedText(generations, scenario_.classes, sets()) +
                                            extinctText(extinctClasses())),
                                   false);
                 });
}

QString RunController::nextGeneration() {
    if (busy())
        return kWaitRefusal;
    if (!experiment() || experiment()->generation() < 0)
        return fromUtf8(kNoGenerationYet);
    if (lastGeneration() >= kMaxGeneration)
        return fromUtf8(lastGenerationText());
    const int next = experiment()->generation() + 1;
    // A set left behind by a cancel catches up with A; one ahead of it (after
    // "Jusqu'à fixation") takes one step of its own.
    return start(eachSet([next](Experiment& run, const Control& c) {
                     run.advanceTo(std::max(next, run.generation() + 1), c);
                 }),
                 [this, next](bool cancelled) {
                     const auto all = generations();
                     const bool reached =
                         std::all_of(all.begin(), all.end(), [next](int g) { return g >= next; });
                     if (cancelled && !reached)
                         return runCancelled();
                     emit finished(fromUtf8(steppedText(all) + extinctText(extinctClasses())),
                                   false);
                 });
}

QString RunController::untilFixation(const Scenario& plan) {
    if (busy())
        return kWaitRefusal;
    if (!sameRun(plan))
        replaceRun(plan);
    if (allFixed()) {
        const std::string extinct = extinctText(extinctClasses());
        emit finished(fromUtf8(alreadyFixedText(generations(), !extinct.empty()) + extinct), false);
        return {};
    }
    return start(
        eachSet([](Experiment& run, const Control& c) {
            if (!run.allFixed())
                run.advanceUntilFixation(c);
        }),
        [this](bool cancelled) {
            if (cancelled && !allFixed())
                return runCancelled();
            const std::string extinct = extinctText(extinctClasses());
            emit finished(
                fromUtf8(fixationText(generations(), allFixed(), !extinct.empty()) + extinct),
                false);
        });
}

QString RunController::reset() {
    if (busy())
        return kWaitRefusal;
    runs_.clear();
    emit runReplaced();
    emit finished(fromUtf8(kRunErased), false);
    return {};
}

QString RunController::exportRefusal() const {
    if (busy())
        return kWaitRefusal;
    if (!experiment() || experiment()->generation() < 0)
        return fromUtf8(kNothingToExport);
    return {};
}

std::vector<std::shared_ptr<const Experiment>> RunController::heldSets() const {
    std::vector<std::shared_ptr<const Experiment>> held;
    for (const Run& run : runs_)
        held.push_back(run.experiment);
    return held;
}

Sets RunController::setsOf(const std::vector<std::shared_ptr<const Experiment>>& held) {
    Sets sets;
    for (const auto& run : held)
        sets.push_back(run.get());
    return sets;
}

QString RunController::exportCsv(const QString& path, int every) {
    if (const QString refused = exportRefusal(); !refused.isEmpty())
        return refused;
    const auto runs = heldSets();
    // The scenario that reproduces the file: the run as far as it went.
    Scenario plan = scenario_;
    plan.generations = std::max(1, experiment()->generation());
    auto outcome = std::make_shared<CsvOutcome>();
    const std::string target = path.toStdString(); // file names are UTF-8 bytes here
    return start(
        [runs, plan, outcome, target, every](const Control& c) {
            const Sets sets = setsOf(runs);
            *outcome = bocavo::labo::exportCsv(sets, plan, target, every, c);
        },
        [this, outcome, path](bool) {
            if (outcome->written) {
                const auto name = [](const std::filesystem::path& file) {
                    return QString::fromStdU16String(file.filename().u16string());
                };
                QString text = QString("Fichier « %1 » écrit : %2 lignes%3.")
                                   .arg(path, grouped(outcome->rows),
                                        outcome->scenario.empty()
                                            ? QString()
                                            : QString(outcome->scenarioKept
                                                          ? ", et son scénario « %1 » déjà à côté"
                                                          : ", et son scénario « %1 » à côté")
                                                  .arg(name(outcome->scenario)));
                if (!outcome->scenarioLeft.empty())
                    text += QString(" « %1 », qui décrit une autre simulation, reste tel quel.")
                                .arg(name(outcome->scenarioLeft));
                // The file stands; what is missing beside it is told in a box.
                if (!outcome->warning.empty())
                    text += "\n" + fromUtf8(outcome->warning);
                emit finished(text, !outcome->warning.empty());
            } else if (outcome->cancelled)
                emit finished(kExportCancelled, false);
            else
                emit finished(fromUtf8(outcome->error) + "\nLa simulation est conservée.", true);
        });
}

QString RunController::saveFile(const QString& path, Draw draw, const QString& doneText) {
    if (busy())
        return kWaitRefusal;
    struct Outcome {
        QString error;
        bool cancelled = false;
    };
    auto outcome = std::make_shared<Outcome>();
    return start(
        [outcome, draw = std::move(draw), target = path.toStdString()](const Control& c) {
            QByteArray bytes;
            outcome->error = draw(bytes);
            if (!outcome->error.isEmpty())
                return;
            // The cancel also ends the wait for a named pipe's reader.
            FileOutput out(target, c.cancel);
            if (!c.cancel->load() && out.open() &&
                out.write({bytes.constData(), static_cast<std::size_t>(bytes.size())}) &&
                out.commit())
                return;
            outcome->cancelled = c.cancel->load() || out.cancelled();
            outcome->error = fromUtf8(out.error());
        },
        [this, outcome, path, doneText](bool) {
            if (outcome->cancelled)
                emit finished(
                    QString("Enregistrement annulé : « %1 » n'a pas été écrit.").arg(path), false);
            else if (!outcome->error.isEmpty())
                emit finished(outcome->error, true);
            else
                emit finished(doneText, false);
        });
}

void RunController::cancel() {
    cancel_ = true;
}

QString RunController::start(Job job, Done done) {
    cancel_ = false;
    permille_ = 0;
    failure_.clear();
    done_ = std::move(done);
    thread_ = QThread::create([this, job = std::move(job)] {
        const Control control{
            &cancel_, [this](int, double share) { permille_ = static_cast<int>(share * 1000.0); }};
        try {
            job(control);
        } catch (const std::exception& e) {
            failure_ = QString::fromUtf8(e.what());
        }
    });
    QThread* const thread = thread_;
    connect(thread, &QThread::finished, this, [this, thread] {
        if (thread == thread_)
            onThreadFinished();
    });
    thread->start();
    poll_.start();
    emit busyChanged(true);
    emit progressed(0);
    return {};
}

void RunController::poll() {
    emit progressed(permille_.load());
    bool grew = false;
    for (Run& run : runs_) {
        if (run.experiment->generation() > run.stats.generation()) {
            run.stats.update(*run.experiment);
            grew = true;
        }
    }
    if (grew)
        emit grown();
}

void RunController::onThreadFinished() {
    thread_->wait();
    thread_->deleteLater();
    thread_ = nullptr;
    poll_.stop();
    poll();
    const bool cancelled = cancel_.load();
    auto done = std::move(done_);
    done_ = nullptr;
    emit busyChanged(false);
    if (!failure_.isEmpty())
        emit finished("Le calcul s'est arrêté sur une erreur : " + failure_ +
                          "\nLes générations déjà calculées sont conservées.",
                      true);
    else if (done)
        done(cancelled);
}

void RunController::runCancelled() {
    emit finished(fromUtf8(cancelledText(generations())), false);
}

void RunController::waitForIdle() {
    if (thread_) {
        thread_->wait();
        onThreadFinished();
    }
}

} // namespace bocavo::labo
