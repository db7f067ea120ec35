#include "core/lab/run/lab_run.h"

#include "core/lab/science/limits.h"
#include "core/lab/science/run_cost.h"
#include "core/lab/view/run_status.h"
#include "core/lab/words/pending_notice.h"
#include "core/text/user_text.h"

#include <algorithm>

namespace bocavo::labo {

Result<LabRun::Begun> LabRun::begin(LabCommand command, const Scenario& plan) {
    if (busy())
        return Refusal{std::string(kWaitRefusal)};
    auto task = std::make_unique<Task>();
    task->command = command;
    Begun begun;
    const auto replace = [&] {
        replaceRun(plan);
        begun.replaced = true;
    };
    if (command == LabCommand::Launch) {
        const int last = plan.generations;
        const auto all = generations();
        if (!sameRun(plan) ||
            std::any_of(all.begin(), all.end(), [last](int g) { return g > last; }))
            replace();
        scenario_.generations = last; // a run continued now goes to the new last generation
        task->targets.assign(runs_.size(), last);
    } else if (command == LabCommand::NextGeneration) {
        if (!hasRun())
            return Refusal{std::string(kNoGenerationYet)};
        const auto all = generations();
        if (*std::max_element(all.begin(), all.end()) >= kMaxGeneration)
            return Refusal{lastGenerationText()};
        // A set left behind by a cancel catches up with A; one ahead of it
        // (after "Jusqu'à fixation") takes one step of its own.
        for (const int g : all)
            task->targets.push_back(std::max(all.front() + 1, g + 1));
    } else {
        if (!sameRun(plan))
            replace();
        if (allFixed()) {
            const std::string extinct = extinctText(extinctClasses());
            status_ = alreadyFixedText(generations(), !extinct.empty()) + extinct;
            return begun;
        }
    }
    task->starts = generations();
    task_ = std::move(task);
    begun.work = true;
    return begun;
}

bool LabRun::setDone(std::size_t set) const {
    const Experiment& run = *runs_[set].experiment;
    if (task_->command == LabCommand::UntilFixation)
        return run.allFixed() || run.generation() >= kMaxGeneration;
    return run.generation() >= task_->targets[set];
}

bool LabRun::work(const std::atomic<bool>& stop, const std::function<void(double)>& progress,
                  int threads) {
    const double n = static_cast<double>(runs_.size());
    for (; task_->set < runs_.size(); ++task_->set) {
        const std::size_t set = task_->set;
        if (setDone(set))
            continue;
        // The bar counts from where the command began, not from this call, so
        // that it never falls back when the work goes on after a pause.
        const int from = task_->starts[set];
        const Control control{&stop,
                              [&](int reached, double done) {
                                  if (task_->command != LabCommand::UntilFixation) {
                                      const int target = task_->targets[set];
                                      done = target > from ? static_cast<double>(reached - from) /
                                                                 (target - from)
                                                           : 1.0;
                                  }
                                  if (progress)
                                      progress((static_cast<double>(set) + done) / n);
                              },
                              threads};
        Experiment& run = *runs_[set].experiment;
        if (task_->command == LabCommand::UntilFixation)
            run.advanceUntilFixation(control);
        else
            run.advanceTo(task_->targets[set], control);
        if (!setDone(set))
            return false;
    }
    return true;
}

bool LabRun::publish() {
    bool grew = false;
    for (Run& run : runs_) {
        if (run.experiment->generation() > run.stats.generation()) {
            run.stats.update(*run.experiment);
            grew = true;
        }
    }
    return grew;
}

void LabRun::end(bool cancelled) {
    if (!task_)
        return;
    publish();
    const auto all = generations();
    const LabCommand command = task_->command;
    const bool reached = command == LabCommand::UntilFixation
                             ? allFixed()
                             : std::equal(all.begin(), all.end(), task_->targets.begin(),
                                          [](int g, int target) { return g >= target; });
    task_.reset();
    if (cancelled && !reached) {
        status_ = cancelledText(all);
        return;
    }
    const std::string extinct = extinctText(extinctClasses());
    if (command == LabCommand::Launch)
        status_ = reachedText(scenario_.generations, scenario_.classes, sets()) + extinct;
    else if (command == LabCommand::NextGeneration)
        status_ = steppedText(all) + extinct;
    else
        status_ = fixationText(all, allFixed(), !extinct.empty()) + extinct;
}

Result<void> LabRun::reset() {
    if (busy())
        return Refusal{std::string(kWaitRefusal)};
    runs_.clear();
    status_ = std::string(kRunErased);
    return {};
}

std::string LabRun::runLabel() const {
    if (!hasRun() || statistics().generation() < 0)
        return std::string(kNoRunYet);
    std::vector<int> shown;
    std::uint64_t bytes = 0;
    for (const Run& run : runs_) {
        shown.push_back(run.stats.generation());
        bytes += run.experiment->bytes();
    }
    const int classes = runs_[0].experiment->classes();
    std::string text = groupDigits(static_cast<std::uint64_t>(classes)) + " classe" +
                       (classes > 1 ? "s" : "") + (shown.size() > 1 ? " par jeu" : "") +
                       ", graine " + std::to_string(scenario_.seed) + " : " + runStanding(shown);
    // The worker may be adding storage while it runs: the size waits for its end.
    if (!busy())
        text += " (" + bytesText(bytes) + " en mémoire)";
    return text + ".";
}

std::string LabRun::pendingNotice(const std::optional<Scenario>& edited) const {
    return sets() > 0 ? labo::pendingNotice(scenario_, edited) : std::string();
}

LabCommands LabRun::commands(bool otherTask, bool fieldsRead) const {
    const bool idle = !busy() && !otherTask;
    LabCommands can;
    can.launch = idle && fieldsRead;
    can.nextGeneration = idle && hasRun();
    can.reset = idle && sets() > 0;
    can.cancel = !idle;
    can.edit = idle;
    can.exports = idle && hasRun();
    return can;
}

const Experiment* LabRun::experiment(int set) const {
    return set >= 0 && set < sets() ? runs_[static_cast<std::size_t>(set)].experiment.get()
                                    : nullptr;
}

const Statistics& LabRun::statistics(int set) const {
    return set >= 0 && set < sets() ? runs_[static_cast<std::size_t>(set)].stats : none_;
}

std::vector<ViewSet> LabRun::viewSets() const {
    std::vector<ViewSet> sets;
    for (const Run& run : runs_)
        sets.push_back({run.experiment.get(), &run.stats});
    return sets;
}

std::vector<std::shared_ptr<const Experiment>> LabRun::heldSets() const {
    std::vector<std::shared_ptr<const Experiment>> held;
    for (const Run& run : runs_)
        held.push_back(run.experiment);
    return held;
}

std::vector<int> LabRun::generations() const {
    std::vector<int> all;
    for (const Run& run : runs_)
        all.push_back(run.experiment->generation());
    return all;
}

std::vector<int> LabRun::extinctClasses() const {
    std::vector<int> all;
    for (const Run& run : runs_)
        all.push_back(run.experiment->extinctClasses());
    return all;
}

bool LabRun::allFixed() const {
    return std::all_of(runs_.begin(), runs_.end(),
                       [](const Run& run) { return run.experiment->allFixed(); });
}

bool LabRun::sameRun(const Scenario& plan) const {
    return sets() == (plan.b ? 2 : 1) && continuesRun(scenario_, plan);
}

void LabRun::replaceRun(const Scenario& plan) {
    scenario_ = plan;
    runs_.clear();
    for (const Settings* settings : {&plan.a, plan.b ? &*plan.b : nullptr}) {
        if (!settings)
            continue;
        Run& run = runs_.emplace_back();
        // B draws its own sequences even with A's parameters.
        run.experiment = std::make_shared<Experiment>(
            *settings, plan.classes, setSeed(plan, static_cast<int>(runs_.size()) - 1));
        run.stats.reset(plan.classes);
    }
}

} // namespace bocavo::labo
