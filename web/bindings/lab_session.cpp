#include "web/bindings/lab_session.h"

#include "core/lab/science/limits.h"
#include "core/lab/science/parameters.h"
#include "core/lab/science/run_cost.h"
#include "core/lab/view/run_status.h"
#include "core/lab/words/pending_notice.h"
#include "core/text/user_text.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <tuple>
#include <utility>

namespace bocavo::web {

using namespace bocavo::labo;

namespace {

std::string grouped(int value) {
    return groupDigits(static_cast<std::uint64_t>(value));
}

// The window's way: each field through its parameter's own reading (the
// decimal comma a French reader types taken too), then how they fit together.
void readSet(const SetFields& f, const std::string& prefix, Settings& into,
             std::vector<FieldRefusal>& refusals) {
    Scenario run; // a set's fields are read into `reading`, never into the run
    SetReading reading;
    const std::size_t before = refusals.size();
    // The page's id of a set's field: "jeuA-individus", "jeuA-urne2".
    auto id = [&](const char* key) {
        return "jeu" + prefix + "-" + std::string(parameter(key).field);
    };
    auto take = [&](const char* key, const std::string& text) {
        const Parameter& p = parameter(key);
        if (const auto read = p.read(p, text, DecimalMark::PointOrComma, run, reading); !read)
            refusals.push_back({id(key), prefix + " : " + read.reason()});
    };
    take("individuals", f.individuals);
    take("model", f.model);
    take("alleles", f.alleles);
    Settings& s = reading.settings;
    s.individuals = reading.individuals.value_or(s.individuals);
    s.alleles = reading.alleles.value_or(s.alleles);
    for (std::size_t k = 0; k < kMaxAlleles; ++k) {
        if (static_cast<int>(k) >= s.alleles) {
            s.urn[k] = 0;
            s.fitness[k] = Settings{}.fitness[k];
            continue;
        }
        const int allele = static_cast<int>(k) + 1;
        for (const auto& [key, text, value] :
             {std::tuple{"urn", &f.urn[k], &s.urn[k]}, {"fitness", &f.fitness[k], &s.fitness[k]}}) {
            const auto item = readItem(parameter(key), *text, allele);
            if (item)
                *value = *item;
            else
                refusals.push_back(
                    {id(key) + std::to_string(allele), prefix + " : " + item.reason()});
        }
    }
    take("mutation", f.mutation);
    take("migration", f.migration);
    take("history", f.history);
    take("genotypes", f.genotypes);
    if (refusals.size() > before)
        return;
    // Every field is sound on its own; what is left is how they fit together
    // (the urn must hold 2N balls): said on the urn's fields, or on the
    // genotypes' when they are what does not fit.
    if (const auto sound = checkSettings(s); !sound) {
        Settings alleleFitness = s;
        alleleFitness.genotypes.reset();
        const bool genotypes = s.genotypes && checkSettings(alleleFitness);
        refusals.push_back({id(genotypes ? "genotypes" : "urn"), prefix + " : " + sound.reason()});
    }
    into = s;
}

SetFields setFieldsOf(const Scenario& run, const Settings& s) {
    auto shown = [&](const char* key) { return parameter(key).write(run, s); };
    SetFields f;
    f.individuals = shown("individuals");
    f.model = shown("model");
    f.alleles = shown("alleles");
    for (std::size_t k = 0; k < kMaxAlleles; ++k) {
        f.urn[k] = std::to_string(s.urn[k]);
        f.fitness[k] = std::to_string(s.fitness[k]);
    }
    f.mutation = shown("mutation");
    f.migration = shown("migration");
    f.history = shown("history");
    f.genotypes = shown("genotypes");
    return f;
}

} // namespace

FieldReading readFields(const ScenarioFields& fields) {
    FieldReading reading;
    Scenario plan;
    SetReading unused;
    for (const auto& [key, text] : {std::pair{"classes", &fields.classes},
                                    {"generations", &fields.generations},
                                    {"seed", &fields.seed}}) {
        const Parameter& p = parameter(key);
        if (const auto read = p.read(p, *text, DecimalMark::Point, plan, unused); !read)
            reading.refusals.push_back({std::string(p.field), read.reason()});
    }
    readSet(fields.a, "A", plan.a, reading.refusals);
    if (fields.compare)
        readSet(fields.b, "B", plan.b.emplace(), reading.refusals);
    if (!reading.refusals.empty())
        return reading;
    // Each field is sound: what is left is how they fit together.
    if (const auto sound = checkScenario(plan); !sound) {
        reading.refusals.push_back({"scenario", sound.reason()});
        return reading;
    }
    reading.scenario = plan;
    return reading;
}

ScenarioFields fieldsOf(const Scenario& scenario) {
    auto shown = [&](const char* key) { return parameter(key).write(scenario, scenario.a); };
    ScenarioFields fields;
    fields.classes = shown("classes");
    fields.generations = shown("generations");
    fields.seed = shown("seed");
    fields.a = setFieldsOf(scenario, scenario.a);
    fields.compare = scenario.b.has_value();
    fields.b = setFieldsOf(scenario, scenario.b.value_or(scenario.a));
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
        const std::string selection = s->genotypes
                                          ? "génotypes 11, 12, 22 " + genotypesText(s->genotypes)
                                          : "valeurs sélectives " + fitness;
        lines.push_back(std::string("Jeu ") + (s == &scenario.a ? "A" : "B") + " : " +
                        grouped(s->individuals) + " individus, " + modelTitle(s->model) + ", " +
                        std::to_string(s->alleles) + " allèles, urne " + urn + ", " + selection +
                        " %, mutation " + rateText(s->mutation) + ", migration " +
                        rateText(s->migration) + ".");
    }
    return lines;
}

std::string LabSession::start(Command command, const Scenario& plan) {
    const auto begun = run_.begin(command, plan);
    if (!begun)
        return begun.reason();
    progress_ = 0.0;
    return {};
}

bool LabSession::step(double seconds) {
    if (!busy())
        return true;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    // The core's cancel, used as a pause: a run stopped between two steps and
    // resumed gives the numbers of one never stopped. No threads in a worker.
    std::atomic<bool> pause{false};
    const bool done = run_.work(
        pause,
        [&](double share) {
            progress_ = share;
            if (Clock::now() >= deadline)
                pause = true;
        },
        1);
    run_.publish();
    if (!done)
        return false;
    run_.end(false);
    progress_ = 1.0;
    return true;
}

void LabSession::cancel() {
    if (busy()) {
        run_.end(true);
        progress_ = 1.0;
    }
}

std::string LabSession::reset() {
    const auto reset = run_.reset();
    return reset ? std::string() : reset.reason();
}

} // namespace bocavo::web
