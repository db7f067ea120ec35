// The window's one runner: every file the window writes waits off the window's
// thread, so that a named pipe nobody reads never holds the window, and
// « Quitter » or the close button ends it promptly.
#include "labo/window/labo_window.h"
#include "labo/window/run_controller.h"
#include "labo_window_fixture.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QPrinter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <memory>
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
    std::unique_ptr<QTemporaryDir> folder_;

    QAction* quitAction() const {
        for (QAction* action : window_->menuBar()->actions().front()->menu()->actions())
            if (action->text() == "&Quitter")
                return action;
        return nullptr;
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        openWindow();
    }
    void cleanup() {
        closeWindow();
        folder_.reset();
    }

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
};

QTEST_MAIN(LaboWindowRunnerTest)
#include "labo_window_runner_test.moc"
