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

function finish(session, state, seconds) {
    let steps = 0;
    while (state.busy) {
        state = session.step(seconds);
        ++steps;
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
        (f) => {
            Object.assign(f, { classes: "30", generations: "400", compare: true });
            Object.assign(f.a, { individuals: "200", model: "wright-fisher", mutation: "0.005", migration: "0.1" });
            Object.assign(f.a, { urn: ["100", "100", "100", "100"], fitness: ["100", "120", "100", "90"] });
            Object.assign(f.b, { individuals: "60", mutation: "0.01", migration: "0.2" });
            Object.assign(f.b, { urn: ["30", "30", "30", "30"] });
        },
    ];
    for (const change of plans) {
        const f = fields(M, change);
        const whole = new M.LabSession();
        const once = finish(whole, whole.launch(f), 1e6);
        assert.equal(once.steps, 1, "a long enough slice does it all at once");
        const sliced = new M.LabSession();
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
    assert.equal(session.reset().status, "Simulation effacée.");
    assert.equal(session.view("classe", {}), null, "no view without a run");
    assert.match(session.csvPlan(1).error, /^Il n'y a rien à exporter/);
    console.log("lab module: all checks passed");
}).catch((error) => {
    console.error(error);
    process.exit(1);
});
