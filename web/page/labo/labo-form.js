// The parameters' fields, built from the module's parameter table: the run's,
// then set A's and set B's alike; read as the module reads them
// (ScenarioFields), filled from a scenario, and marked with the module's
// French refusals. The checks themselves are the module's.
"use strict";

/**
 * One entry of the parameter table (core/lab/science/parameters.h, ParameterSummary).
 * @typedef {Object} ParameterEntry
 * @property {string} key the scenario's key, and ScenarioFields's
 * @property {string} field the page's id, after "jeuA-" for a set's
 * @property {string} label
 * @property {string} kind "whole", "choice", "list" or "rate"
 * @property {boolean} perSet
 * @property {number} low
 * @property {number} high
 * @property {string} hint
 * @property {string[]} itemHints a list's, one per allele
 * @property {{value: string, title: string}[]} choices
 * @property {{name: string, value: string}[]} presets the genotypes' usual cases
 */

Bocavo.define("form", [], function () {
    var kAlleles = 4; // a list's fields, one per allele
    /** @type {ParameterEntry[]} */
    var table = [];

    function element(tag, attributes, children) {
        var made = document.createElement(tag);
        Object.keys(attributes || {}).forEach(function (key) {
            if (key === "text")
                made.textContent = attributes[key];
            else if (attributes[key] !== "")
                made.setAttribute(key, attributes[key]);
        });
        (children || []).forEach(function (child) { made.appendChild(child); });
        return made;
    }

    function row(children) { return element("div", { class: "row" }, children); }

    function idOf(entry, set) { return entry.perSet ? "jeu" + set + "-" + entry.field : entry.field; }

    // One parameter's row: a label and its field, or a list's four fields.
    function parameterRow(entry, set) {
        var id = idOf(entry, set);
        if (entry.kind === "list") {
            var cells = [element("span", { id: id, text: entry.label + " :" })];
            for (var k = 1; k <= kAlleles; ++k)
                cells.push(element("input", { id: id + k, type: "text", class: "short", inputmode: "numeric",
                    title: entry.itemHints[k - 1], "aria-label": entry.label + ", allèle " + k + " (jeu " + set + ")" }));
            return row(cells);
        }
        var control;
        if (entry.kind === "genotypes")
            return row([element("label", { for: id, text: entry.label + " :" }),
                element("input", { id: id, type: "text", class: "mid", title: entry.hint, inputmode: "numeric" }),
                presetChooser(entry, id)]);
        if (entry.kind === "choice") {
            control = element("select", { id: id, title: entry.hint }, entry.choices.map(function (choice) {
                return element("option", { value: choice.value, text: choice.title });
            }));
        } else if (entry.kind === "whole" && entry.high - entry.low < 10) {
            var values = [];
            for (var v = entry.low; v <= entry.high; ++v)
                values.push(element("option", { value: String(v), text: String(v) }));
            control = element("select", { id: id, title: entry.hint }, values);
        } else {
            control = element("input", { id: id, type: "text", class: "mid", title: entry.hint,
                inputmode: entry.kind === "rate" ? "decimal" : "numeric" });
        }
        return row([element("label", { for: id, text: entry.label + " :" }), control]);
    }

    // The usual cases of genotype fitness: choosing one fills the field.
    function presetChooser(entry, id) {
        var chooser = element("select", { id: id + "-cas", class: "cas", "aria-label": "Cas courants" },
            [element("option", { value: "", text: "Choisir un cas…" })].concat(entry.presets.map(function (preset) {
                return element("option", { value: preset.value, text: preset.name });
            })));
        // On "input", which reaches the chooser before the form's own listeners
        // (they read the field and set the chooser back from it).
        chooser.addEventListener("input", function () {
            if (chooser.selectedIndex > 0)
                document.getElementById(id).value = chooser.value;
        });
        return chooser;
    }

    function setFieldset(set) {
        var legend = set === "A" ? element("legend", { text: "Jeu A" })
            : element("legend", {}, [element("label", {}, [
                element("input", { type: "checkbox", id: "comparer" }),
                document.createTextNode(" Comparer avec un jeu B")])]);
        return element("fieldset", { id: "jeu" + set }, [legend].concat(table.filter(function (entry) {
            return entry.perSet;
        }).map(function (entry) { return parameterRow(entry, set); })));
    }

    /**
     * @param {HTMLElement} place where the fields go
     * @param {ParameterEntry[]} parameters the module's table
     */
    function build(place, parameters) {
        table = parameters;
        place.appendChild(element("fieldset", {}, [element("legend", { text: "Paramètres" })].concat(
            table.filter(function (entry) { return !entry.perSet; }).map(function (entry) { return parameterRow(entry, ""); }))));
        place.appendChild(setFieldset("A"));
        place.appendChild(setFieldset("B"));
    }

    function value(id) { return document.getElementById(id).value; }

    function readSet(set) {
        var fields = {};
        table.filter(function (entry) { return entry.perSet; }).forEach(function (entry) {
            var id = idOf(entry, set);
            fields[entry.key] = entry.kind === "list"
                ? [1, 2, 3, 4].map(function (k) { return value(id + k); }) : value(id);
        });
        return /** @type {SetFields} */ (fields);
    }

    /** @returns {ScenarioFields} */
    function read() {
        var fields = { compare: document.getElementById("comparer").checked, a: readSet("A"), b: readSet("B") };
        table.filter(function (entry) { return !entry.perSet; }).forEach(function (entry) {
            fields[entry.key] = value(entry.field);
        });
        return /** @type {ScenarioFields} */ (fields);
    }

    function fillSet(set, fields) {
        table.filter(function (entry) { return entry.perSet; }).forEach(function (entry) {
            var id = idOf(entry, set);
            if (entry.kind === "list")
                fields[entry.key].forEach(function (text, k) { document.getElementById(id + (k + 1)).value = text; });
            else
                document.getElementById(id).value = fields[entry.key];
        });
    }

    /** @param {ScenarioFields} fields */
    function fill(fields) {
        table.filter(function (entry) { return !entry.perSet; }).forEach(function (entry) {
            document.getElementById(entry.field).value = fields[entry.key];
        });
        document.getElementById("comparer").checked = fields.compare;
        fillSet("A", fields.a);
        fillSet("B", fields.b);
        update();
    }

    // Alleles past K are greyed, set B folded while it is off, both kept for
    // later; each chooser of genotypes shows the case its field holds.
    function update() {
        document.querySelectorAll("select.cas").forEach(function (chooser) {
            var typed = value(chooser.id.replace(/-cas$/, "")).replace(/\s/g, "");
            var match = Array.prototype.find.call(chooser.options, function (option) {
                return option.index > 0 && option.value.replace(/\s/g, "") === typed;
            });
            chooser.selectedIndex = match ? match.index : 0;
        });
        var compare = document.getElementById("comparer").checked;
        document.querySelectorAll("#jeuB .row").forEach(function (row) { row.hidden = !compare; });
        ["A", "B"].forEach(function (set) {
            var on = set === "A" || compare;
            var k = Number(value("jeu" + set + "-alleles"));
            document.querySelectorAll("#jeu" + set + " input:not(#comparer), #jeu" + set + " select").forEach(function (control) {
                var allele = /(\d)$/.exec(control.id);
                control.disabled = !on || (allele !== null && Number(allele[1]) > k);
            });
        });
    }

    /**
     * Marks each refused field (a whole list: each of its fields) and says
     * every refusal under the fields.
     * @param {FieldCheck} check
     */
    function mark(check) {
        document.querySelectorAll("#parametres [aria-invalid]").forEach(function (control) {
            control.removeAttribute("aria-invalid");
            control.removeAttribute("aria-describedby");
        });
        check.refusals.forEach(function (refusal) {
            var whole = document.getElementById(refusal.field + "1") ? [1, 2, 3, 4] : [""];
            whole.forEach(function (k) {
                var control = document.getElementById(refusal.field + k);
                if (control && !control.disabled && control.tagName !== "SPAN") {
                    control.setAttribute("aria-invalid", "true");
                    control.setAttribute("aria-describedby", "refus");
                }
            });
        });
        document.getElementById("refus").textContent = check.refusals.map(function (r) { return r.text; }).join("\n");
    }

    return { build: build, read: read, fill: fill, update: update, mark: mark };
});
