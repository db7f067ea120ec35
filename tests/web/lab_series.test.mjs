// « Série de tailles » on the lab page, opened from the disk: a small series
// gives the CSV bytes of `bocavo-labo --scenario F --serie …` for the same
// settings, its chart places each size with its label N; sizes are refused in
// the desktop's words; « Annuler la série » stops a long one at once.
//   BOCAVO_LAB_CLI  the native bocavo-labo
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

const cli = process.env.BOCAVO_LAB_CLI;

let browser, root;
before(async () => {
    browser = await h.launch();
    root = await mkdtemp(path.join(tmpdir(), 'bocavo-serie-'));
});
const prefix = pathToFileURL(h.config.site + path.sep).href;
const openLab = () => h.openPage(browser, { url: prefix + 'labo.html', prefix },
    { ready: (page) => page.waitForSelector('#lancer:enabled', { timeout: 15000 }) });
after(async () => {
    await browser?.close();
    if (root)
        await rm(root, { recursive: true, force: true });
});

// The ideal model, so that theory's share of classes with a loss is given too.
const ideal = (classes, generations, seed) => ['format = 1', `classes = ${classes}`, `generations = ${generations}`,
    `seed = ${seed}`, 'sets = A', '', '[A]', 'individuals = 20', 'model = wright-fisher', 'alleles = 2',
    'urn = 20, 20', 'fitness = 100, 100', 'mutation = 0', 'migration = 0', ''].join('\n');

async function openScenario(page, text) {
    await page.setInputFiles('#fichierScenario', { name: 'serie.scenario', mimeType: 'text/plain', buffer: Buffer.from(text) });
    await page.waitForFunction(() => document.getElementById('etat').textContent.includes('serie.scenario'));
}

async function launchSeries(page, sizes) {
    await page.fill('#taillesSerie', sizes);
    await page.waitForSelector('#lancerSerie:enabled');
    await page.click('#lancerSerie');
}

test('a small series gives the command line\'s CSV bytes, drawn against N', async () => {
    const session = await openLab();
    const { page } = session;
    const text = ideal(12, 40, 31);
    await openScenario(page, text);
    await page.waitForFunction(() => document.getElementById('serieReglages').textContent.includes('12 classes par taille'));
    await launchSeries(page, '40,10,20');
    await page.waitForFunction(() => document.getElementById('etatSerie').textContent.startsWith('Série de tailles terminée'),
        null, { timeout: 60000 });
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#exporterSerieCsv')]);
    const shown = await readFile(await download.path());

    const file = path.join(root, 'serie.scenario');
    const out = path.join(root, 'serie.csv');
    await writeFile(file, text);
    execFileSync(cli, ['--scenario', file, '--serie', '10,20,40', '--csv', out], { stdio: 'ignore' });
    const desktop = await readFile(out);
    assert.equal(shown.toString().split('\n').length, 5, 'the headings, three sizes and the end of the file');
    assert.ok(shown.equals(desktop), `the page's series is the command line's, byte for byte:\n${shown}\n${desktop}`);

    // The x axis names the sizes, in order, and each size has its discs.
    const labels = await page.$$eval('#graphiqueSerie svg text', (texts) => texts.map((t) => t.textContent));
    const at = ['10', '20', '40'].map((n) => labels.indexOf(n));
    assert.ok(at.every((i) => i >= 0) && at[0] < at[1] && at[1] < at[2], `sizes labelled in order: ${labels}`);
    assert.equal(await page.$$eval('#graphiqueSerie svg circle', (c) => c.length) >= 3 * 4, true);
    assert.match(await page.textContent('#lignesSerie'), /^N = 10 : \d+ classes? sur 12 avec un allèle perdu/);
    // The rows as the window's table shows them, and copied as a spreadsheet
    // takes them: the CSV's numbers, with the reader's decimal sign.
    const cells = await page.$$eval('#tableauSerie tr', (rows) => rows.map((r) => [...r.cells].map((c) => c.textContent)));
    assert.equal(cells.length, 4, 'headings, then one row per size');
    assert.deepEqual(cells.slice(1).map((r) => r[0]), ['10', '20', '40']);
    await page.evaluate(() => {
        window.copied = null;
        navigator.clipboard.writeText = (copied) => { window.copied = copied; return Promise.resolve(); };
    });
    await page.click('#copierTableauSerie');
    await page.waitForFunction(() => document.getElementById('etatSerie').textContent.startsWith('Tableau copié'));
    const copied = (await page.evaluate(() => window.copied)).trimEnd().split('\n').map((r) => r.split('\t'));
    const csvRows = shown.toString().trimEnd().split('\n').map((r) => r.split(','));
    assert.deepEqual(copied.slice(1).map((r) => r.map((c) => c.replace(',', '.'))), csvRows.slice(1),
        'the copied rows are the CSV\'s numbers');
    assert.deepEqual(cells.slice(1), copied.slice(1).map((r) => r.map((c) => c.replace('.', ','))),
        'the table shows what is copied, with a decimal comma');
    // The pupils' words in sight, the teacher's folded away, both the core's.
    assert.match(await page.textContent('#motsSerie'), /à N = 10, \d+ % des classes ont perdu un allèle en 40 générations/);
    assert.equal(await page.isVisible('#motsProfesseurSerie'), false);
    assert.match(await page.textContent('#motsProfesseurSerie'), /Part attendue : la chaîne de Wright-Fisher exacte/);
    h.assertClean(session);
    await session.close();
});

