// The lab page from a copy of the site in a folder whose name has spaces and
// accents, opened from the disk: runs of every force give the same CSV bytes,
// and the same reproducing scenario, as the desktop (set A alone against
// `bocavo-labo --scenario F --csv x.csv`, sets A and B against the window's
// export, made by lab_export from the same core); a large file comes in parts
// with the desktop's warning and « une génération sur K »; a run can be
// cancelled; fields and files are refused in French; the pupils' words show
// with the teacher's folded away, and a notice while edits wait for « Lancer »;
// axe-core finds nothing.
//   BOCAVO_LAB_CLI     the native bocavo-labo
//   BOCAVO_LAB_EXPORT  the native lab_export (tests/web/lab_export.cpp)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cp, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

const cli = process.env.BOCAVO_LAB_CLI;
const exporter = process.env.BOCAVO_LAB_EXPORT;
const axeSource = await readFile(h.requireWeb.resolve('axe-core/axe.min.js'), 'utf8');

let browser, root, site;
before(async () => {
    browser = await h.launch();
    root = await mkdtemp(path.join(tmpdir(), 'bocavo-labo-'));
    const copy = path.join(root, 'Clé USB #2', 'Laboratoire (élèves)');
    await cp(h.config.site, copy, { recursive: true });
    const prefix = pathToFileURL(copy + path.sep).href;
    site = { url: prefix + 'labo.html', prefix };
});
after(async () => {
    await browser?.close();
    if (root)
        await rm(root, { recursive: true, force: true });
});

const labReady = (page) => page.waitForSelector('#lancer:enabled', { timeout: 15000 });

function openLab(options = {}) {
    return h.openPage(browser, site, { ready: labReady, ...options });
}

// A scenario's text: the common keys, then each set's seven.
function scenario({ classes, generations, seed = 1993, a, b }) {
    const set = (name, s) => [`[${name}]`, `individuals = ${s.individuals}`, `model = ${s.model}`,
        `alleles = ${s.urn.length}`, `urn = ${s.urn.join(', ')}`, `fitness = ${s.fitness.join(', ')}`,
        `mutation = ${s.mutation}`, `migration = ${s.migration}`].join('\n');
    return ['format = 1', `classes = ${classes}`, `generations = ${generations}`, `seed = ${seed}`,
        `sets = ${b ? 'A, B' : 'A'}`, '', set('A', a), b ? '\n' + set('B', b) : '', ''].join('\n');
}

const classroom = { individuals: 20, model: 'protocole', urn: [10, 10, 10, 10], fitness: [100, 100, 100, 100],
    mutation: 0, migration: 0 };

async function openScenario(page, text, name = 'lecon.scenario') {
    await page.setInputFiles('#fichierScenario', { name, mimeType: 'text/plain', buffer: Buffer.from(text) });
    await page.waitForFunction((n) => document.getElementById('etat').textContent.includes(n), name);
}

// Runs a command to its end: the status then says how it ended.
async function run(page, button, timeout = 60000) {
    await page.click(`#${button}`);
    await page.waitForFunction(() => {
        const status = document.getElementById('etat').textContent;
        return document.getElementById('annuler').disabled &&
            /^(Génération|Toutes les classes|Arrêt)/.test(status);
    }, null, { timeout });
}

async function downloaded(page, selector) {
    const [download] = await Promise.all([page.waitForEvent('download', { timeout: 60000 }), page.click(selector)]);
    return readFile(await download.path());
}

// The page's CSV file and the scenario beside it, keeping one generation in `every`.
async function pageCsv(page, every = 1) {
    await page.click('#exporterCsv');
    await page.waitForSelector('#csv:not([hidden])');
    if (every > 1) {
        await page.check('#csvUneSur');
        await page.fill('#uneSurK', String(every));
    }
    const csv = await downloaded(page, '#csvEcrire');
    const beside = await downloaded(page, '#scenarioDuCsv');
    return { csv, beside };
}

// The desktop's: the command line for set A alone, the window's export otherwise.
async function desktopCsv(text, name, { both = false, command = 'launch', every = 1 } = {}) {
    const file = path.join(root, `${name}-lecon.scenario`);
    const out = path.join(root, `${name}.csv`);
    await writeFile(file, text);
    if (both || command !== 'launch')
        execFileSync(exporter, [file, out, command, String(every)]);
    else
        execFileSync(cli, ['--scenario', file, '--csv', out, '--every', String(every)], { stdio: 'ignore' });
    return { csv: await readFile(out), beside: await readFile(path.join(root, `${name}.scenario`)) };
}

