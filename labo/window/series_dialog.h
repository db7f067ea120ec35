// « Série de tailles »: set A of the window at several sizes N, many classes
// each, as the worksheet "three populations of different sizes, ten runs
// each, note when an allele is lost" asks. The sizes are typed here; the
// classes, generations, seed and every other setting are the window's. The
// series runs on the window's one runner; its chart, words and table are the
// lab core's, and it exports like every view (CSV, PNG, SVG, the table).
#pragma once

#include "core/lab/science/run_cost.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace bocavo::labo {

class ExplanationBox;
class ParameterPanel;
class RunController;
class SeriesChart;
class SizeSeries;

class SeriesDialog : public QDialog {
    Q_OBJECT
public:
    // Asked before a series whose cost is high; true to run it.
    using CostQuestion = std::function<bool(const RunCost&)>;
    SeriesDialog(RunController* controller, const ParameterPanel* parameters,
                 CostQuestion costAccepted, QWidget* parent = nullptr);

    // The exports without their file dialogs, for the buttons and for tests;
    // each file is written by the runner (pictures at `size`, default: on screen).
    void exportCsvTo(const QString& path);
    void exportPngTo(const QString& path, QSize size = {});
    void exportSvgTo(const QString& path, QSize size = {});
    void copyTable();

    QLineEdit* sizesField() const { return sizes_; }
    QLabel* message() const { return message_; }
    QLabel* settingsNote() const { return settingsNote_; }
    QLabel* standing() const { return standing_; }
    QPushButton* launchButton() const { return launch_; }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* progress() const { return progress_; }
    QTableWidget* table() const { return table_; }
    SeriesChart* chart() const { return chart_; }
    ExplanationBox* words() const { return words_; }
    // The series on show (none before the first « Lancer la série »).
    const SizeSeries* series() const { return series_.get(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void exportPictureTo(const QString& path, QSize size, bool png);
    void createWidgets();
    void connectAll();
    void layOut();
    // Why the sizes typed cannot be run with the window's settings now, or nothing.
    QString refusal() const;
    void onLaunch();
    void updateCommands();
    void refreshNote();
    // The rows the series has so far, drawn when their number changed.
    void refreshRows(bool always = false);
    void pickFile(const char* format);
    // Why an export cannot start (no rows yet), or nothing.
    QString exportRefusal() const;
    void say(const QString& text);

    RunController* controller_;
    const ParameterPanel* parameters_;
    CostQuestion costAccepted_;
    std::shared_ptr<SizeSeries> series_;
    int rowsShown_ = -1;
    bool running_ = false; // the runner's task is this dialog's series

    QLabel* settingsNote_ = nullptr;
    QLineEdit* sizes_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* launch_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* standing_ = nullptr;
    SeriesChart* chart_ = nullptr;
    ExplanationBox* words_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* exportCsv_ = nullptr;
    QPushButton* exportPng_ = nullptr;
    QPushButton* exportSvg_ = nullptr;
    QPushButton* copy_ = nullptr;
};

} // namespace bocavo::labo
