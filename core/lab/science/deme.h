// The generalised procedure: one class of any size under either model, with
// K alleles, selection, mutation and migration. For the classroom's settings
// it consumes the random source exactly as the engine's procedures do (the
// tests hold it to that), and it uses the engine's own draw, Tirage.
//
// Copies live in flat tables, individual i's two copies at 2i and 2i + 1
// (0-based), allele numbers 0..K − 1.
#pragma once

#include "core/lab/science/history.h"
#include "core/lab/science/settings.h"
#include "engine/population.h"
#include "engine/random_source.h"

#include <array>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

namespace bocavo::labo {

using Allele = std::uint8_t;

// The protocol's broods for `children` children: the first 80, 60, 40 and
// 20 % of children / 2 couples have a child in each. With as many parents as
// children these are the parents' own couples; otherwise child c of a brood
// comes from couple c modulo the parents' couples, so a larger generation
// gives some couples more than four children and a smaller one leaves the
// last couples without any.
std::array<int, 4> broodsFor(int children);

// The gap before the next event of probability p per trial, as one geometric
// draw per event rather than one draw per trial: for a value v of the source,
// the largest g with (1 − p)^g ≥ 1 − v, that is floor(ln(1 − v) / ln(1 − p)).
// Worked out with multiplications and comparisons only, which IEEE arithmetic
// rounds the same everywhere, and not with a library's logarithm, whose last
// bit differs between C libraries: the page and the desktop then draw alike.
class GeometricGaps {
public:
    explicit GeometricGaps(double p);

    bool on() const { return top_ >= 0; }

    template <UniformSource S> int next(S& source) const {
        const double survivor = 1.0 - static_cast<double>(source.next()); // exact: 24 bits
        // The gap bit by bit from the highest: (1 − p)^(g + 2^j) is
        // (1 − p)^g · (1 − p)^(2^j), so each bit costs one product.
        double reach = 1.0;
        int gap = 0;
        for (int j = top_; j >= 0; --j) {
            const double further = reach * powers_[static_cast<std::size_t>(j)];
            if (further >= survivor) {
                reach = further;
                gap += 1 << j;
            }
        }
        return gap;
    }

private:
    // (1 − p)^(2^j) by repeated squaring; top_ is the highest j at which it is
    // still at least the smallest 1 − v (2^-24), −1 when p is 0. Gaps stay
    // below 2^30.
    std::array<double, 30> powers_{};
    int top_ = -1;
};

// What a set's breeding needs, worked out once per run.
struct Plan {
    explicit Plan(const Settings& settings);

    Settings settings;
    bool selection; // some genotype is kept with probability below 1
    bool lethal;    // some genotype is never kept: a class may have no child that can be
    std::array<float, kMaxAlleles * kMaxAlleles> keep{}; // genotype (a, b): fitness / highest
    GeometricGaps mutationGaps;                          // to the next mutated copy
    GeometricGaps migrationGaps;                         // to the next migrant
};

// Copies of each allele in a table.
inline Counts tally(const std::vector<Allele>& copies) {
    Counts counts{};
    for (const Allele a : copies)
        ++counts[a];
    return counts;
}

// The founders' 2N copies drawn from the urn. An urn of exactly 2N balls is
// emptied as the engine empties it: an allele number uniformly among the K,
// drawn again while its compartment is empty (not a ball: a rare allele is
// drawn as often as a common one until it runs out). A larger urn is a source
// population, and the founders a sample of it: ball by ball without
// replacement, each remaining ball equally likely.
template <UniformSource S>
void drawFounders(const Settings& settings, S& source, std::vector<Allele>& copies) {
    const auto k = static_cast<std::int16_t>(settings.alleles);
    std::array<int, kMaxAlleles> urn = settings.urn;
    copies.assign(static_cast<std::size_t>(settings.copies()), 0);
    if (settings.sourceUrn()) {
        int left = settings.balls();
        for (Allele& copy : copies) {
            // A ball's rank among those left, floor(left · v) for the source's
            // 24-bit v = k / 2^24, in integers so that every platform draws the
            // same ball; 24 bits cover the largest urn (80 000 balls) with a
            // bias under 0.5 %.
            const auto v = static_cast<std::int64_t>(source.next() * 0x1p24f); // exact
            int ball = static_cast<int>((static_cast<std::int64_t>(left) * v) >> 24);
            std::size_t a = 0;
            while (ball >= urn[a])
                ball -= urn[a++];
            --urn[a];
            --left;
            copy = static_cast<Allele>(a);
        }
        return;
    }
    for (Allele& copy : copies) {
        std::int16_t a = Tirage(source, k);
        while (urn[static_cast<std::size_t>(a - 1)] <= 0)
            a = Tirage(source, k);
        --urn[static_cast<std::size_t>(a - 1)];
        copy = static_cast<Allele>(a - 1);
    }
}

class Deme {
public:
    // The founders (drawFounders), then the children of generation 1.
    template <UniformSource S> void found(const Plan& plan, S& source);

