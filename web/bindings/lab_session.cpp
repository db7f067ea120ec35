#include "web/bindings/lab_session.h"

#include "core/lab/science/limits.h"
#include "core/lab/science/run_cost.h"
#include "core/text/user_text.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace bocavo::web {

using namespace bocavo::labo;

namespace {

std::string grouped(int value) {
    return groupDigits(static_cast<std::uint64_t>(value));
}

void readSet(const SetFields& f, const std::string& prefix, Settings& s,
             std::vector<Refusal>& refusals) {
    auto take = [&](const std::string& field, const auto& parsed, auto& into) {
        if (parsed.value)
            into = *parsed.value;
        else
            refusals.push_back({prefix + "." + field, prefix + " : " + parsed.error});
    };
    take("individuals", parseIndividuals(f.individuals), s.individuals);
    take("model", parseModel(f.model), s.model);
    take("alleles", parseAlleles(f.alleles), s.alleles);
    for (std::size_t k = 0; k < 4; ++k) {
        if (static_cast<int>(k) >= s.alleles) {
            s.urn[k] = 0;
            s.fitness[k] = Settings{}.fitness[k];
            continue;
        }
        const std::string allele = std::to_string(k + 1);
        take("urn." + allele,
             parseWhole(f.urn[k], 0, 2 * kMaxIndividuals,
                        "le nombre de boules de l'allèle " + allele),
             s.urn[k]);
        take("fitness." + allele,
             parseWhole(f.fitness[k], kMinFitness, kMaxFitness,
                        "la valeur sélective de l'allèle " + allele + " (en %)"),
             s.fitness[k]);
    }
    take("mutation",
         parseRate(f.mutation, kMaxMutation, "le taux de mutation", DecimalMark::PointOrComma),
         s.mutation);
    take("migration",
         parseRate(f.migration, kMaxMigration, "le taux de migration", DecimalMark::PointOrComma),
         s.migration);
    if (!refusals.empty())
        return;
    // Every field is sound on its own; what is left is how they fit together
    // (the urn must hold 2N balls): said on the urn's fields.
    if (const std::string whole = checkSettings(s); !whole.empty())
        refusals.push_back({prefix + ".urn", prefix + " : " + whole});
}

SetFields setFieldsOf(const Settings& s) {
    SetFields f;
    f.individuals = std::to_string(s.individuals);
    f.model = modelKey(s.model);
    f.alleles = std::to_string(s.alleles);
    for (std::size_t k = 0; k < 4; ++k) {
        f.urn[k] = std::to_string(s.urn[k]);
        f.fitness[k] = std::to_string(s.fitness[k]);
    }
    f.mutation = rateText(s.mutation);
    f.migration = rateText(s.migration);
    return f;
}

} // namespace

std::string standingText(const std::vector<int>& generations) {
    const int a = generations.at(0);
    if (std::all_of(generations.begin(), generations.end(), [a](int b) { return b == a; }))
        return "génération " + grouped(a);
    const int b = generations.at(1);
    if (b < 0)
        return "génération " + grouped(a) + " pour le jeu A, le jeu B n'a pas encore commencé";
    return "génération " + grouped(a) + " pour le jeu A et " + grouped(b) + " pour le jeu B";
}

FieldReading readFields(const ScenarioFields& fields) {
    FieldReading reading;
    Scenario plan;
    auto take = [&](const std::string& field, const auto& parsed, auto& into) {
        if (parsed.value)
            into = *parsed.value;
        else
            reading.refusals.push_back({field, parsed.error});
    };
    take("classes", parseClasses(fields.classes), plan.classes);
    take("generations", parseGenerations(fields.generations), plan.generations);
    take("seed", parseSeed(fields.seed), plan.seed);
    readSet(fields.a, "A", plan.a, reading.refusals);
    if (fields.compare)
        readSet(fields.b, "B", plan.b.emplace(), reading.refusals);
    if (!reading.refusals.empty())
        return reading;
    // Each field is sound: what is left is how they fit together.
    if (const std::string whole = checkScenario(plan); !whole.empty()) {
        reading.refusals.push_back({"scenario", whole});
        return reading;
    }
    reading.scenario = plan;
    return reading;
}

