// What the lab page's worker may call: one laboratory session, whose every
// answer is plain data (numbers, arrays, French texts) that the page draws
// as it is. No C++ exception crosses into JavaScript: a failure comes back
// as { error: "…" } in French.
#include "core/lab/files/csv_format.h"
#include "core/lab/files/scenario.h"
#include "core/lab/files/scenario_link.h"
#include "core/lab/science/limits.h"
#include "core/lab/science/parameters.h"
#include "core/lab/science/run_cost.h"
#include "core/lab/science/theory.h"
#include "core/lab/view/run_status.h"
#include "core/text/user_text.h"
#include "web/bindings/lab_fields.h"
#include "web/bindings/lab_guarded.h"
#include "web/bindings/lab_session.h"
#include "web/bindings/lab_views.h"

#include <emscripten/bind.h>

namespace bocavo::web {

namespace {

using emscripten::val;
using namespace bocavo::labo;

// Bytes of CSV text handed over at a time: a download is a Blob of such
// parts, never one string of the whole file.
inline constexpr std::size_t kCsvPartBytes = 4u << 20; // bytes

} // namespace

// The parameter table as the page builds its fields from it: each entry's
// key, field (the page's id, before the set's letter), label, kind ("whole",
// "choice", "list", "rate"), whether each set has one, its range, and a
// choice's words with their titles.
val parameterTable() {
    val table = val::array();
    const auto summary = parameterSummary();
    for (std::size_t i = 0; i < summary.size(); ++i) {
        const ParameterSummary& s = summary[i];
        val entry = val::object();
        entry.set("key", s.key);
        entry.set("field", std::string(parameter(s.key).field));
        entry.set("label", s.label);
        entry.set("kind", s.kind);
        entry.set("perSet", s.perSet);
        entry.set("low", s.low);
        entry.set("high", s.high);
        const std::string_view hint = parameter(s.key).hint;
        entry.set("hint", std::string(hint));
        val itemHints = val::array(); // a list's, one per allele
        for (int allele = 1; s.kind == "list" && allele <= kMaxAlleles; ++allele)
            itemHints.set(allele - 1, itemText(hint, allele));
        entry.set("itemHints", itemHints);
        val choices = val::array();
        for (std::size_t c = 0; c < s.choices.size(); ++c) {
            val choice = val::object();
            choice.set("value", s.choices[c]);
            // The models' words in the order of Model, shown with their titles.
            choice.set("title",
                       s.key == "model" ? modelTitle(static_cast<Model>(c)) : s.choices[c]);
            choices.set(c, choice);
        }
        entry.set("choices", choices);
        val presets = val::array(); // the genotypes' usual cases, as the window offers them
        for (std::size_t p = 0; s.kind == "genotypes" && p < kGenotypePresets.size(); ++p) {
            val preset = val::object();
            preset.set("name", std::string(kGenotypePresets[p].name));
            preset.set("value", genotypesText(kGenotypePresets[p].fitness));
            presets.set(p, preset);
        }
        entry.set("presets", presets);
        table.set(i, entry);
    }
    return table;
}

// The fields of a scenario with every default, the page's first state.
val defaultFields() {
    return fieldsVal(fieldsOf(Scenario{}));
}

// The fields' checks: { refusals: [{ field, text }], text } where text is
// the scenario file's text once every field is sound, the consigne kept.
val checkFields(const val& fields, const std::string& consigne) {
    const FieldReading reading = readFields(scenarioFields(fields));
    val out = val::object();
    val refusals = val::array();
    for (std::size_t i = 0; i < reading.refusals.size(); ++i) {
        val r = val::object();
        r.set("field", reading.refusals[i].field);
        r.set("text", reading.refusals[i].text);
        refusals.set(i, r);
    }
    out.set("refusals", refusals);
    if (reading.scenario) {
        Scenario lesson = *reading.scenario;
        lesson.consigne = consigne;
        out.set("text", scenarioText(lesson));
        out.set("saved", std::string("Scénario enregistré (téléchargement « lecon.scenario »)."));
    } else {
        out.set("saveRefused", std::string("Le scénario ne peut pas être enregistré tant que des "
                                           "paramètres sont refusés."));
    }
    return out;
}

// A scenario file's text as { fields, status }, or { error } naming its line.
val openScenario(const std::string& text, const std::string& name) {
    const std::string refused = "Le scénario " + shortQuote(name) +
                                " n'a pas été ouvert ; les paramètres restent tels quels. ";
    if (text.size() > kMaxScenarioBytes)
        return failure(refused + "Ce fichier est trop long pour un scénario (plus de " +
                       groupDigits(kMaxScenarioBytes) + " octets).");
    const auto read = parseScenario(text);
    if (!read)
        return failure(refused + read.reason());
    val out = val::object();
    out.set("fields", fieldsVal(fieldsOf(*read)));
    out.set("consigne", read->consigne);
    out.set("status", "Scénario " + shortQuote(name) + " ouvert : « Lancer » le fait tourner.");
    return out;
}

// The page's fragment as it is (location.hash): { fields, consigne, status },
// or { error } when it is no sound scenario link.
val openLink(const std::string& fragment) {
    const auto read = scenarioFromLink(fragment);
    if (!read)
        return failure("Le scénario du lien n'a pas été ouvert ; les paramètres restent tels "
                       "quels. " +
                       read.reason());
    val out = val::object();
    out.set("fields", fieldsVal(fieldsOf(*read)));
    out.set("consigne", read->consigne);
    out.set("status", std::string("Scénario du lien ouvert : « Lancer » le fait tourner."));
    return out;
}

// « Copier le lien de ce scénario »: { link, copied } (link: the fragment,
// "scenario=…") or { error }.
val scenarioLinkOf(const val& fields, const std::string& consigne) {
    const FieldReading reading = readFields(scenarioFields(fields));
    if (!reading.scenario)
        return failure("Le lien ne peut pas être fait tant que des paramètres sont refusés.");
    Scenario lesson = *reading.scenario;
    lesson.consigne = consigne;
    const auto link = scenarioLink(lesson);
    if (!link)
        return failure(link.reason());
    val out = val::object();
    out.set("link", *link);
    out.set("copied", std::string("Lien du scénario copié : tout le scénario est dans le lien, "
                                  "rien ne quitte la page."));
    out.set("copyByHand", std::string("Le navigateur n'a pas laissé copier le lien : il est "
                                      "sélectionné ci-dessous, copiez-le avec Ctrl+C."));
    return out;
}

// K of « une génération sur K », as typed: { every } or { error }.
val readEvery(const std::string& text) {
    const auto every = parseWhole(text, kMinEvery, kMaxEvery, "K (une génération sur K)");
    if (!every)
        return failure(every.reason());
    val out = val::object();
    out.set("every", *every);
    return out;
}

class LabModuleSession {
public:
    // Each command: { refused } with why, or the state (state()).
    val launch(const val& fields) { return command(Command::Launch, fields); }
    val untilFixation(const val& fields) { return command(Command::UntilFixation, fields); }
    val nextGeneration() {
        return guarded([&] { return refusedOr(session_.start(Command::NextGeneration, {})); });
    }
    val reset() {
        return guarded([&] {
            csv_.reset();
            return refusedOr(session_.reset());
        });
    }
    // Works for about `seconds`, then says where the command stands.
    val step(double seconds) {
        return guarded([&] {
            session_.step(seconds);
            return state();
        });
    }
    val cancel() {
        session_.cancel();
        return state();
    }

