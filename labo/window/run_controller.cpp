#include "run_controller.h"

#include "model/csv_writer.h"
#include "model/limits.h"

#include <QThread>
#include <exception>

namespace bocavo::labo {
namespace {

constexpr int kPollMs = 150; // how often the views catch up with a running task

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString grouped(std::uint64_t n) {
    return fromUtf8(groupDigits(n));
}

} // namespace

RunController::RunController(QObject* parent) : QObject(parent) {
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

void RunController::replaceRun(int classes, std::uint32_t seed) {
    experiment_ = std::make_shared<Experiment>(classes, seed);
    stats_.reset(classes);
    emit runReplaced();
}

QString RunController::launch(int classes, std::uint32_t seed, int generations) {
    if (busy())
        return "Attendez la fin du calcul en cours, ou annulez-le.";
    const bool same = experiment_ && experiment_->classes() == classes &&
                      experiment_->seed() == seed && experiment_->generation() <= generations;
    if (!same)
        replaceRun(classes, seed);
    auto run = experiment_;
    return start([run, generations](const Control& c) { run->advanceTo(generations, c); },
                 [this, generations](bool cancelled) {
                     if (cancelled && experiment_->generation() != generations)
                         return runCancelled();
                     const int g = experiment_->generation();
                     emit finished(
                         g == generations
                             ? QString("Génération %1 atteinte dans %2 classe%3.")
                                   .arg(grouped(static_cast<std::uint64_t>(g)))
                                   .arg(grouped(static_cast<std::uint64_t>(experiment_->classes())))
                                   .arg(experiment_->classes() > 1 ? "s" : "")
                             : QString(),
                         false);
                 });
}

QString RunController::nextGeneration() {
    if (busy())
        return "Attendez la fin du calcul en cours, ou annulez-le.";
    if (!experiment_ || experiment_->generation() < 0)
        return "Lancez d'abord une simulation : il n'y a pas encore de génération.";
    const int next = experiment_->generation() + 1;
    if (next > kMaxGeneration)
        return QString("La génération %1 est la dernière que le compteur peut atteindre : il n'y "
                       "a pas de génération suivante.")
            .arg(grouped(kMaxGeneration));
    auto run = experiment_;
    return start([run, next](const Control& c) { run->advanceTo(next, c); },
                 [this, next](bool) { // one step: done or not started
                     emit finished(QString("Génération %1.").arg(grouped(next)), false);
                 });
}

QString RunController::untilFixation(int classes, std::uint32_t seed) {
    if (busy())
        return "Attendez la fin du calcul en cours, ou annulez-le.";
    if (!experiment_ || experiment_->classes() != classes || experiment_->seed() != seed)
        replaceRun(classes, seed);
    if (experiment_->allFixed()) {
        emit finished(QString("Toutes les classes ont déjà un seul allèle (génération %1).")
                          .arg(grouped(static_cast<std::uint64_t>(experiment_->generation()))),
                      false);
        return {};
    }
    auto run = experiment_;
    return start([run](const Control& c) { run->advanceUntilFixation(c); },
                 [this](bool cancelled) {
                     if (cancelled && !experiment_->allFixed())
                         return runCancelled();
                     const auto g = static_cast<std::uint64_t>(experiment_->generation());
                     if (experiment_->allFixed())
                         emit finished(QString("Toutes les classes n'ont plus qu'un allèle à la "
                                               "génération %1.")
                                           .arg(grouped(g)),
                                       false);
                     else
                         emit finished(QString("Génération %1 atteinte : des classes gardent "
                                               "encore plusieurs allèles.")
                                           .arg(grouped(g)),
                                       false);
                 });
}

QString RunController::reset() {
    if (busy())
        return "Attendez la fin du calcul en cours, ou annulez-le.";
    experiment_.reset();
    stats_.reset(0);
    emit runReplaced();
    emit finished("Simulation effacée.", false);
    return {};
}

QString RunController::exportCsv(const QString& path, int every) {
    if (busy())
        return "Attendez la fin du calcul en cours, ou annulez-le.";
    if (!experiment_ || experiment_->generation() < 0)
        return "Il n'y a rien à exporter : lancez d'abord une simulation.";
    auto run = experiment_;
    auto outcome = std::make_shared<CsvOutcome>();
    const std::filesystem::path target(path.toStdU16String());
    return start(
        [run, outcome, target, every](const Control& c) {
            *outcome = writeCsv({run.get()}, target, every, c);
        },
        [this, outcome, path](bool) {
            if (outcome->written)
                emit finished(
                    QString("Fichier « %1 » écrit : %2 lignes.").arg(path, grouped(outcome->rows)),
                    false);
            else if (outcome->cancelled)
                emit finished("Export annulé : aucun fichier n'a été écrit. La simulation est "
                              "conservée.",
                              false);
            else
                emit finished(fromUtf8(outcome->error) + "\nLa simulation est conservée.", true);
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
    if (experiment_ && experiment_->generation() > stats_.generation()) {
        stats_.update(*experiment_);
        emit grown();
    }
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
    emit finished(QString("Calcul annulé à la génération %1 : les générations déjà calculées "
                          "sont conservées.")
                      .arg(grouped(static_cast<std::uint64_t>(experiment_->generation()))),
                  false);
}

void RunController::waitForIdle() {
    if (thread_) {
        thread_->wait();
        onThreadFinished();
    }
}

} // namespace bocavo::labo
