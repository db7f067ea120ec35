// The lab's views of the largest run the window holds, 1 000 classes to
// generation 32 767: the lab core's view data (every generation read, each
// line reduced per pixel column), and the window's tab drawing it, data and
// painting together, as it does at each step of a run. And the window's event
// loop while a run grows under its eyes: its longest stall.
#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/view/chart.h"
#include "core/lab/view/expected_cache.h"
#include "labo/window/all_classes_tab.h"
#include "labo/window/class_tab.h"
#include "labo/window/fixation_tab.h"
#include "labo/window/heterozygosity_tab.h"
#include "labo/window/labo_window.h"
#include "labo/window/run_controller.h"

#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
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

// The window at 1024 × 768 while the run the page's benchmark times grows:
// 100 classes × 1 000 generations at N = 1 000 with selection, mutation and
// migration, on every core. A 5 ms timer notes the longest time the window's
// event loop went without turning (its views are redrawn as generations come
// in). range(0): the tab on display (0 one class, 1 every class).
void BM_WindowEventLoopDuringARun(benchmark::State& state) {
    Scenario plan;
    plan.classes = 100;
    plan.generations = 1000;
    plan.a.individuals = 1000;
    plan.a.urn = {200, 600, 600, 600};
    plan.a.fitness = {105, 100, 100, 100};
    plan.a.mutation = 0.001;
    plan.a.migration = 0.01;
    qint64 longest = 0;
    for (auto _ : state) {
        RunController controller(1u);
        LaboWindow window(&controller);
        window.resize(1024, 768);
        window.show();
        window.tabs()->setCurrentIndex(static_cast<int>(state.range(0)));
        QApplication::processEvents();
        QElapsedTimer clock;
        qint64 last = 0;
        longest = 0;
        QTimer tick;
        tick.setInterval(5);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        clock.start();
        tick.start();
        if (!controller.launch(plan))
            state.SkipWithError("the run was refused");
        while (controller.busy())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QApplication::processEvents();
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longest);
}
BENCHMARK(BM_WindowEventLoopDuringARun)
    ->ArgName("tab")
    ->DenseRange(0, 1)
    ->Iterations(1)
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
