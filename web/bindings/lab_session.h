// A laboratory run for the page: the lab window's commands and the texts it
// shows, run in slices of a chosen length so that the worker holding the run
// can report progress and take a cancel between two (a worker without
// threads reads its messages only between tasks). Standard library only.
#pragma once

#include "core/lab/files/scenario.h"
#include "core/lab/files/view_table.h"
#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/lab/view/expected_cache.h"

#include <array>
#include <memory>
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

enum class Command { Launch, NextGeneration, UntilFixation };

class LabSession {
public:
    // Empty when the command starts, else why it is refused. `plan` is the
    // fields' scenario (Launch, UntilFixation).
    std::string start(Command command, const labo::Scenario& plan);
    // Works for about `seconds`; true once the command is over (status() says how).
    bool step(double seconds);
    void cancel(); // ends the command under way; whole generations are kept
    std::string reset();

    bool busy() const { return task_ != nullptr; }
    double progress() const { return progress_; } // 0..1 of the command under way
    const std::string& status() const { return status_; }
    // "30 classes, graine 1993 : génération 100 (2 Mo en mémoire)."
    std::string runLabel() const;
    // Beside the parameters while `edited` (the fields' scenario, none while a
    // field is refused) is not the run on display; "" else, and without a run.
    std::string pendingNotice(const std::optional<labo::Scenario>& edited) const;

    int sets() const { return static_cast<int>(runs_.size()); }
    const labo::Experiment& experiment(int set) const { return *runs_.at(set).experiment; }
    const labo::Statistics& statistics(int set) const { return runs_.at(set).stats; }
    const labo::Scenario& scenario() const { return scenario_; }
    bool hasRun() const { return !runs_.empty() && runs_[0].experiment->generation() >= 0; }
    // The sets as the core's views take them, and what theory expects of
    // them, kept between two drawings as the window keeps it.
    std::vector<labo::ViewSet> viewSets() const;
    labo::ExpectedCache& expected() { return expected_; }

private:
    struct Run {
        std::unique_ptr<labo::Experiment> experiment;
        labo::Statistics stats;
    };
    struct Task {
        Command command;
        std::vector<int> targets; // Launch, NextGeneration: each set's last generation
        std::size_t set = 0;      // the set under way
    };

    bool sameRun(const labo::Scenario& plan) const;
    void replaceRun(const labo::Scenario& plan);
    bool setDone(std::size_t set) const;
    void finish(bool cancelled);
    std::vector<int> generations() const;
    std::vector<int> extinctClasses() const; // each set's classes that died out
    bool allFixed() const;

    std::vector<Run> runs_;
    labo::ExpectedCache expected_;
    labo::Scenario scenario_;
    std::unique_ptr<Task> task_;
    double progress_ = 0.0;
    std::string status_ = "Aucune simulation : choisissez les paramètres puis « Lancer ».";
};

} // namespace bocavo::web
