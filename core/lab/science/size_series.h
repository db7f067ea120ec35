// « Série de tailles »: the same set at several sizes N, many classes each,
// as teachers give it on a worksheet ("three populations of different sizes,
// ten runs each, note when an allele is lost"). For each size, one row: the
// share of classes that lost an allele by the last generation, the generation
// by which half of them had, the mean heterozygosity, and what theory expects
// beside them. The rows are plain data for the window, the page and the files.
#pragma once

#include "core/lab/science/experiment.h"
#include "core/lab/science/run_cost.h"
#include "core/text/result.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace bocavo::labo {

// Enough for a curve against N, few enough that a series stays a minute's work.
inline constexpr int kMinSeriesSizes = 2; // sizes
inline constexpr int kMaxSeriesSizes = 8; // sizes

struct SeriesRow {
    int individuals = 0;
    int classes = 0;
    int lostClasses = 0; // classes with an allele lost by the last generation
    double lostShare = 0.0;
    // The first generation by which at least half of the classes had lost an
    // allele; none when fewer than half had by the last generation (« au-delà »).
    std::optional<int> medianFirstLoss{};
    double meanHeterozygosity = 0.0; // at the last generation, over the classes
    std::optional<double> expectedHeterozygosity{};
    std::optional<double> expectedLostShare{};
};

// "10,20,50": 2 to 8 sizes of 10 to 10 000 individuals, each once; returned
// from the smallest up. Whether a size suits the set is settingsAtSize's call.
Result<std::vector<int>> parseSizes(std::string_view text);

// The set at another size: everything kept but the urn, which keeps its
// proportions exactly (an even urn stays even); an urn that cannot, or a size
// the set's model refuses, or a set with a size history, is refused in French.
Result<Settings> settingsAtSize(const Settings& set, int individuals);
// Every size of the series at once: the first refusal, naming its size.
Result<void> checkSeries(const Settings& set, const std::vector<int>& sizes);

// What a series of sizes that checkSeries accepted will cost: the sizes run
// one after the other, so their times add up and memory is the largest size's.
RunCost estimateSeries(const Settings& set, const std::vector<int>& sizes, int classes, int last);

// The generation by which at least half of the classes had lost an allele,
// from each class's first loss (−1: none by the end, counted, not dropped).
std::optional<int> medianFirstLoss(std::vector<int> firstLosses);

// The chance that a class has lost one of its K alleles by generation `last`:
// exact for the ideal model without selection, mutation or migration, where
// the copies of any group of alleles follow the binomial chain on 2N copies
// (inclusion–exclusion over the groups), while 2N ≤ kExactChainCopies and the
// chain's work is affordable and the founders are the urn itself at one size
// throughout; no figure otherwise (the protocol's couples are not a binomial
// chain, a history or a source urn starts or steps it elsewhere).
std::optional<double> expectedLossShare(const Settings& set, int last);

class SizeSeries {
public:
    // Throws std::invalid_argument with checkSeries's reason, std::out_of_range
    // for classes or a last generation out of the lab's ranges.
    SizeSeries(const Settings& set, std::vector<int> sizes, int classes, int last,
               std::uint32_t seed);

    const std::vector<int>& sizes() const { return sizes_; }
    int last() const { return last_; }
    int classes() const { return classes_; }

    // Runs the sizes not yet done, each like an experiment of `classes`
    // classes from the series' seed, so that a series is reproducible. Stops
    // early when cancelled: the size under way keeps what it bred and the next
    // call goes on from there, giving the numbers of a run never stopped.
    // `control.progress` gets the generation of the size under way and the
    // share of the whole series done. Returns true when every size is done.
    bool run(const Control& control = {});

    // Rows done so far, from the smallest size: safe from any thread while run() goes.
    int rowsDone() const { return done_.load(std::memory_order_acquire); }
    const SeriesRow& row(int i) const { return rows_[static_cast<std::size_t>(i)]; }
    std::vector<SeriesRow> rows() const;

private:
    SeriesRow measure(const Experiment& experiment) const;

    Settings set_;
    std::vector<int> sizes_;
    int classes_;
    int last_;
    std::uint32_t seed_;
    std::vector<SeriesRow> rows_; // sized once, so that published rows never move
    std::atomic<int> done_{0};
    std::unique_ptr<Experiment> current_; // the size under way, after a cancel
};

} // namespace bocavo::labo
