// The lab page on a projector's 1024 × 768 screen and on a portrait 768 × 1024
// one: in every view, one chart or « A et B côte à côte », on the desk or in
// « Mode projecteur », no text of a chart leaves its picture or runs into
// another; the two sets' charts share their axes; the projector doubles the
// core's line widths and Échap leaves it. Printed, the view fills a landscape
// page with the run's parameters and the date under it.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

let browser, site;
before(async () => {
    browser = await h.launch();
    const served = await h.startSite('file');
    site = { url: served.prefix + 'labo.html', prefix: served.prefix, close: served.close };
});
after(async () => {
    await browser?.close();
    await site?.close();
});

const tabs = ['ongletClasse', 'ongletClasses', 'ongletFixation', 'ongletHeterozygotie'];

// Sets A and B of four alleles, B larger, run to their end.
async function openWithBothSets(viewport) {
    const session = await h.openPage(browser, site, {
        viewport, ready: (page) => page.waitForSelector('#lancer:enabled', { timeout: 15000 }),
    });
    const { page } = session;
    await page.fill('#classes', '30');
    await page.fill('#generations', '150');
    await page.check('#comparer');
    await page.fill('#jeuB-individus', '60');
    for (let k = 1; k <= 4; ++k)
        await page.fill(`#jeuB-urne${k}`, '30');
    await page.waitForSelector('#lancer:enabled');
    await page.click('#lancer');
    await page.waitForFunction(() => document.getElementById('annuler').disabled &&
        /^Génération/.test(document.getElementById('etat').textContent), null, { timeout: 60000 });
    await page.waitForSelector('#coteACote:enabled');
    return session;
}

// Clicks `id` and waits for the chart drawn again.
async function redrawn(page, id) {
    await page.evaluate(() => { window.previousChart = document.querySelector('#graphique svg'); });
    await page.click(`#${id}`);
    await page.waitForFunction(() => {
        const now = document.querySelector('#graphique svg');
        return now && now !== window.previousChart;
    });
}

// Every text of the charts that is not whole: outside its picture, or over another text.
function cutTexts(page) {
    return page.evaluate(() => {
        const cut = [];
        for (const svg of document.querySelectorAll('#graphique svg')) {
            const frame = svg.getBoundingClientRect();
            const texts = Array.from(svg.querySelectorAll('text')).map((text) => ({
                words: text.textContent, box: text.getBoundingClientRect(),
            }));
            texts.forEach(({ words, box }, i) => {
                if (box.left < frame.left - 0.5 || box.right > frame.right + 0.5 || box.top < frame.top - 0.5 ||
                    box.bottom > frame.bottom + 0.5)
                    cut.push(`« ${words} » leaves the picture`);
                texts.slice(i + 1).forEach((other) => {
                    const wide = Math.min(box.right, other.box.right) - Math.max(box.left, other.box.left);
                    const tall = Math.min(box.bottom, other.box.bottom) - Math.max(box.top, other.box.top);
                    if (wide > 0.5 && tall > 0.5)
                        cut.push(`« ${words} » runs into « ${other.words} »`);
                });
            });
        }
        return cut;
    });
}

for (const viewport of [{ width: 1024, height: 768 }, { width: 768, height: 1024 }]) {
    test(`at ${viewport.width} × ${viewport.height}, every text of every chart whole`, async () => {
        const session = await openWithBothSets(viewport);
        const { page } = session;
        for (const projector of [false, true]) {
            if (projector)
                await redrawn(page, 'modeProjecteur');
            for (const pair of [false, true]) {
                if (pair !== (await page.getAttribute('#coteACote', 'aria-pressed') === 'true'))
                    await redrawn(page, 'coteACote');
                for (const tab of tabs) {
                    if (await page.getAttribute(`#${tab}`, 'aria-selected') !== 'true')
                        await redrawn(page, tab);
                    const where = `${tab}${pair ? ', côte à côte' : ''}${projector ? ', projecteur' : ''}`;
                    assert.equal(await page.locator('#graphique svg').count(), pair ? 2 : 1, where);
                    assert.deepEqual(await cutTexts(page), [], where);
                }
            }
        }
        h.assertClean(session);
        await session.close();
    });
}

