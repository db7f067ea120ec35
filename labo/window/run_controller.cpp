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

Sets RunController::experiments() const {
    Sets sets;
    for (int set = 0; set < run_.sets(); ++set)
        sets.push_back(run_.experiment(set));
    return sets;
}

std::vector<const Statistics*> RunController::allStatistics() const {
    std::vector<const Statistics*> all;
    for (int set = 0; set < run_.sets(); ++set)
        all.push_back(&run_.statistics(set));
    return all;
}

// The core decides what the command does and says; the worker only works it.
Result<void> RunController::command(LabCommand command, const Scenario& plan) {
    if (busy())
        return Refusal{std::string(kWaitRefusal)};
    const auto begun = run_.begin(command, plan);
    if (!begun)
        return Refusal{begun.reason()};
    if (begun->replaced)
        emit runReplaced();
    if (!begun->work) {
        emit finished(fromUtf8(run_.status()), false);
        return {};
    }
    return start(
        [this](const Control& control) {
            run_.work(
                *control.cancel, [&control](double share) { control.progress(-1, share); },
                control.threads);
        },
        [this](bool cancelled) {
            run_.end(cancelled);
            emit finished(fromUtf8(run_.status()), false);
        });
}

Result<void> RunController::reset() {
    if (busy())
        return Refusal{std::string(kWaitRefusal)};
    if (auto reset = run_.reset(); !reset)
        return reset;
    emit runReplaced();
    emit finished(fromUtf8(run_.status()), false);
    return {};
}

Result<void> RunController::exportRefusal() const {
    if (busy())
        return Refusal{std::string(kWaitRefusal)};
    if (!run_.hasRun())
        return Refusal{std::string(kNothingToExport)};
    return {};
}

Sets RunController::setsOf(const std::vector<std::shared_ptr<const Experiment>>& held) {
    Sets sets;
    for (const auto& run : held)
        sets.push_back(run.get());
    return sets;
}

Result<void> RunController::exportCsv(const QString& path, int every) {
    if (auto refused = exportRefusal(); !refused)
        return refused;
    const auto runs = run_.heldSets();
    // The scenario that reproduces the file: the run as far as it went.
    Scenario plan = run_.scenario();
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

Result<void> RunController::saveFile(const QString& path, Draw draw, const QString& doneText) {
    if (busy())
        return Refusal{std::string(kWaitRefusal)};
    struct Outcome {
        QString error;
        bool cancelled = false;
    };
    auto outcome = std::make_shared<Outcome>();
    return start(
        [outcome, draw = std::move(draw), target = path.toStdString()](const Control& c) {
            QByteArray bytes;
            if (const auto drawn = draw(bytes); !drawn) {
                outcome->error = fromUtf8(drawn.reason());
                return;
            }
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

Result<void> RunController::start(Job job, Done done) {
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
    if (run_.publish())
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
    if (!failure_.isEmpty()) {
        run_.end(true); // the command under way, if any, stops where it failed
        emit finished("Le calcul s'est arrêté sur une erreur : " + failure_ +
                          "\nLes générations déjà calculées sont conservées.",
                      true);
    } else if (done)
        done(cancelled);
}

void RunController::waitForIdle() {
    if (thread_) {
        thread_->wait();
        onThreadFinished();
    }
}

} // namespace bocavo::labo
