// The keyboard: access keys of the buttons and the menu, the focus cycle and
// the default button.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as h from './harness.mjs';
import { tabCycle, tabCycleRunning } from './window_tables.mjs';

const openPage = h.sharedSite();

async function press(page, keys) {
    await page.keyboard.press(keys);
    await h.nextFrame(page);
}

const focused = (page) => page.evaluate(() => document.activeElement?.id ?? null);

test('access keys: Alt+S, Alt+G only once enabled, Alt+L, Alt+Q, Alt+? then P or A', async () => {
    const expected = h.expectedScreens(',', ['S', 'G']);
    const session = await openPage();
    const { page } = session;

    await press(page, 'Alt+g');
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.initial), 'Alt+G does nothing at start');
    await press(page, 'Alt+s');
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.steps[0].screen), 'Alt+S runs Simulation');
    await press(page, 'Alt+g');
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.steps[1].screen), 'Alt+G runs Next generation');

    await press(page, 'Alt+l');
    assert.ok(await h.isShown(page, 'legende'), 'Alt+L shows the legend');
    // A click on the main window's caption bar, as a user brings a window back.
    const win = await page.locator('#Tableau').boundingBox();
    await page.mouse.click(win.x + win.width / 2, win.y + 6);
    await h.nextFrame(page);
    assert.ok(await page.evaluate(() => document.activeElement?.closest('#Tableau')),
        'a click on the main window\'s caption bar takes the keyboard focus with it');

    await press(page, 'Alt+q');
    assert.ok(await h.isShown(page, 'quitBox'), 'Alt+Q asks whether to quit');
    await press(page, 'Escape');
    assert.equal(await h.isShown(page, 'quitBox'), false, 'Escape answers Non');

    await press(page, 'Alt+?');
    assert.ok(await h.isShown(page, 'protocole'), 'the main window is still in front: Alt+? opens the ? menu');
    await press(page, 'p');
    assert.ok(await h.isShown(page, 'aprotocole'), 'P chooses Protocole');
    await h.raiseMain(page);
    await press(page, 'Alt+?');
    await press(page, 'a');
    assert.ok(await h.isShown(page, 'apropos'), 'A chooses A propos...');

    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.steps[1].screen), 'the run is untouched');
    h.assertClean(session);
    await session.close();
});

// Tab from the first stop around the cycle and back again with Shift+Tab.
async function checkCycle(page, cycle) {
    await page.focus(`#${cycle[0]}`);
    const forward = [];
    for (let i = 0; i < cycle.length; ++i) {
        await page.keyboard.press('Tab');
        forward.push(await focused(page));
    }
    assert.deepEqual(forward, [...cycle.slice(1), cycle[0]], 'Tab goes round the cycle');
    const backward = [];
    for (let i = 0; i < cycle.length; ++i) {
        await page.keyboard.press('Shift+Tab');
        backward.push(await focused(page));
    }
    assert.deepEqual(backward, [...cycle].reverse(), 'Shift+Tab goes round it backward');
}

test('tab order: grids and buttons only, Next generation skipped while disabled', async () => {
    const session = await openPage();
    const { page } = session;
    await checkCycle(page, tabCycle);
    await h.click(page, 'Simuler');
    await checkCycle(page, tabCycleRunning);

    // The grids take the focus but not typing.
    const shown = await h.readScreen(page);
    for (const grid of ['Tableau_Parent', 'Tableau_Enfant']) {
        await page.focus(`#${grid}`);
        for (const key of ['9', 'Backspace', 'Delete', 'ArrowDown', 'x'])
            await page.keyboard.press(key);
    }
    await h.nextFrame(page);
    assert.deepEqual(await h.readScreen(page), shown, 'the grids are read-only');
    h.assertClean(session);
    await session.close();
});

test('Simulation is the default or the cancel button', async () => {
    const expected = h.expectedScreens(',', ['S']);
    const session = await openPage();
    const { page } = session;
    await page.focus('#Tableau_Parent');
    await press(page, 'Enter');
    const byEnter = (await h.readScreen(page)).parents[0][0] !== 0;
    if (!byEnter) {
        await page.focus('#Tableau_Parent');
        await press(page, 'Escape');
    }
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.steps[0].screen),
        'Enter or Escape in the window runs Simulation');
    h.assertClean(session);
    await session.close();
});