test('side by side, each set in its own chart on the same axes; the projector\'s lines and Échap', async () => {
    const session = await openWithBothSets({ width: 1024, height: 768 });
    const { page } = session;
    const drawing = () => page.evaluate(() => Array.from(document.querySelectorAll('#graphique svg')).map((svg) => ({
        labels: Array.from(svg.querySelectorAll('text.graduation')).map((t) => t.textContent),
        dashes: Array.from(svg.querySelectorAll('path')).map((p) => p.getAttribute('stroke-dasharray')),
        widths: Array.from(svg.querySelectorAll('path')).map((p) => Number(p.getAttribute('stroke-width'))),
    })));
    await redrawn(page, 'ongletFixation');
    const one = await drawing(page);
    assert.equal(one.length, 1);
    await redrawn(page, 'coteACote');
    const [a, b] = await drawing(page);
    assert.deepEqual(b.labels, a.labels, 'the same generations and values on both');
    assert.ok(a.dashes.length > 0 && a.dashes.every((d) => d === null), 'A: solid lines only');
    assert.ok(b.dashes.length > 0 && b.dashes.every((d) => d === '8 5'), 'B: dashed lines only');
    assert.equal(a.dashes.length + b.dashes.length, one[0].dashes.length, 'every line of the view, once');
    assert.equal(await page.isDisabled('#vueJeu'), true, 'no set to choose: both are shown');

    await redrawn(page, 'modeProjecteur');
    assert.equal(await page.evaluate(() => document.documentElement.classList.contains('projecteur')), true);
    const [thick] = await drawing(page);
    assert.deepEqual(thick.widths, a.widths.map((w) => 2 * w), 'the core\'s widths, twice over');
    await page.evaluate(() => { window.previousChart = document.querySelector('#graphique svg'); });
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => !document.documentElement.classList.contains('projecteur') &&
        document.querySelector('#graphique svg') !== window.previousChart);
    assert.deepEqual((await drawing(page))[0].widths, a.widths, 'back to the core\'s widths');
    h.assertClean(session);
    await session.close();
});

// The printed page as poppler renders it: the chart takes most of the page's
// width, the parameters of each set, the seed and the date are under it.
test('a printed view fills a landscape page, its parameters and date under it', async () => {
    const session = await openWithBothSets({ width: 1024, height: 768 });
    const { page } = session;
    await page.emulateMedia({ media: 'print' });
    const folder = mkdtempSync(path.join(tmpdir(), 'bocavo-print-'));
    try {
        const pdf = path.join(folder, 'vue.pdf');
        // As the browser prints: the page's own @page rule (landscape) holds.
        await page.evaluate(() => window.dispatchEvent(new Event('beforeprint')));
        writeFileSync(pdf, await page.pdf({ preferCSSPageSize: true }));
        const text = execFileSync('pdftotext', ['-layout', pdf, '-'], { encoding: 'utf8' });
        assert.match(text, /30 classes par jeu, 150 générations, graine 1993\./);
        assert.match(text, /Jeu A : 20 individus/);
        assert.match(text, /Jeu B : 60 individus/);
        assert.match(text, /Imprimé le \d{4}-\d{2}-\d{2} \d{2}:\d{2}/);
        assert.equal(text.split('\f').filter((p) => p.trim()).length, 1, 'one page');
        execFileSync('pdftoppm', ['-r', '30', '-gray', '-singlefile', pdf, path.join(folder, 'vue')]);
        // A binary PGM: its header, then one byte per pixel.
        const pgm = readFileSync(path.join(folder, 'vue.pgm'));
        const [, width, height] = pgm.toString('latin1', 0, 40).match(/^P5\s+(\d+)\s+(\d+)\s+255\s/).map(Number);
        assert.ok(width > height, `landscape: ${width} × ${height}`);
        const pixels = pgm.subarray(pgm.length - width * height);
        // The chart alone: the upper half of the page, above the texts.
        let left = width, right = -1;
        for (let y = 0; y < height / 2; ++y)
            for (let x = 0; x < width; ++x)
                if (pixels[y * width + x] < 200) {
                    left = Math.min(left, x);
                    right = Math.max(right, x);
                }
        assert.ok(right - left > 0.8 * width, `the chart spans ${right - left} of ${width} pixels`);
    } finally {
        rmSync(folder, { recursive: true, force: true });
    }
    h.assertClean(session);
    await session.close();
});