ScenarioFields fieldsOf(const Scenario& scenario) {
    ScenarioFields fields;
    fields.classes = std::to_string(scenario.classes);
    fields.generations = std::to_string(scenario.generations);
    fields.seed = std::to_string(scenario.seed);
    fields.a = setFieldsOf(scenario.a);
    fields.compare = scenario.b.has_value();
    fields.b = setFieldsOf(scenario.b.value_or(scenario.a));
    return fields;
}

std::vector<std::string> scenarioSummary(const Scenario& scenario) {
    std::vector<std::string> lines{grouped(scenario.classes) +
                                   (scenario.b ? " classes par jeu, " : " classes, ") +
                                   grouped(scenario.generations) + " générations, graine " +
                                   std::to_string(scenario.seed) + "."};
    for (const Settings* s : {&scenario.a, scenario.b ? &*scenario.b : nullptr}) {
        if (!s)
            continue;
        std::string urn;
        std::string fitness;
        for (std::size_t k = 0; k < static_cast<std::size_t>(s->alleles); ++k) {
            urn += (k ? ", " : "") + std::to_string(s->urn[k]);
            fitness += (k ? ", " : "") + std::to_string(s->fitness[k]);
        }
        lines.push_back(std::string("Jeu ") + (s == &scenario.a ? "A" : "B") + " : " +
                        grouped(s->individuals) + " individus, " + modelTitle(s->model) + ", " +
                        std::to_string(s->alleles) + " allèles, urne " + urn +
                        ", valeurs sélectives " + fitness + " %, mutation " +
                        rateText(s->mutation) + ", migration " + rateText(s->migration) + ".");
    }
    return lines;
}

bool LabSession::sameRun(const Scenario& plan) const {
    return sets() == (plan.b ? 2 : 1) && scenario_.a == plan.a && scenario_.b == plan.b &&
           scenario_.classes == plan.classes && scenario_.seed == plan.seed;
}

void LabSession::replaceRun(const Scenario& plan) {
    scenario_ = plan;
    runs_.clear();
    for (const Settings* settings : {&plan.a, plan.b ? &*plan.b : nullptr}) {
        if (!settings)
            continue;
        Run& run = runs_.emplace_back();
        // B draws its own sequences even with A's parameters.
        run.experiment = std::make_unique<Experiment>(
            *settings, plan.classes, runs_.size() == 1 ? plan.seed : secondSeed(plan.seed));
        run.stats.reset(plan.classes);
    }
}

std::vector<int> LabSession::generations() const {
    std::vector<int> all;
    for (const Run& run : runs_)
        all.push_back(run.experiment->generation());
    return all;
}

bool LabSession::allFixed() const {
    return std::all_of(runs_.begin(), runs_.end(),
                       [](const Run& run) { return run.experiment->allFixed(); });
}

std::string LabSession::start(Command command, const Scenario& plan) {
    if (busy())
        return "Attendez la fin du calcul en cours, ou annulez-le.";
    auto task = std::make_unique<Task>();
    task->command = command;
    if (command == Command::Launch) {
        const int last = plan.generations;
        const auto all = generations();
        if (!sameRun(plan) ||
            std::any_of(all.begin(), all.end(), [last](int g) { return g > last; }))
            replaceRun(plan);
        task->targets.assign(runs_.size(), last);
    } else if (command == Command::NextGeneration) {
        if (!hasRun())
            return "Lancez d'abord une simulation : il n'y a pas encore de génération.";
        const auto all = generations();
        if (*std::max_element(all.begin(), all.end()) >= kMaxGeneration)
            return "La génération " + grouped(kMaxGeneration) +
                   " est la dernière que le compteur peut atteindre : il n'y a pas de "
                   "génération suivante.";
        // A set left behind by a cancel catches up with A; one ahead of it
        // (after "Jusqu'à fixation") takes one step of its own.
        for (const int g : all)
            task->targets.push_back(std::max(all.front() + 1, g + 1));
    } else {
        if (!sameRun(plan))
            replaceRun(plan);
        if (allFixed()) {
            status_ =
                "Toutes les classes ont déjà un seul allèle (" + standingText(generations()) + ").";
            return {};
        }
    }
    task_ = std::move(task);
    progress_ = 0.0;
    return {};
}

