// The longest run a class can make: Simulation, then 32 766 Next generations
// clicked one by one, each painted, up to the last generation the counter can
// number. Every generation is checked against the model on the way.
#include "program_probe.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

using probe::Program;
using probe::View;

class LongRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { probe::quietPlatformWarnings(); }

    void reachesTheLastGeneration() {
        Program p;
        probe::Reader reader(p);
        // A report box of an internal error would wait for ever: dismiss it and fail.
        QString report;
        QTimer watchdog;
        connect(&watchdog, &QTimer::timeout, &watchdog, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                report = box->text();
                box->done(0);
            }
        });
        watchdog.start(100);

        QPushButton* genSuiv = p.window.genSuiv();
        QTest::mouseClick(p.window.simuler(), Qt::LeftButton);
        View before = reader.read();
        QVERIFY(probe::checkAlways(p, before).isEmpty());
        int lastLoss[probe::kAlleles + 1] = {}; // the generation each allele was lost at
        const auto founded = probe::alleleCounts(before.children);
        for (int k = 1; k <= probe::kAlleles; ++k)
            if (founded[k] == 0)
                lastLoss[k] = 1;
        QElapsedTimer clock;
        clock.start();
        for (int n = 2; n <= probe::kLastGeneration; ++n) {
            QTest::mouseClick(genSuiv, Qt::LeftButton);
            QCoreApplication::processEvents(); // paints it, as the event loop would
            const View after = reader.read();
            QString problem = report.isEmpty() ? probe::checkAlways(p, after)
                                               : QStringLiteral("internal error: ") + report;
            if (problem.isEmpty())
                problem = probe::checkPromotion(before, after, p.population());
            if (!problem.isEmpty())
                QFAIL(qPrintable(QStringLiteral("generation %1: %2").arg(n).arg(problem)));
            const auto was = probe::alleleCounts(before.children);
            const auto now = probe::alleleCounts(after.children);
            for (int k = 1; k <= probe::kAlleles; ++k)
                if (was[k] != 0 && now[k] == 0)
                    lastLoss[k] = n;
            before = after;
        }
        const double seconds = double(clock.elapsed()) / 1000.0;
        qInfo("32766 Next generations in %.1f s (%.0f per second)", seconds, 32766 / seconds);
        QStringList losses;
        for (int k = 1; k <= probe::kAlleles; ++k)
            if (lastLoss[k] != 0)
                losses << QStringLiteral("allele %1 at generation %2").arg(k).arg(lastLoss[k]);
        qInfo("lost on the way: %s", qPrintable(losses.join(", ")));
        // Drift fixes one allele long before the end: the check above had losses to watch.
        QCOMPARE(losses.size(), 3);

        QCOMPARE(p.generation(), probe::kLastGeneration);
        QVERIFY(!genSuiv->isEnabled());
        QCOMPARE(before.parentCaption, probe::kCaption + "32766");
        QCOMPARE(before.childCaption, probe::kCaption + "32767");
        // Neither a click nor the access key can go further.
        QTest::mouseClick(genSuiv, Qt::LeftButton);
        QTest::keyClick(&p.window, Qt::Key_G, Qt::AltModifier);
        QTest::qWait(300); // an access key presses its button about 100 ms later
        QCOMPARE(p.generation(), probe::kLastGeneration);
        QVERIFY(reader.read() == before);
        QVERIFY2(report.isEmpty(), qPrintable(report));
        QVERIFY(p.window.isVisible());
    }
};

QTEST_MAIN(LongRunTest)
#include "long_run_test.moc"
