#include "core/lab/science/size_series.h"

#include "core/lab/science/fixation.h"
#include "core/lab/science/statistics.h"
#include "core/lab/science/theory.h"
#include "core/text/user_text.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <string>

namespace bocavo::labo {
namespace {

// Multiply-adds the loss chain may take before it gives up: about a second
// at worst, so that a figure beside a series never holds it up.
inline constexpr double kLossChainWork = 1e8;
// The chance of a loss rises towards its limit by steps that shrink
// geometrically (by 1 − 1/2N each generation), so once a step changes no
// chance by more than this, all later ones together change it by less than
// 2N times as much: under 1e-11, far below anything shown.
inline constexpr double kChainSettled = 1e-14;

std::string sizeText(int individuals) {
    return groupDigits(static_cast<std::uint64_t>(individuals));
}

} // namespace

Result<std::vector<int>> parseSizes(std::string_view text) {
    std::vector<int> sizes;
    std::string_view rest = text;
    for (;;) {
        const auto comma = rest.find(',');
        const Result<int> size = parseWhole(rest.substr(0, comma), kMinIndividuals, kMaxIndividuals,
                                            "une taille de la série");
        if (!size)
            return Refusal{size.reason()};
        sizes.push_back(*size);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (sizes.size() < kMinSeriesSizes)
        return Refusal{"Une série compare au moins " + std::to_string(kMinSeriesSizes) +
                       " tailles, séparées par des virgules (10,20,50)."};
    if (sizes.size() > kMaxSeriesSizes)
        return Refusal{"La série donne " + std::to_string(sizes.size()) +
                       " tailles : " + std::to_string(kMaxSeriesSizes) + " au plus."};
    std::sort(sizes.begin(), sizes.end());
    if (const auto twice = std::adjacent_find(sizes.begin(), sizes.end()); twice != sizes.end())
        return Refusal{"La taille " + sizeText(*twice) + " est donnée deux fois dans la série."};
    return sizes;
}

Result<Settings> settingsAtSize(const Settings& set, int individuals) {
    // A size history gives N itself from its first change on: the series'
    // sizes would hold only before it.
    if (!set.sizes.empty())
        return Refusal{"Une série de tailles ne peut pas suivre une histoire de N : "
                       "videz l'histoire de N ou lancez chaque taille à part."};
    Settings at = set;
    at.individuals = individuals;
    if (set.urn == evenUrn(set.individuals, set.alleles)) {
        at.urn = evenUrn(individuals, set.alleles);
    } else {
        for (std::size_t k = 0; k < at.urn.size(); ++k) {
            const long scaled = static_cast<long>(set.urn[k]) * individuals;
            if (scaled % set.individuals != 0)
                return Refusal{"Pour N = " + sizeText(individuals) +
                               ", l'urne ne peut pas garder les proportions de celle de N = " +
                               sizeText(set.individuals) +
                               " : donnez une urne qui se partage exactement (4,36 pour 10 % "
                               "à N = 20) ou des parts égales."};
            at.urn[k] = static_cast<int>(scaled / set.individuals);
        }
    }
    if (const auto sound = checkSettings(at); !sound) // its reason names the size
        return Refusal{sound.reason()};
    return at;
}

Result<void> checkSeries(const Settings& set, const std::vector<int>& sizes) {
    for (const int size : sizes)
        if (const auto at = settingsAtSize(set, size); !at)
            return Refusal{at.reason()};
    return {};
}

RunCost estimateSeries(const Settings& set, const std::vector<int>& sizes, int classes, int last) {
    RunCost cost;
    for (const int size : sizes) {
        const RunCost one = estimateSet(*settingsAtSize(set, size), classes, last, false);
        cost.seconds += one.seconds;
        cost.bytes = std::max(cost.bytes, one.bytes);
        cost.generations = one.generations;
    }
    return cost;
}

std::optional<int> medianFirstLoss(std::vector<int> firstLosses) {
    if (firstLosses.empty())
        return std::nullopt;
    // A class that never lost one sorts after every generation.
    std::sort(firstLosses.begin(), firstLosses.end(),
              [](int a, int b) { return static_cast<unsigned>(a) < static_cast<unsigned>(b); });
    const int median = firstLosses[(firstLosses.size() - 1) / 2];
    if (median < 0)
        return std::nullopt;
    return median;
}

std::optional<double> expectedLossShare(const Settings& s, int last) {
    if (s.model != Model::WrightFisher || hasSelection(s) || s.mutation > 0.0 ||
        s.migration > 0.0 || !s.sizes.empty() || s.sourceUrn() || s.copies() > kExactChainCopies)
        return std::nullopt;
    const int copies = s.copies();
    const auto n = static_cast<std::size_t>(copies) + 1;
    // step[i·n + j]: from i copies of a group to j in the next generation, binomial(2N, i/2N).
    std::vector<double> logChoose(n);
    for (std::size_t j = 0; j < n; ++j)
        logChoose[j] = std::lgamma(copies + 1.0) - std::lgamma(j + 1.0) -
                       std::lgamma(static_cast<double>(copies) - static_cast<double>(j) + 1.0);
    std::vector<double> step(n * n, 0.0);
    step[0] = 1.0;
    step[n * n - 1] = 1.0;
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const double p = static_cast<double>(i) / copies;
        for (std::size_t j = 0; j < n; ++j)
            step[i * n + j] =
                std::exp(logChoose[j] + static_cast<double>(j) * std::log(p) +
                         static_cast<double>(copies - static_cast<int>(j)) * std::log1p(-p));
    }
    // gone[i]: the chance that a group starting with i copies has none left by generation t.
    std::vector<double> gone(n, 0.0);
    gone[0] = 1.0;
    std::vector<double> next(n);
    double work = 0.0;
    for (int t = 1; t <= last; ++t) {
        if (work > kLossChainWork)
            return std::nullopt;
        double change = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            next[i] = std::inner_product(gone.begin(), gone.end(), step.begin() + i * n, 0.0);
            change = std::max(change, std::abs(next[i] - gone[i]));
        }
        gone.swap(next);
        work += static_cast<double>(n * n);
        if (change < kChainSettled)
            break;
    }
    // Some allele lost = the union over alleles; the intersection over a group
    // is the group's copies all gone, itself a binomial chain.
    double share = 0.0;
    const unsigned all = (1u << s.alleles) - 1;
    for (unsigned group = 1; group < all; ++group) {
        int start = 0;
        for (int k = 0; k < s.alleles; ++k)
            if (group & (1u << k))
                start += s.urn[static_cast<std::size_t>(k)];
        share += (std::popcount(group) % 2 ? 1.0 : -1.0) * gone[static_cast<std::size_t>(start)];
    }
    return std::clamp(share, 0.0, 1.0);
}