// Every force, both models, sets A and B, "Lancer" and "Jusqu'à fixation".
const runs = [
    { name: 'classroom', plan: { classes: 12, generations: 60, a: classroom } },
    { name: 'selection-ideal', button: 'jusquAFixation', command: 'fixation',
        plan: { classes: 10, generations: 20, seed: 7, a: { individuals: 60, model: 'wright-fisher', urn: [90, 30],
            fitness: [100, 110], mutation: 0, migration: 0 } } },
    { name: 'mutation-selection', plan: { classes: 8, generations: 50, seed: 42, a: { individuals: 50,
        model: 'protocole', urn: [34, 33, 33], fitness: [100, 100, 120], mutation: 0.01, migration: 0 } } },
    { name: 'migration-every-force', plan: { classes: 6, generations: 45, seed: 4242, a: { individuals: 30,
        model: 'wright-fisher', urn: [15, 15, 15, 15], fitness: [100, 90, 100, 125], mutation: 0.002,
        migration: 0.1 } } },
    { name: 'two-sets', both: true, plan: { classes: 5, generations: 30, seed: 11, a: classroom,
        b: { individuals: 200, model: 'protocole', urn: [200, 100, 50, 50], fitness: [100, 100, 105, 100],
            mutation: 0.001, migration: 0.05 } } },
];

test('runs of every force give the desktop\'s CSV bytes and reproducing scenario', async () => {
    const session = await openLab();
    const { page } = session;
    for (const r of runs) {
        const text = scenario(r.plan);
        await openScenario(page, text, `${r.name}.scenario`);
        await run(page, r.button || 'lancer');
        const shown = await pageCsv(page);
        const desktop = await desktopCsv(text, r.name, { both: r.both, command: r.command || 'launch' });
        assert.ok(shown.csv.length > 1000, `${r.name}: a CSV of some length`);
        assert.ok(shown.csv.equals(desktop.csv), `${r.name}: the page's CSV is the desktop's, byte for byte`);
        assert.equal(shown.beside.toString(), desktop.beside.toString(), `${r.name}: the scenario beside it`);
    }
    h.assertClean(session);
    await session.close();
});

test('a large file: the desktop\'s warning, one generation in K, built from parts', async () => {
    const session = await openLab();
    const { page } = session;
    const text = scenario({ classes: 1000, generations: 2000, seed: 5, a: classroom });
    await openScenario(page, text, 'grand.scenario');
    await run(page, 'lancer', 120000);
    await page.click('#exporterCsv');
    await page.waitForSelector('#csvChoix:not([hidden])');
    assert.match(await page.textContent('#csvTaille'),
        /^Le fichier CSV de toutes les générations ferait 1\d\d Mo\. Vous pouvez l'écrire quand même, ou ne garder qu'une génération sur K/);
    const every = Number(await page.inputValue('#uneSurK'));
    assert.ok(every >= 2, 'a K is offered');
    const parts = [];
    await page.exposeFunction('bocavoTestPart', (length) => parts.push(length));
    await page.evaluate(() => {
        const original = Blob;
        window.Blob = function (pieces, options) {
            if (options && options.type && options.type.startsWith('text/csv'))
                window.bocavoTestPart(pieces.length);
            return new original(pieces, options);
        };
    });
    const shown = await pageCsv(page, every);
    const desktop = await desktopCsv(text, 'grand', { every });
    assert.ok(shown.csv.equals(desktop.csv), 'one generation in K: the desktop\'s bytes');
    assert.equal(shown.beside.toString(), desktop.beside.toString());
    assert.ok(parts[0] > 1, `the file is a Blob of several parts (${parts[0]})`);
    h.assertClean(session);
    await session.close();
});

test('Annuler stops a long run at once and keeps whole generations', async () => {
    const session = await openLab();
    const { page } = session;
    await openScenario(page, scenario({ classes: 1000, generations: 32767, a: classroom }), 'long.scenario');
    await page.click('#lancer');
    await page.waitForFunction(() => document.getElementById('progression').value > 0);
    assert.equal(await page.isDisabled('#annuler'), false);
    const asked = Date.now();
    await page.click('#annuler');
    await page.waitForFunction(() => document.getElementById('etat').textContent.startsWith('Calcul annulé'));
    assert.ok(Date.now() - asked < 2000, 'the cancel takes effect within a slice or two');
    assert.match(await page.textContent('#etat'),
        /^Calcul annulé à la génération [\d\u00a0 ]+ : les générations déjà calculées sont conservées\.$/);
    assert.equal(await page.isDisabled('#lancer'), false);
    assert.equal(await page.isDisabled('#generationSuivante'), false);
    h.assertClean(session);
    await session.close();
});

