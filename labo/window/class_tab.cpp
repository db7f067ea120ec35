#include "labo/window/class_tab.h"

#include "core/lab/science/experiment.h"
#include "labo/window/chart_support.h"

#include <QChart>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QValueAxis>

namespace bocavo::labo {

ClassTab::ClassTab(QWidget* parent)
    : ChartTab(parent), classBox_(new QSpinBox),
      open_(new QPushButton("Ouvrir cette classe dans Bocavo")) {
    addSetChooser();
    classBox_->setObjectName("classe");
    classBox_->setRange(1, 1);
    auto* label = new QLabel("Classe &montrée :");
    label->setBuddy(classBox_);
    controls()->addWidget(label);
    controls()->addWidget(classBox_);
    open_->setObjectName("ouvrirDansBocavo");
    open_->setEnabled(false);
    controls()->addWidget(open_);
    controls()->addStretch(1);

    QValueAxis* x = addAxis(chart(), Qt::AlignBottom);
    QValueAxis* y = addAxis(chart(), Qt::AlignLeft);
    setAxes(x, y);
    for (QLineSeries*& series : series_) {
        series = new QLineSeries;
        chart()->addSeries(series);
        attach(series, x, y);
    }
    connect(classBox_, &QSpinBox::valueChanged, this, [this](int classNumber) {
        choose().classNumber = classNumber;
        redraw();
    });
    connect(open_, &QPushButton::clicked, this, [this] {
        if (!start_)
            return;
        if (const QString refused = startBocavo(*start_); !refused.isEmpty())
            emit problem(refused);
    });
    redraw();
}

void ClassTab::showOpenable(std::optional<BocavoStart> start) {
    start_ = std::move(start);
    open_->setEnabled(start_.has_value());
}

View ClassTab::viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) {
    return classView(sets, choice);
}

void ClassTab::draw(const View& view) {
    {
        const QSignalBlocker quiet(classBox_);
        classBox_->setMaximum(std::max(1, view.commands.classes));
        classBox_->setValue(view.shown.classNumber);
    }
    for (std::size_t k = 0; k < series_.size(); ++k)
        showLine(series_[k],
                 findLine(view.chart, Role::Frequency, view.shown.set, static_cast<int>(k) + 1));
    const Experiment* run =
        view.generations ? sets()[static_cast<std::size_t>(view.shown.set)].experiment : nullptr;
    showOpenable(
        run ? bocavoStart(*run, view.shown.classNumber, QCoreApplication::applicationDirPath())
            : std::nullopt);
}

} // namespace bocavo::labo
