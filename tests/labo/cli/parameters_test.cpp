// The parameter table, entry by entry: every value at the ends of its range
// goes through the command line, into a scenario's text and back unchanged,
// and every value just past them is refused by both, in the same words,
// naming the value and the parameter.
#include "core/lab/science/parameters.h"
#include "labo/cli/command_line.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace bocavo::labo {
namespace {

std::string whole(double value) {
    return std::to_string(static_cast<long long>(value));
}

// Values the entry accepts, as it writes them back.
std::vector<std::string> sound(const Parameter& p) {
    switch (p.kind) {
    case ParameterKind::Whole:
        return {whole(p.low), whole(p.high)};
    case ParameterKind::Choice:
        return {p.choices.begin(), p.choices.end()};
    case ParameterKind::List:
        return {whole(p.low) + ", " + whole(p.high)};
    case ParameterKind::Rate:
        return {rateText(p.low), rateText(p.high)};
    case ParameterKind::Sizes: // in the protocol, whose sizes are multiples of 10
        return {"1:10", "1:10, " + whole(kMaxGeneration) + ":" + whole(p.high)};
    case ParameterKind::Genotypes:
        return {whole(p.low) + ", " + whole(p.high) + ", " + whole(p.low),
                whole(p.high) + ", " + whole(p.low) + ", " + whole(p.high)};
    }
    return {};
}

// Values just outside what the entry accepts.
std::vector<std::string> refused(const Parameter& p) {
    const double past = p.high + p.step;
    switch (p.kind) {
    case ParameterKind::Whole:
        if (p.step > 1)
            return {whole(past), whole(p.low + 1)};
        return {whole(past), "-1", "1e3"};
    case ParameterKind::Choice:
        return {"moran"};
    case ParameterKind::List:
        return {whole(p.low) + ", " + whole(past), whole(p.low)};
    case ParameterKind::Rate:
        return {rateText(2 * p.high), "-" + rateText(p.high), "1e-3"};
    case ParameterKind::Sizes:
        return {"0:10", "1:" + whole(past), "20", "20:10,"};
    case ParameterKind::Genotypes:
        return {"100, 50, " + whole(past), "100, 50", "100, 50, 0, 0", "-1, 50, 0", "100,,0"};
    }
    return {};
}

// A command line that names the entry's value, with what the rest needs: the
// required options (at their highest, so that migration has classes to join), and for a list the
// largest population, whose 2N balls the ends of any list's range can share.
std::vector<std::string> commandLine(const Parameter& p, const std::string& value) {
    std::vector<std::string> args{std::string(p.option), value, "--csv", "x.csv"};
    for (const Parameter& other : parameters())
        if (other.required && &other != &p)
            args.insert(args.end(), {std::string(other.option), whole(other.high)});
    if (p.kind == ParameterKind::List)
        args.insert(args.end(), {std::string(parameter("individuals").option),
                                 whole(parameter("individuals").high)});
    if (p.kind == ParameterKind::Genotypes) // the genotypes of two alleles
        args.insert(args.end(), {std::string(parameter("alleles").option), "2"});
    return args;
}

// The scenario's text with the entry's line (set A's, for a set's) given `value`.
std::string withValue(const Parameter& p, const std::string& value) {
    std::string text = scenarioText(Scenario{});
    const std::string key = "\n" + std::string(p.key) + " = ";
    if (text.find(key) == std::string::npos) // left out at its default: set A's is last
        return text + key.substr(1) + value + "\n";
    const auto at = text.find(key) + key.size();
    return text.replace(at, text.find('\n', at) - at, value);
}

TEST(ParametersTest, EachValueRoundTripsThroughCommandLineAndScenario) {
    for (const Parameter& p : parameters()) {
        for (const std::string& value : sound(p)) {
            SCOPED_TRACE(std::string(p.key) + " = " + value);
            const Result<CommandLine> parsed = parseCommandLine(commandLine(p, value));
            ASSERT_EQ(parsed.reason(), "");
            const Scenario& scenario = parsed->scenario;
            EXPECT_EQ(p.write(scenario, scenario.a), value);
            const std::string text = scenarioText(scenario);
            EXPECT_NE(text.find("\n" + std::string(p.key) + " = " + value + "\n"),
                      std::string::npos);
            const Result<Scenario> back = parseScenario(text);
            ASSERT_TRUE(back) << back.reason();
            EXPECT_EQ(*back, scenario);
        }
    }
}

TEST(ParametersTest, ValuesPastTheRangeAreRefusedAlikeEverywhere) {
    for (const Parameter& p : parameters()) {
        for (const std::string& value : refused(p)) {
            SCOPED_TRACE(std::string(p.key) + " = " + value);
            const std::string why = "« " + value + " » ne convient pas pour " + std::string(p.what);
            const Result<CommandLine> parsed = parseCommandLine(commandLine(p, value));
            EXPECT_EQ(parsed.reason().rfind(std::string(p.option) + " : " + why, 0), 0u)
                << parsed.reason();
            const Result<Scenario> file = parseScenario(withValue(p, value));
            EXPECT_FALSE(file);
            EXPECT_NE(file.reason().find(" : " + why), std::string::npos) << file.reason();
            Scenario run;
            SetReading set;
            const auto read = p.read(p, value, DecimalMark::PointOrComma, run, set);
            EXPECT_FALSE(read);
            EXPECT_EQ(read.reason().rfind(why, 0), 0u) << read.reason();
        }
    }
}

// The defaults are the classroom protocol's, and the page's summary and the
// help say what the table says.
TEST(ParametersTest, SummaryAndHelpFollowTheTable) {
    const std::string text = scenarioText(Scenario{});
    const std::string help = usageText();
    const auto summary = parameterSummary();
    ASSERT_EQ(summary.size(), parameters().size());
    for (std::size_t i = 0; i < summary.size(); ++i) {
        const Parameter& p = parameters()[i];
        SCOPED_TRACE(summary[i].key);
        EXPECT_EQ(summary[i].key, p.key);
        EXPECT_EQ(summary[i].label.find('&'), std::string::npos);
        // An optional key is left out at its default.
        EXPECT_EQ(text.find("\n" + summary[i].key + " = " + summary[i].defaultValue + "\n") ==
                      std::string::npos,
                  p.optional);
        EXPECT_NE(help.find("  " + std::string(p.option) + " "), std::string::npos);
        EXPECT_EQ(findOption(p.option), &p);
        EXPECT_EQ(findParameter(p.key, p.scope), &p);
    }
}

} // namespace
} // namespace bocavo::labo
