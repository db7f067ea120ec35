// The laboratory's window, offscreen: fields refuse bad values, the four
// commands run off the window's thread and can be cancelled, the views follow
// the run, and the exports write their files or say why not.
#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "labo/files/scenario_file.h"
#include "labo/window/all_classes_tab.h"
#include "labo/window/chart_export.h"
#include "labo/window/chart_legend.h"
#include "labo/window/class_tab.h"
#include "labo/window/csv_size_dialog.h"
#include "labo/window/explanation_box.h"
#include "labo/window/fixation_tab.h"
#include "labo/window/heterozygosity_tab.h"
#include "labo/window/labo_window.h"
#include "labo/window/parameter_panel.h"
#include "labo/window/picture_size_dialog.h"
#include "labo/window/run_controller.h"
#include "labo_window_fixture.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QValueAxis>
#include <QtTest>
#include <memory>

using namespace bocavo::labo;

class LaboWindowTest : public LaboWindowFixture {
    Q_OBJECT

private:
    const Experiment& run() const { return *controller_->experiment(); }
    QString status() const { return window_->statusBar()->currentMessage(); }

private slots:
    void init() { openWindowAndFolder(); }
    void cleanup() { closeWindowAndFolder(); }

    void badFieldValuesAreRefusedAndNothingRuns() {
        QVERIFY(window_->windowIcon().availableSizes().contains(
            QSize(32, 32))); // the main program's icon
        ParameterPanel* panel = window_->parameters();
        QCOMPARE(panel->classesField()->text(), "30");
        QCOMPARE(panel->generationsField()->text(), "100");
        QCOMPARE(panel->seedField()->text(), QString::number(kDefaultSeed));
        QVERIFY(window_->launchButton()->isEnabled());
        QVERIFY(!window_->nextButton()->isEnabled()); // nothing to continue yet

        panel->classesField()->setText("1001");
        auto* message = panel->findChild<QLabel*>("message");
        QCOMPARE(message->text(), "« 1001 » ne convient pas pour le nombre de classes : il faut "
                                  "un nombre entier de 1 à 1 000.");
        QVERIFY(!window_->launchButton()->isEnabled());
        QVERIFY(!window_->fixationButton()->isEnabled());
        panel->seedField()->setText("graine");
        QVERIFY(message->text().contains("ne convient pas pour la graine"));
        QCOMPARE(message->text().count('\n'), 1); // both reasons, one line each
        QCOMPARE(controller_->experiment(), nullptr);

        panel->classesField()->setText("12");
        QTest::mouseClick(panel->newSeedButton(), Qt::LeftButton);
        QVERIFY(panel->scenario().has_value());
        QVERIFY(message->text().isEmpty());
        QVERIFY(window_->launchButton()->isEnabled());
    }

    void launchRunsEveryClassAndTheViewsFollow() {
        runTo("30", "100");
        QCOMPARE(run().generation(), 100);
        QVERIFY(
            window_->runLabel()->text().startsWith("30 classes, graine 1993 : génération 100 ("));
        QVERIFY(status().contains("Génération 100 atteinte"));
        QCOMPARE(window_->progress()->value(), window_->progress()->maximum());

        // "Une classe": 101 points per allele, summing to 100 % at every generation.
        ClassTab* one = window_->classTab();
        one->classBox()->setValue(7);
        const auto& series = one->series();
        QCOMPARE(series[0]->count(), 101);
        for (int g = 0; g <= 100; ++g) {
            double sum = 0;
            for (QLineSeries* s : series)
                sum += s->at(g).y();
            QCOMPARE(sum, 100.0);
            QCOMPARE(series[2]->at(g).y(), run().counts(7, g)[2] * 2.5);
        }

        // "Toutes les classes": one curve per class, and the edge counts agree with the run.
        window_->tabs()->setCurrentWidget(window_->allClassesTab());
        AllClassesTab* all = window_->allClassesTab();
        all->alleleBox()->setCurrentIndex(2);
        QCOMPARE(all->classCurves(), 30);
        int fixed = 0, lost = 0;
        for (int c = 1; c <= 30; ++c) {
            fixed += run().counts(c, 100)[2] == 40;
            lost += run().counts(c, 100)[2] == 0;
        }
        QCOMPARE(all->fixedCount(), fixed);
        QCOMPARE(all->lostCount(), lost);
        QVERIFY(all->chart()->title().startsWith("Allèle 3 dans chacune des 30 classes"));

        // "Fixation" and "Hétérozygotie" use the same statistics as the model.
        window_->tabs()->setCurrentWidget(window_->fixationTab());
        window_->fixationTab()->alleleBox()->setCurrentIndex(2);
        const Statistics& stats = controller_->statistics();
        QCOMPARE(window_->fixationTab()->fixedSeries()->at(100).y(),
                 100.0 * stats.fixedClasses()[100][2] / 30);
        QCOMPARE(window_->fixationTab()->lostSeries()->at(100).y(),
                 100.0 * stats.lostClasses()[100][2] / 30);
        QVERIFY(!window_->fixationTab()->fixedSeries(1)->isVisible()); // no set B
        QVERIFY(window_->fixationTab()->means()->text().startsWith(
            "Première perte d'un allèle : génération "));
        window_->tabs()->setCurrentWidget(window_->heterozygosityTab());
        HeterozygosityTab* h = window_->heterozygosityTab();
        QCOMPARE(h->observed()->at(0).y(), 0.75);
        QCOMPARE(h->expected()->at(100).y(), expectedHeterozygosity(Settings{}, 100)[100]);
        QVERIFY(h->explanation()->details()->text().contains("Ne = 19,5"));
        QVERIFY(h->explanation()->details()->text().contains("Ne = (4N − 2)/(Vk + 2)"));
        for (ChartTab* tab :
             {static_cast<ChartTab*>(window_->classTab()), static_cast<ChartTab*>(all),
              static_cast<ChartTab*>(window_->fixationTab()), static_cast<ChartTab*>(h)}) {
            QVERIFY(tab->frame()->legend()->isVisible());
            QVERIFY(!tab->frame()->legend()->entries().empty());
            QCOMPARE(tab->chart()->axes(Qt::Horizontal).constFirst()->titleText().left(10),
                     "Génération");
        }
    }

