// The lab module the page's worker holds, under node: a command run in slices
// (a step of the core at least: about 32 768 class-generations of 20), or cancelled and taken up again, gives the numbers of one
// never stopped; the commands answer with the window's texts and refusals.
//   node lab_module_test.js build-web/bin/bocavo-labo-core.js
"use strict";

const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");

const file = path.resolve(process.argv[2]);
const BocavoLabModule = require(file);

// The whole CSV file of the session's run, from its parts.
function csv(session, every = 1) {
    const plan = session.csvPlan(every);
    assert.equal(plan.error, undefined, plan.error);
    let text = "";
    for (let part = session.csvPart(); ; part = session.csvPart()) {
        text += part.text;
        if (part.done)
            return { text, plan };
    }
}

// Runs the command to its end in slices of `seconds`; the progress bar only
// ever moves forward, whatever the slices.
function finish(session, state, seconds) {
    let steps = 0;
    let progress = 0;
    while (state.busy) {
        state = session.step(seconds);
        ++steps;
        assert.ok(state.progress >= progress, `progress went back: ${progress} then ${state.progress}`);
        progress = state.progress;
    }
    return { state, steps };
}

function fields(M, change) {
    const f = M.defaultFields();
    change(f);
    return f;
}

BocavoLabModule({ wasmBinary: fs.readFileSync(file.replace(/\.js$/, ".wasm")) }).then((M) => {
    // Every force, linked classes, both sets: the cases where a slice could
    // cut a generation in two.
    const plans = [
        (f) => { f.classes = "200"; f.generations = "1000"; },
        // A bottleneck: the number of copies changes between two slices.
        (f) => {
            Object.assign(f, { classes: "200", generations: "1000" });
            Object.assign(f.a, { individuals: "100", model: "wright-fisher", history: "20:10, 25:100" });
            Object.assign(f.a, { urn: ["50", "50", "50", "50"] });
        },
        (f) => {
            Object.assign(f, { classes: "30", generations: "400", compare: true });
            Object.assign(f.a, { individuals: "200", model: "wright-fisher", mutation: "0.005", migration: "0.1" });
            Object.assign(f.a, { urn: ["100", "100", "100", "100"], fitness: ["100", "120", "100", "90"] });
            Object.assign(f.b, { individuals: "60", mutation: "0.01", migration: "0.2" });
            Object.assign(f.b, { urn: ["30", "30", "30", "30"] });
        },
    ];
    // The size history is a field like the others: written into the scenario,
    // read back from it, refused in the core's words.
    const bottleneck = fields(M, (f) => Object.assign(f.a, { model: "wright-fisher", history: "20:10, 25:100" }));
    const saved = M.checkFields(bottleneck, "");
    assert.equal(saved.refusals.length, 0, JSON.stringify(saved.refusals));
    assert.match(saved.text, /^history = 20:10, 25:100$/m);
    assert.equal(M.openScenario(saved.text, "goulot.scenario").fields.a.history, "20:10, 25:100");
    const wrong = M.checkFields(fields(M, (f) => { f.a.history = "20:0"; }), "");
    assert.deepEqual(wrong.refusals.map((r) => r.field), ["jeuA-histoire"]);
    assert.match(wrong.refusals[0].text, /^A : /);
    // So are the genotypes' fitness and its usual cases; a set they do not
    // fit is refused on their field, and classes that died out are said.
    const cases = M.parameterTable().find((entry) => entry.key === "genotypes").presets;
    assert.deepEqual(cases.find((c) => c.name === "récessif létal"), { name: "récessif létal", value: "100, 100, 0" });
    const lethal = fields(M, (f) => {
        Object.assign(f, { classes: "3", generations: "5" });
        Object.assign(f.a, { alleles: "2", urn: ["0", "40", "", ""], genotypes: "100,100,0" });
    });
    const lethalSaved = M.checkFields(lethal, "");
    assert.equal(lethalSaved.refusals.length, 0, JSON.stringify(lethalSaved.refusals));
    assert.match(lethalSaved.text, /^genotypes = 100, 100, 0$/m);
    assert.equal(M.openScenario(lethalSaved.text, "letal.scenario").fields.a.genotypes, "100, 100, 0");
    const extinct = new M.LabSession();
    assert.match(finish(extinct, extinct.launch(lethal), 1e6).state.status, /3 classes se sont éteintes/);
    const fourAlleles = M.checkFields(fields(M, (f) => { f.a.genotypes = "100, 50, 0"; }), "");
    assert.deepEqual(fourAlleles.refusals.map((r) => r.field), ["jeuA-genotypes"]);
    assert.match(fourAlleles.refusals[0].text, /ne valent que pour 2 allèles/);

    for (const change of plans) {
        const f = fields(M, change);
        const whole = new M.LabSession();
        const once = finish(whole, whole.launch(f), 1e6);
        assert.equal(once.steps, 1, "a long enough slice does it all at once");
        const sliced = new M.LabSession();
        if (!f.compare) {
            // The bar says how far the run is, not how far the slice is.
            const watched = new M.LabSession();
            let state = watched.launch(f);
            for (let i = 0; i < 3 && state.busy; ++i) {
                state = watched.step(0);
                const reached = Number(/génération (\d+)/.exec(state.runLabel)[1]);
                assert.ok(Math.abs(state.progress - reached / Number(f.generations)) < 0.01,
                    `progress ${state.progress} at generation ${reached} of ${f.generations}`);
            }
            watched.cancel();
        }
        const many = finish(sliced, sliced.launch(f), 0);
        assert.ok(many.steps > 3, `the smallest slices take several steps (${many.steps})`);
        assert.equal(many.state.status, once.state.status);
        assert.equal(csv(sliced).text, csv(whole).text, "sliced: the same file");

        // Cancelled after a few slices, then launched again: it goes on from there.
        const stopped = new M.LabSession();
        let state = stopped.launch(f);
        for (let i = 0; i < 2; ++i)
            state = stopped.step(0);
        state = stopped.cancel();
        assert.match(state.status, /^Calcul annulé (à la génération|avant la première génération)/);
        assert.equal(state.enabled.lancer, true);
        finish(stopped, stopped.launch(f), 0.01);
        assert.equal(csv(stopped).text, csv(whole).text, "cancelled and resumed: the same file");
    }

    // Génération suivante and Jusqu'à fixation, as the window says them.
    const session = new M.LabSession();
    assert.equal(session.nextGeneration().refused,
        "Lancez d'abord une simulation : il n'y a pas encore de génération.");
    const small = fields(M, (f) => { f.classes = "5"; f.generations = "10"; });
    assert.equal(finish(session, session.launch(small), 1).state.status, "Génération 10 atteinte dans 5 classes.");
    assert.equal(finish(session, session.nextGeneration(), 1).state.status, "Génération 11.");
    assert.match(finish(session, session.untilFixation(small), 1).state.status,
        /^Toutes les classes n'ont plus qu'un allèle à la génération \d+\.$/);

    // The views' words are the core's: plain words for pupils, the formulas for the teacher.
    const drift = session.view("heterozygotie", {}).notes;
    assert.equal(drift.length, 1);
    assert.equal(drift[0].lead, "", "no set's name without a comparison");
    assert.ok(drift[0].pupil.length > 0 && !drift[0].pupil.includes("="), drift[0].pupil);
    assert.match(drift[0].teacher, /Ne = /);
    assert.deepEqual(session.view("classe", {}).notes, [], "nothing said of one class");
    assert.match(session.view("classes", {}).notes[0].pupil, /^À la génération \d+, /);
    assert.match(session.view("graphique", {}).error, /^Cette vue n'existe pas/, "an unknown view is said, not guessed");

    // The core's view as it is: one colour per allele, set B dashed, the
    // generations where N changes, the page's zoom and width taken.
    const shaped = new M.LabSession();
    finish(shaped, shaped.launch(fields(M, (f) => {
        Object.assign(f, { classes: "4", generations: "1000", compare: true });
        f.a.history = "20:10, 25:200";
    })), 1);
    const alleleColours = ["#D55E00", "#0072B2", "#009E73", "#CC79A7"];
    for (const [set, stroke] of [[0, "solid"], [1, "dashed"]]) {
        const lines = shaped.view("classe", { set, classNumber: 2 }).chart.lines;
        assert.deepEqual(lines.map((l) => [l.colour, l.stroke, l.set, l.classNumber]),
            alleleColours.map((c) => [c, stroke, set, 2]), `set ${set}: the alleles' colours and the set's stroke`);
    }
    const whole = shaped.view("fixation", { columns: 1000 });
    assert.deepEqual(Array.from(whole.chart.sizeChanges), [20, 25]);
    assert.equal(whole.commands.wholeRun, false);
    assert.deepEqual(whole.notes.map((n) => n.lead), ["A", "B"]);
    assert.equal(whole.chart.lines[0].x.length, 1001, "every generation while 4 a column fit");
    assert.ok(shaped.view("fixation", { columns: 50 }).chart.lines[0].x.length <= 4 * 50, "reduced to 50 columns");
    // « Génotypes »: each genotype beside its Hardy–Weinberg term in one colour,
    // the observed band the wider, each set in its stroke; its table beside it.
    const genotypes = shaped.view("genotypes", { columns: 1000 }).chart.lines;
    assert.deepEqual(genotypes.slice(0, 4).map((l) => [l.role, l.name, l.colour, l.stroke]), [
        ["genotype", "A : 11 (p₁²)", alleleColours[0], "solid"], ["hardyWeinberg", "", alleleColours[0], "solid"],
        ["genotype", "A : 22 (p₂²)", alleleColours[1], "solid"], ["hardyWeinberg", "", alleleColours[1], "solid"]]);
    assert.deepEqual(genotypes.slice(18).map((l) => [l.name, l.stroke]),
        [["B : hétérozygotes (1 − Σ p²)", "dashed"], ["", "dashed"]], "a comparison names each genotype once");
    assert.ok(genotypes[0].width > genotypes[1].width && genotypes[0].opacity < 1, "a pale band, a thin line");
    const genotypeRows = shaped.table("genotypes", {}, ",").text.split("\n");
    assert.equal(genotypeRows[0].split("\t")[1], "A : 11 observés");
    assert.equal(genotypeRows.length, 1 + 1001 + 1, "every generation, and the last line's end");
    const zoomed = shaped.view("classe", { zoom: { first: 0, last: 22 } });
    assert.deepEqual([zoomed.generations, zoomed.commands.wholeRun, zoomed.last], [{ first: 0, last: 22 }, true, 1000]);
    assert.deepEqual(Array.from(zoomed.chart.sizeChanges), [20], "only the changes on show");
    assert.equal(zoomed.chart.lines[0].x[zoomed.chart.lines[0].x.length - 1], 22);
    assert.equal(shaped.view("classe", { zoom: { first: -5, last: 99999 } }).shown.zoom, null,
        "a zoom past the run is the whole run");

    // Fields edited after a run: the notice names the change until « Lancer » runs them,
    // a run continued to more generations included.
    const edited = new M.LabSession();
    const longer = fields(M, (f) => { f.classes = "5"; f.generations = "30"; });
    assert.equal(edited.pending(longer), "", "no notice without a run");
    finish(edited, edited.launch(small), 1);
    assert.equal(edited.pending(small), "", "the fields are the run on display");
    assert.match(edited.pending(longer), /^Ces paramètres ne sont pas ceux de la simulation affichée \(.*10 → 30.*\)/);
    const refused = fields(M, (f) => { f.classes = "5"; f.generations = "zéro"; });
    assert.match(edited.pending(refused), /une fois corrigés\.$/);
    const further = finish(edited, edited.launch(longer), 1).state;
    assert.equal(further.status, "Génération 30 atteinte dans 5 classes.");
    assert.equal(edited.pending(longer), "", "continued to the new last generation: nothing awaits");
    const compared = fields(M, (f) => { Object.assign(f, { classes: "5", generations: "10", compare: true }); });
    finish(edited, edited.launch(compared), 1);
    assert.deepEqual(edited.view("fixation", { set: 1 }).notes.map((w) => w.lead), ["A", "B"]);
    edited.reset();
    assert.equal(edited.pending(longer), "", "nothing on display after a reset");
    assert.equal(session.reset().status, "Simulation effacée.");
    assert.equal(session.view("classe", {}), null, "no view without a run");
    assert.match(session.csvPlan(1).error, /^Il n'y a rien à exporter/);
    console.log("lab module: all checks passed");
}).catch((error) => {
    console.error(error);
    process.exit(1);
});
