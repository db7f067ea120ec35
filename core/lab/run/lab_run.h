// The laboratory's run as every lab front end holds it: one experiment and its
// statistics per parameter set (A and, when comparing, B), the command under
// way, and what a front end shows of it (the status text, the run's label,
// which commands are enabled). The window works it on a thread of its own, the
// page's worker in slices between two messages; neither decides how a command
// goes, which sets it advances or what it says when it ends.
//
// Threading: every member is called from one thread, the front end's, except
// work(), which one worker may call between begin() and end(). Meanwhile that
// thread calls only publish() and the const members; they read the
// generations the experiments have published, never the ones work() is
// writing.
#pragma once

#include "core/lab/files/scenario.h"
#include "core/lab/files/view_table.h"
#include "core/lab/science/experiment.h"
#include "core/lab/science/statistics.h"
#include "core/text/result.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bocavo::labo {

enum class LabCommand { Launch, NextGeneration, UntilFixation };

// Which of the lab's commands a front end offers now.
struct LabCommands {
    bool launch = false;         // « Lancer », and « Jusqu'à fixation » with it
    bool nextGeneration = false; // once a generation exists
    bool reset = false;          // once there is a run, even one not started
    bool cancel = false;         // while any task runs
    bool edit = false;           // the parameters, opening a scenario
    bool exports = false;        // the run's data and pictures: once a generation exists
};

// Every command refused while a task runs is refused in these words.
inline constexpr std::string_view kWaitRefusal =
    "Attendez la fin du calcul en cours, ou annulez-le.";
inline constexpr std::string_view kNoRunYet =
    "Aucune simulation : choisissez les paramètres puis « Lancer ».";

class LabRun {
public:
    struct Begun {
        bool replaced = false; // a new run (or none): views start over
        bool work = false;     // work() has something to do; else status() says it is over
    };
    // Starts a command: `plan` is the fields' scenario (Launch, UntilFixation).
    // Launch and UntilFixation continue the run when `plan` is the same one
    // (and, for Launch, no set is past its generations), else replace it.
    // Refused with the reason while a command is under way, before the first
    // generation (NextGeneration), or at the counter's last generation.
    Result<Begun> begin(LabCommand command, const Scenario& plan);
    // Advances the sets towards the command's end, A then B, reporting the
    // share done (0..1, never falling back between two calls) after each
    // step. Returns when `stop` becomes true (whole generations kept: calling
    // again goes on as if never stopped) or when the work is done: true then.
    bool work(const std::atomic<bool>& stop, const std::function<void(double share)>& progress,
              int threads);
    // The statistics take in the generations published; true when they grew.
    bool publish();
    // Ends the command under way: its status text (reached, stepped, fixed,
    // or what a cancel kept). Publishes what was reached.
    void end(bool cancelled);
    // Forgets the run; refused while a command is under way.
    Result<void> reset();

    bool busy() const { return task_ != nullptr; }
    const std::string& status() const { return status_; }
    // "30 classes, graine 1993 : génération 100 (2 Mo en mémoire).": the
    // generations the views have taken in; the memory once nothing is running.
    std::string runLabel() const;
    // Beside the parameters while `edited` (the fields' scenario, none while a
    // field is refused) is not the run on display; "" else, and without a run.
    std::string pendingNotice(const std::optional<Scenario>& edited) const;
    // `otherTask`: the front end is busy with something else (a file);
    // `fieldsRead`: the parameters' fields make a scenario.
    LabCommands commands(bool otherTask, bool fieldsRead) const;

    int sets() const { return static_cast<int>(runs_.size()); }
    bool hasRun() const { return !runs_.empty() && runs_[0].experiment->generation() >= 0; }
    // Set 0 is A, set 1 is B; null (and empty statistics) past sets().
    const Experiment* experiment(int set = 0) const;
    const Statistics& statistics(int set = 0) const;
    // The scenario the current run was started with; only with a run.
    const Scenario& scenario() const { return scenario_; }
    // The sets as the views take them.
    std::vector<ViewSet> viewSets() const;
    // The sets for a task on another thread, which keeps them alive until done.
    std::vector<std::shared_ptr<const Experiment>> heldSets() const;
    std::vector<int> generations() const; // each set's, A then B

private:
    struct Run {
        std::shared_ptr<Experiment> experiment;
        Statistics stats;
    };
    struct Task {
        LabCommand command;
        std::vector<int> targets; // Launch, NextGeneration: each set's last generation
        std::vector<int> starts;  // each set's generation when the command began
        std::size_t set = 0;      // the set under way
    };

    bool sameRun(const Scenario& plan) const;
    void replaceRun(const Scenario& plan);
    bool setDone(std::size_t set) const;
    std::vector<int> extinctClasses() const; // each set's classes that died out
    bool allFixed() const;

    std::vector<Run> runs_;
    Scenario scenario_;
    std::unique_ptr<Task> task_;
    Statistics none_; // what statistics() gives past the sets
    std::string status_{kNoRunYet};
};

} // namespace bocavo::labo
