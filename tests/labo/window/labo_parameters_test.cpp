// The laboratory's parameter sets in the window, offscreen: each field is
// checked as typed without the window moving, a comparison draws both sets
// with their expected curves, and scenarios go to a file and come back whole,
// or not at all.
#include "core/lab/science/experiment.h"
#include "core/lab/science/theory.h"
#include "labo/files/scenario_file.h"
#include "labo/window/all_classes_tab.h"
#include "labo/window/explanation_box.h"
#include "labo/window/fixation_tab.h"
#include "labo/window/heterozygosity_tab.h"
#include "labo/window/labo_window.h"
#include "labo/window/parameter_panel.h"
#include "labo/window/run_controller.h"
#include "labo/window/settings_editor.h"
#include "labo_window_fixture.h"

#include <QChart>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace bocavo::labo;

class LaboParametersTest : public LaboWindowFixture {
    Q_OBJECT

private:
    ParameterPanel* panel() const { return window_->parameters(); }
    SettingsEditor* set(int s) const { return panel()->editor(s); }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(folder_->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void init() { openWindowAndFolder(); }
    void cleanup() { closeWindowAndFolder(); }

    // Every new parameter defaults to the classroom's protocol: the run is
    // today's one, class for class.
    void defaultsGiveTheClassroomRun() {
        const auto plan = panel()->scenario();
        QVERIFY(plan.has_value());
        QCOMPARE(plan->a, Settings{});
        QVERIFY(!plan->b);
        QCOMPARE(set(0)->modelBox()->currentText(), "Protocole de la classe");
        QCOMPARE(set(0)->allelesBox()->value(), 4);
        panel()->classesField()->setText("4");
        panel()->generationsField()->setText("30");
        launch();
        Experiment today(Settings{}, 4, kDefaultSeed);
        today.advanceTo(30);
        for (int c = 1; c <= 4; ++c)
            for (int g = 0; g <= 30; g += 10)
                QCOMPARE(controller_->experiment()->counts(c, g), today.counts(c, g));
    }

    void aRefusedFieldDisablesTheCommandsWithoutMovingAnything() {
        const QSize window = window_->size();
        const QRect message = panel()->message()->geometry();
        const QRect tabs = window_->tabs()->geometry();
        // Every field keeps its place and size when it or one above it is refused.
        const std::vector<QWidget*> fields{
            panel()->classesField(),    panel()->generationsField(), panel()->seedField(),
            set(0)->individualsField(), set(0)->modelBox(),          set(0)->urnField(1),
            set(0)->fitnessField(2),    set(0)->mutationField(),     set(0)->migrationField()};
        auto places = [&fields] {
            std::vector<QRect> rects;
            for (QWidget* field : fields)
                rects.push_back(QRect(field->mapTo(field->window(), QPoint()), field->size()));
            return rects;
        };
        const std::vector<QRect> before = places();
        QLineEdit* n = set(0)->individualsField();
        n->setText(QString(300, '7')); // pasted nonsense: kept short
        QVERIFY(n->text().size() <= 24);
        QVERIFY(!window_->launchButton()->isEnabled());
        QVERIFY(!window_->fixationButton()->isEnabled());
        QVERIFY(panel()->message()->text().startsWith("A : "));
        QVERIFY(panel()->message()->text().size() < 200);
        QCOMPARE(n->toolTip(), panel()->errors().mid(4));
        n->setText("25"); // not a multiple of 10
        QVERIFY(!window_->launchButton()->isEnabled());
        // Many refusals at once: the kept lines hold what they can and say what is left.
        set(0)->mutationField()->setText("0,5");
        set(0)->migrationField()->setText("x");
        set(0)->fitnessField(2)->setText("-3");
        panel()->seedField()->setText("graine");
        panel()->classesField()->setText("0");
        qApp->processEvents();
        QVERIFY(set(0)->fitnessField(2)->toolTip().contains("« -3 »"));
        // The window takes a comma as well as a point, and its refusal says so.
        QCOMPARE(set(0)->migrationField()->toolTip(),
                 "« x » ne convient pas pour le taux de migration : il faut un nombre décimal de "
                 "0 à 0,5, avec une virgule ou un point (0,01).");
        QCOMPARE(window_->size(), window);
        QCOMPARE(panel()->message()->geometry(), message);
        QCOMPARE(window_->tabs()->geometry(), tabs);
        QCOMPARE(places(), before);
        QVERIFY(panel()->message()->text().contains("survolez les champs en rouge"));

        // Mended, the commands come back and the message goes.
        n->setText("20");
        set(0)->mutationField()->setText("0,001");
        set(0)->migrationField()->setText("0");
        set(0)->fitnessField(2)->setText("100");
        panel()->seedField()->setText("5");
        panel()->classesField()->setText("3");
        QVERIFY(panel()->message()->text().isEmpty());
        QVERIFY(window_->launchButton()->isEnabled());
        QCOMPARE(panel()->scenario()->a.mutation, 0.001);

        // Sound fields that do not fit together: migration needs two classes.
        set(0)->migrationField()->setText("0.1");
        panel()->classesField()->setText("1");
        QVERIFY(!window_->launchButton()->isEnabled());
        QVERIFY(panel()->message()->text().contains("migration"));
        panel()->classesField()->setText("2");
        QVERIFY(window_->launchButton()->isEnabled());
    }

    // An urn split evenly follows the population size and the allele count;
    // one the user set is left alone, and must hold at least 2N balls (more
    // make it a source population).
    void theUrnFollowsTheSizeUntilTheUserSetsIt() {
        SettingsEditor* a = set(0);
        a->individualsField()->setText("200");
        QCOMPARE(a->urnField(1)->text(), "100");
        a->allelesBox()->setValue(3);
        QCOMPARE(a->urnField(1)->text(), "134");
        QCOMPARE(a->urnField(3)->text(), "133");
        QVERIFY(!a->urnField(4)->isEnabled());
        QVERIFY(panel()->scenario().has_value());
        a->urnField(1)->setText("40");
        QVERIFY(!panel()->scenario());
        QVERIFY(!window_->launchButton()->isEnabled());
        a->urnField(2)->setText("227");
        QVERIFY(panel()->scenario().has_value());
        a->individualsField()->setText("100");
        QCOMPARE(a->urnField(1)->text(), "40"); // the user's, kept
        QVERIFY(panel()->scenario().has_value());
        QVERIFY(panel()->scenario()->a.sourceUrn());
        a->individualsField()->setText("300");
        QVERIFY(!panel()->scenario()); // 400 balls for 600 copies
    }

    // A against B: each set has its own classes, its own observed curve and
    // its own expected one, told apart by colour and by dash.
    // The genotypes' fitness: typed or chosen among the usual cases, refused
    // on its own field where it cannot hold, and a run where no child can
    // survive says that its classes died out.
    void genotypesAreTypedOrChosenAndTheirRefusalsMarked() {
        SettingsEditor* a = set(0);
        a->allelesBox()->setValue(2);
        QCOMPARE(a->presetBox()->currentIndex(), 0);
        a->presetBox()->setCurrentIndex(3);
        emit a->presetBox()->activated(3);
        QCOMPARE(a->genotypesField()->text(), "100, 100, 0");
        QCOMPARE(panel()->scenario()->a.genotypes, (std::array<int, 3>{100, 100, 0}));
        a->genotypesField()->setText("100,90,80");
        QCOMPARE(a->presetBox()->currentText(), "additif");
        a->genotypesField()->setText("100,90,70");
        QCOMPARE(a->presetBox()->currentIndex(), 0);
        a->allelesBox()->setValue(3);
        QVERIFY(!panel()->scenario());
        QVERIFY(a->genotypesField()->toolTip().contains("ne valent que pour 2 allèles"));
        a->allelesBox()->setValue(2);
        a->fitnessField(2)->setText("120");
        QVERIFY(!panel()->scenario());
        QVERIFY(a->genotypesField()->toolTip().contains("pas les deux"));
        a->fitnessField(2)->setText("100");
        a->genotypesField()->setText("100, 100, 0");
        a->urnField(1)->setText("0");
        a->urnField(2)->setText("40");
        runTo("2", "5");
        QVERIFY2(window_->statusBar()->currentMessage().contains("2 classes se sont éteintes"),
                 qPrintable(window_->statusBar()->currentMessage()));
    }

    void aComparisonDrawsBothSetsWithTheirExpectedCurves() {
        const QSize size = window_->size();
        panel()->classesField()->setText("6");
        panel()->generationsField()->setText("40");
        QVERIFY(!set(1)->isChecked());
        QTest::keyClick(window_, Qt::Key_B, Qt::AltModifier); // "Comparer avec un jeu &B"
        QTRY_VERIFY(set(1)->isChecked());
        set(1)->individualsField()->setText("200");
        QCOMPARE(set(1)->urnField(4)->text(), "100");
        launch();
        QCOMPARE(controller_->sets(), 2);
        QCOMPARE(controller_->experiment(1)->settings().individuals, 200);
        QVERIFY(window_->runLabel()->text().startsWith("6 classes par jeu, graine 1993"));

        window_->tabs()->setCurrentWidget(window_->heterozygosityTab());
        HeterozygosityTab* h = window_->heterozygosityTab();
        for (int s = 0; s < 2; ++s) {
            const auto& meanH = controller_->statistics(s).meanHeterozygosity();
            QCOMPARE(h->observed(s)->count(), 41);
            QCOMPARE(h->observed(s)->at(40).y(), meanH[40]);
            QCOMPARE(h->expected(s)->count(), 41);
            QVERIFY(h->observed(s)->isVisible() && h->expected(s)->isVisible());
            QVERIFY(h->observed(s)->name().startsWith(s == 0 ? "A : " : "B : "));
            QVERIFY(h->expected(s)->name().startsWith(s == 0 ? "A : " : "B : "));
        }
        // The sets differ by stroke, never by colour.
        QCOMPARE(h->observed(0)->pen().color(), h->observed(1)->pen().color());
        QCOMPARE(h->observed(0)->pen().style(), Qt::SolidLine);
        QCOMPARE(h->observed(1)->pen().style(), Qt::DashLine);
        QCOMPARE(h->expected(1)->pen().style(), Qt::DashLine);
        // N = 200 drifts about ten times more slowly than N = 20.
        QVERIFY(h->expected(1)->at(40).y() > h->expected(0)->at(40).y());
        QVERIFY(h->explanation()->pupil()->text().contains("B : "));

        window_->tabs()->setCurrentWidget(window_->fixationTab());
        FixationTab* f = window_->fixationTab();
        for (int s = 0; s < 2; ++s) {
            QCOMPARE(f->fixedSeries(s)->count(), 41);
            QVERIFY(f->expectedSeries(s)->isVisible());
        }
        QCOMPARE(f->expectedSeries(1)->pen().style(), Qt::DashLine);

        // The per-class views show one set at a time.
        window_->tabs()->setCurrentWidget(window_->allClassesTab());
        AllClassesTab* all = window_->allClassesTab();
        QVERIFY(all->setBox()->isEnabled());
        all->setBox()->setCurrentIndex(1);
        QVERIFY(all->chart()->title().contains("du jeu B"));
        int fixed = 0;
        for (int c = 1; c <= 6; ++c)
            fixed += controller_->experiment(1)->counts(c, 40)[0] == 400;
        QCOMPARE(all->fixedCount(), fixed);
        QVERIFY(all->differentiation()->details()->text().startsWith(
            "Différenciation entre les classes à la génération 40 : Fst = "));
        // The long sentences of every view wrap: the window keeps its size.
        for (int tab = 0; tab < window_->tabs()->count(); ++tab) {
            window_->tabs()->setCurrentIndex(tab);
            qApp->processEvents();
            QCOMPARE(window_->size(), size);
        }
    }

    // A cancel may leave B behind A: every view draws what each set has, and
    // the next command brings B along.
    void aCancelledComparisonGoesOnFromWhereEachSetStopped() {
        panel()->classesField()->setText("1000");
        panel()->generationsField()->setText("32767");
        set(1)->setChecked(true);
        set(1)->individualsField()->setText("100");
        QTest::mouseClick(window_->launchButton(), Qt::LeftButton);
        QVERIFY(controller_->busy());
        QTRY_VERIFY_WITH_TIMEOUT(controller_->experiment(0)->generation() >= 1, 30000);
        QTest::mouseClick(window_->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), 30000);
        const int a = controller_->experiment(0)->generation();
        const int b = controller_->experiment(1)->generation();
        QVERIFY(a >= 1 && a < 32767);
        QVERIFY(b < a);
        for (int tab = 0; tab < window_->tabs()->count(); ++tab)
            window_->tabs()->setCurrentIndex(tab); // each view draws both sets as they are
        window_->allClassesTab()->setBox()->setCurrentIndex(1);
        QCOMPARE(window_->heterozygosityTab()->observed(1)->count(), std::max(0, b + 1));
        QTest::mouseClick(window_->nextButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), 30000);
        QCOMPARE(controller_->experiment(0)->generation(), a + 1);
        QCOMPARE(controller_->experiment(1)->generation(), a + 1);
    }

    // The lesson of the founding draw: in the protocol a rare allele lands in
    // the largest broods, so it fixes about as often as its frequency after
    // the first breeding; in the ideal model as often as its frequency.
    void theFixationTabTellsWhatTheFoundingDrawDoes() {
        panel()->classesField()->setText("3");
        panel()->generationsField()->setText("5");
        for (int s = 0; s < 2; ++s)
            for (int k = 1; k <= 4; ++k)
                set(s)->urnField(k)->setText(k == 1 ? "4" : "12");
        set(1)->setChecked(true);
        set(1)->modelBox()->setCurrentIndex(1);
        QCOMPARE(set(1)->modelBox()->currentText(), "Modèle idéal (Wright-Fisher)");
        launch();
        window_->tabs()->setCurrentWidget(window_->fixationTab());
        FixationTab* f = window_->fixationTab();
        const double protocol = f->expectedSeries(0)->at(0).y();
        const double ideal = f->expectedSeries(1)->at(0).y();
        QCOMPARE(protocol,
                 100.0 * *fixationProbabilities(controller_->experiment(0)->settings())[0]);
        QVERIFY2(protocol > 15 && protocol < 25, qPrintable(QString::number(protocol)));
        QCOMPARE(qRound(ideal), 10);
        const QString lesson = f->lesson()->details()->text();
        QVERIFY(lesson.contains("A : ") && lesson.contains("B : "));
        QVERIFY2(lesson.contains("Dans le modèle idéal (Wright-Fisher), la même urne donnerait "
                                 "sa fréquence de départ : allèle 1 : 10 %"),
                 qPrintable(lesson));
        QVERIFY(f->expectedSeries(0)->name().contains("%"));
        // Both sets' legend entries show whole in a window on a 1024 × 768
        // projector: a marker's square and spacing take about a line's height.
        window_->resize(1008, 720);
        qApp->processEvents();
        QLegend* legend = f->chart()->legend();
        const QFontMetrics metrics(legend->font());
        // Side by side under the chart the entries share its width; stacked, each has it all.
        const bool inARow = legend->alignment() & (Qt::AlignTop | Qt::AlignBottom);
        int row = 0;
        for (QLegendMarker* marker : legend->markers()) {
            if (!marker->isVisible())
                continue;
            const int needed = metrics.horizontalAdvance(marker->label()) + 2 * metrics.height();
            row += needed;
            QVERIFY2((inARow ? row : needed) <= legend->geometry().width(),
                     qPrintable(QString("%1 : %2 > %3")
                                    .arg(marker->label())
                                    .arg(inARow ? row : needed)
                                    .arg(legend->geometry().width())));
        }

        // With mutation no fixation is final: no line, and the lesson says why.
        set(1)->mutationField()->setText("0,01");
        launch();
        QVERIFY(f->expectedSeries(0)->isVisible());
        QVERIFY(!f->expectedSeries(1)->isVisible());
        QVERIFY(f->lesson()->details()->text().contains("une fixation n'est pas définitive"));
    }

    // Every field goes to the file and comes back, into a window that had
    // other values.
    void aSavedScenarioOpensWithEveryField() {
        panel()->classesField()->setText("12");
        panel()->generationsField()->setText("345");
        panel()->seedField()->setText("4242");
        SettingsEditor* a = set(0);
        a->individualsField()->setText("50");
        a->modelBox()->setCurrentIndex(1);
        a->allelesBox()->setValue(3);
        a->urnField(1)->setText("10");
        a->urnField(2)->setText("40");
        a->urnField(3)->setText("50");
        a->fitnessField(1)->setText("110");
        a->mutationField()->setText("0,002");
        a->migrationField()->setText("0.05");
        set(1)->setChecked(true);
        set(1)->individualsField()->setText("30");
        set(1)->allelesBox()->setValue(2);
        set(1)->fitnessField(2)->setText("90");
        const auto saved = panel()->scenario();
        QVERIFY2(saved.has_value(), qPrintable(panel()->errors()));
        const QString path = folder_->filePath("lecon.scenario");
        window_->saveScenarioTo(path);
        QTRY_VERIFY(!controller_->busy());
        QVERIFY(window_->statusBar()->currentMessage().startsWith("Scénario enregistré"));

        closeWindow();
        openWindow();
        window_->openScenarioFrom(path);
        const auto opened = panel()->scenario();
        QVERIFY2(opened.has_value(), qPrintable(noticeText()));
        QCOMPARE(opened->a, saved->a);
        QCOMPARE(opened->b, saved->b);
        QCOMPARE(opened->classes, 12);
        QCOMPARE(opened->generations, 345);
        QCOMPARE(opened->seed, 4242u);
        QVERIFY(set(1)->isChecked());
        QCOMPARE(set(0)->mutationField()->text(), "0.002"); // as the file writes it
        QCOMPARE(set(0)->fitnessField(1)->text(), "110");
        QVERIFY(!set(1)->urnField(3)->isEnabled());
        QCOMPARE(opened->a.fitness[0], 110);
    }

    // A refused file says which line and value, and leaves every field as it was.
    void aFailedOpenChangesNothing() {
        panel()->classesField()->setText("7");
        set(0)->individualsField()->setText("30");
        const QString good = folder_->filePath("bon.txt");
        window_->saveScenarioTo(good);
        QTRY_VERIFY(!controller_->busy());
        QFile file(good);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        const int lines = static_cast<int>(text.count('\n'));

        set(0)->mutationField()->setText("0.01"); // the state to keep
        const auto before = panel()->scenario();
        QVERIFY(before.has_value());
        const QString misspelt = "mutatoin = 0.5\n";
        writeFile("faute.txt", text + misspelt.toUtf8());
        writeFile("coupe.txt", text.left(text.size() / 2));
        writeFile("latin1.txt", text + "# \xE9t\xE9\n");
        writeFile("enorme.txt", QByteArray(200'000, 'x'));
        for (const char* name :
             {"faute.txt", "coupe.txt", "latin1.txt", "enorme.txt", "absent.txt"}) {
            window_->openScenarioFrom(folder_->filePath(name));
            QTRY_VERIFY(window_->notice() && window_->notice()->isVisible());
            QVERIFY2(noticeText().contains(name), qPrintable(noticeText()));
            QVERIFY(noticeText().size() < 600);
            window_->notice()->close();
            const auto after = panel()->scenario();
            QVERIFY(after.has_value());
            QCOMPARE(after->a, before->a);
            QCOMPARE(after->classes, 7);
            QCOMPARE(set(0)->mutationField()->text(), "0.01");
        }
        window_->openScenarioFrom(folder_->filePath("faute.txt"));
        QVERIFY2(noticeText().contains(QString("ligne %1").arg(lines + 1)),
                 qPrintable(noticeText()));
        QVERIFY(noticeText().contains("mutatoin"));
    }
};

QTEST_MAIN(LaboParametersTest)
#include "labo_parameters_test.moc"
