// « Série de tailles » in the window: sizes refused in French without losing
// the rows on show, a small series run on the window's runner with the
// window's settings (its CSV equal to the lab core's for them), its exports,
// and « Annuler » stopping a long one.
#include "core/lab/files/series_csv.h"
#include "core/lab/science/size_series.h"
#include "labo/window/series_dialog.h"
#include "labo_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTableWidget>
#include <QTimer>

namespace bocavo::labo {

class LaboSeriesTest : public LaboWindowFixture {
    Q_OBJECT

    SeriesDialog* dialog_ = nullptr;

    void openSeries() {
        window_->findChild<QAction*>("serieDeTailles")->trigger();
        dialog_ = window_->seriesDialog();
        QVERIFY(dialog_->isVisible());
    }
    // « Lancer la série », accepting the question a costly series asks first.
    void launchSeries() {
        QTimer::singleShot(500, this, [] {
            if (auto* ask = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                ask->button(QMessageBox::Yes)->click();
        });
        QTest::mouseClick(dialog_->launchButton(), Qt::LeftButton);
    }
    QString cell(int row, int column) const { return dialog_->table()->item(row, column)->text(); }

private slots:
    void init() {
        openWindowAndFolder();
        openSeries();
    }
    void cleanup() { closeWindowAndFolder(); }

    void smallSeriesRunsWithTheWindowsSettingsAndExports() {
        setFields("6", "30", "77");
        dialog_->sizesField()->setText("40, 20");
        QVERIFY(dialog_->message()->text().isEmpty());
        QVERIFY(dialog_->settingsNote()->text().contains("6 classes par taille"));
        QVERIFY(dialog_->settingsNote()->text().contains("graine 77"));
        launchSeries();
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), kRunTimeout);
        QCOMPARE(dialog_->standing()->text(),
                 QString("Série de tailles terminée : 2 tailles de 6 classes jusqu'à la "
                         "génération 30."));
        QCOMPARE(dialog_->table()->rowCount(), 2);
        QCOMPARE(cell(0, 0), QString("20"));
        QCOMPARE(cell(1, 0), QString("40"));
        QCOMPARE(cell(1, 1), QString("6"));
        QVERIFY(!controller_->experiment()); // the run is left as it was: none

        // The file is the lab core's own series for the window's set A.
        const QString csv = folder_->filePath("serie.csv");
        dialog_->exportCsvTo(csv);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), kRunTimeout);
        SizeSeries same(window_->parameters()->scenario()->a, {20, 40}, 6, 30, 77);
        QVERIFY(same.run());
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toStdString(), seriesCsv(same.rows(), 30));

        const QString png = folder_->filePath("serie.png");
        dialog_->exportPngTo(png, QSize(400, 300));
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), kRunTimeout);
        QFile picture(png);
        QVERIFY(picture.open(QIODevice::ReadOnly));
        QVERIFY(picture.read(4) == QByteArray("\x89PNG"));

        dialog_->copyTable();
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        QVERIFY(lines.value(0).startsWith("individus\tclasses\t"));
        QVERIFY(lines.value(2).startsWith("40\t6\t"));
    }

    void sizesAreRefusedInFrenchAndTheRowsStay() {
        setFields("4", "10", "5");
        dialog_->sizesField()->setText("10,20");
        launchSeries();
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), kRunTimeout);
        QCOMPARE(dialog_->table()->rowCount(), 2);
        const struct {
            const char* sizes;
            const char* classes;
            const char* words;
        } cases[] = {
            {"10,10", "4", "La taille 10 est donnée deux fois dans la série."},
            {"10", "4", "Une série compare au moins 2 tailles"},
            {"10,dix", "4", "ne convient pas"},
            {"15,20", "4", "15"}, // the protocol breeds in tens: its own refusal names the size
            {"10,20", "0", "Des paramètres de la fenêtre sont refusés"},
        };
        for (const auto& c : cases) {
            window_->parameters()->classesField()->setText(c.classes);
            dialog_->sizesField()->setText(c.sizes);
            QVERIFY2(dialog_->message()->text().contains(QString::fromUtf8(c.words)),
                     qPrintable(c.sizes + (" : " + dialog_->message()->text())));
            QVERIFY(!dialog_->launchButton()->isEnabled());
            QCOMPARE(dialog_->table()->rowCount(), 2);
        }
        window_->parameters()->classesField()->setText("4");
        dialog_->sizesField()->setText("10,20");
        QVERIFY(dialog_->message()->text().isEmpty());
        QVERIFY(dialog_->launchButton()->isEnabled());
    }

    void cancelStopsALongSeries() {
        // Several seconds at the least for the first size alone.
        setFields("200", "5000", "3");
        dialog_->sizesField()->setText("2000,4000,8000");
        launchSeries();
        QTRY_VERIFY_WITH_TIMEOUT(controller_->busy(), kRunTimeout);
        QVERIFY(dialog_->cancelButton()->isEnabled());
        QVERIFY(!window_->launchButton()->isEnabled()); // one runner: the window waits too
        QTest::mouseClick(dialog_->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), 5000);
        QVERIFY(dialog_->series()->rowsDone() < 3);
        QVERIFY2(dialog_->standing()->text().startsWith("Série de tailles annulée"),
                 qPrintable(dialog_->standing()->text()));
        QVERIFY(!dialog_->cancelButton()->isEnabled());
        QVERIFY(dialog_->launchButton()->isEnabled());
    }
};

} // namespace bocavo::labo

QTEST_MAIN(bocavo::labo::LaboSeriesTest)
#include "labo_series_test.moc"
