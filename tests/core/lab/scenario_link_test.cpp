// Scenario links: every scenario a window or a file gives comes back equal
// from its link; a link cut, altered, foreign or too long is refused in
// French, never half-read.
#include "core/lab/files/scenario_link.h"

#include <gtest/gtest.h>

namespace bocavo::labo {
namespace {

// Every parameter away from its default, set B included.
Scenario everyParameter() {
    Scenario s;
    s.classes = 1000;
    s.generations = 32'767;
    s.seed = 4'294'967'295u;
    s.a.individuals = 60;
    s.a.model = Model::WrightFisher;
    s.a.alleles = 3;
    s.a.urn = {12, 100, 8, 0};
    s.a.fitness = {110, 10, 1000, 100};
    s.a.mutation = 0.0025;
    s.a.migration = 0.5;
    Settings b;
    b.individuals = 10'000;
    b.alleles = 2;
    b.urn = evenUrn(10'000, 2);
    s.b = b;
    return s;
}

std::string longConsigne() {
    std::string text;
    for (int i = 1; i <= 40; ++i)
        text += "Question " + std::to_string(i) + " : où en est l'allèle « é » ? # [A] = x\n\n";
    text.pop_back();
    text.pop_back();
    return text;
}

TEST(ScenarioLinkTest, AScenarioComesBackFromItsLink) {
    Scenario lesson = everyParameter();
    lesson.consigne = longConsigne();
    Scenario oneLine;
    oneLine.consigne = "Lancez, puis comparez.";
    for (const Scenario& s : {Scenario{}, everyParameter(), lesson, oneLine}) {
        const Result<std::string> link = scenarioLink(s);
        ASSERT_TRUE(link) << link.reason();
        EXPECT_LE(link->size(), kMaxLinkChars);
        EXPECT_EQ(link->find_first_not_of(
                      "scenario=.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_"),
                  std::string::npos)
            << *link;
        for (const std::string& fragment : {*link, "#" + *link}) {
            const Result<Scenario> back = scenarioFromLink(fragment);
            ASSERT_TRUE(back) << back.reason();
            EXPECT_EQ(*back, s);
        }
    }
    // The comments stay in the file: a link without a consigne is short.
    EXPECT_LT(scenarioLink(everyParameter())->size(), 500u);
}

TEST(ScenarioLinkTest, DamagedForeignOrLongLinksAreRefused) {
    Scenario lesson = everyParameter();
    lesson.consigne = longConsigne();
    const std::string link = *scenarioLink(lesson);
    const std::string tooLong(kMaxLinkChars + 1, 'A');
    struct Case {
        std::string fragment;
        std::string said;
    } cases[] = {
        {"", "n'ouvre pas de scénario"},
        {"#groupe=7", "n'ouvre pas de scénario"},
        {"scenario=", "abîmé"},
        {link.substr(0, link.size() - 1), "abîmé"}, // cut: the consigne would lose its end
        {link.substr(0, link.size() - 2), "abîmé"},
        {link.substr(0, link.size() - 3), "abîmé"},
        {link + "A", "abîmé"},
        {"scenario=" + link.substr(link.find('.') + 1), "abîmé"}, // its length lost
        {"scenario=3.Zm9v%3D", "abîmé"},
        {"scenario=12.Zm9ybWF0ID0gMQo", "abîmé"},    // a length that lies
        {"scenario=11.Zm9ybWF0ID0gMgo", "format 1"}, // sound base64, not a scenario
        {"scenario=" + tooLong, "trop long"},
        {"#scenario=" + tooLong + tooLong, "trop long"},
    };
    for (const Case& c : cases) {
        const Result<Scenario> back = scenarioFromLink(c.fragment);
        ASSERT_FALSE(back) << c.fragment;
        EXPECT_NE(back.reason().find(c.said), std::string::npos) << back.reason();
    }
    Scenario huge;
    huge.consigne = std::string(kMaxLinkChars, 'x');
    const Result<std::string> refused = scenarioLink(huge);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.reason().find("trop long pour un lien"), std::string::npos);
}

} // namespace
} // namespace bocavo::labo
