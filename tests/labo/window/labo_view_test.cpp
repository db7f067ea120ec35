// The laboratory's window as a class sees it on a projector: it fits the
// screen, its numbers read the same in every view, its new seeds come from
// its own random source, and a teacher's scenario beside an export is kept.
#include "core/lab/view/chart.h"
#include "core/lab/view/expected_cache.h"
#include "labo/window/all_classes_tab.h"
#include "labo/window/chart_legend.h"
#include "labo/window/class_tab.h"
#include "labo/window/curve_bundle.h"
#include "labo/window/explanation_box.h"
#include "labo/window/fixation_tab.h"
#include "labo/window/genotypes_tab.h"
#include "labo/window/heterozygosity_tab.h"
#include "labo/window/labo_window.h"
#include "labo/window/parameter_panel.h"
#include "labo/window/run_controller.h"
#include "labo/window/settings_editor.h"
#include "labo_window_fixture.h"

#include <QAbstractSeries>
#include <QChart>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <optional>

using namespace bocavo::labo;

class LaboViewTest : public LaboWindowFixture {
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    // A school projector's 1024 × 768, less a task bar: the whole window fits,
    // and it opens no larger than the screen it is on.
    void theWindowFitsASmallProjector() {
        const QSize least = window_->minimumSizeHint().expandedTo(window_->minimumSize());
        QVERIFY2(least.width() <= 1024 && least.height() <= 700,
                 qPrintable(QString("%1 × %2").arg(least.width()).arg(least.height())));
        const QSize screen = window_->screen()->availableGeometry().size();
        QVERIFY(window_->width() <= std::max(screen.width(), least.width()));
        QVERIFY(window_->height() <= std::max(screen.height(), least.height()));
        // At that size the parameters scroll up and down only: no field is
        // hidden past the column's right edge.
        window_->resize(1024, 700);
        auto* column = window_->findChild<QScrollArea*>("colonneParametres");
        QVERIFY(column);
        QTRY_COMPARE(column->horizontalScrollBar()->maximum(), 0);
        QVERIFY(column->verticalScrollBar()->maximum() > 0);
    }

    // A field takes only what is typed into it: the access key of a disabled
    // button types nothing, a spin box's neither, and an enabled one still
    // acts; a pasted line break is a character of the value, inside its own
    // refusal, so that the reasons are counted right.
    void fieldsTakeOnlyWhatIsTyped() {
        QLineEdit* classes = window_->parameters()->classesField();
        classes->setText("30");
        window_->parameters()->generationsField()->setText("0"); // « Lancer » disabled
        QVERIFY(!window_->launchButton()->isEnabled());
        QVERIFY(!window_->cancelButton()->isEnabled());
        classes->setFocus();
        QTest::keyClick(classes, Qt::Key_A, Qt::AltModifier);
        QTest::keyClick(classes, Qt::Key_L, Qt::AltModifier);
        QSpinBox* alleles = window_->parameters()->editor(0)->allelesBox();
        alleles->setFocus();
        QTest::keyClick(alleles, Qt::Key_2, Qt::AltModifier);
        QTest::qWait(300); // access keys act after a while
        QCOMPARE(classes->text(), "30");
        QCOMPARE(alleles->value(), 4);
        QCOMPARE(controller_->experiment(), nullptr);

        QLineEdit* seed = window_->parameters()->seedField();
        seed->selectAll();
        seed->insert("12\n34"); // as a paste puts it
        QCOMPARE(seed->text(), "12\n34");
        const QStringList reasons = window_->parameters()->errors().split('\n');
        QCOMPARE(reasons.size(), 2); // the generations, and the seed
        QVERIFY2(reasons[1].startsWith("« 12␊34 » ne convient pas"), qPrintable(reasons[1]));
        QCOMPARE(window_->parameters()->message()->text().count('\n'), 1);

        window_->parameters()->generationsField()->setText("5");
        seed->setText("7");
        classes->setFocus();
        QTest::keyClick(classes, Qt::Key_L, Qt::AltModifier);
        QTRY_VERIFY(controller_->experiment() != nullptr);
    }

