// Keys and focus as on the desktop program: an access key clicks without
// taking the focus, Enter goes to the default button, the menu gives the
// focus back, a modal box keeps it, Escape closes the window in front as the
// window manager's Alt+F4 does.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as h from './harness.mjs';

const openPage = h.sharedSite();

async function press(page, ...keys) {
    for (const key of keys) {
        await page.keyboard.press(key);
        await h.nextFrame(page);
    }
}

const focused = (page) => page.evaluate(() => {
    const e = document.activeElement;
    return e === document.body || !e ? 'body' : e.id || e.getAttribute('data-name') || e.tagName;
});

test('an access key clicks without taking the focus; Enter then presses Simulation, Space nothing', async () => {
    const expected = h.expectedScreens(',', ['S', 'G', 'G', 'S', 'G']);
    const session = await openPage();
    const { page } = session;
    await press(page, 'Alt+s', 'Alt+g', 'Alt+g', 'Enter');
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.steps[3].screen),
        'Alt+S, Alt+G, Alt+G, Enter: generation 1, as on the desktop');
    assert.equal(await focused(page), 'Tableau_Parent', 'the focus stayed on the parents\' grid');
    await press(page, 'Alt+g', ' ');
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.steps[4].screen),
        'Alt+G then Space: one generation, not two');
    h.assertClean(session);
    await session.close();
});

test('the ? menu gives the focus back; a click outside the Quit box leaves the focus in it', async () => {
    const session = await openPage();
    const { page } = session;
    await press(page, 'Alt+?');
    assert.ok(await h.isShown(page, 'help-menu'), 'Alt+? opens the menu');
    await press(page, 'Escape', 'Escape');
    assert.equal(await h.isShown(page, 'help-menu'), false, 'Escape closes it');
    assert.equal(await focused(page), 'Tableau_Parent', 'and the focus is back where it was');

    // An access key the menu does not use closes it and goes to the window.
    await press(page, 'Alt+?', 'Alt+s');
    assert.equal(await h.isShown(page, 'help-menu'), false, 'Alt+S closes the menu');
    assert.equal(await focused(page), 'Tableau_Parent', 'the focus is back on the grid');
    assert.notEqual((await h.readScreen(page)).parents[0][0], 0, 'and Alt+S ran Simulation');

    await press(page, 'Alt+q');
    assert.ok(await h.isShown(page, 'quitBox'), 'Alt+Q asks');
    await page.mouse.click(3, 3);
    await h.nextFrame(page);
    assert.equal(await focused(page), 'quitBox-yes', 'a click beside the box leaves the focus on Oui');
    await press(page, 'Tab');
    assert.equal(await focused(page), 'quitBox-no', 'Tab goes to Non');
    await press(page, 'Enter');
    assert.equal(await h.isShown(page, 'quitBox'), false, 'Enter answers the focused Non');
    assert.equal(await focused(page), 'Tableau_Parent', 'the focus comes back to the window');
    h.assertClean(session);
    await session.close();
});

test('Escape closes the window in front, as Alt+F4; the caption\'s close button stays out of the Tab cycle', async () => {
    const session = await openPage();
    const { page } = session;
    await press(page, 'Alt+l');
    assert.ok(await h.isShown(page, 'legende'), 'Alt+L shows the legend');
    for (let i = 0; i < 4; ++i) {
        await press(page, 'Tab');
        assert.notEqual(await focused(page), 'legende-close', 'Tab never reaches the close button');
    }
    await press(page, 'Escape');
    assert.equal(await h.isShown(page, 'legende'), false, 'Escape closes the legend');
    assert.equal(await focused(page), 'Tableau_Parent', 'the main window has the keys again');
    await press(page, 'Alt+?', 'p', 'Escape');
    assert.equal(await h.isShown(page, 'aprotocole'), false, 'and the protocol window');
    assert.ok(await h.isShown(page, 'Tableau'), 'the main window stays');
    h.assertClean(session);
    await session.close();
});
