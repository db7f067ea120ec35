#include "core/lab/science/identity.h"

#include "core/lab/science/deme.h"
#include "core/lab/science/theory.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <mutex>

namespace bocavo::labo {
namespace {

// Founding draws averaged for the protocol's first breeding: enough copies
// that the average's standard error stays under 0.001, few enough to take
// about 10 ms.
inline constexpr int kFoundingCopies = 1 << 20;            // copies drawn in all
inline constexpr std::uint32_t kFoundingSeed = 19'931'993; // the average's own source
// Squarings of the one-generation map: its 2^64th power has long forgotten
// everything but its leading direction.
inline constexpr int kSquarings = 64;
// Founding averages kept for the sets asked last.
inline constexpr std::size_t kKeptAverages = 4;

using Matrix = std::array<std::array<double, 3>, 3>;
using Vector = std::array<double, 3>;

Vector asVector(const Differences& d) {
    return {d.within, d.between, d.across};
}
Differences asDifferences(const Vector& v) {
    return {v[0], v[1], v[2]};
}

// Two copies that differ with chance d still differ after each mutates with
// chance u into one of the K − 1 others: 1 − [1/K + a²(1 − d − 1/K)], a = 1 − uK/(K − 1)
// (the K-allele mutation matrix's second eigenvalue).
double mutated(double d, const Settings& s) {
    const double a = 1.0 - s.mutation * s.alleles / (s.alleles - 1.0);
    return a * a * d + (1.0 - a * a) * (1.0 - 1.0 / s.alleles);
}

Matrix times(const Matrix& x, const Matrix& y) {
    Matrix z{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            for (std::size_t k = 0; k < 3; ++k)
                z[i][j] += x[i][k] * y[k][j];
    return z;
}

// x solved from m·x = c by Gaussian elimination with partial pivoting.
Vector solve(Matrix m, Vector c) {
    for (std::size_t col = 0; col < 3; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < 3; ++r)
            if (std::abs(m[r][col]) > std::abs(m[pivot][col]))
                pivot = r;
        std::swap(m[col], m[pivot]);
        std::swap(c[col], c[pivot]);
        for (std::size_t r = col + 1; r < 3; ++r) {
            const double f = m[r][col] / m[col][col];
            for (std::size_t k = col; k < 3; ++k)
                m[r][k] -= f * m[col][k];
            c[r] -= f * c[col];
        }
    }
    Vector x{};
    for (std::size_t i = 3; i-- > 0;) {
        double sum = c[i];
        for (std::size_t k = i + 1; k < 3; ++k)
            sum -= m[i][k] * x[k];
        x[i] = sum / m[i][i];
    }
    return x;
}

} // namespace

namespace {

// The protocol's first breeding from an urn of exactly 2N balls, averaged over
// many founding draws: each allele's expected frequency among the children,
// the chance that a child's two copies are alike, and the children's E[Σ p²].
struct FirstBreeding {
    std::array<double, kMaxAlleles> frequency{};
    double within = 0.0;
    double homozygosity = 0.0;
};

FirstBreeding averagedFirstBreeding(const Settings& s) {
    FirstBreeding out;
    const int copies = s.copies();
    const int children = s.individualsAt(1);
    const auto k = static_cast<std::size_t>(s.alleles);
    // Given the founders, parent i passes each of its n_i children one of its
    // two copies at random, so a child copy from it is allele a with chance
    // m_ia (0, 1/2 or 1), independently of the others: the children's Σ p² is
    // [Σ_a (Σ_i n_i m_ia)² + Σ_i n_i Σ_a m_ia(1 − m_ia)]/(2N₁)², and a child of
    // couple (i, j) has two copies alike with chance Σ_a m_ia m_ja.
    const auto perParent = offspringPerParent(s.individuals, children);
    const int draws = std::max(64, kFoundingCopies / copies);
    const double childCopies = 2.0 * children;
    Source_Aleatoire source(kFoundingSeed);
    std::vector<Allele> founders;
    std::array<double, kMaxAlleles> total{};
    double squares = 0.0, within = 0.0;
    for (int r = 0; r < draws; ++r) {
        drawFounders(s, source, founders);
        std::array<double, kMaxAlleles> weight{};
        double spread = 0.0;
        for (std::size_t i = 0; i < perParent.size(); ++i) {
            const double n = perParent[i];
            weight[founders[2 * i]] += n / 2.0;
            weight[founders[2 * i + 1]] += n / 2.0;
            if (founders[2 * i] != founders[2 * i + 1])
                spread += n / 2.0; // two alleles at m = 1/2: 2 × 1/4
        }
        for (std::size_t i = 0; i + 1 < perParent.size(); i += 2) {
            // Σ_a m_ia m_ja for the couple (i, i + 1), once per child.
            double alike = 0.0;
            for (const std::size_t x : {2 * i, 2 * i + 1})
                for (const std::size_t y : {2 * i + 2, 2 * i + 3})
                    alike += founders[x] == founders[y] ? 0.25 : 0.0;
            within += perParent[i] * alike;
        }
        double sum = spread;
        for (std::size_t a = 0; a < k; ++a) {
            total[a] += weight[a];
            sum += weight[a] * weight[a];
        }
        squares += sum / (childCopies * childCopies);
    }
    for (std::size_t a = 0; a < k; ++a)
        out.frequency[a] = total[a] / (draws * childCopies);
    out.within = within / (static_cast<double>(draws) * children);
    out.homozygosity = squares / draws;
    return out;
}

// The engine's founding draw is not a fair sample of the urn's balls: only
// the protocol, which breeds by position, feels it.
bool averagedFounding(const Settings& s) {
    return s.model == Model::Protocole && !s.sourceUrn();
}

FirstBreeding firstBreeding(const Settings& s) {
    // A view asks again at every redraw, for each of its sentences: the last
    // few sets' averages are kept (any thread may ask).
    static std::mutex lock;
    static std::deque<std::pair<Settings, FirstBreeding>> kept;
    {
        const std::lock_guard guard(lock);
        for (const auto& [settings, average] : kept)
            if (settings == s)
                return average;
    }
    const FirstBreeding average = averagedFirstBreeding(s);
    const std::lock_guard guard(lock);
    kept.emplace_front(s, average);
    if (kept.size() > kKeptAverages)
        kept.pop_back();
    return average;
}

// Chance that two copies of two distinct children of generation g come from
// one parent: Σ n_i(n_i − 1) ordered pairs among the 2N(2N − 2).
double sameParentChance(int parents, int children) {
    const double copies = 2.0 * children;
    double pairs = 0.0;
    for (const int n : offspringPerParent(parents, children))
        pairs += static_cast<double>(n) * (n - 1);
    return pairs / (copies * (copies - 2.0));
}

} // namespace

std::array<double, kMaxAlleles> firstBredFrequencies(const Settings& s) {
    if (averagedFounding(s))
        return firstBreeding(s).frequency;
    std::array<double, kMaxAlleles> frequency{};
    for (std::size_t a = 0; a < static_cast<std::size_t>(s.alleles); ++a)
        frequency[a] = static_cast<double>(s.urn[a]) / s.balls();
    return frequency;
}

Identity::Identity(const Settings& settings, int classes) : settings_(settings), classes_(classes) {
    // The founders are 2N balls drawn without replacement from the urn's T, so
    // two of their copies are alike with chance (T·Σπ² − 1)/(T − 1), π the
    // urn's shares; two classes' copies with chance Σπ². (With T = 2N the
    // founders are the urn itself, whatever order the draw puts them in.)
    const double balls = settings.balls();
    double sum = 0.0;
    for (int a = 0; a < settings.alleles; ++a) {
        const double p = settings.urn[static_cast<std::size_t>(a)] / balls;
        sum += p * p;
    }
    const double differ = 1.0 - (balls * sum - 1.0) / (balls - 1.0);
    founding_ = {differ, differ, 1.0 - sum};
    if (settings.model == Model::Protocole) {
        // Each distinct step of the history, so that a generation costs no count.
        int parents = settings.individuals;
        for (int g : changeGenerations(settings)) {
            const int children = settings.individualsAt(g);
            for (const auto& [from, to] :
                 {std::pair{parents, parents}, std::pair{parents, children}})
                if (!sameParent_.contains({from, to}))
                    sameParent_[{from, to}] = sameParentChance(from, to);
            parents = children;
        }
        sameParent_[{parents, parents}] = sameParentChance(parents, parents);
    }
}

Differences Identity::breed(const Differences& d, int g) const {
    const int parents = settings_.individualsAt(g - 1);
    const int born = settings_.individualsAt(g);
    Differences children;
    if (settings_.model == Model::Protocole) {
        // A child's two copies come from the two parents of its couple; two
        // children's copies from one parent with chance sameParent, and then
        // from the same copy half the time. The parents are in a random order
        // (the turnover, or founders drawn ball by ball), so any two are like
        // any two others.
        const double same = sameParent_.at({parents, born});
        children.within = d.between;
        children.between = same * d.within / 2.0 + (1.0 - same) * d.between;
    } else {
        // Each copy is one of the parents' copies drawn at random.
        const double copies = 2.0 * parents;
        children.within = d.within / copies + (copies - 2.0) / copies * d.between;
        children.between = children.within;
    }
    children.across = d.across;
    return {mutated(children.within, settings_), mutated(children.between, settings_),
            mutated(children.across, settings_)};
}

Differences Identity::first() const {
    if (!averagedFounding(settings_))
        return breed(founding_, 1);
    // Σ p² = 1/(2N) + Q_w/(2N) + (2N − 2)/(2N)·Q_b over the ordered pairs of copies.
    const FirstBreeding first = firstBreeding(settings_);
    const double copies = settings_.copiesAt(1);
    const double qw = first.within;
    const double qb = (first.homozygosity - (1.0 + qw) / copies) * copies / (copies - 2.0);
    // Copies of two classes: their founding draws are independent.
    double qx = 0.0;
    for (const double f : first.frequency)
        qx += f * f;
    return {mutated(1.0 - qw, settings_), mutated(1.0 - qb, settings_),
            mutated(1.0 - qx, settings_)};
}

Differences Identity::next(const Differences& d, int g) const {
    const double n = settings_.individualsAt(g);
    // The turnover draws the parents in a random order (the ideal model draws
    // them at random), so any two are like any two others; then each is, with
    // chance m, a copy of an individual of a class drawn among the d − 1 others.
    Differences parents = d;
    if (classes_ >= 2 && settings_.migration > 0.0) {
        const double m = settings_.migration;
        const double others = classes_ - 1.0;
        // Two individuals drawn from one donor class: the same one with chance 1/N.
        const double oneDonor = d.within / 2.0 / n + (1.0 - 1.0 / n) * d.between;
        parents.between = (1.0 - m) * (1.0 - m) * d.between + 2.0 * m * (1.0 - m) * d.across +
                          m * m * (oneDonor / others + (1.0 - 1.0 / others) * d.across);
        // Parents of two classes: one came from the other's class with chance
        // 1/(d − 1); both from one third class with chance (d − 2)/(d − 1)².
        const double bothFromOne = (classes_ - 2.0) / (others * others);
        parents.across =
            (1.0 - m) * (1.0 - m) * d.across +
            2.0 * m * (1.0 - m) * (oneDonor / others + (1.0 - 1.0 / others) * d.across) +
            m * m * (bothFromOne * oneDonor + (1.0 - bothFromOne) * d.across);
    }
    return breed(parents, g + 1);
}

double Identity::heterozygosity(const Differences& d, int g) const {
    const double copies = settings_.copiesAt(g);
    return d.within / copies + (copies - 2.0) / copies * d.between;
}

double Identity::differentiation(const Differences& d, int g) const {
    const double hs = heterozygosity(d, g);
    const double ht = hs / classes_ + (1.0 - 1.0 / classes_) * d.across;
    return ht > 0.0 ? 1.0 - hs / ht : 0.0;
}

Differences Identity::balance() const {
    // Long after the last change of size, the generation is affine: next(D) = M·D + c.
    const int g = kMaxGeneration - 1;
    const Vector c = asVector(next({}, g));
    Matrix m{};
    for (std::size_t j = 0; j < 3; ++j) {
        Vector unit{};
        unit[j] = 1.0;
        const Vector column = asVector(next(asDifferences(unit), g));
        for (std::size_t i = 0; i < 3; ++i)
            m[i][j] = column[i] - c[i];
    }
    if (settings_.mutation > 0.0) {
        Matrix free = m; // (I − M)·D = c
        for (std::size_t i = 0; i < 3; ++i) {
            for (std::size_t j = 0; j < 3; ++j)
                free[i][j] = -m[i][j];
            free[i][i] += 1.0;
        }
        return asDifferences(solve(free, c));
    }
    // Without mutation every difference fades: M^(2^64), rescaled as it goes,
    // applied to generation 1, keeps only the leading direction.
    for (int k = 0; k < kSquarings; ++k) {
        m = times(m, m);
        double largest = 0.0;
        for (const auto& row : m)
            for (const double x : row)
                largest = std::max(largest, std::abs(x));
        if (largest == 0.0)
            break;
        for (auto& row : m)
            for (double& x : row)
                x /= largest;
    }
    const Vector start = asVector(first());
    Vector v{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            v[i] += m[i][j] * start[j];
    return asDifferences(v);
}

} // namespace bocavo::labo
