// The parameters' fields: set A and set B built alike, read as the module
// reads them (ScenarioFields), filled from a scenario, and marked with the
// module's French refusals. The checks themselves are the module's.
"use strict";

Bocavo.define("form", [], function () {
    // A set's fields: the module's name, the page's id, the label.
    var kSetFields = [
        { name: "individuals", id: "individus", label: "Individus N :" },
        { name: "model", id: "modele", label: "Modèle :" },
        { name: "alleles", id: "alleles", label: "Allèles :" },
        { name: "mutation", id: "mutation", label: "Mutation u :" },
        { name: "migration", id: "migration", label: "Migration m :" }
    ];

    function element(tag, attributes, children) {
        var made = document.createElement(tag);
        Object.keys(attributes || {}).forEach(function (key) {
            if (key === "text")
                made.textContent = attributes[key];
            else
                made.setAttribute(key, attributes[key]);
        });
        (children || []).forEach(function (child) { made.appendChild(child); });
        return made;
    }

    function row(children) { return element("div", { class: "row" }, children); }

    // Set `set` ("A" or "B"): its fieldset, B's with the box that turns it on.
    function setFieldset(set) {
        var id = function (name) { return "jeu" + set + "-" + name; };
        var legend = set === "A" ? element("legend", { text: "Jeu A" })
            : element("legend", {}, [element("label", {}, [
                element("input", { type: "checkbox", id: "comparer" }),
                document.createTextNode(" Comparer avec un jeu B")])]);
        var rows = [legend];
        kSetFields.forEach(function (field) {
            var control;
            if (field.name === "model") {
                control = element("select", { id: id(field.id) }, [
                    element("option", { value: "protocole", text: "Protocole de la classe" }),
                    element("option", { value: "wright-fisher", text: "Modèle idéal (Wright-Fisher)" })]);
            } else if (field.name === "alleles") {
                control = element("select", { id: id(field.id) }, ["2", "3", "4"].map(function (k) {
                    return element("option", { value: k, text: k });
                }));
            } else {
                control = element("input", { id: id(field.id), type: "text", class: "mid",
                    inputmode: field.name === "individuals" ? "numeric" : "decimal" });
            }
            rows.push(row([element("label", { for: id(field.id), text: field.label }), control]));
        });
        [["urn", "urne", "Boules dans l'urne"], ["fitness", "valeur", "Valeur sélective (%)"]].forEach(function (kind) {
            var cells = [element("span", { text: kind[2] + " :", id: id(kind[1]) })];
            for (var k = 1; k <= 4; ++k)
                cells.push(element("input", { id: id(kind[1] + k), type: "text", class: "short", inputmode: "numeric",
                    "aria-label": kind[2] + ", allèle " + k + " (jeu " + set + ")" }));
            rows.push(row(cells));
        });
        return element("fieldset", { id: "jeu" + set }, rows);
    }

    /** @param {HTMLElement} place where the two sets go */
    function build(place) {
        place.appendChild(setFieldset("A"));
        place.appendChild(setFieldset("B"));
    }

    function value(id) { return document.getElementById(id).value; }

    function readSet(set) {
        var id = function (name) { return "jeu" + set + "-" + name; };
        /** @type {SetFields} */
        var fields = { individuals: value(id("individus")), model: value(id("modele")), alleles: value(id("alleles")),
            urn: [], fitness: [], mutation: value(id("mutation")), migration: value(id("migration")) };
        for (var k = 1; k <= 4; ++k) {
            fields.urn.push(value(id("urne" + k)));
            fields.fitness.push(value(id("valeur" + k)));
        }
        return fields;
    }

    /** @returns {ScenarioFields} */
    function read() {
        return { classes: value("classes"), generations: value("generations"), seed: value("graine"),
            compare: document.getElementById("comparer").checked, a: readSet("A"), b: readSet("B") };
    }

    function fillSet(set, fields) {
        var put = function (name, text) { document.getElementById("jeu" + set + "-" + name).value = text; };
        put("individus", fields.individuals);
        put("modele", fields.model);
        put("alleles", fields.alleles);
        put("mutation", fields.mutation);
        put("migration", fields.migration);
        for (var k = 1; k <= 4; ++k) {
            put("urne" + k, fields.urn[k - 1]);
            put("valeur" + k, fields.fitness[k - 1]);
        }
    }

    /** @param {ScenarioFields} fields */
    function fill(fields) {
        document.getElementById("classes").value = fields.classes;
        document.getElementById("generations").value = fields.generations;
        document.getElementById("graine").value = fields.seed;
        document.getElementById("comparer").checked = fields.compare;
        fillSet("A", fields.a);
        fillSet("B", fields.b);
        update();
    }

    // Alleles past K are greyed, and set B folded while it is off, both kept for later.
    function update() {
        var compare = document.getElementById("comparer").checked;
        document.querySelectorAll("#jeuB .row").forEach(function (row) { row.hidden = !compare; });
        ["A", "B"].forEach(function (set) {
            var on = set === "A" || compare;
            var k = Number(value("jeu" + set + "-alleles"));
            document.querySelectorAll("#jeu" + set + " input:not(#comparer), #jeu" + set + " select").forEach(function (control) {
                var allele = /(urne|valeur)(\d)$/.exec(control.id);
                control.disabled = !on || (allele !== null && Number(allele[2]) > k);
            });
        });
    }

    // The module's field names ("A.urn.2") as the page's ids ("jeuA-urne2").
    function fieldId(name) {
        var parts = name.split(".");
        if (parts.length === 1)
            return { classes: "classes", generations: "generations", seed: "graine" }[name] || null;
        var page = { individuals: "individus", model: "modele", alleles: "alleles", urn: "urne",
            fitness: "valeur", mutation: "mutation", migration: "migration" }[parts[1]];
        return "jeu" + parts[0] + "-" + page + (parts[2] || "");
    }

    /**
     * Marks each refused field and says every refusal under the fields.
     * @param {FieldCheck} check
     */
    function mark(check) {
        document.querySelectorAll("#parametres [aria-invalid]").forEach(function (control) {
            control.removeAttribute("aria-invalid");
            control.removeAttribute("aria-describedby");
        });
        check.refusals.forEach(function (refusal) {
            var id = fieldId(refusal.field);
            // A whole urn ("A.urn"): each of its fields.
            var controls = /urne$/.test(id || "") ? [1, 2, 3, 4].map(function (k) { return document.getElementById(id + k); })
                : [id && document.getElementById(id)];
            controls.forEach(function (control) {
                if (control && !control.disabled) {
                    control.setAttribute("aria-invalid", "true");
                    control.setAttribute("aria-describedby", "refus");
                }
            });
        });
        document.getElementById("refus").textContent = check.refusals.map(function (r) { return r.text; }).join("\n");
    }

    return { build: build, read: read, fill: fill, update: update, mark: mark };
});
