#include "web/bindings/lab_series.h"

#include "core/lab/view/series_view.h"

#include <atomic>
#include <chrono>

namespace bocavo::web {

using namespace bocavo::labo;

std::string SeriesRun::refusal(const std::optional<Scenario>& plan,
                               const std::string& fieldsRefusal, const std::string& sizes) {
    if (!plan)
        return "Des paramètres sont refusés ; corrigez-les d'abord : " + fieldsRefusal;
    const auto read = parseSizes(sizes);
    if (!read)
        return read.reason();
    if (const auto sound = checkSeries(plan->a, *read); !sound)
        return sound.reason();
    return {};
}

std::string SeriesRun::start(const std::optional<Scenario>& plan, const std::string& fieldsRefusal,
                             const std::string& sizes) {
    if (busy_)
        return "Attendez la fin du calcul en cours, ou annulez-le.";
    if (std::string refused = refusal(plan, fieldsRefusal, sizes); !refused.empty())
        return refused;
    series_ = std::make_unique<SizeSeries>(plan->a, *parseSizes(sizes), plan->classes,
                                           plan->generations, plan->seed);
    busy_ = true;
    progress_ = 0.0;
    status_ = "Série de tailles en cours...";
    return {};
}

bool SeriesRun::step(double seconds) {
    if (!busy_)
        return true;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    // The core's cancel, used as a pause: the series goes on from there at
    // the next step, with the numbers of one never stopped.
    std::atomic<bool> pause{false};
    const Control control{&pause,
                          [&](int, double done) {
                              progress_ = done;
                              if (Clock::now() >= deadline)
                                  pause = true;
                          },
                          1};
    if (!series_->run(control))
        return false;
    finish();
    return true;
}

void SeriesRun::cancel() {
    if (busy_)
        finish();
}

void SeriesRun::finish() {
    busy_ = false;
    status_ = seriesStanding(series_->rowsDone(), static_cast<int>(series_->sizes().size()),
                             series_->classes(), series_->last());
}

std::vector<SeriesRow> SeriesRun::rows() const {
    return series_ ? series_->rows() : std::vector<SeriesRow>{};
}

} // namespace bocavo::web
