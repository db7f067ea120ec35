#include "web/bindings/lab_fields.h"

namespace bocavo::web {

using emscripten::val;

namespace {

std::string text(const val& fields, const char* key) {
    const val value = fields[key];
    return value.isUndefined() ? std::string() : value.as<std::string>();
}

SetFields setFields(const val& in) {
    SetFields f;
    f.individuals = text(in, "individuals");
    f.model = text(in, "model");
    f.alleles = text(in, "alleles");
    for (std::size_t k = 0; k < 4; ++k) {
        f.urn[k] = in["urn"][k].isUndefined() ? "" : in["urn"][k].as<std::string>();
        f.fitness[k] = in["fitness"][k].isUndefined() ? "" : in["fitness"][k].as<std::string>();
    }
    f.mutation = text(in, "mutation");
    f.migration = text(in, "migration");
    f.history = text(in, "history");
    f.genotypes = text(in, "genotypes");
    return f;
}

val setFieldsVal(const SetFields& f) {
    val out = val::object();
    out.set("individuals", f.individuals);
    out.set("model", f.model);
    out.set("alleles", f.alleles);
    out.set("urn", textList({f.urn.begin(), f.urn.end()}));
    out.set("fitness", textList({f.fitness.begin(), f.fitness.end()}));
    out.set("mutation", f.mutation);
    out.set("migration", f.migration);
    out.set("history", f.history);
    out.set("genotypes", f.genotypes);
    return out;
}

} // namespace

val textList(const std::vector<std::string>& texts) {
    val list = val::array();
    for (std::size_t i = 0; i < texts.size(); ++i)
        list.set(i, texts[i]);
    return list;
}

val fieldsVal(const ScenarioFields& f) {
    val out = val::object();
    out.set("classes", f.classes);
    out.set("generations", f.generations);
    out.set("seed", f.seed);
    out.set("compare", f.compare);
    out.set("a", setFieldsVal(f.a));
    out.set("b", setFieldsVal(f.b));
    return out;
}

ScenarioFields scenarioFields(const val& in) {
    ScenarioFields f;
    f.classes = text(in, "classes");
    f.generations = text(in, "generations");
    f.seed = text(in, "seed");
    f.compare = in["compare"].as<bool>();
    f.a = setFields(in["a"]);
    f.b = setFields(in["b"]);
    return f;
}

} // namespace bocavo::web
