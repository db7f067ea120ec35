// axe-core over the page in each of its states: nothing serious or critical.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';
import * as h from './harness.mjs';

const axeSource = readFileSync(h.requireWeb.resolve('axe-core/axe.min.js'), 'utf8');

const openPage = h.sharedSite();

// Serious and critical findings, one line each with the elements concerned.
async function seriousFindings(page) {
    // Evaluated in the page, not fetched by it: the page itself requests nothing.
    if (!(await page.evaluate(() => 'axe' in window)))
        await page.evaluate(axeSource);
    const violations = await page.evaluate(async () => {
        const result = await window.axe.run(document, { resultTypes: ['violations'] });
        return result.violations.map((v) => ({
            id: v.id,
            impact: v.impact,
            help: v.help,
            targets: v.nodes.map((n) => n.target.join(' ')),
        }));
    });
    return violations
        .filter((v) => v.impact === 'serious' || v.impact === 'critical')
        .map((v) => `${v.impact} ${v.id} (${v.help}): ${v.targets.join(', ')}`);
}

test('accessibility: start, a run, each auxiliary window, the Quit box, the end', async () => {
    const session = await openPage();
    const { page } = session;
    const findings = {};
    const look = async (state) => {
        findings[state] = await seriousFindings(page);
    };

    await look('start');
    await h.click(page, 'Simuler');
    await h.click(page, 'GenSuiv');
    await look('after Simulation and Next generation');
    for (const win of ['legende', 'aprotocole', 'Cadeau', 'apropos']) {
        await h.openWindow(page, win);
        await look(`with ${win} open`);
    }
    await h.click(page, 'quit');
    await look('Quit box');
    await h.click(page, 'quitBox-yes');
    await page.waitForSelector('#ended', { state: 'visible' });
    await look('ended');

    const serious = Object.entries(findings).filter(([, list]) => list.length);
    assert.deepEqual(serious, [], 'axe-core: serious or critical findings');
    h.assertClean(session);
    await session.close();
});
