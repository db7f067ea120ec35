// What the status line says of a run names each set's own generation, never
// one set's for both.
#include "core/lab/view/run_status.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace bocavo::labo {
namespace {

struct Standing {
    std::vector<int> generations;
    std::string standing;
    std::string cancelled;
};

TEST(RunStatus, NamesEachSetsGeneration) {
    const std::vector<Standing> cases = {
        {{11},
         "génération 11",
         "Calcul annulé à la génération 11 : les générations déjà calculées sont conservées."},
        {{32767, 32767},
         "génération 32 767",
         "Calcul annulé à la génération 32 767 : les générations déjà calculées sont "
         "conservées."},
        {{1200, 3},
         "génération 1 200 pour le jeu A et 3 pour le jeu B",
         "Calcul annulé à la génération 1 200 pour le jeu A et 3 pour le jeu B : les générations "
         "déjà calculées sont conservées."},
        {{5, -1},
         "génération 5 pour le jeu A, le jeu B n'a pas encore commencé",
         "Calcul annulé à la génération 5 pour le jeu A, le jeu B n'a pas encore commencé : les "
         "générations déjà calculées sont conservées."},
    };
    for (const Standing& c : cases) {
        EXPECT_EQ(runStanding(c.generations), c.standing);
        EXPECT_EQ(cancelledText(c.generations), c.cancelled);
        EXPECT_EQ(steppedText(c.generations), "G" + c.standing.substr(1) + ".");
    }
    EXPECT_EQ(cancelledText({-1, -1}), "Calcul annulé avant la première génération : les "
                                       "générations déjà calculées sont conservées.");
}

TEST(RunStatus, ReachedCountsClassesPerSet) {
    EXPECT_EQ(reachedText(100, 1, 1), "Génération 100 atteinte dans 1 classe.");
    EXPECT_EQ(reachedText(2000, 1000, 2), "Génération 2 000 atteinte dans 1 000 classes par jeu.");
    EXPECT_EQ(fixationText({40, 12}, false), "Arrêt à la génération 40 pour le jeu A et 12 pour "
                                             "le jeu B : des classes gardent encore plusieurs "
                                             "allèles.");
}

// Classes that died out are said after the status, set by set, and a run they
// ended is not said to hold one allele in every class.
TEST(RunStatus, ClassesThatDiedOutAreCounted) {
    EXPECT_EQ(extinctText({0, 0}), "");
    EXPECT_EQ(extinctText({1}),
              " 1 classe s'est éteinte : aucun de ses couples ne pouvait avoir d'enfant viable.");
    EXPECT_EQ(extinctText({1200, 3}), " 1 200 classes du jeu A et 3 classes du jeu B se sont "
                                      "éteintes : aucun de leurs couples ne pouvait avoir "
                                      "d'enfant viable.");
    EXPECT_EQ(fixationText({40}, true, true),
              "Toutes les classes n'ont plus qu'un allèle, ou se sont éteintes, à la génération "
              "40.");
}

} // namespace
} // namespace bocavo::labo