    // Generation g ≥ 2: the children of g − 1 become the parents in a random
    // order, migrants come in, and the parents breed generation g's children
    // (as many as the size history gives). `donors` gives the previous
    // generation's copies of the other classes: donors.count() of them,
    // donors.copiesOf(d) for d in 0..count − 1.
    template <UniformSource S, typename Donors>
    void next(const Plan& plan, S& source, int g, const Donors& donors);

    // The copies of generation g's children (g, the last or the one before);
    // none once the class has died out.
    const std::vector<Allele>& children(int g) const { return children_[g & 1]; }
    const std::vector<Allele>& parents() const { return parents_; }

private:
    template <UniformSource S>
    void breed(const Plan& plan, S& source, int g, std::vector<Allele>& out);
    template <UniformSource S> void mutate(const Plan& plan, S& source, std::vector<Allele>& out);
    template <UniformSource S> void shuffle(S& source, const std::vector<Allele>& former);
    bool canBreed(const Plan& plan) const;

    std::vector<Allele> parents_;
    std::array<std::vector<Allele>, 2> children_; // by parity of the generation
    std::vector<std::int16_t> perm_;
};

template <UniformSource S> void Deme::found(const Plan& plan, S& source) {
    drawFounders(plan.settings, source, parents_);
    breed(plan, source, 1, children_[1]);
    mutate(plan, source, children_[1]);
}

template <UniformSource S, typename Donors>
void Deme::next(const Plan& plan, S& source, int g, const Donors& donors) {
    const std::vector<Allele>& former = children_[(g - 1) & 1];
    if (former.empty()) { // died out: nobody is left to breed
        children_[g & 1].clear();
        return;
    }
    if (plan.settings.model == Model::Protocole)
        shuffle(source, former);
    else
        parents_ = former; // every parent is drawn at random: their order does not matter
    if (plan.migrationGaps.on() && donors.count() > 0) {
        // Island model: each parent is replaced with probability m by a copy of
        // an individual of another class's previous generation.
        const int parents = static_cast<int>(parents_.size() / 2);
        const auto individuals = static_cast<std::int16_t>(parents);
        for (int i = plan.migrationGaps.next(source); i < parents;
             i += 1 + plan.migrationGaps.next(source)) {
            const int d = Tirage(source, static_cast<std::int16_t>(donors.count())) - 1;
            const Allele* from = donors.copiesOf(d);
            if (!from) // that class has died out: it sends nobody
                continue;
            const int j = Tirage(source, individuals) - 1;
            parents_[static_cast<std::size_t>(2 * i)] = from[2 * j];
            parents_[static_cast<std::size_t>(2 * i + 1)] = from[2 * j + 1];
        }
    }
    std::vector<Allele>& out = children_[g & 1];
    breed(plan, source, g, out);
    mutate(plan, source, out);
}

// The turnover: parent i is the former child perm(i), copies in the same
// order, perm a uniformly random permutation of 1..N. For the classroom's 20
// it is built as the engine's Shuffle builds it (value i goes to a slot drawn
// uniformly, drawn again while the slot is taken: 72 draws on average), so that
// the class follows the engine draw for draw; that costs N·(1 + 1/2 + ... + 1/N)
// draws, so larger classes use Fisher–Yates (N − 1 draws, the same law).
template <UniformSource S> void Deme::shuffle(S& source, const std::vector<Allele>& former) {
    const auto n = static_cast<std::int16_t>(former.size() / 2);
    parents_.resize(former.size());
    perm_.assign(static_cast<std::size_t>(n), 0);
    if (n == kIndividus) {
        for (std::int16_t i = 1; i <= n;) {
            std::int16_t& slot = perm_[static_cast<std::size_t>(Tirage(source, n) - 1)];
            if (slot == 0)
                slot = i++;
        }
    } else {
        std::iota(perm_.begin(), perm_.end(), std::int16_t{1});
        for (std::int16_t i = n; i > 1; --i)
            std::swap(perm_[static_cast<std::size_t>(i - 1)],
                      perm_[static_cast<std::size_t>(Tirage(source, i) - 1)]);
    }
    for (std::size_t i = 0; i < perm_.size(); ++i) {
        const auto child = static_cast<std::size_t>(perm_[i] - 1);
        parents_[2 * i] = former[2 * child];
        parents_[2 * i + 1] = former[2 * child + 1];
    }
}

// Generation g's children. In the protocol couple k's child takes copy a
// of parent 2k − 1 and copy b of parent 2k, a drawn before b, brood by brood
// (the engine's Enfant; broodsFor); in the ideal model each copy comes from a
// parent copy drawn among all of theirs. A child of fitness w is kept with
// probability w / (highest fitness); otherwise its place is bred again by a
// random couple (the ideal model: by new random parents), until one is kept.
// A couple that can give no surviving child thus has its children bred by the
// others, as any child that does not survive is. When no couple can (every
// possible child has fitness 0) the class dies out: no children at all.
template <UniformSource S>
void Deme::breed(const Plan& plan, S& source, int g, std::vector<Allele>& out) {
    const int k = plan.settings.alleles;
    if (plan.lethal && !canBreed(plan)) {
        out.clear();
        return;
    }
    out.resize(static_cast<std::size_t>(plan.settings.copiesAt(g)));
    auto kept = [&](Allele a, Allele b) {
        const float p = plan.keep[static_cast<std::size_t>(a * k + b)];
        return p >= 1.0f || source.next() < p;
    };
    const Allele* parent = parents_.data();
    std::size_t row = 0;
    if (plan.settings.model == Model::Protocole) {
        const auto couples = static_cast<std::int16_t>(parents_.size() / 4);
        for (const int brood : broodsFor(plan.settings.individualsAt(g))) {
            for (int c = 0; c < brood; ++c, row += 2) {
                int couple = c % couples;
                for (;;) {
                    const int a = Tirage(source, 2) - 1;
                    const int b = Tirage(source, 2) - 1;
                    out[row] = parent[4 * couple + a];
                    out[row + 1] = parent[4 * couple + 2 + b];
                    if (!plan.selection || kept(out[row], out[row + 1]))
                        break;
                    couple = Tirage(source, couples) - 1;
                }
            }
        }
        return;
    }
    const auto copies = static_cast<std::int16_t>(parents_.size());
    for (; row < out.size(); row += 2) {
        do {
            out[row] = parent[Tirage(source, copies) - 1];
            out[row + 1] = parent[Tirage(source, copies) - 1];
        } while (plan.selection && !kept(out[row], out[row + 1]));
    }
}

// Whether some child could survive: in the protocol some couple can give a
// genotype of fitness above 0, in the ideal model some two copies of the parents.
inline bool Deme::canBreed(const Plan& plan) const {
    const auto k = static_cast<std::size_t>(plan.settings.alleles);
    auto alive = [&](Allele a, Allele b) { return plan.keep[a * k + b] > 0.0f; };
    if (plan.settings.model == Model::Protocole) {
        for (std::size_t c = 0; c + 3 < parents_.size(); c += 4)
            for (std::size_t x = c; x < c + 2; ++x)
                for (std::size_t y = c + 2; y < c + 4; ++y)
                    if (alive(parents_[x], parents_[y]))
                        return true;
        return false;
    }
    std::array<bool, kMaxAlleles> present{};
    for (const Allele a : parents_)
        present[a] = true;
    for (std::size_t a = 0; a < k; ++a)
        for (std::size_t b = 0; b < k; ++b)
            if (present[a] && present[b] && alive(static_cast<Allele>(a), static_cast<Allele>(b)))
                return true;
    return false;
}

// Each copy mutates with probability u into one of the K − 1 other alleles,
// lost ones included, each equally likely.
template <UniformSource S>
void Deme::mutate(const Plan& plan, S& source, std::vector<Allele>& out) {
    if (!plan.mutationGaps.on())
        return;
    const auto others = static_cast<std::int16_t>(plan.settings.alleles - 1);
    for (std::size_t i = static_cast<std::size_t>(plan.mutationGaps.next(source)); i < out.size();
         i += 1 + static_cast<std::size_t>(plan.mutationGaps.next(source))) {
        const int other = Tirage(source, others) - 1;
        out[i] = static_cast<Allele>(other + (other >= out[i]));
    }
}

} // namespace bocavo::labo
