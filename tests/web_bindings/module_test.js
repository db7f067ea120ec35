// The module the page loads, under node: the layout table the page is drawn
// from, and the run-control session behind the buttons. Run as
//   node module_test.js build-web/bin/bocavo-core.js
"use strict";

const assert = require("node:assert/strict");
const path = require("node:path");

const BocavoModule = require(path.resolve(process.argv[2]));

const checks = [];
function check(name, body) {
    checks.push({ name, body });
}

// Percent values of frequency texts such as "22,5%" or "25%".
function percents(texts, separator) {
    return texts.map((t) => {
        assert.match(t, /^\d+([.,]\d+)?%$/, `frequency text ${JSON.stringify(t)}`);
        if (t.includes(".") || t.includes(",")) assert.ok(t.includes(separator), `${t} uses ${separator}`);
        return Number(t.slice(0, -1).replace(",", "."));
    });
}

check("the layout table holds every control of every window, boxes at twips / 15", (M) => {
    const table = M.layout();
    const expected = {
        Tableau: ["Label5", "Label6", "Tableau_Parent", "Tableau_Enfant", "Frame2", "Frame1",
            "Simuler", "GenSuiv", "Command1"].concat(
            Array.from({ length: 18 }, (_, i) => `Label${i + 1}`).filter((n) => n !== "Label5" && n !== "Label6")),
        legende: ["Shape1", "Shape2", "Shape3", "Shape4", "Label1", "Label3", "Label4", "Label5"],
        aprotocole: ["Label1", "Text1", "Text2", "Command1", "Label2"],
        apropos: ["Text1", "Command1"],
        Cadeau: ["Picture1", "Command1"],
    };
    for (const [window, names] of Object.entries(expected)) {
        assert.deepEqual(Object.keys(table[window].controls).sort(), names.slice().sort(), window);
        for (const name of names) {
            const box = table[window].controls[name].box;
            assert.deepEqual([box.left, box.top, box.width, box.height],
                box.twips.map((t) => Math.round(t / 15)), `${window} ${name}`);
        }
    }
    assert.deepEqual(table.Tableau.client, { width: 576, height: 568 });
    assert.deepEqual(table.legende.client, { width: 288, height: 142 });
});

check("texts arrive whole, accents and spacing included", (M) => {
    const table = M.layout();
    assert.equal(table.Tableau.title, "Variation de Frequences d'Allèles");
    assert.equal(table.Tableau.controls.Label5.text, "Génération mère :");
    assert.equal(table.Tableau.controls.GenSuiv.text, "&Génération suivante");
    assert.equal(table.Tableau.controls.Tableau_Enfant.rowPrefix, "Enfant  ");
    assert.equal(table.Cadeau.title, "Bravo ta gagné une photo de Mr. Brastel !!!");
    assert.match(table.aprotocole.controls.Text1.text, /sont {2}les frequences allèliques dans la \r\n/);
    assert.ok(table.apropos.controls.Text1.text.endsWith(
        "PS : Pour ceux qui savent chercher, il y a une petite surprise ...\r\n"));
    assert.equal(table.messages.quitQuestion, "Etes-vous sur de vouloir quitter ?");
    assert.equal(table.legende.controls.Shape1.colour, "#FFC080");
});

check("a session starts empty, and Simulation breeds from the founders", (M) => {
    const session = new M.Session(",");
    const start = session.screen();
    assert.equal(start.generation, 0);
    assert.equal(start.simulerEnabled, true);
    assert.equal(start.genSuivEnabled, false);
    assert.ok(start.children.every((row) => row[0] === 0 && row[1] === 0));

    const first = session.simulation();
    assert.equal(first.error, undefined);
    assert.equal(first.generation, 1);
    assert.equal(first.genSuivEnabled, true);
    assert.deepEqual(first.parentFrequencies, ["25 %", "25 %", "25 %", "25 %"]);
    assert.equal(percents(first.childFrequencies, ",").reduce((a, b) => a + b), 100);
    assert.ok(first.children.every((row) => row.every((a) => a >= 1 && a <= 4)));

    const second = session.nextGeneration();
    assert.equal(second.generation, 2);
    assert.deepEqual(second.parentFrequencies, first.childFrequencies);
    assert.equal(second.childCaption, "Fréquence Allèliques à la génération n°2");
    session.delete();
});

check("every session is a fresh program start: the same clicks give the same screens", (M) => {
    const run = (separator) => {
        const session = new M.Session(separator);
        const screens = [session.simulation(), session.nextGeneration(), session.nextGeneration()];
        session.delete();
        return screens;
    };
    const a = run(",");
    const b = run(",");
    assert.deepEqual(a, b);
    // Only the separator differs under another language.
    const english = run(".");
    english.forEach((screen, i) => {
        assert.deepEqual(screen.children, a[i].children);
        assert.deepEqual(screen.childFrequencies, a[i].childFrequencies.map((t) => t.replace(",", ".")));
    });
});

check("a group's session plays that group's own draw; group 1 of 1993 is the default", (M) => {
    const run = (...args) => {
        const session = new M.Session(...args);
        const screens = [session.simulation(), session.nextGeneration()];
        session.delete();
        return screens;
    };
    const today = run(",");
    assert.deepEqual(run(",", 1, 1993), today);
    const seventh = run(",", 7, 1993);
    assert.notDeepEqual(seventh, today);
    assert.deepEqual(run(",", 7, 1993), seventh);
    assert.notDeepEqual(run(",", 7, 4294967295), seventh);
    const table = M.layout().Tableau;
    assert.deepEqual([table.groupTitle, table.firstGroup, table.lastGroup], [" — groupe ", 1, 1000]);
});

check("an engine error comes back as French text, and the session lives on", (M) => {
    const session = new M.Session(",");
    session.simulation();
    let last = null;
    for (let n = 1; n < 32767; ++n) last = session.nextGeneration();
    assert.equal(last.generation, 32767);
    assert.equal(last.genSuivEnabled, false);
    const failed = session.nextGeneration();
    assert.equal(typeof failed.error, "string");
    assert.match(failed.error, /[a-zé]{4,}/i);
    assert.equal(session.screen().generation, 32767);
    session.delete();
});

BocavoModule().then((M) => {
    let failures = 0;
    for (const { name, body } of checks) {
        try {
            body(M);
            console.log(`ok - ${name}`);
        } catch (error) {
            failures += 1;
            console.log(`not ok - ${name}\n${error.stack}`);
        }
    }
    process.exitCode = failures ? 1 : 0;
});
