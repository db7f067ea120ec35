// "Toutes les classes": one allele's frequency in every class, and at the
// right edge how many classes have fixed it and how many have lost it.
#pragma once

#include "labo/window/chart_tab.h"

#include <vector>

class QComboBox;
class QGraphicsSimpleTextItem;
class QLabel;
class QScatterSeries;
class QValueAxis;

namespace bocavo::labo {

class CurveBundle;
class ExplanationBox;

class AllClassesTab : public ChartTab {
    Q_OBJECT
public:
    explicit AllClassesTab(QWidget* parent = nullptr);

    QComboBox* alleleBox() const { return alleleBox_; }
    int classCurves() const;
    const CurveBundle* curves() const { return curves_; }
    int fixedCount() const { return drawn().edge ? drawn().edge->fixed : 0; }
    int lostCount() const { return drawn().edge ? drawn().edge->lost : 0; }
    // How far the classes have drifted apart (Fst), and what migration lets theory expect.
    ExplanationBox* differentiation() const { return differentiation_; }

protected:
    View viewOf(const std::vector<ViewSet>& sets, const ChartChoice& choice) override;
    void draw(const View& view) override;

private:
    void placeEdgeTexts();

    QComboBox* alleleBox_;
    ExplanationBox* differentiation_;
    QValueAxis* x_;
    QValueAxis* y_;
    CurveBundle* curves_ = nullptr;
    QScatterSeries* fixedMark_;
    QScatterSeries* lostMark_;
    QGraphicsSimpleTextItem* fixedText_;
    QGraphicsSimpleTextItem* lostText_;
};

} // namespace bocavo::labo
