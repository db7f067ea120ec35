// « Série de tailles » on the window's one runner, so that a series, a run
// and a file never compete for the processor or the busy state.
#include "core/lab/science/size_series.h"
#include "core/lab/view/series_view.h"
#include "labo/window/run_controller.h"

namespace bocavo::labo {

Result<void> RunController::runSeries(std::shared_ptr<SizeSeries> series) {
    if (busy())
        return Refusal{std::string(kWaitRefusal)};
    return start([series](const Control& c) { series->run(c); },
                 [this, series](bool) {
                     const std::string text = seriesStanding(
                         series->rowsDone(), static_cast<int>(series->sizes().size()),
                         series->classes(), series->last());
                     emit finished(QString::fromStdString(text), false);
                 });
}

} // namespace bocavo::labo
