// The lab's views on a classroom's projector (a 1024 × 768 screen): every
// text of every chart whole, in each tab, one chart or the two sets side by
// side, on the desk or in projector mode; the two sets' charts on the same
// axes; and the projector's full screen left for the window as it was.
#include "labo/window/all_classes_tab.h"
#include "labo/window/chart_legend.h"
#include "labo/window/chart_tab.h"
#include "labo/window/curve_bundle.h"
#include "labo/window/fixation_tab.h"
#include "labo/window/labo_window.h"
#include "labo/window/parameter_panel.h"
#include "labo/window/run_controller.h"
#include "labo/window/settings_editor.h"
#include "labo/window/side_by_side_charts.h"
#include "labo_window_fixture.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QScreen>
#include <QTabWidget>
#include <QValueAxis>
#include <QtTest>

using namespace bocavo::labo;

namespace {

// What of a chart's texts a reader would not see whole: elided by QtCharts
// ("..."), outside the chart, under the legend, or a legend entry given less
// room than its words need.
QStringList cutTexts(const QChartView* view, const ChartLegend* legend) {
    QStringList cut;
    const QRectF chart = view->chart()->sceneBoundingRect().adjusted(-1, -1, 1, 1);
    const QRectF shown = view->mapToScene(view->viewport()->rect()).boundingRect();
    const QRectF legendBox = legend->sceneBoundingRect();
    for (const QGraphicsItem* item : view->scene()->items()) {
        // Titles and labels, and the counts written beside a plot.
        const auto* text = dynamic_cast<const QGraphicsTextItem*>(item);
        const auto* simple = dynamic_cast<const QGraphicsSimpleTextItem*>(item);
        const QString words = text ? text->toPlainText() : simple ? simple->text() : QString();
        if (!item->isVisible() || words.isEmpty())
            continue;
        const QRectF box = item->sceneBoundingRect();
        if (words.contains("...") || words.contains(QChar(0x2026)) || !chart.contains(box) ||
            !shown.contains(box.adjusted(1, 1, -1, -1)) || box.intersects(legendBox))
            cut << words;
    }
    for (std::size_t i = 0; i < legend->entries().size(); ++i) {
        const ChartLegend::Placed& at = legend->placed()[i];
        const QRectF needs = legend->needed(legend->entries()[i].text, at.text.width());
        const QRectF box = legend->mapRectToScene(at.text);
        if (needs.width() > at.text.width() || needs.height() > at.text.height() ||
            !chart.contains(box))
            cut << legend->entries()[i].text;
    }
    return cut;
}

} // namespace

class LaboDisplayTest : public LaboWindowFixture {
    Q_OBJECT

    ChartTab* tab(int index) const {
        return static_cast<ChartTab*>(window_->tabs()->widget(index));
    }

    // Sets A and B, four alleles each, B larger: what a class compares.
    void runBothSets() {
        window_->parameters()->editor(1)->setChecked(true);
        window_->parameters()->editor(1)->individualsField()->setText("60");
        runTo("30", "150");
    }

private slots:
    void init() {
        openWindow();
        QCOMPARE(window_->screen()->geometry().size(), QSize(1024, 768));
    }
    void cleanup() { closeWindow(); }

    void everyTextOfEveryChartIsWhole() {
        runBothSets();
        for (const bool projector : {false, true}) {
            window_->setProjectorMode(projector);
            for (const bool pair : {false, true}) {
                window_->sideBySideAction()->setChecked(pair);
                for (int index = 0; index < window_->tabs()->count(); ++index) {
                    window_->tabs()->setCurrentIndex(index);
                    QTest::qWait(50); // the texts are fitted as the charts are laid out
                    ChartTab* shown = tab(index);
                    QCOMPARE(shown->sideBySideShown(), pair);
                    std::vector<std::pair<const QChartView*, const ChartLegend*>> charts;
                    if (pair)
                        for (int set = 0; set < 2; ++set)
                            charts.emplace_back(shown->sideBySide()->chart(set)->view(),
                                                shown->sideBySide()->chart(set)->frame()->legend());
                    else
                        charts.emplace_back(shown->view(), shown->frame()->legend());
                    for (const auto& [view, legend] : charts) {
                        const QString where = QString("%1, %2%3")
                                                  .arg(window_->tabs()->tabText(index))
                                                  .arg(pair ? "côte à côte" : "un graphique")
                                                  .arg(projector ? ", projecteur" : "");
                        QVERIFY2(view->isVisible(), qPrintable(where));
                        QVERIFY2(!legend->entries().empty(), qPrintable(where));
                        const QStringList cut = cutTexts(view, legend);
                        QVERIFY2(cut.isEmpty(), qPrintable(where + " : " + cut.join(" | ")));
                    }
                }
            }
        }
    }