SizeSeries::SizeSeries(const Settings& set, std::vector<int> sizes, int classes, int last,
                       std::uint32_t seed)
    : set_(set), sizes_(std::move(sizes)), classes_(classes), last_(last), seed_(seed),
      rows_(sizes_.size()) {
    if (const auto sound = checkSeries(set_, sizes_); !sound)
        throw std::invalid_argument(sound.reason());
    if (classes < kMinClasses || classes > kMaxClasses)
        throw std::out_of_range("Nombre de classes hors limites : " + std::to_string(classes));
    if (last < kMinGenerations || last > kMaxGeneration)
        throw std::out_of_range("Génération demandée hors limites : " + std::to_string(last));
}

bool SizeSeries::run(const Control& control) {
    // Work per class-generation grows with N: progress is weighted by size.
    const double total = std::accumulate(sizes_.begin(), sizes_.end(), 0.0);
    for (auto i = static_cast<std::size_t>(rowsDone()); i < sizes_.size(); ++i) {
        if (!current_)
            current_ =
                std::make_unique<Experiment>(*settingsAtSize(set_, sizes_[i]), classes_, seed_);
        const double before = std::accumulate(sizes_.begin(), sizes_.begin() + i, 0.0);
        Control inner{control.cancel, nullptr, control.threads};
        if (control.progress)
            // From the generation reached (−1 while a cancel leaves a size
            // unfounded), not the experiment's own share, which counts from
            // where this call took the size up again.
            inner.progress = [&](int generation, double) {
                const double reached = std::max(0, generation);
                control.progress(generation, (before + sizes_[i] * reached / last_) / total);
            };
        current_->advanceTo(last_, inner);
        if (current_->generation() < last_)
            return false;
        rows_[i] = measure(*current_);
        current_.reset();
        done_.store(static_cast<int>(i) + 1, std::memory_order_release);
    }
    return true;
}

std::vector<SeriesRow> SizeSeries::rows() const {
    return {rows_.begin(), rows_.begin() + rowsDone()};
}

SeriesRow SizeSeries::measure(const Experiment& experiment) const {
    Statistics statistics;
    statistics.reset(classes_);
    statistics.update(experiment);
    const std::vector<int>& losses = statistics.firstLosses();
    SeriesRow row;
    row.individuals = experiment.settings().individuals;
    row.classes = classes_;
    row.lostClasses =
        static_cast<int>(std::count_if(losses.begin(), losses.end(), [](int g) { return g >= 0; }));
    row.lostShare = static_cast<double>(row.lostClasses) / classes_;
    row.medianFirstLoss = medianFirstLoss(losses);
    row.meanHeterozygosity = statistics.meanHeterozygosity().back();
    if (const auto h = expectedHeterozygosity(experiment.settings(), last_, classes_); !h.empty())
        row.expectedHeterozygosity = h.back();
    row.expectedLostShare = expectedLossShare(experiment.settings(), last_);
    return row;
}

} // namespace bocavo::labo
