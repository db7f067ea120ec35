#include "core/lab/science/fixation.h"

#include "core/lab/science/identity.h"
#include "core/lab/science/theory.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace bocavo::labo {
namespace {

// Transition chances below this are left out of the chain: their sum over a
// row stays under 1e-15, far below any figure shown.
inline constexpr double kNegligible = 1e-19;

// Which allele's fitness stands alone against the others' shared one: 0..K − 1,
// or −1 when fitnesses are not of that pattern.
int loneAllele(const Settings& s) {
    const int k = s.alleles;
    for (int a = 0; a < k; ++a) {
        int other = -1;
        bool shared = true;
        for (int b = 0; b < k; ++b) {
            if (b == a)
                continue;
            const int w = s.fitness[static_cast<std::size_t>(b)];
            if (other < 0)
                other = w;
            shared = shared && w == other;
        }
        if (shared && other != s.fitness[static_cast<std::size_t>(a)])
            return a;
    }
    return -1;
}

// log of the coefficients 0..n of (a0 + a1·z + a2·z²)^n, up to one constant:
// c_j = [(n + 1 − j)·a1·c_{j−1} + (2n + 2 − j)·a2·c_{j−2}]/(j·a0) (J. C. P.
// Miller's recurrence for a power of a polynomial), every term positive up to
// j = n, so nothing cancels; carried as ratios, so nothing overflows.
std::vector<double> halfPower(double a0, double a1, double a2, int n) {
    std::vector<double> logs(static_cast<std::size_t>(n) + 1, 0.0);
    double ratio = 0.0; // c_{j−1}/c_{j−2}
    for (int j = 1; j <= n; ++j) {
        const double r =
            ((n + 1.0 - j) * a1 + (j > 1 ? (2.0 * n + 2.0 - j) * a2 / ratio : 0.0)) / (j * a0);
        logs[static_cast<std::size_t>(j)] = logs[static_cast<std::size_t>(j) - 1] + std::log(r);
        ratio = r;
    }
    return logs;
}

// The chance of each count 0..2n of A among n children when each carries
// `copies` (1 or 2) of A with chance r and `base` (0 or 1) copies otherwise:
// base·n plus `copies` times a binomial(n, r).
std::vector<double> binomialCounts(double r, int base, int copies, int n) {
    std::vector<double> chances(2 * static_cast<std::size_t>(n) + 1, 0.0);
    const double logR = std::log(r), logQ = std::log1p(-r);
    for (int j = 0; j <= n; ++j) {
        const double log = std::lgamma(n + 1.0) - std::lgamma(j + 1.0) - std::lgamma(n - j + 1.0) +
                           (j > 0 ? j * logR : 0.0) + (j < n ? (n - j) * logQ : 0.0);
        chances[static_cast<std::size_t>(base * n + copies * j)] = std::exp(log);
    }
    return chances;
}

// The chance of each count 0..2n of A among n kept children, each AA, Aa or
// aa with chances r2, r1, r0: the coefficients of (r0 + r1·z + r2·z²)^n, the
// lower half from z⁰ up, the upper half from z^(2n) down. A lethal genotype
// (a chance of 0) leaves a binomial.
std::vector<double> nextCounts(double r0, double r1, double r2, int n) {
    if (r0 == 0.0 || r1 == 0.0 || r2 == 0.0) {
        if (r0 == 0.0 && r2 == 0.0) { // every child Aa
            std::vector<double> chances(2 * static_cast<std::size_t>(n) + 1, 0.0);
            chances[static_cast<std::size_t>(n)] = 1.0;
            return chances;
        }
        if (r0 == 0.0) // Aa or AA: n copies and one more for each AA
            return binomialCounts(r2, 1, 1, n);
        if (r2 == 0.0) // aa or Aa
            return binomialCounts(r1, 0, 1, n);
        return binomialCounts(r2, 0, 2, n); // aa or AA
    }
    const auto low = halfPower(r0, r1, r2, n);
    const auto high = halfPower(r2, r1, r0, n);
    std::vector<double> logs(2 * static_cast<std::size_t>(n) + 1);
    const double shift = low[static_cast<std::size_t>(n)] - high[static_cast<std::size_t>(n)];
    for (int j = 0; j <= 2 * n; ++j)
        logs[static_cast<std::size_t>(j)] = j <= n
                                                ? low[static_cast<std::size_t>(j)]
                                                : high[static_cast<std::size_t>(2 * n - j)] + shift;
    const double top = *std::max_element(logs.begin(), logs.end());
    double sum = 0.0;
    for (double& x : logs) {
        x = std::exp(x - top);
        sum += x;
    }
    for (double& x : logs)
        x /= sum;
    return logs;
}

} // namespace