test('fields and files are refused in the desktop\'s words, and nothing runs', async () => {
    const session = await openLab();
    const { page } = session;
    const cases = [
        { id: 'classes', value: '0', text: '« 0 » ne convient pas pour le nombre de classes : il faut un nombre entier de 1 à 1 000.' },
        { id: 'jeuA-individus', value: '15', text: 'A : « 15 » ne convient pas pour le nombre d\'individus : il faut un multiple de 10 de 10 à 10 000.' },
        { id: 'jeuA-mutation', value: '0,5', text: 'A : « 0,5 » ne convient pas pour le taux de mutation : il faut un nombre décimal de 0 à 0,1, avec une virgule ou un point (0,01).' },
    ];
    for (const c of cases) {
        const before = await page.inputValue(`#${c.id}`);
        await page.fill(`#${c.id}`, c.value);
        await page.waitForFunction((t) => document.getElementById('refus').textContent === t, c.text);
        assert.equal(await page.getAttribute(`#${c.id}`, 'aria-invalid'), 'true', c.id);
        assert.equal(await page.isDisabled('#lancer'), true, `${c.id}: Lancer waits for sound fields`);
        await page.fill(`#${c.id}`, before);
        await page.waitForFunction(() => document.getElementById('refus').textContent === '');
    }
    // More balls than 2N make a source population; fewer cannot found the class.
    await page.fill('#jeuA-urne1', '9');
    await page.waitForFunction(() => document.getElementById('refus').textContent !== '');
    assert.match(await page.textContent('#refus'), /^A : .*urne.*39/);
    assert.equal(await page.getAttribute('#jeuA-urne3', 'aria-invalid'), 'true', 'the whole urn is marked');
    await page.fill('#jeuA-urne1', '10');
    // A usual case of genotype fitness fills its field, which is refused beside
    // four alleles and says which case it holds.
    await page.selectOption('#jeuA-genotypes-cas', { label: 'récessif létal' });
    assert.equal(await page.inputValue('#jeuA-genotypes'), '100, 100, 0');
    await page.waitForFunction(() => document.getElementById('refus').textContent.includes('2 allèles (et non 4)'));
    assert.equal(await page.getAttribute('#jeuA-genotypes', 'aria-invalid'), 'true');
    await page.fill('#jeuA-genotypes', '90,100,80');
    assert.equal(await page.$eval('#jeuA-genotypes-cas', (c) => c.selectedOptions[0].text), 'avantage de l\'hétérozygote');
    await page.fill('#jeuA-genotypes', '');
    await page.waitForFunction(() => document.getElementById('refus').textContent === '');
    await page.setInputFiles('#fichierScenario', { name: 'faux.scenario', mimeType: 'text/plain',
        buffer: Buffer.from('format = 1\nclasses = 5000\n') });
    await page.waitForFunction(() => document.getElementById('etat').textContent.startsWith('Le scénario'));
    assert.match(await page.textContent('#etat'),
        /^Le scénario « faux\.scenario » n'a pas été ouvert ; les paramètres restent tels quels\. .*ligne 2/);
    assert.equal(await page.inputValue('#classes'), '30', 'the fields are as they were');
    h.assertClean(session);
    await session.close();
});

test('under a view, the pupils\' words with the teacher\'s folded away; a notice while the fields wait for Lancer', async () => {
    const session = await openLab();
    const { page } = session;
    assert.equal(await page.isHidden('#attente'), true, 'no notice before a run');
    await run(page, 'lancer');
    await page.click('#ongletHeterozygotie');
    await page.waitForFunction(() => document.getElementById('motsEleves').textContent !== '');
    const pupil = await page.textContent('#motsEleves');
    assert.ok(await page.isVisible('#motsEleves p'), 'the pupils\' words are in sight');
    assert.ok(!pupil.includes('='), `no formula for the pupils: ${pupil}`);
    assert.equal(await page.evaluate(() => document.getElementById('detailsProfesseur').open), false,
        'the teacher\'s details start closed');
    assert.equal(await page.isVisible('#motsProfesseur'), false);
    assert.equal(await page.textContent('#detailsProfesseur summary'), 'Détails pour le professeur');
    await page.click('#detailsProfesseur summary');
    assert.ok(await page.isVisible('#motsProfesseur'));
    assert.match(await page.textContent('#motsProfesseur'), /Ne = /);

    // 40 individuals with the urn of 20: refused until the urn holds 80 balls.
    await page.fill('#jeuA-individus', '40');
    await page.waitForSelector('#attente:not([hidden])');
    assert.match(await page.textContent('#attente'), /ils s'appliqueront au prochain « Lancer », une fois corrigés\.$/);
    for (const k of [1, 2, 3, 4])
        await page.fill(`#jeuA-urne${k}`, '20');
    await page.waitForFunction(() => document.getElementById('attente').textContent.includes('20 → 40'));
    assert.match(await page.textContent('#attente'),
        /^Ces paramètres ne sont pas ceux de la simulation affichée \(.*\) : ils s'appliqueront au prochain « Lancer »\.$/);
    assert.equal(await page.evaluate(() => document.getElementById('attente').parentElement.getAttribute('aria-live')),
        'polite', 'read out as it appears');
    await page.click('#lancer');
    await page.waitForSelector('#attente', { state: 'hidden', timeout: 60000 });
    assert.equal(await page.textContent('#attente'), '');
    await page.fill('#jeuA-mutation', '0,01');
    await page.waitForSelector('#attente:not([hidden])');
    assert.ok(await page.evaluate(() => document.getElementById('detailsProfesseur').open),
        'the details stay as the teacher left them');
    h.assertClean(session);
    await session.close();
});

// What the page drew: the marks where N changes, and each line's pen.
function drawing(page) {
    return page.evaluate(() => ({
        marks: Array.from(document.querySelectorAll('#graphique line.changementTaille'))
            .map((l) => [Number(l.dataset.generation), l.getAttribute('stroke-dasharray')]),
        pens: Array.from(document.querySelectorAll('#graphique path'))
            .map((p) => [p.getAttribute('stroke'), p.getAttribute('stroke-dasharray')]),
        ticks: document.querySelector('#graphique text[text-anchor="middle"][font-size="14"]').textContent,
    }));
}

test('the core\'s view on the page: N\'s changes marked, a colour per allele, set B dashed, the zoom the core\'s', async () => {
    const session = await openLab();
    const { page } = session;
    await page.fill('#classes', '5');
    await page.fill('#generations', '100');
    await page.fill('#jeuA-histoire', '20:10, 25:200');
    await page.check('#comparer');
    await run(page, 'lancer');
    await page.waitForSelector('#graphique svg path');
    const alleles = ['#D55E00', '#0072B2', '#009E73', '#CC79A7'];
    const a = await drawing(page);
    assert.deepEqual(a.marks, [[20, '6 4'], [25, '6 4']], 'a dashed mark at each change of N');
    assert.deepEqual(a.pens, alleles.map((c) => [c, null]), 'set A: one solid line per allele, in its colour');
    await page.selectOption('#vueJeu', '1');
    await page.waitForFunction(() => document.querySelector('#graphique path').getAttribute('stroke-dasharray'));
    assert.deepEqual((await drawing(page)).pens, alleles.map((c) => [c, '8 5']), 'set B: the same colours, dashed');

    // Zoomed in, the core draws the middle of the run and offers « Toute la simulation ».
    assert.equal(await page.isDisabled('#vueEntiere'), true);
    await page.click('#zoomPlus');
    await page.waitForSelector('#vueEntiere:enabled');
    assert.equal((await drawing(page)).ticks, '25', 'twice closer: generations 25 to 75');
    await page.click('#vueEntiere');
    await page.waitForSelector('#vueEntiere:disabled');
    assert.equal((await drawing(page)).ticks, '0');

    // « Génotypes »: a genotype's pale band is as pale in its legend entry.
    await page.click('#ongletGenotypes');
    await page.waitForSelector('#graphique path[stroke-opacity]');
    assert.deepEqual(await page.evaluate(() => ['path', 'line'].map((what) =>
        document.querySelector(`#graphique ${what}[stroke="#D55E00"]`).getAttribute('stroke-opacity'))),
    ['0.35', '0.35'], 'the band of 11, then its legend entry');
    h.assertClean(session);
    await session.close();
});

test('« Copier le tableau » gives the view\'s numbers with a decimal comma; a classroom class opens in Bocavo', async () => {
    const session = await openLab();
    const { page } = session;
    await page.fill('#classes', '5');
    await page.fill('#generations', '20');
    await page.fill('#graine', '77');
    await run(page, 'lancer');
    await page.fill('#vueClasse', '3');
    await page.press('#vueClasse', 'Tab');
    await page.waitForFunction(() => document.getElementById('ouvrirDansBocavo').getAttribute('href')
        .endsWith('#groupe=3&graine=77'));
    assert.equal(await page.isVisible('#ouvrirDansBocavo'), true);
    assert.equal(await page.getAttribute('#ouvrirDansBocavo', 'href'), 'index.html#groupe=3&graine=77');

    await page.evaluate(() => {
        window.copied = null;
        navigator.clipboard.writeText = (text) => { window.copied = text; return Promise.resolve(); };
    });
    await page.click('#copierTableau');
    await page.waitForFunction(() => document.getElementById('etat').textContent.startsWith('Tableau copié'));
    assert.equal(await page.textContent('#etat'), 'Tableau copié : 21 lignes.');
    const rows = (await page.evaluate(() => window.copied)).trimEnd().split('\n').map((r) => r.split('\t'));
    assert.equal(rows.length, 22, 'headings, then generations 0 to 20');
    assert.ok(rows.every((r) => r.length === 5), 'the generation, then the four alleles');
    assert.deepEqual(rows.slice(1).map((r) => Number(r[0])), Array.from({ length: 21 }, (_, g) => g));
    const numbers = rows.slice(1).flatMap((r) => r.slice(1));
    assert.ok(numbers.every((n) => /^\d+(,\d+)?$/.test(n)), `percentages with a comma: ${numbers}`);
    assert.ok(numbers.some((n) => n.includes(',')), 'some share is not whole (2N = 40 copies)');

    // The ideal model is no classroom: nothing to open.
    await page.selectOption('#jeuA-modele', 'wright-fisher');
    await run(page, 'lancer');
    await page.waitForSelector('#ouvrirDansBocavo', { state: 'hidden' });
    h.assertClean(session);
    await session.close();
});

// Serious and critical findings of axe-core, in each state the page shows.
async function seriousFindings(page) {
    if (!(await page.evaluate(() => 'axe' in window)))
        await page.evaluate(axeSource);
    return page.evaluate(async () => {
        const result = await window.axe.run(document, { resultTypes: ['violations'] });
        return result.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
            .map((v) => `${v.impact} ${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
    });
}

test('by keyboard and by touch on a Chromebook and a tablet, with nothing for axe-core', async () => {
    for (const viewport of [{ width: 1366, height: 768 }, { width: 1024, height: 768 }, { width: 768, height: 1024 }]) {
        const session = await openLab({ viewport, hasTouch: viewport.width < 1366 });
        const { page } = session;
        const where = `${viewport.width}×${viewport.height}`;
        assert.deepEqual(await seriousFindings(page), [], `${where}: axe-core at the start`);
        // Tab reaches Lancer; Enter runs it.
        let focused = '';
        for (let i = 0; i < 80 && focused !== 'lancer'; ++i) {
            await page.keyboard.press('Tab');
            focused = await page.evaluate(() => document.activeElement.id);
        }
        assert.equal(focused, 'lancer', `${where}: Tab reaches Lancer`);
        await page.keyboard.press('Enter');
        await page.waitForFunction(() => document.getElementById('etat').textContent.startsWith('Génération'));
        for (const tab of ['ongletClasses', 'ongletFixation', 'ongletHeterozygotie', 'ongletGenotypes', 'ongletClasse']) {
            if (viewport.width < 1366)
                await page.tap(`#${tab}`);
            else
                await page.click(`#${tab}`);
            await page.waitForSelector('#graphique svg path');
            assert.equal(await page.getAttribute(`#${tab}`, 'aria-selected'), 'true');
        }
        const overflow = await page.evaluate(() => document.documentElement.scrollWidth - innerWidth);
        assert.ok(overflow <= 0, `${where}: nothing beyond the screen's width (${overflow} px)`);
        assert.deepEqual(await seriousFindings(page), [], `${where}: axe-core after a run`);
        h.assertClean(session);
        await session.close();
    }
});