    // Each set in its own chart, on the axes of both, and a zoom dragged on
    // either shows the same generations in both; without B there is no pair.
    void sideBySideDrawsEachSetOnTheSameAxes() {
        QAction* pair = window_->sideBySideAction();
        QVERIFY(!pair->isEnabled()); // no run yet
        runTo("10", "40");
        QVERIFY(!pair->isEnabled()); // one set
        runBothSets();
        QVERIFY(pair->isEnabled());
        pair->setChecked(true);
        window_->tabs()->setCurrentWidget(window_->fixationTab());
        FixationTab* fixation = window_->fixationTab();
        QVERIFY(fixation->sideBySideShown());
        const auto axes = [fixation](int set) {
            const QChart* chart = fixation->sideBySide()->chart(set)->chart();
            const auto* x = static_cast<QValueAxis*>(chart->axes(Qt::Horizontal).constFirst());
            const auto* y = static_cast<QValueAxis*>(chart->axes(Qt::Vertical).constFirst());
            return std::array<qreal, 4>{x->min(), x->max(), y->min(), y->max()};
        };
        QCOMPARE(axes(0), (std::array<qreal, 4>{0, 150, 0, 100}));
        QCOMPARE(axes(1), axes(0));
        for (int set = 0; set < 2; ++set) {
            const CurveBundle* curves = fixation->sideBySide()->chart(set)->curves();
            QVERIFY(curves->count() > 0);
            for (int i = 0; i < curves->count(); ++i)
                QCOMPARE(curves->pen(i).style(), set == 0 ? Qt::SolidLine : Qt::DashLine);
        }

        auto* b = static_cast<QValueAxis*>(
            fixation->sideBySide()->chart(1)->chart()->axes(Qt::Horizontal).constFirst());
        b->setRange(20, 60); // as a drag across B's chart does
        QTRY_COMPARE(axes(0)[0], 20.0);
        QCOMPARE(axes(0)[1], 60.0);
        QCOMPARE(axes(1), axes(0));

        pair->setChecked(false);
        QVERIFY(!fixation->sideBySideShown());
        QVERIFY(fixation->view()->isVisible());
    }

    // F11 gives the views the whole screen, lines twice as thick and larger
    // type; Échap gives back the window as it was.
    void projectorModeAndBack() {
        runBothSets();
        window_->tabs()->setCurrentWidget(window_->fixationTab());
        FixationTab* fixation = window_->fixationTab();
        const QRect before = window_->geometry();
        const qreal type = window_->font().pointSizeF();
        const qreal titleType = fixation->chart()->titleFont().pointSizeF();
        const qreal width = fixation->fixedSeries(0)->pen().widthF();
        QCOMPARE(width, fixation->drawn().chart.lines.front().width);

        QTest::keyClick(window_, Qt::Key_F11);
        QTRY_VERIFY(window_->isFullScreen());
        QVERIFY(window_->projectorAction()->isChecked());
        QTRY_COMPARE(window_->geometry().size(), QSize(1024, 768));
        QVERIFY(!window_->parameters()->isVisible()); // the views take the room
        QCOMPARE(window_->font().pointSizeF(), type * kProjectorLook.type);
        QCOMPARE(fixation->chart()->titleFont().pointSizeF(), titleType * kProjectorLook.type);
        QCOMPARE(fixation->fixedSeries(0)->pen().widthF(), width * kProjectorLook.lines);

        QTest::keyClick(window_, Qt::Key_Escape);
        QTRY_VERIFY(!window_->isFullScreen());
        QVERIFY(!window_->projectorAction()->isChecked());
        QTRY_COMPARE(window_->geometry(), before);
        QVERIFY(window_->parameters()->isVisible());
        QCOMPARE(window_->font().pointSizeF(), type);
        QCOMPARE(fixation->chart()->titleFont().pointSizeF(), titleType);
        QCOMPARE(fixation->fixedSeries(0)->pen().widthF(), width);
        // Échap outside the projector leaves the window alone.
        QTest::keyClick(window_, Qt::Key_Escape);
        QVERIFY(!window_->isFullScreen());
        QCOMPARE(window_->geometry(), before);
    }
};

QTEST_MAIN(LaboDisplayTest)
#include "labo_display_test.moc"
