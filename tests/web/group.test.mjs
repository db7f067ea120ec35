// Each group its own draw in the page: the address's #groupe=K&graine=S and
// the « Groupe n° » field start the run where the native core starts group K
// of seed S (the desktop's `bocavo --groupe K --graine S`), and a bad value
// gets the desktop's French refusal.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as h from './harness.mjs';

const openPage = h.sharedSite();
const clicks = ['S', 'G', 'G', 'G', 'S', 'G'];
const button = { S: 'Simuler', G: 'GenSuiv' };
const groupRange = ' ne convient pas pour le groupe : il faut un nombre entier de 1 à 1 000.';

// The main window's own title, which a group's number follows.
const title = "Variation de Frequences d'Allèles";
const caption = (page) => page.locator('#Tableau .title').textContent();

async function playAndCompare(page, expected, where) {
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.initial), `${where}: at start`);
    for (const [i, step] of expected.steps.entries()) {
        await h.click(page, button[step.click]);
        assert.deepEqual(await h.readScreen(page), h.shownPart(step.screen), `${where}: after click ${i + 1}`);
    }
}

test('#groupe=K&graine=S shows group K of seed S, screen after screen', async () => {
    const today = h.expectedScreens(',', clicks);
    for (const [group, seed] of [[7, 1993], [613, 0], [1000, 4294967295]]) {
        const expected = h.expectedScreens(',', [`--groupe=${group}`, `--graine=${seed}`, ...clicks]);
        assert.notDeepEqual(expected.steps[0].screen, today.steps[0].screen, 'another draw than group 1');
        const session = await openPage({ fragment: `#groupe=${group}&graine=${seed}` });
        assert.equal(await caption(session.page), `${title} — groupe ${group}`);
        assert.equal(await session.page.title(), `${title} — groupe ${group}`);
        assert.equal(await session.page.inputValue('#groupeNumero'), String(group));
        await playAndCompare(session.page, expected, `groupe ${group}, graine ${seed}`);
        h.assertClean(session);
        await session.close();
    }
});

test('a bad group in the address is refused in French; the program does not start', async () => {
    for (const [fragment, said] of [
        ['#groupe=0', '« 0 »' + groupRange],
        ['#groupe=7&graine=-1',
            '« -1 » ne convient pas pour la graine : il faut un nombre entier de 0 à 4 294 967 295.'],
        ['#groupe', "L'option --groupe attend une valeur."],
    ]) {
        const session = await openPage({ fragment, usable: false });
        const { page } = session;
        await page.waitForSelector('#errorBox', { state: 'visible' });
        assert.ok((await page.locator('#errorBox').textContent()).includes(said), `${fragment}: ${said}`);
        assert.equal(await page.locator('#Tableau').count(), 0, `${fragment}: no window`);
        await h.click(page, 'errorBox-ok');
        await page.waitForSelector('#restart', { state: 'visible' });
        h.assertClean(session);
        await session.close();
    }
});

test('« Groupe n° » restarts on that group; a refused number leaves the run as it was', async () => {
    const session = await openPage();
    const { page } = session;
    assert.equal(await caption(page), title);
    await h.click(page, 'Simuler');
    const before = await h.readScreen(page);

    await page.fill('#groupeNumero', '1001');
    await page.press('#groupeNumero', 'Enter');
    await h.nextFrame(page);
    assert.equal(await page.locator('#groupeRefus').textContent(), '« 1001 »' + groupRange);
    assert.deepEqual(await h.readScreen(page), before, 'the run goes on untouched');
    assert.equal(await caption(page), title);

    await page.fill('#groupeNumero', '7');
    await page.click('#groupe button');
    await h.waitUsable(page);
    assert.equal(await page.locator('#groupeRefus').textContent(), '');
    assert.equal(await caption(page), `${title} — groupe 7`);
    assert.match(page.url(), /#groupe=7$/);
    await playAndCompare(page, h.expectedScreens(',', ['--groupe=7', ...clicks]), 'groupe 7 du champ');
    h.assertClean(session);
    await session.close();
});
