#include "core/lab/science/experiment.h"

#include "engine/census.h"
#include "engine/generation.h"

#include <algorithm>
#include <barrier>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace bocavo::labo {
namespace {

// Class-generations of 20 individuals per step: about 20 to 50 ms of work, so
// that a progress update is never far away and the step still keeps both
// cores busy. Larger classes count in proportion. (A cancel is looked at
// within the step, class by class.)
constexpr long kStepWork = 32768;
// Individuals bred per generation for each thread of a linked run: below it the
// threads would spend more time waiting for one another than breeding.
constexpr long kLinkedWorkPerThread = 2000;

// The first failure of any worker thread, handed to the caller once every
// thread has stopped.
class FirstFailure {
public:
    void keep() { // in a catch block
        const std::lock_guard lock(lock_);
        if (!failure_)
            failure_ = std::current_exception();
    }
    bool any() {
        const std::lock_guard lock(lock_);
        return failure_ != nullptr;
    }
    void rethrow() const { // once the threads are joined
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    std::mutex lock_;
    std::exception_ptr failure_;
};

// Runs `work` on `threads` threads, this one among them, and joins them, even
// when starting one fails. (std::thread rather than std::jthread, which the
// page's C++ library lacks; a single thread starts none, as the page needs.)
template <typename Work> void onThreads(int threads, const Work& work) {
    struct Helpers {
        std::vector<std::thread> all;
        ~Helpers() {
            for (std::thread& helper : all)
                helper.join();
        }
    } helpers;
    for (int t = 1; t < threads; ++t)
        helpers.all.emplace_back(work);
    work();
}

Counts countsOf(const Genotypes& table) {
    Counts counts{};
    for (int i = 1; i <= kIndividus; ++i)
        for (int j = 1; j <= kCopies; ++j)
            ++counts[static_cast<std::size_t>(table(i, j) - 1)];
    return counts;
}

Counts childCounts(const Population& pop) {
    Counts counts{};
    for (int k = 1; k <= kAlleles; ++k)
        counts[static_cast<std::size_t>(k - 1)] = static_cast<std::uint16_t>(pop.Nb_Allele(k));
    return counts;
}

// The first generation a class had one allele left or none at all: from
// there on it can no longer change (without mutation or migration).
int endedAt(int fixedAt, int extinctAt) {
    if (fixedAt < 0 || extinctAt < 0)
        return std::max(fixedAt, extinctAt);
    return std::min(fixedAt, extinctAt);
}

// The other classes of a linked run, as Deme::next reads them: their children
// of the previous generation, which nobody writes during generation g.
template <typename Runs> struct Donors {
    const Runs* runs = nullptr; // null: no migration
    std::size_t self = 0;
    int g = 0;

    int count() const { return runs ? static_cast<int>(runs->size()) - 1 : 0; }
    // None when that class has died out.
    const Allele* copiesOf(int d) const {
        const auto n = static_cast<std::size_t>(d) + (static_cast<std::size_t>(d) >= self);
        const std::vector<Allele>& copies = (*runs)[n].deme.children(g - 1);
        return copies.empty() ? nullptr : copies.data();
    }
};

} // namespace

std::array<int, 4> broodsFor(int children) {
    // 80 + 60 + 40 + 20 % of children / 2 couples: `children` in all, and with
    // as many parents Vk = 2 whatever N.
    std::array<int, 4> broods{};
    for (std::size_t b = 0; b < broods.size(); ++b)
        broods[b] = children / 2 * static_cast<int>(8 - 2 * b) / 10;
    return broods;
}

GeometricGaps::GeometricGaps(double p) {
    if (p <= 0.0)
        return;
    double power = 1.0 - p;
    for (std::size_t j = 0; j < powers_.size() && power >= 0x1p-24; ++j) {
        powers_[j] = power;
        top_ = static_cast<int>(j);
        power *= power;
    }
}

Plan::Plan(const Settings& s)
    : settings(s), selection(hasSelection(s)), lethal(false), mutationGaps(s.mutation),
      migrationGaps(s.migration) {
    double highest = 0.0;
    for (int a = 0; a < s.alleles; ++a)
        for (int b = 0; b < s.alleles; ++b)
            highest = std::max(highest, genotypeFitness(s, a, b));
    for (int a = 0; a < s.alleles; ++a)
        for (int b = 0; b < s.alleles; ++b) {
            const double w = genotypeFitness(s, a, b);
            keep[static_cast<std::size_t>(a * s.alleles + b)] = static_cast<float>(w / highest);
            lethal = lethal || w == 0.0;
        }
}

bool isFixed(const Counts& counts) {
    return std::count_if(counts.begin(), counts.end(), [](auto n) { return n != 0; }) == 1;
}

bool hasLoss(const Counts& counts, int alleles) {
    return std::find(counts.begin(), counts.begin() + alleles, 0) != counts.begin() + alleles;
}

Experiment::Experiment(const Settings& settings, int classes, std::uint32_t seed)
    : settings_(settings), plan_(settings), engine_(isClassroomProtocol(settings)),
      absorbing_(settings.mutation == 0.0 && settings.migration == 0.0), seed_(seed) {
    if (classes < kMinClasses || classes > kMaxClasses)
        throw std::out_of_range("Nombre de classes hors limites : " + std::to_string(classes));
    if (const auto sound = checkSettings(settings); !sound)
        throw std::invalid_argument(sound.reason());
    runs_.reserve(static_cast<std::size_t>(classes));
    for (int n = 1; n <= classes; ++n)
        runs_.push_back(ClassRun{Population{}, Deme{}, Source_Aleatoire(classSeed(seed, n)),
                                 History(2 * settings.mostIndividuals(), settings.alleles), -1, -1,
                                 -1});
}

Counts Experiment::counts(int classNumber, int g) const {
    return runs_[static_cast<std::size_t>(classNumber - 1)].history.at(g);
}

bool Experiment::allFixed() const {
    const int g = generation();
    if (g < 0)
        return false;
    return std::all_of(runs_.begin(), runs_.end(), [g](const ClassRun& run) {
        const int ended = endedAt(run.fixedAt, run.extinctAt);
        return ended >= 0 && ended <= g;
    });
}

int Experiment::extinctClasses() const {
    const int g = generation();
    return static_cast<int>(std::count_if(runs_.begin(), runs_.end(), [g](const ClassRun& run) {
        return run.extinctAt >= 0 && run.extinctAt <= g;
    }));
}

std::size_t Experiment::bytes() const {
    std::size_t total = sizeof(*this) + runs_.capacity() * sizeof(ClassRun) + census_.bytes();
    for (const ClassRun& run : runs_) {
        total += run.history.bytes();
        total += run.deme.parents().capacity() + run.deme.children(0).capacity() +
                 run.deme.children(1).capacity();
    }
    return total;
}

int Experiment::advanceTo(int target, const Control& control) {
    if (target < std::max(1, generation()) || target > kMaxGeneration)
        throw std::out_of_range("Génération demandée hors limites : " + std::to_string(target));
    return advance(target, false, control);
}

int Experiment::advanceUntilFixation(const Control& control) {
    return advance(kMaxGeneration, true, control);
}

int Experiment::advance(int target, bool untilFixation, const Control& control) {
    const int start = generation();
    if (untilFixation && allFixed())
        return start;
    const int threads = control.threads > 0
                            ? control.threads
                            : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const long work =
        static_cast<long>(classes()) * std::max(1, settings_.mostIndividuals() / kIndividus);
    const int stepGenerations = static_cast<int>(std::max<long>(1, kStepWork / work));
    int reached = start;
    while (reached < target) {
        // The founding step must reach generation 1: generations 0 and 1 come together.
        const int to = std::min(target, std::max(1, reached + stepGenerations));
        census_.prepare(to);
        if (plan_.migrationGaps.on() && classes() > 1)
            runLinkedStep(to, threads, control.cancel);
        else
            runStep(to, threads, control.cancel);
        // Only generations that every class has finished are shown.
        int published = std::max(start, std::min(to, lowestReached()));
        double done = static_cast<double>(published - start) / (target - start);
        if (untilFixation) {
            int fixed = 0;
            int last = 0;
            for (const ClassRun& run : runs_) {
                const int ended = endedAt(run.fixedAt, run.extinctAt);
                if (ended >= 0 && ended <= run.reached) {
                    ++fixed;
                    last = std::max(last, ended);
                }
            }
            if (fixed == classes() && last <= published) {
                // The run ends where the last class fixed. Absorbed classes
                // only repeated their counts past it, and the next advance
                // rewrites them; classes that mutation or migration keep
                // changing were really bred, and carry on from where they are.
                published = std::max(start, last);
                if (absorbing_)
                    for (ClassRun& run : runs_)
                        run.reached = std::min(run.reached, published);
            } else {
                fixed = std::min(fixed, classes() - 1);
            }
            done = static_cast<double>(fixed) / classes();
        }
        reached = published;
        published_.store(reached, std::memory_order_release);
        if (control.progress)
            control.progress(reached, done);
        if (untilFixation && done >= 1.0)
            break;
        if (control.cancel && control.cancel->load())
            break;
    }
    return reached;
}

int Experiment::lowestReached() const {
    int lowest = kMaxGeneration;
    for (const ClassRun& run : runs_)
        lowest = std::min(lowest, run.reached);
    return lowest;
}

void Experiment::runStep(int to, int threads, const std::atomic<bool>* cancel) {
    std::atomic<std::size_t> next{0};
    FirstFailure failure;
    // Classes are handed out a few at a time, so that a thread whose classes
    // are all fixed (and merely copied) takes more of the others.
    constexpr std::size_t kBatch = 8;
    auto work = [&] {
        try {
            for (std::size_t first = next.fetch_add(kBatch); first < runs_.size();
                 first = next.fetch_add(kBatch))
                for (std::size_t n = first; n < std::min(first + kBatch, runs_.size()); ++n)
                    advanceClass(runs_[n], to, cancel);
        } catch (...) {
            failure.keep();
            next = runs_.size();
        }
    };
    onThreads(std::min(threads, classes()), work);
    failure.rethrow();
}

// Migration links the classes: generation g of one class reads the children of
// g − 1 of the others, so every class finishes g − 1 before any starts g. Each
// class draws only from its own source, so the threads change nothing. A
// cancel stops the handing out of classes: those that bred g keep it (their
// children of g − 1 stay in the other buffer for the others to read later).
void Experiment::runLinkedStep(int to, int threads, const std::atomic<bool>* cancel) {
    std::atomic<std::size_t> next{0};
    FirstFailure failure;
    bool stop = false; // decided once per generation, by the barrier
    const long generationWork = static_cast<long>(classes()) * settings_.mostIndividuals();
    const int wanted = static_cast<int>(
        std::clamp<long>(generationWork / kLinkedWorkPerThread, 1, std::min(threads, classes())));
    std::barrier sync(wanted, [&]() noexcept {
        next = 0;
        stop = cancel && cancel->load();
    });
    const int from = lowestReached();
    auto work = [&] {
        for (int g = from + 1; g <= to; g = std::max(g + 1, 2)) {
            try {
                for (std::size_t n = next.fetch_add(1); n < runs_.size(); n = next.fetch_add(1)) {
                    if (cancel && cancel->load(std::memory_order_relaxed))
                        break;
                    ClassRun& run = runs_[n];
                    if (run.reached >= g)
                        continue;
                    if (g <= 1) {
                        advanceClass(run, 1, nullptr);
                        continue;
                    }
                    run.deme.next(plan_, run.source, g, Donors<decltype(runs_)>{&runs_, n, g});
                    const Counts counts = tally(run.deme.children(g));
                    record(run, g, counts);
                    census_.add(g, counts, homozygotesOf(run.deme.children(g)));
                }
            } catch (...) {
                failure.keep();
                next = runs_.size();
            }
            sync.arrive_and_wait();
            if (stop || failure.any())
                break;
        }
    };
    onThreads(wanted, work);
    failure.rethrow();
}

// The main program's order: Simulation is foundGeneration then the census,
// Next generation is nextGeneration then the census. The class stops between
// two generations when cancelled.
void Experiment::advanceClass(ClassRun& run, int to, const std::atomic<bool>* cancel) {
    if (cancel && cancel->load(std::memory_order_relaxed))
        return;
    int g = run.reached + 1;
    if (g == 0) {
        if (engine_) {
            foundGeneration(run.pop, run.source);
            run.history.set(0, countsOf(run.pop.Geno_Parent));
            Count_Allele(run.pop);
            run.history.set(1, childCounts(run.pop));
            census_.add(0, run.history.at(0), homozygotesOf(run.pop.Geno_Parent));
            census_.add(1, run.history.at(1), homozygotesOf(run.pop.Geno_Enfant));
            if (isFixed(run.history.at(1)))
                run.fixedAt = 1;
            run.reached = 1;
        } else {
            run.deme.found(plan_, run.source);
            run.history.set(0, tally(run.deme.parents()));
            record(run, 1, tally(run.deme.children(1)));
            census_.add(0, run.history.at(0), homozygotesOf(run.deme.parents()));
            census_.add(1, run.history.at(1), homozygotesOf(run.deme.children(1)));
        }
        g = 2;
    }
    for (; g <= to; ++g) {
        if (run.extinctAt >= 0) { // nobody is left: no copies from here on
            run.history.fill(g, to, Counts{});
            run.reached = to;
            break;
        }
        if (run.fixedAt >= 0 && absorbing_ && !breedFixed_) {
            // The fixed allele holds every copy, however many the size history gives.
            const Counts before = run.history.at(g - 1);
            const auto allele = static_cast<std::size_t>(
                std::find_if(before.begin(), before.end(), [](auto n) { return n != 0; }) -
                before.begin());
            for (int from = g; from <= to;) {
                const int end = std::min(to, settings_.stretchEnd(from));
                Counts fixed{};
                fixed[allele] = static_cast<std::uint16_t>(settings_.copiesAt(from));
                run.history.fill(from, end, fixed);
                from = end + 1;
            }
            run.reached = to;
            break;
        }
        if (cancel && cancel->load(std::memory_order_relaxed))
            return;
        if (engine_) {
            nextGeneration(run.pop, run.source);
            Count_Allele(run.pop);
            record(run, g, childCounts(run.pop));
            census_.add(g, run.history.at(g), homozygotesOf(run.pop.Geno_Enfant));
        } else {
            run.deme.next(plan_, run.source, g, Donors<decltype(runs_)>{});
            record(run, g, tally(run.deme.children(g)));
            census_.add(g, run.history.at(g), homozygotesOf(run.deme.children(g)));
        }
    }
}

void Experiment::record(ClassRun& run, int g, const Counts& counts) {
    run.history.set(g, counts);
    run.reached = g;
    if (run.fixedAt < 0 && isFixed(counts))
        run.fixedAt = g;
    if (run.extinctAt < 0 && counts == Counts{})
        run.extinctAt = g;
}

} // namespace bocavo::labo
