// A laboratory run for the page: the lab window's commands and the texts it
// shows, run in slices of a chosen length so that the worker holding the run
// can report progress and take a cancel between two (a worker without
// threads reads its messages only between tasks). Standard library only.
#pragma once

#include "core/lab/files/scenario.h"
#include "core/lab/run/lab_run.h"
#include "core/lab/view/expected_cache.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace bocavo::web {

// The parameters' fields as typed, set A's and set B's alike.
struct SetFields {
    std::string individuals = "20";
    std::string model = "protocole"; // or "wright-fisher"
    std::string alleles = "4";
    std::array<std::string, 4> urn{"10", "10", "10", "10"};
    std::array<std::string, 4> fitness{"100", "100", "100", "100"};
    std::string mutation = "0";
    std::string migration = "0";
    std::string history;   // empty: N for ever
    std::string genotypes; // "100, 50, 0"; empty: each genotype its alleles' mean
};

struct ScenarioFields {
    std::string classes;
    std::string generations;
    std::string seed;
    bool compare = false; // set B too
    SetFields a;
    SetFields b;
};

// A field's refusal: the page's id of its field (the parameter table's field:
// "graine", "jeuA-individus", "jeuB-urne2", "jeuA-urne" for the whole urn;
// "scenario" for the whole) and why, in French.
struct FieldRefusal {
    std::string field;
    std::string text;
};

struct FieldReading {
    std::optional<labo::Scenario> scenario;
    std::vector<FieldRefusal> refusals; // with the window's words, "A : " before a set's
};

// The window's checks on the fields: each on its own, then how they fit together.
FieldReading readFields(const ScenarioFields& fields);
ScenarioFields fieldsOf(const labo::Scenario& scenario);
// The parameters in a few lines, as a printed view gives them beside it.
std::vector<std::string> scenarioSummary(const labo::Scenario& scenario);

using Command = labo::LabCommand;

// The lab core's run, worked in slices.
class LabSession {
public:
    // Empty when the command starts, else why it is refused. `plan` is the
    // fields' scenario (Launch, UntilFixation).
    std::string start(Command command, const labo::Scenario& plan);
    // Works for about `seconds`; true once the command is over (status() says how).
    bool step(double seconds);
    void cancel(); // ends the command under way; whole generations are kept
    std::string reset();

    const labo::LabRun& run() const { return run_; }
    bool busy() const { return run_.busy(); }
    double progress() const { return progress_; } // 0..1 of the command under way
    // What theory expects of the sets, kept between two drawings as the window keeps it.
    labo::ExpectedCache& expected() { return expected_; }

private:
    labo::LabRun run_;
    labo::ExpectedCache expected_;
    double progress_ = 0.0;
};

} // namespace bocavo::web
