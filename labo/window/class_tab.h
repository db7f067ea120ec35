// "Une classe": the four allele frequencies of one class across the generations.
#pragma once

#include "labo/window/chart_tab.h"
#include "labo/window/open_in_bocavo.h"

#include <array>
#include <optional>

class QLineSeries;
class QPushButton;
class QSpinBox;
class QValueAxis;

namespace bocavo::labo {

class ClassTab : public ChartTab {
    Q_OBJECT
public:
    explicit ClassTab(QWidget* parent = nullptr);

    QSpinBox* classBox() const { return classBox_; }
    const std::array<QLineSeries*, 4>& series() const { return series_; }
    // « Ouvrir cette classe dans Bocavo », usable when the class on display
    // can be a group of the classroom program.
    QPushButton* openButton() const { return open_; }

signals:
    // The classroom program could not be started: the French reason.
    void problem(const QString& text);

protected:
    View viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) override;
    void draw(const View& view) override;

private:
    void showOpenable(std::optional<BocavoStart> start);

    QSpinBox* classBox_;
    QPushButton* open_;
    std::optional<BocavoStart> start_;
    std::array<QLineSeries*, 4> series_{};
};

} // namespace bocavo::labo