std::optional<double> lethalFixation(int start, int copies, double wAA, double waa) {
    if (wAA == 0.0) // no AA child ever survives
        return 0.0;
    if (waa == 0.0) // every child carries A from the first breeding on, if any parent does
        return start > 0 ? 1.0 : 0.0;
    if (start <= 0 || start >= copies)
        return start <= 0 ? 0.0 : 1.0;
    return std::nullopt;
}

double chainFixation(int start, int copies, double wAA, double wAa, double waa) {
    if (const auto sure = lethalFixation(start, copies, wAA, waa))
        return *sure;
    if (start <= 0 || start >= copies)
        return start <= 0 ? 0.0 : 1.0;
    // u_i = Σ_j P(i → j)·u_j for the 2N − 1 counts where neither kind is fixed,
    // u_0 = 0, u_2N = 1: (I − Q)·u = P(· → 2N), Q the chain among those counts.
    // I − Q is diagonally dominant, so elimination needs no pivoting. A row
    // only reaches the counts within a few standard deviations of where
    // selection sends it, so each row keeps the span of its non-zero entries
    // and elimination works within the spans.
    const int n = copies - 1;
    const auto size = static_cast<std::size_t>(n);
    std::vector<double> a(size * size, 0.0);
    std::vector<double> b(size, 0.0);
    std::vector<std::size_t> first(size), last(size); // each row's non-zero span
    for (std::size_t i = 0; i < size; ++i) {
        const double p = static_cast<double>(i + 1) / copies;
        const double q = 1.0 - p;
        const double r2 = p * p * wAA, r1 = 2.0 * p * q * wAa, r0 = q * q * waa;
        const double total = r0 + r1 + r2;
        const auto row = nextCounts(r0 / total, r1 / total, r2 / total, copies / 2);
        double* line = &a[i * size];
        first[i] = last[i] = i;
        for (std::size_t j = 0; j < size; ++j) {
            if (row[j + 1] < kNegligible)
                continue;
            line[j] = -row[j + 1];
            first[i] = std::min(first[i], j);
            last[i] = std::max(last[i], j);
        }
        line[i] += 1.0;
        b[i] = row[size + 1];
    }
    for (std::size_t k = 0; k < size; ++k) {
        const double* pivot = &a[k * size];
        for (std::size_t r = k + 1; r < size; ++r) {
            if (first[r] > k)
                continue;
            double* line = &a[r * size];
            const double f = line[k] / pivot[k];
            line[k] = 0.0;
            first[r] = k + 1;
            for (std::size_t c = k + 1; c <= last[k]; ++c)
                line[c] -= f * pivot[c];
            last[r] = std::max(last[r], last[k]);
            b[r] -= f * b[k];
        }
    }
    for (std::size_t k = size; k-- > 0;) {
        double sum = b[k];
        const double* line = &a[k * size];
        for (std::size_t c = k + 1; c <= last[k]; ++c)
            sum -= line[c] * b[c];
        b[k] = sum / line[k];
    }
    return std::clamp(b[static_cast<std::size_t>(start - 1)], 0.0, 1.0);
}

double genotypeDiffusion(double p, double w11, double w12, double w22, double ne) {
    // ψ(x) = exp(−4Ne·∫₀ˣ [y(w11 − w12) + (1 − y)(w12 − w22)]/w̄(y) dy), both
    // integrals by the trapezoid rule on a fine grid, ψ carried as its log.
    constexpr int kSteps = 4000;
    const double h = 1.0 / kSteps;
    auto slope = [&](double y) {
        const double q = 1.0 - y;
        const double mean = y * y * w11 + 2.0 * y * q * w12 + q * q * w22;
        return (y * (w11 - w12) + q * (w12 - w22)) / mean;
    };
    std::vector<double> logPsi(kSteps + 1, 0.0);
    for (int i = 1; i <= kSteps; ++i)
        logPsi[static_cast<std::size_t>(i)] =
            logPsi[static_cast<std::size_t>(i) - 1] -
            4.0 * ne * h * (slope((i - 1) * h) + slope(i * h)) / 2.0;
    const double top = *std::max_element(logPsi.begin(), logPsi.end());
    double below = 0.0, total = 0.0;
    const double at = std::clamp(p, 0.0, 1.0) * kSteps;
    for (int i = 1; i <= kSteps; ++i) {
        const double piece = h *
                             (std::exp(logPsi[static_cast<std::size_t>(i) - 1] - top) +
                              std::exp(logPsi[static_cast<std::size_t>(i)] - top)) /
                             2.0;
        total += piece;
        below += piece * std::clamp(at - (i - 1), 0.0, 1.0);
    }
    return below / total;
}

