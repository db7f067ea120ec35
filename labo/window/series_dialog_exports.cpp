// The series' exports: every file written by the window's one runner, through
// the same safe output as the lab's (a failed or cancelled one spoils no older
// file), and its table copied as the window copies a view's.
#include "core/lab/files/series_csv.h"
#include "core/lab/files/view_table.h"
#include "core/lab/science/size_series.h"
#include "core/lab/view/series_view.h"
#include "labo/window/chart_export.h"
#include "labo/window/picture_size_dialog.h"
#include "labo/window/run_controller.h"
#include "labo/window/series_chart.h"
#include "labo/window/series_dialog.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QStandardPaths>

namespace bocavo::labo {

QString SeriesDialog::exportRefusal() const {
    if (controller_->busy())
        return kWaitText;
    if (!series_ || series_->rowsDone() == 0)
        return "Aucune série à exporter : lancez d'abord la série.";
    return {};
}

void SeriesDialog::pickFile(const char* format) {
    if (const QString refused = exportRefusal(); !refused.isEmpty())
        return say(refused);
    const QString suffix = QString(format).toLower();
    const bool picture = suffix != "csv";
    const QString path = QFileDialog::getSaveFileName(
        this, QString("Exporter la série en %1").arg(format),
        QStandardPaths::writableLocation(picture ? QStandardPaths::PicturesLocation
                                                 : QStandardPaths::DocumentsLocation) +
            "/serie." + suffix,
        QString("Fichiers %1 (*.%2)").arg(format, suffix));
    if (path.isEmpty())
        return;
    if (!picture)
        return exportCsvTo(path);
    PictureSizeDialog ask(chart_->size(), this);
    if (ask.exec() != QDialog::Accepted)
        return;
    if (suffix == "png")
        exportPngTo(path, ask.chosenSize());
    else
        exportSvgTo(path, ask.chosenSize());
}

void SeriesDialog::exportCsvTo(const QString& path) {
    if (const QString refused = exportRefusal(); !refused.isEmpty())
        return say(refused);
    // The rows as they stand now: a series cancelled halfway writes what it has.
    const std::vector<SeriesRow> rows = series_->rows();
    const std::string csv = seriesCsv(rows, series_->last());
    const QString done =
        QString("Série enregistrée dans « %1 » : %2 lignes.").arg(path).arg(rows.size());
    if (const auto started = controller_->saveFile(
            path,
            [csv](QByteArray& bytes) {
                bytes = QByteArray::fromStdString(csv);
                return Result<void>();
            },
            done);
        !started)
        say(QString::fromStdString(started.reason()));
}

void SeriesDialog::exportPngTo(const QString& path, QSize size) {
    exportPictureTo(path, size, true);
}

void SeriesDialog::exportSvgTo(const QString& path, QSize size) {
    exportPictureTo(path, size, false);
}

void SeriesDialog::exportPictureTo(const QString& path, QSize size, bool png) {
    if (const QString refused = exportRefusal(); !refused.isEmpty())
        return say(refused);
    const ChartRecording chart = recordChart(chart_);
    if (!size.isValid())
        size = chart.size;
    if (const auto started = controller_->saveFile(
            path,
            [chart, size, png](QByteArray& bytes) {
                return png ? drawPng(chart, size, bytes)
                           : drawSvg(chart, size, "Série de tailles", bytes);
            },
            QString("Graphique de la série enregistré dans « %1 ».").arg(path));
        !started)
        say(QString::fromStdString(started.reason()));
}

void SeriesDialog::copyTable() {
    if (const QString refused = exportRefusal(); !refused.isEmpty())
        return say(refused);
    const ViewTable table{seriesTable(series_->rows(), series_->last())};
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(tableText(table, QLocale().decimalPoint().toStdString())));
    say(QString());
    standing()->setText(QString::fromStdString(tableCopiedText(table)));
}

} // namespace bocavo::labo