    void nextGenerationAndResetFollowTheRun() {
        runTo("5", "10");
        QTest::mouseClick(window_->nextButton(), Qt::LeftButton);
        QTRY_VERIFY(!controller_->busy());
        QCOMPARE(run().generation(), 11);
        QCOMPARE(window_->classTab()->series()[0]->count(), 12);
        QCOMPARE(status(), "Génération 11.");
        // Lancer with the same parameters and a later goal continues the same run.
        const Counts before = run().counts(3, 11);
        runTo("5", "40");
        QCOMPARE(run().counts(3, 11), before);
        QCOMPARE(run().generation(), 40);

        QTest::mouseClick(window_->resetButton(), Qt::LeftButton);
        QCOMPARE(controller_->experiment(), nullptr);
        QVERIFY(!window_->nextButton()->isEnabled());
        QCOMPARE(window_->classTab()->series()[0]->count(), 0);
        QVERIFY(window_->runLabel()->text().startsWith("Aucune simulation"));
    }

    // A long run is thinned to what the screen can show; a zoom (what a drag
    // across the chart does to its axis) redraws the stretch in full detail.
    void zoomShowsEveryGenerationOfTheStretch() {
        runTo("3", "5000");
        ClassTab* one = window_->classTab();
        QVERIFY(one->series()[0]->count() <= 2001);
        auto* x = qobject_cast<QValueAxis*>(one->chart()->axes(Qt::Horizontal).constFirst());
        x->setRange(1000.4, 1099.6);
        QTRY_COMPARE(one->series()[0]->count(), 101);
        QCOMPARE(one->series()[1]->at(0).x(), 1000.0);
        for (int i = 0; i <= 100; ++i)
            QCOMPARE(one->series()[1]->at(i).y(), run().counts(1, 1000 + i)[1] * 2.5);
        QCOMPARE(x->min(), 1000.0);
        QCOMPARE(x->max(), 1100.0);
        QVERIFY(one->wholeRunButton()->isEnabled());
        QTest::mouseClick(one->wholeRunButton(), Qt::LeftButton);
        QCOMPARE(x->max(), 5000.0);
        QVERIFY(one->series()[0]->count() <= 2001);
        QVERIFY(!one->wholeRunButton()->isEnabled());
    }

    void cancelKeepsTheGenerationsComputed() {
        setFields("1000", "32767", "4");
        QTest::mouseClick(window_->launchButton(), Qt::LeftButton);
        QVERIFY(controller_->busy());
        QVERIFY(window_->cancelButton()->isEnabled());
        QVERIFY(!window_->launchButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(run().generation() >= 1, 20000);
        QTest::mouseClick(window_->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), 20000);
        const int kept = run().generation();
        QVERIFY(kept >= 1);
        QVERIFY(kept < 32767);
        QVERIFY2(status().startsWith("Calcul annulé à la génération"), qPrintable(status()));
        // The view ends at the last generation kept (a long run is drawn reduced).
        const auto* drawn = window_->classTab()->series()[0];
        QCOMPARE(drawn->at(drawn->count() - 1).x(), double(kept));
        // The kept run goes on from where it stopped.
        QTest::mouseClick(window_->nextButton(), Qt::LeftButton);
        QTRY_VERIFY(!controller_->busy());
        QCOMPARE(run().generation(), kept + 1);
    }