bool LabSession::setDone(std::size_t set) const {
    const Experiment& run = *runs_[set].experiment;
    if (task_->command == Command::UntilFixation)
        return run.allFixed() || run.generation() >= kMaxGeneration;
    return run.generation() >= task_->targets[set];
}

bool LabSession::step(double seconds) {
    if (!task_)
        return true;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    std::atomic<bool> pause{false};
    const double n = static_cast<double>(runs_.size());
    for (; task_->set < runs_.size(); ++task_->set) {
        const std::size_t set = task_->set;
        if (setDone(set))
            continue;
        // The core's cancel, used as a pause: a run stopped between two steps
        // and resumed gives the numbers of one never stopped.
        const Control control{&pause,
                              [&](int, double done) {
                                  progress_ = (static_cast<double>(set) + done) / n;
                                  if (Clock::now() >= deadline)
                                      pause = true;
                              },
                              1};
        Experiment& run = *runs_[set].experiment;
        if (task_->command == Command::UntilFixation)
            run.advanceUntilFixation(control);
        else
            run.advanceTo(task_->targets[set], control);
        runs_[set].stats.update(run);
        if (!setDone(set))
            return false;
    }
    finish(false);
    return true;
}

void LabSession::cancel() {
    if (task_)
        finish(true);
}

void LabSession::finish(bool cancelled) {
    const auto all = generations();
    const Command command = task_->command;
    const bool reached = command == Command::UntilFixation
                             ? allFixed()
                             : std::equal(all.begin(), all.end(), task_->targets.begin(),
                                          [](int g, int target) { return g >= target; });
    task_.reset();
    progress_ = 1.0;
    for (Run& run : runs_)
        run.stats.update(*run.experiment);
    if (cancelled && !reached) {
        const std::string where = all.empty() || all.front() < 0 ? "avant la première génération"
                                                                 : "à la " + standingText(all);
        status_ = "Calcul annulé " + where + " : les générations déjà calculées sont conservées.";
        return;
    }
    if (command == Command::Launch) {
        const int classes = scenario_.classes;
        status_ = "Génération " + grouped(scenario_.generations) + " atteinte dans " +
                  grouped(classes) + " classe" + (classes > 1 ? "s" : "") +
                  (sets() > 1 ? " par jeu" : "") + ".";
    } else if (command == Command::NextGeneration) {
        std::string text = standingText(all);
        text[0] = 'G';
        status_ = text + ".";
    } else if (allFixed()) {
        status_ = "Toutes les classes n'ont plus qu'un allèle à la " + standingText(all) + ".";
    } else {
        status_ =
            "Arrêt à la " + standingText(all) + " : des classes gardent encore plusieurs allèles.";
    }
}

std::string LabSession::reset() {
    if (busy())
        return "Attendez la fin du calcul en cours, ou annulez-le.";
    runs_.clear();
    status_ = "Simulation effacée.";
    return {};
}

std::string LabSession::runLabel() const {
    if (!hasRun())
        return "Aucune simulation : choisissez les paramètres puis « Lancer ».";
    std::vector<int> shown;
    std::uint64_t bytes = 0;
    for (const Run& run : runs_) {
        shown.push_back(run.stats.generation());
        bytes += run.experiment->bytes();
    }
    const int classes = experiment(0).classes();
    std::string text = grouped(classes) + " classe" + (classes > 1 ? "s" : "") +
                       (shown.size() > 1 ? " par jeu" : "") + ", graine " +
                       std::to_string(scenario_.seed) + " : " + standingText(shown);
    if (!busy())
        text += " (" + bytesText(bytes) + " en mémoire)";
    return text + ".";
}

} // namespace bocavo::web
