// What theory expects of the sets on display, worked out once per set and
// kept: an exact fixation chance may take a tenth of a second, and the views
// are redrawn several times a second while a run grows.
#pragma once

#include "core/lab/science/settings.h"
#include "core/lab/words/explanation.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace bocavo::labo {

struct FixationLesson {
    std::array<std::optional<double>, kMaxAlleles> chance{}; // alleles 1..K
    Explanation words; // what it means, or why there is no figure
};

class ExpectedCache {
public:
    const FixationLesson& fixation(int set, const Settings& settings, int classes);
    // H(t) for t = 0..last (empty under selection).
    const std::vector<double>& heterozygosity(int set, const Settings& settings, int classes,
                                              int last);

private:
    struct Kept {
        std::optional<Settings> fixationOf;
        int fixationClasses = 0;
        FixationLesson fixation;
        std::optional<Settings> curveOf;
        int classes = 0;
        std::vector<double> curve;
    };
    std::array<Kept, 2> sets_;
};

} // namespace bocavo::labo
