// What the window tells a class, offscreen: parameters edited after a run say
// that they wait for the next « Lancer » while the views keep the run's own,
// and each view's teacher's details stay closed until opened.
#include "labo/window/all_classes_tab.h"
#include "labo/window/explanation_box.h"
#include "labo/window/fixation_tab.h"
#include "labo/window/heterozygosity_tab.h"
#include "labo/window/labo_window.h"
#include "labo/window/parameter_panel.h"
#include "labo/window/run_controller.h"
#include "labo/window/settings_editor.h"
#include "labo_window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace bocavo::labo;

class LaboWordsTest : public LaboWindowFixture {
    Q_OBJECT

private:
    ParameterPanel* panel() const { return window_->parameters(); }
    QLabel* pending() const { return panel()->pendingNotice(); }
    QLineEdit* sizeField() const { return panel()->editor(0)->individualsField(); }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void editsAfterARunWaitForTheNextLaunch() {
        sizeField()->setText("40");
        QVERIFY(!pending()->isVisible()); // no run yet: nothing to differ from
        sizeField()->setText("20");
        runTo("3", "5");
        QVERIFY(!pending()->isVisible());
        const QRect fields = panel()->editor(1)->geometry();

        sizeField()->setText("40");
        QVERIFY(pending()->isVisible());
        QVERIFY2(pending()->text().contains("(Individus N : 20 → 40 ; Boules dans l'urne : 10, 10, "
                                            "10, 10 → 20, 20, 20, 20) : ils s'appliqueront au "
                                            "prochain « Lancer »"),
                 qPrintable(pending()->text()));
        QTRY_COMPARE(panel()->editor(1)->geometry(), fields); // once laid out, nothing above moved
        // The views keep describing the run on display.
        window_->tabs()->setCurrentWidget(window_->heterozygosityTab());
        QCOMPARE(window_->heterozygosityTab()->observed()->name(), "Moyenne des classes (N = 20)");

        sizeField()->setText("20"); // back to the run's own: the urn follows, nothing waits
        QVERIFY(!pending()->isVisible());
        sizeField()->setText("2O");
        QVERIFY(pending()->isVisible());
        QVERIFY(pending()->text().contains("une fois corrigés"));

        // « Lancer » applies them, whether it starts a new run or goes on with this one.
        sizeField()->setText("40");
        launch();
        QVERIFY(!pending()->isVisible());
        QCOMPARE(window_->heterozygosityTab()->observed()->name(), "Moyenne des classes (N = 40)");
        panel()->generationsField()->setText("8");
        QVERIFY(pending()->text().contains("(Nombre de générations : 5 → 8)"));
        launch();
        QCOMPARE(controller_->experiment()->generation(), 8);
        QVERIFY(!pending()->isVisible());

        panel()->seedField()->setText("7");
        QVERIFY(pending()->isVisible());
        QTest::mouseClick(window_->resetButton(), Qt::LeftButton);
        QVERIFY(!pending()->isVisible()); // no run left to differ from
    }

    void teachersDetailsAreClosedUntilOpened() {
        runTo("4", "10");
        const std::pair<ChartTab*, ExplanationBox*> views[] = {
            {window_->heterozygosityTab(), window_->heterozygosityTab()->explanation()},
            {window_->fixationTab(), window_->fixationTab()->lesson()},
            {window_->allClassesTab(), window_->allClassesTab()->differentiation()},
        };
        for (const auto& [tab, box] : views) {
            window_->tabs()->setCurrentWidget(tab);
            qApp->processEvents();
            QVERIFY(!box->pupil()->text().isEmpty());
            QVERIFY2(!box->pupil()->text().contains('='), qPrintable(box->pupil()->text()));
            QVERIFY(box->detailsButton()->isVisible());
            QCOMPARE(box->detailsButton()->text(), "Détails pour le professeur");
            QVERIFY(!box->details()->isVisible());
            QVERIFY(!box->details()->text().isEmpty());
            QTest::mouseClick(box->detailsButton(), Qt::LeftButton);
            QVERIFY(box->details()->isVisible());
            QTest::mouseClick(box->detailsButton(), Qt::LeftButton);
            QVERIFY(!box->details()->isVisible());
        }
        // With the classroom's settings, the pupils read about a small population.
        QVERIFY(window_->heterozygosityTab()->explanation()->pupil()->text().contains(
            "dans une petite population, un allèle disparaît plus vite"));
    }
};

QTEST_MAIN(LaboWordsTest)
#include "labo_words_test.moc"