    // What the page shows besides the views: the core's texts and commands.
    val state() const {
        const LabRun& run = session_.run();
        val out = val::object();
        out.set("busy", run.busy());
        out.set("progress", session_.progress());
        out.set("status", run.status());
        out.set("runLabel", run.runLabel());
        // The page shows a field's refusal when a command is asked, so that
        // « Lancer » stays offered while the fields are being typed.
        const LabCommands can = run.commands(false, true);
        val enabled = val::object();
        enabled.set("lancer", can.launch);
        enabled.set("fixation", can.launch);
        enabled.set("suivante", can.nextGeneration);
        enabled.set("reinitialiser", can.reset);
        enabled.set("annuler", can.cancel);
        enabled.set("exporter", can.exports);
        out.set("enabled", enabled);
        out.set("sets", run.sets());
        out.set("summary", textList(run.sets() > 0 ? scenarioSummary(run.scenario())
                                                   : std::vector<std::string>{}));
        return out;
    }

    // The notice beside the parameters while the fields are not the run on
    // display, "" otherwise.
    std::string pending(const val& fields) const {
        return session_.run().pendingNotice(readFields(scenarioFields(fields)).scenario);
    }

    // One of the core's views as plain data (lab_views.h).
    val view(const std::string& name, const val& options) {
        return guarded([&] { return viewData(session_, name, options); });
    }

    // The numbers of that view for « Copier le tableau » (lab_views.h).
    val table(const std::string& name, const val& options, const std::string& decimalSign) {
        return guarded([&] { return tableData(session_, name, options, decimalSign); });
    }