    // "Nouvelle graine" draws from the controller's own source: two windows
    // whose controllers start alike offer the same seeds, in turn.
    void newSeedsComeFromTheControllersSource() {
        RunController twin(42);
        LaboWindow other(&twin);
        bocavo::Source_Aleatoire expected(42);
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(other.parameters()->newSeedButton(), Qt::LeftButton);
            QCOMPARE(other.parameters()->seedField()->text(), QString::number(expected.raw()));
        }
    }

    // Every view writes its numbers one way: thousands grouped, no trailing
    // zero, and no count of nothing in the plural.
    void numbersReadTheSameInEveryView() {
        window_->parameters()->editor(0)->modelBox()->setCurrentIndex(1); // Ne = N = 20
        runTo("1000", "1");
        QVERIFY(window_->runLabel()->text().startsWith("1 000 classes, graine 1993"));
        window_->tabs()->setCurrentWidget(window_->heterozygosityTab());
        HeterozygosityTab* h = window_->heterozygosityTab();
        QCOMPARE(h->expected()->name(), "Attendue (Ne = 20)");
        QVERIFY2(h->chart()->title().startsWith("Hétérozygotie moyenne de 1 000 classes"),
                 qPrintable(h->chart()->title()));
        window_->tabs()->setCurrentWidget(window_->allClassesTab());
        AllClassesTab* all = window_->allClassesTab();
        QVERIFY(all->chart()->title().startsWith("Allèle 1 dans chacune des 1 000 classes"));
        QCOMPARE(all->fixedCount(), 0); // one generation of 20 cannot fix an allele at 25 %
        QStringList names;
        for (const QAbstractSeries* series : all->chart()->series())
            names << series->name();
        QVERIFY2(names.contains("Fixé (100 %) dans aucune classe"), qPrintable(names.join('|')));
    }

    // Each tab draws the lab core's view of the run on display, line for
    // line; the parameters edited for the next run change no legend of it.
    void tabsDrawTheCoresViewOfTheRunOnDisplay() {
        window_->parameters()->editor(0)->individualsField()->setText("20");
        runTo("5", "3000");
        window_->parameters()->editor(0)->individualsField()->setText("40"); // not launched
        const std::vector<ViewSet> sets = {{controller_->experiment(), &controller_->statistics()}};
        ExpectedCache expected;
        for (int index = 0; index < window_->tabs()->count(); ++index) {
            window_->tabs()->setCurrentIndex(index);
            auto* tab = static_cast<ChartTab*>(window_->tabs()->currentWidget());
            const ChartChoice& choice = tab->choice();
            const View view = index == 0   ? classView(sets, choice)
                              : index == 1 ? allClassesView(sets, choice)
                              : index == 2 ? fixationView(sets, choice, expected)
                              : index == 3 ? heterozygosityView(sets, choice, expected)
                                           : genotypesView(sets, choice);
            // Broken into lines where the chart is too narrow for it, never cut.
            QCOMPARE(tab->chart()->title().replace("<br>", " "),
                     QString::fromStdString(view.chart.title));
            // The lines as drawn: line series, or the class curves' one item
            // (whose legend is the frame's, from the core's names).
            struct Drawn {
                std::optional<QString> name;
                QPen pen;
                QList<QPointF> points;
            };
            QList<Drawn> drawn;
            for (QAbstractSeries* series : tab->chart()->series())
                if (auto* line = qobject_cast<QLineSeries*>(series); line && line->isVisible())
                    drawn << Drawn{line->name(), line->pen(), line->points()};
            if (tab == window_->allClassesTab())
                for (int c = 0; c < window_->allClassesTab()->classCurves(); ++c)
                    drawn << Drawn{std::nullopt, window_->allClassesTab()->curves()->pen(c),
                                   window_->allClassesTab()->curves()->points(c)};
            QCOMPARE(drawn.size(), static_cast<qsizetype>(view.chart.lines.size()));
            for (qsizetype i = 0; i < drawn.size(); ++i) {
                const Line& line = view.chart.lines[static_cast<std::size_t>(i)];
                if (drawn[i].name)
                    QCOMPARE(*drawn[i].name, QString::fromStdString(line.name));
                QCOMPARE(drawn[i].pen.color().name().toUpper(),
                         QString::fromStdString(line.colour));
                QCOMPARE(drawn[i].pen.style(),
                         line.stroke == Stroke::Solid ? Qt::SolidLine : Qt::DashLine);
                QCOMPARE(drawn[i].pen.widthF(), line.width);
                QVERIFY(std::abs(drawn[i].pen.color().alphaF() - line.opacity) < 0.01);
                QCOMPARE(drawn[i].points.size(), static_cast<qsizetype>(line.points.size()));
                for (qsizetype p = 0; p < drawn[i].points.size(); ++p)
                    QCOMPARE(drawn[i].points[p],
                             QPointF(line.points[static_cast<std::size_t>(p)].x,
                                     line.points[static_cast<std::size_t>(p)].y));
            }
            // 3 001 generations on a plot some hundreds of pixels wide: reduced.
            if (index == 0)
                QVERIFY(drawn.front().points.size() < 3001);
        }
        const QString legend = window_->heterozygosityTab()->observed()->name();
        QCOMPARE(legend, "Moyenne des classes (N = 20)");
    }

    // « Génotypes »: each genotype of the run's four alleles and all the
    // heterozygotes, beside Hardy–Weinberg's terms, with the heterozygotes of
    // the last generation in words; nothing drawn before a run.
    void theGenotypesTabDrawsTheRun() {
        auto* tab = window_->findChild<GenotypesTab*>("ongletGenotypes");
        QVERIFY(tab);
        QCOMPARE(window_->tabs()->tabText(window_->tabs()->indexOf(tab)), "Génotypes");
        const auto visible = [tab] {
            QStringList names;
            for (const QLineSeries* series : tab->series())
                if (series->isVisible())
                    names << series->name();
            return names;
        };
        QVERIFY(visible().isEmpty());
        runTo("6", "30");
        window_->tabs()->setCurrentWidget(tab);
        QCOMPARE(visible(), QStringList({"11", "p₁²", "22", "p₂²", "33", "p₃²", "44", "p₄²",
                                         "hétérozygotes", "1 − Σ p²"}));
        QVERIFY2(tab->heterozygotes()->text().startsWith("Génération 30 : "),
                 qPrintable(tab->heterozygotes()->text()));
        QCOMPARE(tab->chart()->title().replace("<br>", " "),
                 "Génotypes (bandes) et Hardy-Weinberg (traits), 6 classes, générations 0 à 30");
        QVERIFY(tab->explanation()->pupil()->text().contains("Hardy-Weinberg"));
        // The legend's sample of 11 is its pale band, of p₁² its thin full line.
        const auto& samples = tab->frame()->legend()->entries();
        QVERIFY(std::abs(samples[0].pen.color().alphaF() - kGenotypeBandOpacity) < 0.01);
        QCOMPARE(samples[1].pen.color().alphaF(), 1.0f);

        // Compared with B: one legend entry per genotype and set, ten in all.
        QTest::keyClick(window_, Qt::Key_B, Qt::AltModifier); // "Comparer avec un jeu &B"
        launch();
        QStringList entries;
        for (const ChartLegend::Entry& entry : tab->frame()->legend()->entries())
            entries << entry.text;
        QCOMPARE(entries.size(), 10);
        QCOMPARE(entries.first(), "A : 11 (p₁²)");
        QCOMPARE(entries.last(), "B : hétérozygotes (1 − Σ p²)");
    }

    // A scenario beside the file that already gives it keeps the teacher's
    // own comments; the status says it is there.
    void aScenarioThatGivesTheExportIsKept() {
        QTemporaryDir folder;
        runTo("3", "20");
        const QString csv = folder.filePath("lecon.csv");
        window_->exportCsvTo(csv);
        QTRY_VERIFY(!controller_->busy());
        QFile scenario(folder.filePath("lecon.scenario"));
        QVERIFY(scenario.open(QIODevice::ReadOnly));
        const QByteArray mine = "# Ma leçon de jeudi\n" + scenario.readAll();
        scenario.close();
        QVERIFY(scenario.open(QIODevice::WriteOnly | QIODevice::Truncate));
        scenario.write(mine);
        scenario.close();
        window_->exportCsvTo(csv);
        QTRY_VERIFY(!controller_->busy());
        QVERIFY2(window_->statusBar()->currentMessage().endsWith(
                     "et son scénario « lecon.scenario » déjà à côté."),
                 qPrintable(window_->statusBar()->currentMessage()));
        QVERIFY(scenario.open(QIODevice::ReadOnly));
        QCOMPARE(scenario.readAll(), mine);
    }
};

QTEST_MAIN(LaboViewTest)
#include "labo_view_test.moc"
