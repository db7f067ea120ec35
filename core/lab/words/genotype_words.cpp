#include "core/lab/words/genotype_words.h"

#include <array>
#include <numeric>

namespace bocavo::labo {
namespace {

// Subscript digits 1..4, for p₁² … p₄².
inline constexpr std::array<const char*, kMaxAlleles> kSubscripts{"₁", "₂", "₃", "₄"};

} // namespace

std::vector<int> genotypeOrder(int alleles) {
    if (alleles == 2)
        return {1, 0, 2};
    std::vector<int> order(static_cast<std::size_t>(alleles) + 1);
    std::iota(order.begin(), order.end() - 1, 1);
    order.back() = 0;
    return order;
}

std::string genotypeName(int genotype, int alleles) {
    if (genotype == 0)
        return alleles == 2 ? "12" : "hétérozygotes";
    return std::to_string(genotype) + std::to_string(genotype);
}

std::string hardyWeinbergName(int genotype, int alleles) {
    if (alleles == 2)
        return genotype == 1 ? "p²" : genotype == 0 ? "2pq" : "q²";
    if (genotype == 0)
        return "1 − Σ p²";
    return std::string("p") + kSubscripts[static_cast<std::size_t>(genotype - 1)] + "²";
}

Explanation genotypesExplanation(const Settings& s, int classes) {
    std::string pupil =
        "Dans une classe, les parents s'unissent au hasard : la part des homozygotes et des "
        "hétérozygotes reste proche de celle que donnent les fréquences des allèles de la classe "
        "(l'équilibre de Hardy-Weinberg).";
    if (classes > 1)
        pupil += " Mais le hasard rend les classes différentes : en mélangeant toutes les classes "
                 "pour faire le calcul, on croirait à tort qu'il manque des hétérozygotes.";
    if (hasSelection(s))
        pupil += " La sélection peut écarter les génotypes de ces proportions.";
    std::string teacher =
        "Parts observées : moyenne sur les classes de la part de chaque génotype parmi les N "
        "individus de la classe. Parts de Hardy-Weinberg (" +
        (s.alleles == 2 ? std::string("p², 2pq, q²")
                        : "pᵢ² pour chaque homozygote, 1 − Σ p² pour tous les hétérozygotes") +
        ") : calculées dans chaque classe à partir de ses propres fréquences, puis moyennées.";
    if (classes > 1)
        teacher += " Calculées sur les copies de toutes les classes réunies, elles montreraient "
                   "un déficit d'hétérozygotes qui n'existe dans aucune classe (effet Wahlund), "
                   "d'autant plus grand que Fst est grand.";
    if (!hasSelection(s))
        teacher += s.model == Model::WrightFisher
                       ? " Dans le modèle idéal, chaque copie d'un enfant est tirée parmi toutes "
                         "celles des parents : les hétérozygotes dépassent en moyenne la part de "
                         "Hardy-Weinberg de la classe d'une fraction 1/(2N − 1), car celle-ci se "
                         "calcule sur les enfants eux-mêmes."
                       : " Dans le protocole, un enfant ne reçoit jamais ses deux copies du même "
                         "parent : les hétérozygotes dépassent la part de Hardy-Weinberg de la "
                         "classe d'environ 1/N.";
    return {pupil, teacher};
}

} // namespace bocavo::labo
