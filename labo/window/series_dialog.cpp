#include "labo/window/series_dialog.h"

#include "core/lab/files/run_description.h"
#include "core/lab/science/size_series.h"
#include "core/lab/view/series_view.h"
#include "labo/window/chart_support.h"
#include "labo/window/explanation_box.h"
#include "labo/window/parameter_panel.h"
#include "labo/window/run_controller.h"
#include "labo/window/series_chart.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

namespace bocavo::labo {
namespace {

// The worksheet's own sizes, offered as they are.
inline constexpr char kWorksheetSizes[] = "10,20,50,100,200";
// Eight sizes of up to five digits, their commas and a few spaces.
inline constexpr int kSizesChars = 64;        // characters
inline constexpr QSize kDialogSize{940, 700}; // pixels: fits a projector's 1024 × 768
inline constexpr int kChartStretch = 3;       // of the dialog's height, against the table's 1
inline constexpr int kTableStretch = 1;
inline constexpr int kRowHeight = 22; // pixels: compact rows, so that five sizes show whole
inline constexpr int kTableRowsShown = 5;
inline constexpr int kHeadingChars = 16; // characters per line of a column's heading

// A long heading on several lines, so that the columns are as wide as their numbers.
QString wrapped(const std::string& heading) {
    QString text;
    int line = 0;
    for (const QString& word : QString::fromStdString(heading).split(' ')) {
        if (line > 0 && line + 1 + word.size() > kHeadingChars) {
            text += '\n';
            line = 0;
        } else if (line > 0) {
            text += ' ';
            ++line;
        }
        text += word;
        line += static_cast<int>(word.size());
    }
    return text;
}

QPushButton* newButton(const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

} // namespace

SeriesDialog::SeriesDialog(RunController* controller, const ParameterPanel* parameters,
                           CostQuestion costAccepted, QWidget* parent)
    : QDialog(parent), controller_(controller), parameters_(parameters),
      costAccepted_(std::move(costAccepted)) {
    setObjectName("dialogueSerie");
    setWindowTitle("Série de tailles - Laboratoire de dérive");
    createWidgets();
    connectAll();
    layOut();
    refreshNote();
    refreshRows(true);
    updateCommands();
    resize(kDialogSize);
}

void SeriesDialog::createWidgets() {
    settingsNote_ = new QLabel;
    settingsNote_->setObjectName("reglagesSerie");
    settingsNote_->setWordWrap(true);
    sizes_ = new QLineEdit(kWorksheetSizes);
    sizes_->setObjectName("taillesSerie");
    sizes_->setMaxLength(kSizesChars);
    sizes_->setToolTip("De 2 à 8 tailles N, séparées par des virgules");
    message_ = new QLabel;
    message_->setObjectName("messageSerie");
    message_->setWordWrap(true);
    message_->setStyleSheet("color: #B00020;"); // the refusals' red, as the parameters'
    launch_ = newButton("&Lancer la série", "lancerSerie");
    cancel_ = newButton("A&nnuler", "annulerSerie");
    progress_ = new QProgressBar;
    progress_->setObjectName("progressionSerie");
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    standing_ = new QLabel("Aucune série : donnez les tailles puis « Lancer la série ».");
    standing_->setObjectName("etatSerie");
    standing_->setWordWrap(true);
    chart_ = new SeriesChart;
    words_ = new ExplanationBox("explicationSerie");
    table_ = new QTableWidget;
    table_->setObjectName("tableauSerie");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    exportCsv_ = newButton("Exporter en &CSV...", "exporterSerieCsv");
    exportPng_ = newButton("Exporter en &PNG...", "exporterSeriePng");
    exportSvg_ = newButton("Exporter en &SVG...", "exporterSerieSvg");
    copy_ = newButton("Copier le &tableau", "copierTableauSerie");
}

void SeriesDialog::connectAll() {
    connect(sizes_, &QLineEdit::textChanged, this, &SeriesDialog::updateCommands);
    connect(parameters_, &ParameterPanel::validityChanged, this, [this] {
        refreshNote();
        updateCommands();
    });
    connect(launch_, &QPushButton::clicked, this, &SeriesDialog::onLaunch);
    connect(cancel_, &QPushButton::clicked, controller_, &RunController::cancel);
    connect(controller_, &RunController::progressed, this, [this](int permille) {
        if (!running_)
            return;
        progress_->setValue(permille);
        refreshRows();
    });
    connect(controller_, &RunController::busyChanged, this, &SeriesDialog::updateCommands);
    connect(controller_, &RunController::finished, this, [this](const QString& text, bool failed) {
        if (!running_)
            return;
        running_ = false;
        refreshRows();
        // A failure is told once, by the window; here where the series stands.
        if (!failed)
            standing_->setText(text);
        updateCommands();
    });
    connect(exportCsv_, &QPushButton::clicked, this, [this] { pickFile("CSV"); });
    connect(exportPng_, &QPushButton::clicked, this, [this] { pickFile("PNG"); });
    connect(exportSvg_, &QPushButton::clicked, this, [this] { pickFile("SVG"); });
    connect(copy_, &QPushButton::clicked, this, &SeriesDialog::copyTable);
}

void SeriesDialog::layOut() {
    // The sizes, the command and its progress on one row: the chart keeps the height.
    auto* sizesRow = new QHBoxLayout;
    sizesRow->addWidget(sizes_, 1);
    sizesRow->addWidget(launch_);
    sizesRow->addWidget(progress_, 1);
    sizesRow->addWidget(cancel_);
    auto* form = new QFormLayout;
    auto* label = new QLabel("&Tailles N :");
    label->setBuddy(sizes_);
    form->addRow(label, sizesRow);
    auto* exports = new QHBoxLayout;
    for (QPushButton* button : {exportCsv_, exportPng_, exportSvg_, copy_})
        exports->addWidget(button);
    exports->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(settingsNote_);
    layout->addLayout(form);
    layout->addWidget(message_);
    layout->addWidget(standing_);
    layout->addWidget(chart_, kChartStretch);
    layout->addWidget(words_);
    layout->addWidget(table_, kTableStretch);
    // The headings' two lines and the worksheet's five sizes, without scrolling.
    table_->setMinimumHeight(table_->horizontalHeader()->fontMetrics().height() * 2 +
                             kRowHeight * (kTableRowsShown + 1));
    layout->addLayout(exports);
}

void SeriesDialog::showEvent(QShowEvent* event) {
    refreshNote();
    updateCommands();
    QDialog::showEvent(event);
}

void SeriesDialog::refreshNote() {
    const auto plan = parameters_->scenario();
    if (!plan) {
        settingsNote_->setText("La série reprend les réglages du jeu A, les classes, les "
                               "générations et la graine de la fenêtre : corrigez d'abord les "
                               "paramètres refusés.");
        return;
    }
    settingsNote_->setText(QString::fromStdString(seriesSettingsNote(*plan)));
}

QString SeriesDialog::refusal() const {
    if (controller_->busy() && !running_)
        return kWaitText;
    const auto plan = parameters_->scenario();
    if (!plan)
        return "Des paramètres de la fenêtre sont refusés ; corrigez-les d'abord :\n" +
               parameters_->errors();
    const auto sizes = parseSizes(sizes_->text().toStdString());
    if (!sizes)
        return QString::fromStdString(sizes.reason());
    if (const auto sound = checkSeries(plan->a, *sizes); !sound)
        return QString::fromStdString(sound.reason());
    return {};
}

void SeriesDialog::updateCommands() {
    const bool busy = controller_->busy();
    // A refusal of the runner's own is not the field's: said only at « Lancer ».
    const QString refused = busy ? QString() : refusal();
    message_->setText(refused);
    launch_->setEnabled(!busy && refused.isEmpty());
    cancel_->setEnabled(running_);
    sizes_->setEnabled(!running_);
    const bool rows = series_ && series_->rowsDone() > 0;
    for (QPushButton* button : {exportCsv_, exportPng_, exportSvg_, copy_})
        button->setEnabled(!busy && rows);
    if (!running_)
        progress_->setValue(series_ &&
                                    series_->rowsDone() == static_cast<int>(series_->sizes().size())
                                ? progress_->maximum()
                                : 0);
}

void SeriesDialog::onLaunch() {
    if (const QString refused = refusal(); !refused.isEmpty())
        return say(refused);
    const Scenario plan = *parameters_->scenario();
    const std::vector<int> sizes = *parseSizes(sizes_->text().toStdString());
    if (!costAccepted_(estimateSeries(plan.a, sizes, plan.classes, plan.generations)))
        return;
    std::shared_ptr<SizeSeries> series;
    try {
        series =
            std::make_shared<SizeSeries>(plan.a, sizes, plan.classes, plan.generations, plan.seed);
    } catch (const std::exception& e) {
        return say(QString::fromUtf8(e.what()));
    }
    if (const auto started = controller_->runSeries(series); !started)
        return say(QString::fromStdString(started.reason()));
    series_ = std::move(series);
    running_ = true;
    standing_->setText("Série de tailles en cours...");
    refreshRows(true);
    updateCommands();
}

void SeriesDialog::refreshRows(bool always) {
    const int done = series_ ? series_->rowsDone() : 0;
    if (!always && done == rowsShown_)
        return;
    rowsShown_ = done;
    const std::vector<SeriesRow> rows = series_ ? series_->rows() : std::vector<SeriesRow>{};
    const int classes = series_ ? series_->classes() : 0;
    const int last = series_ ? series_->last() : 0;
    const View view = seriesView(rows, classes, last);
    chart_->draw(view.chart);
    words_->showWords(wordsOf(view.notes));

    const auto cells = seriesTable(rows, last);
    table_->clear();
    table_->setRowCount(static_cast<int>(cells.size()) - 1);
    table_->setColumnCount(static_cast<int>(cells.front().size()));
    for (std::size_t c = 0; c < cells.front().size(); ++c)
        table_->setHorizontalHeaderItem(static_cast<int>(c),
                                        new QTableWidgetItem(wrapped(cells.front()[c].value)));
    for (std::size_t r = 1; r < cells.size(); ++r)
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            const SheetCell& cell = cells[r][c];
            auto* item = new QTableWidgetItem(textOf(cell.kind == SheetCell::Kind::Number
                                                         ? withSeparator(cell.value, ",")
                                                         : cell.value));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(r) - 1, static_cast<int>(c), item);
        }
}

void SeriesDialog::say(const QString& text) {
    message_->setText(text);
}

} // namespace bocavo::labo
