// The window's exports: every file (CSV, workbook, pictures, PDF) is written by the run
// controller, the window's one runner, off the window's thread.
#include "core/lab/files/run_description.h"
#include "core/lab/files/workbook.h"
#include "labo/files/csv_writer.h"
#include "labo/files/workbook_export.h"
#include "labo/window/all_classes_tab.h"
#include "labo/window/chart_export.h"
#include "labo/window/chart_tab.h"
#include "labo/window/class_tab.h"
#include "labo/window/csv_size_dialog.h"
#include "labo/window/fixation_tab.h"
#include "labo/window/genotypes_tab.h"
#include "labo/window/labo_window.h"
#include "labo/window/picture_size_dialog.h"
#include "labo/window/run_controller.h"

#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <memory>

namespace bocavo::labo {

void LaboWindow::exportCsv() {
    if (const auto refused = controller_->exportRefusal(); !refused)
        return showRefusal(refused);
    const QString path = QFileDialog::getSaveFileName(
        this, "Exporter les données en CSV",
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/derive.csv",
        "Fichiers CSV (*.csv)");
    if (!path.isEmpty())
        exportCsvTo(path);
}

void LaboWindow::exportCsvTo(const QString& path) {
    if (const auto refused = controller_->exportRefusal(); !refused)
        return showRefusal(refused);
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
    showRefusal(controller_->exportCsv(path, every));
}

void LaboWindow::exportWorkbook() {
    if (const auto refused = controller_->exportRefusal(); !refused)
        return showRefusal(refused);
    const QString path = QFileDialog::getSaveFileName(
        this, "Exporter pour le tableur",
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/derive.xlsx",
        "Classeurs Excel (*.xlsx)");
    if (!path.isEmpty())
        exportWorkbookTo(path);
}

void LaboWindow::exportWorkbookTo(const QString& path) {
    if (const auto refused = controller_->exportRefusal(); !refused)
        return showRefusal(refused);
    std::vector<WorkbookSet> shape;
    for (const Experiment* set : controller_->experiments())
        shape.push_back({set->classes(), set->settings().alleles, set->generation()});
    int every = 1;
    if (workbookCells(shape, every) > kMaxWorkbookCells) {
        every = workbookEvery(shape, kMaxWorkbookCells);
        QString text = QString::fromStdString(workbookTooLarge(shape, 1));
        text[0] = text[0].toUpper();
        QMessageBox ask(QMessageBox::Question, "Exporter pour le tableur", text,
                        QMessageBox::Yes | QMessageBox::No, this);
        ask.setObjectName("classeurTropGrand");
        ask.button(QMessageBox::Yes)->setText(QString("&Garder une génération sur %1").arg(every));
        ask.button(QMessageBox::No)->setText("&Ne pas exporter");
        if (ask.exec() != QMessageBox::Yes)
            return;
    }
    showRefusal(controller_->exportWorkbook(path, every));
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
    saveFile(
        path, [chart, size](QByteArray& bytes) { return drawPng(chart, size, bytes); },
        QString("Graphique enregistré dans « %1 ».").arg(path));
}

void LaboWindow::exportSvgTo(const QString& path, QSize size) {
    const ChartRecording chart = recordChart(currentTab()->view());
    if (!size.isValid())
        size = chart.size;
    const QString title = tabs_->tabText(tabs_->currentIndex());
    saveFile(
        path,
        [chart, size, title](QByteArray& bytes) { return drawSvg(chart, size, title, bytes); },
        QString("Graphique enregistré dans « %1 ».").arg(path));
}

// Drawing a large picture takes seconds, and a named pipe may wait for its
// reader: the window stays responsive meanwhile, and « Annuler » gives up.
void LaboWindow::saveFile(const QString& path, RunController::Draw draw, const QString& doneText) {
    if (const auto started = controller_->saveFile(path, std::move(draw), doneText); !started)
        return showRefusal(started);
    statusBar()->showMessage(QString("Enregistrement de « %1 »...").arg(path));
}

void LaboWindow::copyTable() {
    if (const auto refused = controller_->exportRefusal(); !refused)
        return showRefusal(refused);
    ChartTab* tab = currentTab();
    ViewChoice choice = tab->shown();
    if (tab == classTab_) {
        choice.classNumber = classTab_->classBox()->value();
    } else if (tab == allClassesTab_) {
        choice.kind = ViewKind::AllClasses;
        choice.allele = allClassesTab_->alleleBox()->currentIndex() + 1;
    } else if (tab == fixationTab_) {
        choice.kind = ViewKind::Fixation;
        choice.allele = fixationTab_->alleleBox()->currentIndex() + 1;
    } else if (tab == genotypesTab_) {
        choice.kind = ViewKind::Genotypes;
    } else {
        choice.kind = ViewKind::Heterozygosity;
    }
    std::vector<ViewSet> sets;
    const auto stats = controller_->allStatistics();
    const Sets experiments = controller_->experiments();
    for (std::size_t i = 0; i < experiments.size(); ++i)
        sets.push_back({experiments[i], stats[i]});
    const ViewTable table = viewTable(sets, choice);
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(tableText(table, QLocale().decimalPoint().toStdString())));
    statusBar()->showMessage(QString::fromStdString(tableCopiedText(table)));
}

void LaboWindow::printCurrentChart() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Imprimer le graphique");
    if (dialog.exec() == QDialog::Accepted)
        printTo(&printer);
}

void LaboWindow::printTo(QPrinter* printer) {
    if (controller_->busy())
        return showProblem(kWaitText);
    PageText text{"Laboratoire de dérive — " + tabs_->tabText(tabs_->currentIndex()), {}};
    for (const std::string& line :
         parameterLines(controller_->experiments(), QLocale().decimalPoint().toStdString()))
        text.notes << QString::fromStdString(line);
    text.notes << QString("Imprimé le %1").arg(QString::fromStdString(exportDate()));
    QByteArray pdf;
    if (const auto printed = printChart(currentTab()->view(), text, printer, pdf); !printed) {
        statusBar()->clearMessage();
        return showRefusal(printed);
    }
    const QString file = printer->outputFileName();
    if (file.isEmpty())
        return statusBar()->showMessage("Graphique envoyé à l'imprimante.");
    saveFile(
        file,
        [pdf](QByteArray& bytes) {
            bytes = pdf;
            return Result<void>();
        },
        QString("Graphique imprimé dans « %1 ».").arg(file));
}

} // namespace bocavo::labo
