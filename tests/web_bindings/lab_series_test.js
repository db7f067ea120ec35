// « Série de tailles » as the lab page's worker runs it, under node: a series
// run in slices of one step each gives the CSV of one never stopped, its
// progress the share of the whole series; a cancel keeps the sizes done;
// sizes and fields are refused in the window's words.
//   node lab_series_test.js build-web/bin/bocavo-labo-core.js
"use strict";

const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");

const file = path.resolve(process.argv[2]);
const BocavoLabModule = require(file);

// Steps `series` until it is over; the progress of every answer, in order.
function finish(series, state, seconds) {
    const shares = [state.progress];
    while (state.busy) {
        state = series.step(seconds);
        shares.push(state.progress);
    }
    return { state, shares };
}

BocavoLabModule({ wasmBinary: fs.readFileSync(file.replace(/\.js$/, ".wasm")) }).then((M) => {
    const fields = M.defaultFields();
    Object.assign(fields, { classes: "40", generations: "300", seed: "17" });
    Object.assign(fields.a, { model: "wright-fisher", alleles: "2", urn: ["20", "20", "", ""],
        fitness: ["100", "100", "", ""] });
    const sizes = "400,100,200";

    const whole = new M.LabSeries();
    const done = finish(whole, whole.start(fields, sizes), 1e6).state;
    assert.match(done.status, /^Série de tailles terminée : 3 tailles de 40 classes jusqu'à la génération 300\.$/);
    const rows = done.csv.trim().split("\n");
    assert.deepEqual(rows.slice(1).map((r) => r.split(",")[0]), ["100", "200", "400"]);
    assert.equal(done.view.chart.x.labels.map((l) => l.text).join(" "), "100 200 400");

    // A slice of no time still takes one step of the core: many slices.
    const sliced = new M.LabSeries();
    const run = finish(sliced, sliced.start(fields, sizes), 0);
    assert.ok(run.shares.length > 6, `${run.shares.length} slices`);
    assert.deepEqual(run.shares, [...run.shares].sort((a, b) => a - b), "progress never goes back");
    assert.equal(run.state.progress, 1);
    assert.equal(run.state.csv, done.csv, "sliced, the rows of a series never stopped");

    // A cancel once the first size is done keeps it, and says so.
    const stopped = new M.LabSeries();
    let state = stopped.start(fields, sizes);
    while (state.busy && !state.csv)
        state = stopped.step(0);
    assert.equal(stopped.start(fields, sizes).refused, "Attendez la fin du calcul en cours, ou annulez-le.");
    state = stopped.cancel();
    assert.equal(state.busy, false);
    assert.match(state.status, /^Série de tailles annulée : 1 taille sur 3 calculée, gardée dans le tableau\.$/);
    assert.equal(state.csv, rows.slice(0, 2).join("\n") + "\n", "the size done, as the whole series has it");
    assert.equal(stopped.step(0).csv, state.csv, "nothing runs after a cancel");

    const check = (change, typed) => {
        const f = JSON.parse(JSON.stringify(fields));
        change(f);
        return whole.check(f, typed);
    };
    assert.match(check(() => {}, sizes).note, /40 classes par taille, les générations 0 à 300 et la graine 17/);
    assert.equal(check(() => {}, sizes).refused, "");
    assert.equal(check(() => {}, "10,10").refused, "La taille 10 est donnée deux fois dans la série.");
    assert.match(check((f) => { f.classes = "0"; }, sizes).refused, /^Des paramètres sont refusés ; corrigez-les d'abord : « 0 »/);
    assert.match(check((f) => { f.a.urn = ["1", "39", "", ""]; }, "10,20").refused, /l'urne ne peut pas garder les proportions/);
    console.log("lab series: sliced, cancelled and refused as the window's");
}).catch((error) => {
    console.error(error);
    process.exit(1);
});
