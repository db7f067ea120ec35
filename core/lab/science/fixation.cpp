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

// The chance of each count 0..2n of A among n kept children, each AA, Aa or
// aa with chances r2, r1, r0: the coefficients of (r0 + r1·z + r2·z²)^n, the
// lower half from z⁰ up, the upper half from z^(2n) down.
std::vector<double> nextCounts(double r0, double r1, double r2, int n) {
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

double chainFixation(int start, int copies, double wAA, double wAa, double waa) {
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
