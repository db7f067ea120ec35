// The window's one runner: every file the window writes waits off the window's
// thread, so that a named pipe nobody reads never holds the window, and
// « Quitter » or the close button ends it promptly.
#include "core/lab/science/limits.h"
#include "labo/window/labo_window.h"
#include "labo/window/numbers.h"
#include "labo/window/parameter_panel.h"
#include "labo/window/run_controller.h"
#include "labo/window/settings_editor.h"
#include "labo_window_fixture.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace bocavo::labo;

namespace {

// Should a write wait on the window's thread after all, this reader turns the
// hang into a failure: after `patience` it opens the pipe and drains it.
class Rescuer {
public:
    Rescuer(std::string pipe, std::chrono::milliseconds patience)
        : thread_([this, pipe = std::move(pipe), patience] {
              const auto end = std::chrono::steady_clock::now() + patience;
              while (!done_ && std::chrono::steady_clock::now() < end)
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              if (done_)
                  return;
              rescued_ = true;
              const int fd = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
              char buffer[4096];
              // Until the writer has been silent for a second.
              for (int idle = 0; fd >= 0 && idle < 100;) {
                  idle = ::read(fd, buffer, sizeof buffer) > 0 ? 0 : idle + 1;
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
              if (fd >= 0)
                  ::close(fd);
          }) {}
    ~Rescuer() {
        done_ = true;
        thread_.join();
    }
    bool rescued() const { return rescued_; }

private:
    std::atomic<bool> done_{false};
    std::atomic<bool> rescued_{false};
    std::thread thread_;
};

} // namespace

class LaboWindowRunnerTest : public LaboWindowFixture {
    Q_OBJECT

private:
    QAction* quitAction() const {
        for (QAction* action : window_->menuBar()->actions().front()->menu()->actions())
            if (action->text() == "&Quitter")
                return action;
        return nullptr;
    }

    int generationOf(int set) const { return controller_->experiment(set)->generation(); }

    // Every number a text gives as a generation, in order.
    static std::vector<long long> numbersIn(const QString& text) {
        static const QRegularExpression number("(\\d[\\d\\x{202F}\\x{00A0} ]*)");
        std::vector<long long> all;
        for (const auto& match : number.globalMatch(text))
            all.push_back(match.captured(1).remove(QRegularExpression("\\D")).toLongLong());
        return all;
    }

    // What the run label and the status bar say, against the model itself.
    void checkTexts(const QString& step) {
        const int a = generationOf(0);
        const int b = generationOf(1);
        const QString label = window_->runLabel()->text();
        const QString status = window_->statusBar()->currentMessage();
        const QString where = step + " : « " + label + " » / « " + status + " »";
        for (const long long n : numbersIn(label + " " + status))
            QVERIFY2(n <= kMaxGeneration, qPrintable(where));
        const auto g = [](int n) { return grouped(static_cast<std::uint64_t>(n)); };
        if (a >= 0) {
            const QString expected =
                a == b ? QString("génération %1 (").arg(g(a))
                : b < 0
                    ? QString("génération %1 pour le jeu A, le jeu B n'a pas encore commencé (")
                          .arg(g(a))
                    : QString("génération %1 pour le jeu A et %2 pour le jeu B (").arg(g(a), g(b));
            QVERIFY2(label.contains(expected), qPrintable(where + " ≠ " + expected));
        }
        const std::vector<long long> said = numbersIn(status);
        if (status.startsWith("Génération ") || status.startsWith("Calcul annulé à") ||
            status.startsWith("Toutes les classes")) {
            // One number: both sets are there; two: A's then B's.
            QVERIFY2(!said.empty(), qPrintable(where));
            QCOMPARE(said.front(), static_cast<long long>(a));
            QCOMPARE(said.size() > 1 && !status.contains("atteinte") ? said[1]
                     : status.contains("n'a pas encore commencé")    ? -1LL
                                                                     : said.front(),
                     static_cast<long long>(b));
        }
        if (status.startsWith("Calcul annulé avant"))
            QVERIFY2(a < 0, qPrintable(where));
    }

private slots:
    void init() { openWindowAndFolder(); }
    void cleanup() { closeWindowAndFolder(); }

    void aPipeWithoutReaderNeverHoldsTheWindow_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("quit"); // « Quitter », else the close button
        QTest::newRow("scénario, Quitter") << "scenario" << true;
        QTest::newRow("PNG, fermeture") << "png" << false;
        QTest::newRow("SVG, Quitter") << "svg" << true;
        QTest::newRow("CSV, fermeture") << "csv" << false;
        QTest::newRow("PDF, Quitter") << "pdf" << true;
    }
    void aPipeWithoutReaderNeverHoldsTheWindow() {
        QFETCH(QString, file);
        QFETCH(bool, quit);
        runTo("5", "20");
        const QString pipe = folder_->filePath("tube");
        QCOMPARE(::mkfifo(pipe.toUtf8().constData(), 0600), 0);
        const Rescuer rescuer(pipe.toStdString(), std::chrono::seconds(10));
        QElapsedTimer clock;
        clock.start();
        QPrinter printer;
        if (file == "scenario") {
            window_->saveScenarioTo(pipe);
        } else if (file == "png") {
            window_->exportPngTo(pipe);
        } else if (file == "svg") {
            window_->exportSvgTo(pipe);
        } else if (file == "csv") {
            window_->exportCsvTo(pipe);
        } else {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pipe);
            window_->printTo(&printer);
        }
        QVERIFY2(clock.elapsed() < 2000, "the window's thread waited for the pipe");
        QVERIFY(controller_->busy()); // still waiting for a reader, off the window's thread
        QTest::qWait(200);
        QVERIFY(controller_->busy());
        QVERIFY(window_->cancelButton()->isEnabled());
        QVERIFY(!window_->launchButton()->isEnabled());