    // The CSV file of the run, one generation in `every`: its size, the
    // warning above the desktop's threshold with the K that brings it
    // under, and how many parts csvPart hands out.
    val csvPlan(int every) {
        return guarded([&] {
            const LabRun& run = session_.run();
            if (!run.hasRun() || run.busy())
                return failure(std::string(kNothingToExport));
            std::vector<const Statistics*> stats;
            Sets sets;
            for (int s = 0; s < run.sets(); ++s) {
                stats.push_back(&run.statistics(s));
                sets.push_back(run.experiment(s));
            }
            const std::uint64_t whole = csvBytes(stats, 1);
            const std::uint64_t bytes = csvBytes(stats, every);
            csv_ = std::make_unique<CsvRows>(sets, every);
            csvNext_ = 1;
            // The scenario that reproduces the file: the run as far as it went.
            Scenario plan = run.scenario();
            plan.generations = std::max(1, sets.front()->generation());
            val out = val::object();
            out.set("bytes", static_cast<double>(bytes));
            out.set("bytesText", bytesText(bytes));
            out.set("large", whole > kLargeCsvBytes);
            if (whole > kLargeCsvBytes)
                out.set("warning",
                        "Le fichier CSV de toutes les générations ferait " + bytesText(whole) +
                            ". Vous pouvez l'écrire quand même, ou ne garder qu'une génération "
                            "sur K (les générations 0, K, 2K… et la dernière).");
            out.set("suggestedEvery", everyWithin(stats, kLargeCsvBytes));
            out.set("sizeText", "Le fichier CSV ferait " + bytesText(bytes) + ".");
            out.set("readyText", "Fichier « derive.csv » prêt : " + bytesText(bytes) +
                                     (every > 1 ? ", une génération sur " +
                                                      groupDigits(static_cast<std::uint64_t>(every))
                                                : std::string()) +
                                     ", et son scénario « derive.scenario » à côté.");
            out.set("scenario",
                    scenarioText(plan, reproductionNote(sets, plan.generations, every)));
            return out;
        });
    }
    // The next part of the file planned by csvPlan: { text, done, share }.
    val csvPart() {
        return guarded([&] {
            if (!csv_)
                return failure(std::string(kNothingToExport));
            std::string part;
            while (csvNext_ <= csv_->classes() && part.size() < kCsvPartBytes)
                csv_->append(csvNext_++, part);
            val out = val::object();
            out.set("text", part);
            out.set("done", csvNext_ > csv_->classes());
            out.set("share", static_cast<double>(csvNext_ - 1) / csv_->classes());
            return out;
        });
    }

private:
    val refusedOr(const std::string& refusal) const {
        if (refusal.empty())
            return state();
        val out = state();
        out.set("refused", refusal);
        return out;
    }
    val command(Command which, const val& fields) {
        return guarded([&] {
            const FieldReading reading = readFields(scenarioFields(fields));
            if (!reading.scenario)
                return refusedOr(reading.refusals.front().text);
            csv_.reset();
            return refusedOr(session_.start(which, *reading.scenario));
        });
    }

    LabSession session_;
    std::unique_ptr<CsvRows> csv_;
    int csvNext_ = 1;
};

} // namespace bocavo::web

EMSCRIPTEN_BINDINGS(bocavo_lab) {
    using bocavo::web::LabModuleSession;
    emscripten::function("parameterTable", &bocavo::web::parameterTable);
    emscripten::function("defaultFields", &bocavo::web::defaultFields);
    emscripten::function("checkFields", &bocavo::web::checkFields);
    emscripten::function("openScenario", &bocavo::web::openScenario);
    emscripten::function("openLink", &bocavo::web::openLink);
    emscripten::function("scenarioLinkOf", &bocavo::web::scenarioLinkOf);
    emscripten::function("readEvery", &bocavo::web::readEvery);
    emscripten::class_<LabModuleSession>("LabSession")
        .constructor<>()
        .function("launch", &LabModuleSession::launch)
        .function("untilFixation", &LabModuleSession::untilFixation)
        .function("nextGeneration", &LabModuleSession::nextGeneration)
        .function("reset", &LabModuleSession::reset)
        .function("step", &LabModuleSession::step)
        .function("cancel", &LabModuleSession::cancel)
        .function("state", &LabModuleSession::state)
        .function("pending", &LabModuleSession::pending)
        .function("view", &LabModuleSession::view)
        .function("table", &LabModuleSession::table)
        .function("csvPlan", &LabModuleSession::csvPlan)
        .function("csvPart", &LabModuleSession::csvPart);
}
