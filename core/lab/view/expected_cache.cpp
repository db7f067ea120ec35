#include "core/lab/view/expected_cache.h"

#include "core/lab/science/theory.h"

#include <algorithm>
#include <cmath>

namespace bocavo::labo {
namespace {

// Differences below half a point of percent would read the same.
inline constexpr double kVisibleDifference = 0.005; // chance

FixationLesson lessonOf(const Settings& settings) {
    FixationLesson lesson{fixationProbabilities(settings), fixationSentence(settings)};
    // Without a figure, say why rather than leave the place empty.
    if (lesson.sentence.empty())
        lesson.sentence =
            settings.mutation > 0.0 || settings.migration > 0.0
                ? "Avec mutation ou migration, une fixation n'est pas définitive : aucune "
                  "probabilité de fixation n'est attendue."
                : "Aucune probabilité de fixation n'est attendue ici : le calcul ne vaut que pour "
                  "un allèle face à d'autres de même valeur sélective, et, hors du modèle idéal à "
                  "1 000 copies au plus, pour une sélection faible ou une issue presque certaine.";
    // The founding draw's lesson: beside the protocol's figure, the ideal
    // model's for the same urn (its starting frequency).
    if (settings.model != Model::Protocole || !lesson.chance[0])
        return lesson;
    Settings ideal = settings;
    ideal.model = Model::WrightFisher;
    const auto idealChance = fixationProbabilities(ideal);
    std::string differences;
    for (std::size_t k = 0; k < static_cast<std::size_t>(settings.alleles); ++k) {
        if (!idealChance[k] || !lesson.chance[k] ||
            std::abs(*lesson.chance[k] - *idealChance[k]) < kVisibleDifference)
            continue;
        differences += (differences.empty() ? "" : ", ") + std::string("allèle ") +
                       std::to_string(k + 1) + " : " + percentText(*idealChance[k]);
    }
    if (!differences.empty())
        lesson.sentence += " Dans le modèle idéal (Wright-Fisher), la même urne donnerait" +
                           std::string(hasSelection(settings) ? "" : " sa fréquence de départ") +
                           " : " + differences + ".";
    return lesson;
}

} // namespace

const FixationLesson& ExpectedCache::fixation(int set, const Settings& settings) {
    Kept& kept = sets_[static_cast<std::size_t>(set)];
    if (kept.fixationOf != settings) {
        kept.fixation = lessonOf(settings);
        kept.fixationOf = settings;
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
