// How long one Next-generation command takes, engine, census, grids and
// labels included; the second figure adds painting the whole window.
#include "app/run_control.h"
#include "ui/main/tableau.h"

#include <QPushButton>
#include <QTest>

class RunControlBench : public QObject {
    Q_OBJECT

private slots:
    void nextGeneration_data() {
        QTest::addColumn<bool>("repaint");
        QTest::newRow("model and widgets") << false;
        QTest::newRow("with a full repaint") << true;
    }

    void nextGeneration() {
        QFETCH(bool, repaint);
        bocavo::ui::Tableau window;
        bocavo::RunControl control(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.simuler()->click();
        QBENCHMARK {
            control.setGenerationForTest(1); // never near the last generation
            window.genSuiv()->click();
            if (repaint)
                window.repaint();
        }
    }
};

QTEST_MAIN(RunControlBench)
#include "run_control_bench.moc"
