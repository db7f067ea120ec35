// The lab's views of the largest run the window holds, 1 000 classes to
// generation 32 767: the lab core's view data (every generation read, each
// line reduced per pixel column), and the window's tab drawing it, data and
// painting together, as it does at each step of a run.
#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/view/chart.h"
#include "core/lab/view/expected_cache.h"
#include "labo/window/all_classes_tab.h"
#include "labo/window/class_tab.h"
#include "labo/window/fixation_tab.h"
#include "labo/window/heterozygosity_tab.h"

#include <QApplication>
#include <QChartView>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace bocavo::labo;

// Built once: breeding it takes a few seconds, its record 131 MB. The
// classroom's classes fix within a few hundred generations; with mutation
// none stays fixed, so every generation of every class must be read.
Settings withMutation() {
    Settings settings;
    settings.mutation = 0.001;
    return settings;
}
struct Largest {
    Experiment experiment;
    Statistics stats;
    explicit Largest(const Settings& settings = {}) : experiment(settings, 1000, kDefaultSeed) {
        experiment.advanceTo(kMaxGeneration);
        stats.reset(experiment.classes());
        stats.update(experiment);
    }
    std::vector<ViewSet> sets() const { return {{&experiment, &stats}}; }
};

const Largest& largest(bool mutation = false) {
    static const Largest classroom;
    if (!mutation)
        return classroom;
    static const Largest mutating(withMutation());
    return mutating;
}

ChartChoice across(int columns) {
    ChartChoice choice;
    choice.columns = columns;
    return choice;
}

// range(0): which view (0 one class, 1 every class, 2 fixation, 3
// heterozygosity); range(1): pixels across the plot; range(2): 1 with mutation.
void BM_CoreViewOfTheLargestRun(benchmark::State& state) {
    const auto sets = largest(state.range(2) != 0).sets();
    const ChartChoice choice = across(static_cast<int>(state.range(1)));
    ExpectedCache expected;
    std::size_t points = 0;
    for (auto _ : state) {
        View view;
        switch (state.range(0)) {
        case 0:
            view = classView(sets, choice);
            break;
        case 1:
            view = allClassesView(sets, choice);
            break;
        case 2:
            view = fixationView(sets, choice, expected);
            break;
        default:
            view = heterozygosityView(sets, choice, expected);
        }
        points = 0;
        for (const Line& line : view.chart.lines)
            points += line.points.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_CoreViewOfTheLargestRun)
    ->ArgNames({"view", "pixels", "mutation"})
    ->Args({0, 760, 0})
    ->Args({1, 760, 0})
    ->Args({2, 760, 0})
    ->Args({3, 760, 0})
    ->Args({1, 1920, 0})
    ->Args({1, 760, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The tab as a 1024 × 768 projector shows it beside the parameters: asked
// for its view, its series replaced, and painted. range(0): which tab;
// range(1): 1 with mutation.
void BM_TabDrawsTheLargestRun(benchmark::State& state) {
    const auto sets = largest(state.range(1) != 0).sets();
    std::unique_ptr<ChartTab> tab;
    switch (state.range(0)) {
    case 0:
        tab = std::make_unique<ClassTab>();
        break;
    case 1:
        tab = std::make_unique<AllClassesTab>();
        break;
    case 2:
        tab = std::make_unique<FixationTab>();
        break;
    default:
        tab = std::make_unique<HeterozygosityTab>();
    }
    tab->resize(740, 560);
    tab->show();
    QApplication::processEvents();
    QImage canvas(tab->view()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        tab->display(sets);
        QPainter painter(&canvas);
        tab->view()->render(&painter);
    }
}
BENCHMARK(BM_TabDrawsTheLargestRun)
    ->ArgNames({"tab", "mutation"})
    ->ArgsProduct({{0, 1, 2, 3}, {0}})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