    void untilFixationStopsWhenEveryClassHasOneAllele() {
        setFields("12", "100", "77");
        QTest::mouseClick(window_->fixationButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), 20000);
        QVERIFY(run().allFixed());
        QVERIFY2(status().startsWith("Toutes les classes n'ont plus qu'un allèle"),
                 qPrintable(status()));
        const auto& last = controller_->statistics().fixedClasses().back();
        QCOMPARE(last[0] + last[1] + last[2] + last[3], 12);
        QTest::mouseClick(window_->fixationButton(), Qt::LeftButton); // nothing left to do
        QVERIFY(status().startsWith("Toutes les classes ont déjà un seul allèle"));
    }

    void theCounterStopsAtItsLastGeneration() {
        runTo("1", "32767");
        QCOMPARE(run().generation(), 32767);
        QTest::mouseClick(window_->nextButton(), Qt::LeftButton);
        QTRY_VERIFY(window_->notice() && window_->notice()->isVisible());
        QCOMPARE(noticeText(), "La génération 32 767 est la dernière que le compteur peut "
                               "atteindre : il n'y a pas de génération suivante.");
        QCOMPARE(run().generation(), 32767);
    }

    void csvExportWritesTheFileOrSaysWhyNot() {
        runTo("3", "20");
        const QString path = folder_->filePath("derive.csv");
        window_->exportCsvTo(path);
        QTRY_VERIFY(!controller_->busy());
        QCOMPARE(status(), QString("Fichier « %1 » écrit : 252 lignes, et son scénario "
                                   "« derive.scenario » à côté.")
                               .arg(path)); // 3 × 21 × 4
        // The scenario beside it reproduces the run, in another window.
        const auto beside = loadScenario(folder_->filePath("derive.scenario").toStdString());
        QVERIFY(static_cast<bool>(beside));
        QCOMPARE(beside->classes, 3);
        QCOMPARE(beside->generations, 20);
        QCOMPARE(beside->seed, kDefaultSeed);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine(), QByteArray("classe,génération,allèle,effectif,fréquence\n"));
        QCOMPARE(file.readLine(), QByteArray("1,0,1,10,25\n"));

        // A teacher's own scenario under that name stays, and the window says where the
        // reproducing one went.
        const QString lesson = folder_->filePath("lecon.scenario");
        {
            QFile teacher(lesson);
            QVERIFY(teacher.open(QIODevice::WriteOnly));
            teacher.write("# Ma leçon\n");
        }
        window_->exportCsvTo(folder_->filePath("lecon.csv"));
        QTRY_VERIFY(!controller_->busy());
        QVERIFY2(status().endsWith("et son scénario « lecon-2.scenario » à côté. "
                                   "« lecon.scenario », qui décrit une autre simulation, reste "
                                   "tel quel."),
                 qPrintable(status()));
        QFile kept(lesson);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("# Ma leçon\n"));

        const QString bad = folder_->filePath("absent/derive.csv");
        window_->exportCsvTo(bad);
        QTRY_VERIFY(window_->notice() && window_->notice()->isVisible());
        QCOMPARE(noticeText(),
                 QString("Impossible d'écrire le fichier « %1 » : le dossier n'existe "
                         "pas.\nLa simulation est conservée.")
                     .arg(bad));
        QCOMPARE(run().generation(), 20);
        QCOMPARE(window_->classTab()->series()[0]->count(), 21);
    }

    void aLargeCsvIsAnnouncedAndCanKeepOneGenerationInK() {
        runTo("4", "200");
        window_->setCsvWarningBytes(5000);
        bool asked = false;
        QTimer::singleShot(0, this, [&] {
            auto* ask = window_->findChild<CsvSizeDialog*>();
            QVERIFY(ask);
            asked = true;
            QVERIFY(ask->everyBox()->value() >= 2);
            ask->everyBox()->setValue(50);
            QVERIFY(ask->thinnedSize()->text().endsWith("ko)"));
            QCOMPARE(ask->every(), 50);
            ask->accept();
        });
        const QString path = folder_->filePath("mince.csv");
        window_->exportCsvTo(path);
        QVERIFY(asked);
        QTRY_VERIFY(!controller_->busy());
        QVERIFY(status().startsWith(
            QString("Fichier « %1 » écrit : 80 lignes").arg(path))); // 4 × 5 × 4

        // Declined: nothing written.
        QTimer::singleShot(0, this, [&] { window_->findChild<CsvSizeDialog*>()->reject(); });
        window_->exportCsvTo(folder_->filePath("refus.csv"));
        QVERIFY(!QFile::exists(folder_->filePath("refus.csv")));
        QCOMPARE(sizeText(131'072'000), "131 Mo");
        QCOMPARE(sizeText(3'300'000'000), "3,3 Go");
    }

    void pictureExportsAndPrintWriteTheCurrentChart() {
        runTo("10", "50");
        window_->tabs()->setCurrentWidget(window_->heterozygosityTab());
        const QSize onScreen = window_->heterozygosityTab()->view()->size();
        const QString png = folder_->filePath("h.png");
        window_->exportPngTo(png);
        QTRY_VERIFY(!controller_->busy());
        QCOMPARE(status(), QString("Graphique enregistré dans « %1 ».").arg(png));
        QCOMPARE(QImage(png).size(), onScreen); // the chart's size on screen by default
        const QString svg = folder_->filePath("h.svg");
        window_->exportSvgTo(svg);
        QTRY_VERIFY(!controller_->busy());
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("<svg"));
        QVERIFY(text.contains("Hétérozygotie")); // the chart's own texts are in it

        window_->exportPngTo(folder_->filePath("absent/h.png"));
        QTRY_VERIFY(window_->notice() && window_->notice()->isVisible());
        QCOMPARE(noticeText(),
                 QString("Impossible d'écrire le fichier « %1 » : le dossier n'existe "
                         "pas.")
                     .arg(folder_->filePath("absent/h.png")));
        QCOMPARE(status(), QString()); // no earlier success left showing
        window_->notice()->close();

        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder_->filePath("h.pdf"));
        window_->printTo(&printer);
        QTRY_VERIFY(!controller_->busy());
        QCOMPARE(status(),
                 QString("Graphique imprimé dans « %1 ».").arg(folder_->filePath("h.pdf")));
        QFile pdf(folder_->filePath("h.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(pdf.size() > 2000);
        // Printing to a full disk says so, and takes back the earlier success.
        printer.setOutputFileName("/dev/full");
        window_->printTo(&printer);
        QTRY_VERIFY(!controller_->busy());
        QCOMPARE(noticeText(),
                 QString("Impossible d'écrire le fichier « /dev/full » : le disque est plein."));
        QCOMPARE(status(), QString());
    }

    // A picture is drawn at the size asked for, off the window's thread.
    void aLargePictureIsDrawnWithoutFreezingTheWindow() {
        runTo("10", "50");
        const QString png = folder_->filePath("grand.png");
        const QSize large(4000, 3000);
        window_->exportPngTo(png, large);
        QVERIFY(controller_->busy()); // back at once, still drawing
        bool answered = false;
        QTimer::singleShot(0, this, [&] { answered = true; });
        QTRY_VERIFY(answered);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), 30000);
        QCOMPARE(QImage(png).size(), large);

        // The size asked for, in proportion with the chart on screen.
        const QSize onScreen = window_->classTab()->view()->size();
        PictureSizeDialog ask(onScreen);
        QCOMPARE(ask.chosenSize(), onScreen);
        ask.widthBox()->setValue(onScreen.width() * 3);
        QCOMPARE(ask.chosenSize(), QSize(onScreen.width() * 3, onScreen.height() * 3));
        ask.widthBox()->setValue(100'000);
        QVERIFY(ask.chosenSize().width() <= kMaxPictureSide);
        QVERIFY(ask.chosenSize().height() <= kMaxPictureSide);
    }

    // Closed while a CSV file is being written: the export stops, its
    // temporary file goes, and the older file stays as it was.
    void closingDuringAnExportLeavesNothingBehind() {
        runTo("1000", "3000", "5");
        QTemporaryDir folder;
        const QString path = folder.filePath("ancien.csv");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("ancien");
        }
        window_->setCsvWarningBytes(UINT64_MAX); // no question first
        window_->exportCsvTo(path);
        QVERIFY(controller_->busy());
        window_->close();
        QVERIFY(!controller_->busy());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"ancien.csv"});
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("ancien"));
    }
};

QTEST_MAIN(LaboWindowTest)
#include "labo_window_test.moc"
