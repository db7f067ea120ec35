// A whole lesson's worth of windows and generations must not make the program
// grow: every auxiliary window shown, hidden, shown again and discarded 1 000
// times, and 10 000 generations. Discarded windows must really go; the
// resident memory at the end must stay near its value after the first 100
// rounds. Under the sanitizers LeakSanitizer checks at exit instead, as their
// quarantine makes the resident memory meaningless.
#include "program_probe.h"
#include "window_model.h"

#include <QAction>
#include <QPushButton>
#include <fstream>
#include <functional>
#include <unistd.h>

using probe::Program;

namespace {

inline constexpr int kRounds = 1000;
inline constexpr int kWarmUpRounds = 100;
inline constexpr int kGenerationsPerRound = 10;
// Room for the allocator's own bookkeeping, far less than one round's windows.
inline constexpr long kGrowthAllowedKiB = 384;

// The protocol window's invisible corner, in pixels from its client area's top left.
inline constexpr QPoint kGiftCorner(480, 480);

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

QWidget* windowNamed(const char* name) {
    return probe::windowsNamed(name).value(0);
}

} // namespace

class MemoryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { probe::quietPlatformWarnings(); }

    void windowsAndGenerationsLeaveNothingBehind() {
        Program p;
        QTest::mouseClick(p.window.simuler(), Qt::LeftButton);
        const QList<std::function<void()>> requests{
            [&] { QTest::mouseClick(p.window.command1(), Qt::LeftButton); },
            [&] { p.window.protocoleAction()->trigger(); },
            [&] { p.window.proposAction()->trigger(); },
            [&] {
                p.window.protocoleAction()->trigger();
                QTest::mouseClick(windowNamed("aprotocole")->windowHandle(), Qt::LeftButton, {},
                                  kGiftCorner);
            },
        };
        long warmKiB = 0;
        qsizetype warmWidgets = 0;
        for (int round = 1; round <= kRounds; ++round) {
            for (int i = 0; i < probe::kAuxWindows; ++i) {
                const char* name = probe::kAuxWindowNames[i];
                requests[i]();
                QWidget* window = windowNamed(name);
                QVERIFY2(window != nullptr && window->isVisible(), name);
                // OK where there is one; the legend has only its close button.
                auto* ok = window->findChild<QPushButton*>(QStringLiteral("Command1"));
                if (ok != nullptr)
                    QTest::mouseClick(ok, Qt::LeftButton);
                else
                    window->hide();
                QVERIFY(!window->isVisible());
                requests[i]();
                QCOMPARE(windowNamed(name), window); // the hidden one, shown again
                window->windowHandle()->close();
                probe::settle();
                QVERIFY2(windowNamed(name) == nullptr, name);
            }
            // The protocol window opened for the gift goes too.
            windowNamed("aprotocole")->windowHandle()->close();
            probe::settle();
            QCOMPARE(windowNamed("aprotocole"), nullptr);
            for (int n = 0; n < kGenerationsPerRound; ++n)
                QTest::mouseClick(p.window.genSuiv(), Qt::LeftButton);
            probe::settle();
            if (round == kWarmUpRounds) {
                warmKiB = residentKiB();
                warmWidgets = QApplication::allWidgets().size();
            }
        }
        QCOMPARE(p.generation(), 1 + kRounds * kGenerationsPerRound);
        QCOMPARE(QApplication::allWidgets().size(), warmWidgets);
        const long endKiB = residentKiB();
        qInfo("resident memory: %ld KiB after %d rounds, %ld KiB after %d (%+ld KiB)", warmKiB,
              kWarmUpRounds, endKiB, kRounds, endKiB - warmKiB);
#ifdef BOCAVO_TEST_SANITIZED
        QSKIP("the sanitizers' quarantine inflates resident memory; LeakSanitizer checks at exit");
#endif
        QVERIFY2(endKiB - warmKiB <= kGrowthAllowedKiB,
                 qPrintable(QStringLiteral("grew by %1 KiB").arg(endKiB - warmKiB)));
    }
};

QTEST_MAIN(MemoryTest)
#include "memory_test.moc"
