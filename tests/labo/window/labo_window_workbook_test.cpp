// « Exporter pour le tableur... » in the laboratory's window, offscreen: the
// window's workbook is the command line's for the same run, a workbook too
// large to open is offered one generation in K, and a busy runner refuses.
#include "core/lab/files/workbook.h"
#include "labo/cli/command_line.h"
#include "labo/files/workbook_export.h"
#include "labo/window/settings_editor.h"
#include "labo_window_fixture.h"

#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <sstream>

using namespace bocavo::labo;

class LaboWindowWorkbookTest : public LaboWindowFixture {
    Q_OBJECT

private:
    QString status() const { return window_->statusBar()->currentMessage(); }
    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The window writes `path` (answering the size question with `answer`
    // when it comes); then `expected` writes `reference`. Both are dated to
    // the minute, so a pair that straddles a minute is made again.
    void compareWith(const QString& path, const QString& reference,
                     const std::function<void()>& expected,
                     QMessageBox::StandardButton answer = QMessageBox::NoButton) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const std::string before = exportDate();
            if (answer != QMessageBox::NoButton)
                QTimer::singleShot(0, this, [this, answer] {
                    auto* ask = window_->findChild<QMessageBox*>("classeurTropGrand");
                    QVERIFY(ask);
                    ask->button(answer)->click();
                });
            window_->exportWorkbookTo(path);
            QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), kRunTimeout);
            QCOMPARE(status(), QString("Classeur « %1 » écrit.").arg(path));
            expected();
            if (exportDate() != before)
                continue;
            const QByteArray book = bytesOf(path);
            QVERIFY(book.startsWith("PK"));
            QVERIFY(book == bytesOf(reference));
            return;
        }
        QFAIL("two minutes went by during two exports");
    }
    void commandLine(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        QCOMPARE(runCommandLine(args, out, err), 0);
    }

private slots:
    void init() { openWindowAndFolder(); }
    void cleanup() { closeWindowAndFolder(); }

    void theWindowsWorkbookIsTheCommandLines() {
        runTo("3", "20", "7");
        const QString path = folder_->filePath("fenetre.xlsx");
        const QString cli = folder_->filePath("ligne.xlsx");
        compareWith(path, cli, [&] {
            commandLine({"--classes", "3", "--generations", "20", "--seed", "7", "--xlsx",
                         cli.toStdString()});
        });

        // A folder that is not there: the window's notice, the run kept.
        const QString bad = folder_->filePath("absent/classeur.xlsx");
        window_->exportWorkbookTo(bad);
        QTRY_VERIFY(window_->notice() && window_->notice()->isVisible());
        QVERIFY2(noticeText().contains(QString("« %1 »").arg(bad)) &&
                     noticeText().endsWith("\nLa simulation est conservée."),
                 qPrintable(noticeText()));
        window_->notice()->close();

        // With set B, both sets go into the workbook.
        window_->parameters()->editor(1)->setChecked(true);
        runTo("3", "20", "7");
        QCOMPARE(controller_->sets(), 2);
        const QString both = folder_->filePath("deux.xlsx");
        const QString model = folder_->filePath("modele.xlsx");
        compareWith(both, model, [&] {
            QVERIFY(exportWorkbook(controller_->experiments(), model.toStdString(),
                                   {1, exportDate(), BOCAVO_VERSION})
                        .error.empty());
        });
        QVERIFY(bytesOf(both).size() > bytesOf(path).size());
    }

    void aWorkbookTooLargeOffersOneGenerationInK() {
        runTo("1000", "150");
        const std::vector<WorkbookSet> shape{{1000, 4, 150}};
        QVERIFY(workbookCells(shape, 1) > kMaxWorkbookCells);
        const int every = workbookEvery(shape, kMaxWorkbookCells);
        QVERIFY(every >= 2);

        // Declined: nothing written.
        const QString refused = folder_->filePath("refus.xlsx");
        QString asked;
        QTimer::singleShot(0, this, [&] {
            auto* ask = window_->findChild<QMessageBox*>("classeurTropGrand");
            QVERIFY(ask);
            asked = ask->text();
            QCOMPARE(ask->button(QMessageBox::Yes)->text(),
                     QString("&Garder une génération sur %1").arg(every));
            ask->button(QMessageBox::No)->click();
        });
        window_->exportWorkbookTo(refused);
        QVERIFY(asked.startsWith("Le classeur aurait "));
        QVERIFY(asked.contains(QString("« une génération sur %1 »").arg(every)));
        QVERIFY(!controller_->busy());
        QVERIFY(!QFile::exists(refused));

        // Accepted: the command line's workbook with --every K.
        const QString path = folder_->filePath("mince.xlsx");
        const QString cli = folder_->filePath("ligne.xlsx");
        compareWith(
            path, cli,
            [&] {
                commandLine({"--classes", "1000", "--generations", "150", "--xlsx",
                             cli.toStdString(), "--every", std::to_string(every)});
            },
            QMessageBox::Yes);
    }

    void aBusyRunnerRefusesTheExport() {
        setFields("1000", "30000", "1993");
        QTest::mouseClick(window_->launchButton(), Qt::LeftButton);
        QVERIFY(controller_->busy());
        const QString path = folder_->filePath("occupe.xlsx");
        window_->exportWorkbookTo(path);
        QTRY_VERIFY(window_->notice() && window_->notice()->isVisible());
        QCOMPARE(noticeText(), kWaitText);
        window_->notice()->close();
        QTest::mouseClick(window_->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), kRunTimeout);
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(LaboWindowWorkbookTest)
#include "labo_window_workbook_test.moc"