double diffusionFixation(double p, double s, double ne) {
    if (std::abs(s) < 1e-12)
        return p;
    // u = [1 − e^(x_p)]/[1 − e^(x_1)], x_p = (1 − 2Ne)·ln(1 + s·p).
    const double c = 1.0 - 2.0 * ne;
    const double xp = c * std::log1p(s * p);
    const double x1 = c * std::log1p(s);
    if (x1 < 0.0) // an advantage: both below 1
        return std::expm1(xp) / std::expm1(x1);
    // A handicap: both above 1, divided through by e^(x_1) so neither overflows.
    return std::exp(xp - x1) * std::expm1(-xp) / std::expm1(-x1);
}

namespace {

// Two alleles of given genotype fitness: a lethal homozygote's fate is sure
// under both models; otherwise the ideal model's chain while it is small
// enough, the diffusion where the three fitnesses are close.
Fixation genotypeFixation(const Settings& s, double startShare) {
    Fixation out;
    const auto& w = *s.genotypes;
    const int start = s.urn[0];
    if (w[0] == 0 || w[2] == 0) {
        out.chance[0] = lethalFixation(start, s.copies(), w[0], w[2]);
        out.chance[1] = lethalFixation(s.copies() - start, s.copies(), w[2], w[0]);
        out.method = FixationMethod::Lethal;
        return out;
    }
    const bool ideal = s.model == Model::WrightFisher;
    double u = 0.0;
    if (ideal && s.copies() <= kExactChainCopies) {
        u = chainFixation(start, s.copies(), w[0], w[1], w[2]);
        out.method = FixationMethod::Chain;
    } else {
        const double limit = ideal ? kWeakSelection : kWeakProtocolSelection;
        const int low = *std::min_element(w.begin(), w.end());
        const int high = *std::max_element(w.begin(), w.end());
        if (high > (1.0 + limit) * low + 1e-9)
            return out;
        u = genotypeDiffusion(startShare, w[0], w[1], w[2], effectiveSize(s));
        out.method = FixationMethod::Diffusion;
    }
    out.chance[0] = u;
    out.chance[1] = 1.0 - u;
    return out;
}

} // namespace

Fixation fixation(const Settings& s) {
    Fixation out;
    if (s.mutation > 0.0 || s.migration > 0.0)
        return out;
    const int k = s.alleles;
    const bool ideal = s.model == Model::WrightFisher;
    // From the first breeding on, a neutral frequency is a martingale.
    const auto start = firstBredFrequencies(s);
    if (!hasSelection(s)) {
        for (std::size_t a = 0; a < static_cast<std::size_t>(k); ++a)
            out.chance[a] = start[a];
        out.method = FixationMethod::Neutral;
        return out;
    }
    // The chain and the diffusion hold for one size and a known start.
    if (s.genotypes) {
        if (!s.sizes.empty() || s.sourceUrn())
            return out;
        return genotypeFixation(s, start[0]);
    }
    const int lone = loneAllele(s);
    if (lone < 0 || !s.sizes.empty() || s.sourceUrn())
        return out;
    const auto a = static_cast<std::size_t>(lone);
    const double wA = s.fitness[a];
    const double wa = s.fitness[lone == 0 ? 1 : 0];
    double u = 0.0;
    if (ideal && s.copies() <= kExactChainCopies) {
        u = chainFixation(s.urn[a], s.copies(), wA, (wA + wa) / 2.0, wa);
        out.method = FixationMethod::Chain;
    } else {
        u = diffusionFixation(start[a], wA / wa - 1.0, effectiveSize(s));
        const double limit = ideal ? kWeakSelection : kWeakProtocolSelection;
        const bool weak = std::max(wA, wa) <= (1.0 + limit) * std::min(wA, wa) + 1e-9;
        const double favouredLost = wA > wa ? 1.0 - u : u;
        if (!weak && favouredLost >= kNearlyCertain)
            return out;
        out.method = FixationMethod::Diffusion;
    }
    // The others share one fitness, so among themselves they drift as neutral
    // alleles: each takes what A leaves in proportion to its frequency.
    for (std::size_t i = 0; i < static_cast<std::size_t>(k); ++i) {
        if (i == a)
            out.chance[i] = u;
        else
            out.chance[i] = start[a] < 1.0 ? (1.0 - u) * start[i] / (1.0 - start[a]) : 0.0;
    }
    return out;
}

} // namespace bocavo::labo