test('sizes are refused in the desktop\'s words, and Annuler stops a long series', async () => {
    const session = await openLab();
    const { page } = session;
    for (const [sizes, words] of [['10,10', 'La taille 10 est donnée deux fois dans la série.'],
        ['10', 'Une série compare au moins 2 tailles']]) {
        await page.fill('#taillesSerie', sizes);
        await page.waitForFunction((w) => document.getElementById('messageSerie').textContent.includes(w), words);
        assert.equal(await page.isDisabled('#lancerSerie'), true, sizes);
    }
    await openScenario(page, ideal(300, 5000, 3));
    await launchSeries(page, '2000,4000,8000');
    await page.waitForFunction(() => document.getElementById('progressionSerie').value > 0, null, { timeout: 30000 });
    assert.equal(await page.isDisabled('#lancer'), true, 'one runner: the run waits for the series');
    const asked = Date.now();
    await page.click('#annulerSerie');
    await page.waitForFunction(() => document.getElementById('etatSerie').textContent.startsWith('Série de tailles annulée'));
    assert.ok(Date.now() - asked < 2000, 'the cancel takes effect within a slice or two');
    assert.equal(await page.isDisabled('#lancerSerie'), false);
    assert.equal(await page.isDisabled('#lancer'), false);
    h.assertClean(session);
    await session.close();
});

// On a slow machine the module answers late: until then the lab takes no
// input, so that nothing reads fields that do not exist yet (typing sizes or
// clicking « Lancer » early threw in the page).
test('before its module answers, the lab page takes no input', async () => {
    const context = await browser.newContext({ locale: 'fr-FR', viewport: { width: 1024, height: 768 } });
    await context.addInitScript(() => {
        const Real = window.Worker;
        window.Worker = class extends Real {
            set onmessage(handler) {
                super.onmessage = (event) => setTimeout(() => handler(event), 1500);
            }
        };
    });
    const page = await context.newPage();
    const problems = [];
    page.on('pageerror', (error) => problems.push(error.message));
    await page.goto(prefix + 'labo.html');
    assert.equal(await page.evaluate(() => document.getElementById('labo').inert), true);
    assert.equal(await page.isDisabled('#lancer'), true);
    await page.click('#lancer', { force: true });
    await page.click('#lancerSerie', { force: true });
    await page.click('#taillesSerie', { force: true });
    await page.keyboard.type('10,20');
    await page.waitForSelector('#lancer:enabled', { timeout: 15000 });
    assert.equal(await page.evaluate(() => document.getElementById('labo').inert), false);
    assert.equal(await page.inputValue('#taillesSerie'), '10,20,50,100,200', 'nothing was typed into it');
    assert.deepEqual(problems, []);
    await context.close();
});