        clock.restart();
        if (quit)
            quitAction()->trigger();
        else
            window_->close();
        QVERIFY2(clock.elapsed() < 2000, "closing waited for the pipe");
        QVERIFY(!window_->isVisible());
        QVERIFY(!controller_->busy());
        QVERIFY(!rescuer.rescued());
        QVERIFY2(window_->statusBar()->currentMessage().contains("annulé"),
                 qPrintable(window_->statusBar()->currentMessage()));
        // Nothing left behind: the pipe alone, no temporary file.
        QCOMPARE(
            QDir(folder_->path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{"tube"});
    }

    // « Annuler » gives a pipe's wait up too, and the window carries on.
    void aWaitForAPipeIsCancelled() {
        runTo("5", "20");
        const QString pipe = folder_->filePath("tube");
        QCOMPARE(::mkfifo(pipe.toUtf8().constData(), 0600), 0);
        const Rescuer rescuer(pipe.toStdString(), std::chrono::seconds(10));
        window_->saveScenarioTo(pipe);
        QVERIFY(controller_->busy());
        QTest::mouseClick(window_->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), 2000);
        QCOMPARE(window_->statusBar()->currentMessage(),
                 QString("Enregistrement annulé : « %1 » n'a pas été écrit.").arg(pipe));
        QVERIFY(!rescuer.rescued());
        QVERIFY(window_->launchButton()->isEnabled());
    }

    // The largest run (1 000 classes × 32 767 generations at N = 10 000 with
    // every force, hours of processor time) is asked for first; declined, it
    // never starts.
    void aCostlyRunIsAskedForFirst() {
        setFields("1000", "32767", "1993");
        SettingsEditor* a = window_->parameters()->editor(0);
        a->individualsField()->setText("10000");
        a->mutationField()->setText("0.001");
        a->migrationField()->setText("0.01");
        a->fitnessField(1)->setText("105");
        QVERIFY2(window_->parameters()->scenario().has_value(),
                 qPrintable(window_->parameters()->errors()));
        QString asked;
        QTimer::singleShot(0, this, [&] {
            auto* box = window_->findChild<QMessageBox*>("confirmationCout");
            QVERIFY(box);
            asked = box->text();
            box->button(QMessageBox::No)->click();
        });
        QTest::mouseClick(window_->launchButton(), Qt::LeftButton);
        QVERIFY2(asked.startsWith("Ce calcul demandera environ "), qPrintable(asked));
        QVERIFY(asked.contains(" h ")); // hours of it
        QVERIFY(asked.contains("32 767 générations"));
        QVERIFY(!controller_->busy());
        QCOMPARE(controller_->experiment(), nullptr);
        // A small run is not asked for.
        setFields("3", "10", "1993");
        launch();
        QCOMPARE(controller_->experiment()->generation(), 10);
    }

    // Runs, « Génération suivante », « Jusqu'à fixation » and « Annuler » at
    // random moments with set B, which runs after A: no text may name a
    // generation that a set has not reached.
    void statusTextsFollowTheRunWhateverTheClicks() {
        setFields("60", "300", "7");
        window_->parameters()->editor(1)->setChecked(true);
        window_->parameters()->editor(1)->individualsField()->setText("200");
        std::mt19937 random(2026);
        for (int step = 0; step < 40; ++step) {
            const int command = static_cast<int>(random() % 4);
            QString name;
            if (command == 0) {
                const int generations = 1 + static_cast<int>(random() % 600);
                window_->parameters()->generationsField()->setText(QString::number(generations));
                name = QString("Lancer %1").arg(generations);
                QTest::mouseClick(window_->launchButton(), Qt::LeftButton);
            } else if (command == 1 && window_->nextButton()->isEnabled()) {
                name = "Génération suivante";
                QTest::mouseClick(window_->nextButton(), Qt::LeftButton);
            } else if (command == 2) {
                name = "Jusqu'à fixation";
                QTest::mouseClick(window_->fixationButton(), Qt::LeftButton);
            } else {
                name = "Réinitialiser";
                if (window_->resetButton()->isEnabled())
                    QTest::mouseClick(window_->resetButton(), Qt::LeftButton);
            }
            if (random() % 2 && controller_->busy()) {
                QTest::qWait(static_cast<int>(random() % 60));
                name += ", Annuler";
                QTest::mouseClick(window_->cancelButton(), Qt::LeftButton);
            }
            QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), kRunTimeout);
            if (controller_->sets() == 2)
                checkTexts(QString("pas %1, %2").arg(step).arg(name));
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_MAIN(LaboWindowRunnerTest)
#include "labo/files/scenario_file.h"
#include "labo_window_runner_test.moc"
