#include "core/lab/view/expected_cache.h"

#include "core/lab/science/theory.h"

#include <algorithm>
#include <cmath>

namespace bocavo::labo {

const FixationLesson& ExpectedCache::fixation(int set, const Settings& settings, int classes) {
    Kept& kept = sets_[static_cast<std::size_t>(set)];
    if (kept.fixationOf != settings || kept.fixationClasses != classes) {
        kept.fixation = {fixationProbabilities(settings), fixationExplanation(settings, classes)};
        kept.fixationOf = settings;
        kept.fixationClasses = classes;
    }
    return kept.fixation;
}

const std::vector<double>& ExpectedCache::heterozygosity(int set, const Settings& settings,
                                                         int classes, int last) {
    Kept& kept = sets_[static_cast<std::size_t>(set)];
    const bool same = kept.curveOf == settings && kept.classes == classes;
    // Under selection the curve is empty whatever its length: nothing to extend.
    if (!same || (static_cast<int>(kept.curve.size()) <= last && !hasSelection(settings))) {
        // Twice as far as before, so that a growing run recomputes it rarely.
        const int reach =
            same ? std::min(kMaxGeneration, std::max(last, 2 * static_cast<int>(kept.curve.size())))
                 : last;
        kept.curve = expectedHeterozygosity(settings, reach, classes);
        kept.curveOf = settings;
        kept.classes = classes;
    }
    return kept.curve;
}

} // namespace bocavo::labo
