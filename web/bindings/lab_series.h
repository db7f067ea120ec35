// The lab page's « Série de tailles »: set A of the page's fields at several
// sizes N, run in slices like the page's runs, so that the worker reports
// progress and takes a cancel between two. A cancel keeps the sizes done; the
// rows, the view and the CSV are the lab core's, as the window and
// `bocavo-labo --serie` give them. Standard library only.
#pragma once

#include "core/lab/files/scenario.h"
#include "core/lab/science/size_series.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace bocavo::web {

class SeriesRun {
public:
    // Why the sizes typed cannot be run with `plan` (none: its fields are
    // refused, said by `fieldsRefusal`), or "" when they can.
    static std::string refusal(const std::optional<labo::Scenario>& plan,
                               const std::string& fieldsRefusal, const std::string& sizes);

    // Starts the series: "" when started, else why not (the refusal above).
    std::string start(const std::optional<labo::Scenario>& plan, const std::string& fieldsRefusal,
                      const std::string& sizes);
    // Works for about `seconds`; true once the series is over (or none runs).
    bool step(double seconds);
    // Stops the series under way; the sizes done stay.
    void cancel();

    bool busy() const { return busy_; }
    double progress() const { return progress_; }
    // The last command's outcome, in French.
    const std::string& status() const { return status_; }
    // The rows done so far (none before a series), with the series' classes and last generation.
    std::vector<labo::SeriesRow> rows() const;
    int classes() const { return series_ ? series_->classes() : 0; }
    int last() const { return series_ ? series_->last() : 0; }

private:
    void finish();

    std::unique_ptr<labo::SizeSeries> series_;
    bool busy_ = false;
    double progress_ = 0.0;
    std::string status_;
};

} // namespace bocavo::web
