// The window's exports: CSV through the run controller, pictures drawn and
// written off the window's thread, printing. Every file goes through FileOutput.
#include "labo/model/csv_writer.h"
#include "labo/window/chart_export.h"
#include "labo/window/chart_tab.h"
#include "labo/window/csv_size_dialog.h"
#include "labo/window/labo_window.h"
#include "labo/window/picture_size_dialog.h"
#include "labo/window/run_controller.h"

#include <QChartView>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <memory>

namespace bocavo::labo {

void LaboWindow::exportCsv() {
    if (const QString refused = controller_->exportRefusal(); !refused.isEmpty())
        return showProblem(refused);
    const QString path = QFileDialog::getSaveFileName(
        this, "Exporter les données en CSV",
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/derive.csv",
        "Fichiers CSV (*.csv)");
    if (!path.isEmpty())
        exportCsvTo(path);
}

void LaboWindow::exportCsvTo(const QString& path) {
    if (const QString refused = controller_->exportRefusal(); !refused.isEmpty())
        return showProblem(refused);
    int every = 1;
    // Sized from the bytes the statistics counted as they took the run in:
    // instant, so the dialog follows every change of K.
    const auto stats = controller_->allStatistics();
    const std::uint64_t whole = csvBytes(stats, 1);
    if (whole > csvWarningBytes_) {
        CsvSizeDialog ask(
            whole, [stats](int k) { return csvBytes(stats, k); },
            everyWithin(stats, csvWarningBytes_), this);
        if (ask.exec() != QDialog::Accepted)
            return;
        every = ask.every();
    }
    if (const QString refused = controller_->exportCsv(path, every); !refused.isEmpty())
        showProblem(refused);
}

void LaboWindow::exportPicture(const char* format) {
    const QString suffix = QString(format).toLower();
    const QString path = QFileDialog::getSaveFileName(
        this, QString("Exporter le graphique en %1").arg(format),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + "/derive." + suffix,
        QString("Images %1 (*.%2)").arg(format, suffix));
    if (path.isEmpty())
        return;
    PictureSizeDialog ask(currentTab()->view()->size(), this);
    if (ask.exec() != QDialog::Accepted)
        return;
    if (suffix == "png")
        exportPngTo(path, ask.chosenSize());
    else
        exportSvgTo(path, ask.chosenSize());
}

void LaboWindow::exportPngTo(const QString& path, QSize size) {
    const ChartRecording chart = recordChart(currentTab()->view());
    if (!size.isValid())
        size = chart.size;
    savePicture([chart, size, path] { return writePng(chart, size, path); }, path);
}

void LaboWindow::exportSvgTo(const QString& path, QSize size) {
    const ChartRecording chart = recordChart(currentTab()->view());
    if (!size.isValid())
        size = chart.size;
    const QString title = tabs_->tabText(tabs_->currentIndex());
    savePicture([chart, size, path, title] { return writeSvg(chart, size, path, title); }, path);
}

// Drawing a large picture takes seconds: the window stays responsive meanwhile.
void LaboWindow::savePicture(std::function<QString()> job, const QString& path) {
    if (pictureThread_)
        return showProblem("Attendez la fin de l'enregistrement du graphique en cours.");
    auto error = std::make_shared<QString>();
    pictureThread_ = QThread::create([job = std::move(job), error] { *error = job(); });
    connect(pictureThread_, &QThread::finished, this, [this, error, path] {
        pictureThread_->deleteLater();
        pictureThread_ = nullptr;
        updateCommands();
        if (!error->isEmpty()) {
            statusBar()->clearMessage();
            return showProblem(*error);
        }
        statusBar()->showMessage(QString("Graphique enregistré dans « %1 ».").arg(path));
    });
    statusBar()->showMessage("Enregistrement du graphique...");
    pictureThread_->start();
    updateCommands();
}

void LaboWindow::printCurrentChart() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Imprimer le graphique");
    if (dialog.exec() == QDialog::Accepted)
        printTo(&printer);
}

void LaboWindow::printTo(QPrinter* printer) {
    if (const QString error = printChart(currentTab()->view(), printer); !error.isEmpty()) {
        statusBar()->clearMessage();
        return showProblem(error);
    }
    const QString file = printer->outputFileName();
    statusBar()->showMessage(file.isEmpty() ? QString("Graphique envoyé à l'imprimante.")
                                            : QString("Graphique imprimé dans « %1 ».").arg(file));
}

} // namespace bocavo::labo
