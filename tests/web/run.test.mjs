// The page shows what the desktop program shows for the same clicks: grids,
// frequency texts, frame captions and command states, screen after screen,
// compared with the native run-control core.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as h from './harness.mjs';

const openPage = h.sharedSite();

// A run with a second Simulation after several generations, which must bring
// the founding texts and generations 0 and 1 back.
const clicks = ['S', 'G', 'G', 'G', 'S', 'G', 'G'];
const button = { S: 'Simuler', G: 'GenSuiv' };

// Clicks the sequence and checks every screen against the core's.
async function playAndCompare(page, expected, how = h.click) {
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.initial), 'screen at start');
    for (const [i, step] of expected.steps.entries()) {
        await how(page, button[step.click]);
        assert.deepEqual(await h.readScreen(page), h.shownPart(step.screen),
            `screen after click ${i + 1} (${clicks.slice(0, i + 1).join(' ')})`);
    }
}

test('same clicks, same screens as the native program; Quit, Oui and a new start give them again', async () => {
    const expected = h.expectedScreens(',', clicks);
    const session = await openPage({ locale: 'fr-FR' });
    const { page } = session;
    await playAndCompare(page, expected);

    await h.click(page, 'quit');
    await h.click(page, 'quitBox-yes');
    await page.waitForSelector('#restart', { state: 'visible' });
    await h.click(page, 'restart');
    await h.waitUsable(page);
    await playAndCompare(page, expected);

    await page.reload();
    await h.waitUsable(page);
    await playAndCompare(page, expected);
    h.assertClean(session);
    await session.close();
});

// Enough generations for odd allele counts, so that a separator shows.
const localeClicks = ['S', 'G', 'G', 'G', 'G', 'G'];

for (const [locale, separator] of [['fr-FR', ','], ['en-US', '.']]) {
    test(`${locale}: frequencies written with "${separator}" (e.g. 22${separator}5%)`, async () => {
        const expected = h.expectedScreens(separator, localeClicks);
        const texts = expected.steps.flatMap((s) => s.screen.childFrequencies);
        assert.ok(texts.some((t) => t.includes(separator)), 'the clicks reach a frequency with a decimal part');
        const session = await openPage({ locale });
        for (const [i, step] of expected.steps.entries()) {
            await h.click(session.page, button[step.click]);
            const seen = await h.readScreen(session.page);
            assert.deepEqual(
                [seen.parentFrequencies, seen.childFrequencies],
                [step.screen.parentFrequencies, step.screen.childFrequencies],
                `frequencies after click ${i + 1}`);
        }
        h.assertClean(session);
        await session.close();
    });
}

test('taps work like clicks on a touch screen', async () => {
    const expected = h.expectedScreens(',', ['S', 'G']);
    const session = await openPage({ hasTouch: true, viewport: { width: 915, height: 412 } });
    await playAndCompare(session.page, expected, async (page, id) => {
        await page.tap(`#${id}`);
        await h.nextFrame(page);
    });
    h.assertClean(session);
    await session.close();
});

// A click sent by a script, which a disabled button does not stop.
const dispatchClick = (page, id) => page.evaluate((name) => {
    document.getElementById(name).dispatchEvent(new MouseEvent('click', { bubbles: true }));
}, id);

test('a script\'s click on a disabled command does nothing', async () => {
    const expected = h.expectedScreens(',', ['S']);
    const session = await openPage();
    const { page } = session;
    assert.equal(expected.initial.genSuivEnabled, false, 'Next generation is off before a Simulation');
    await dispatchClick(page, 'GenSuiv');
    await h.nextFrame(page);
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.initial), 'the screen is untouched');
    assert.equal(await h.isShown(page, 'errorBox'), false, 'and nothing fails');
    await dispatchClick(page, 'Simuler');
    await h.nextFrame(page);
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.steps[0].screen), 'an enabled one runs');
    h.assertClean(session);
    await session.close();
});

test('the last generation: 32767 is reached like the desktop, then Next generation stays off', async () => {
    const expected = h.expectedScreens(',', ['S', 'G32765', 'G']);
    const [, before, last] = expected.steps.map((step) => step.screen);
    assert.equal(last.generation, 32767);
    assert.equal(last.genSuivEnabled, false, 'the native core refuses a generation 32768');

    const session = await openPage();
    const { page } = session;
    await h.click(page, 'Simuler');
    // Clicked as fast as the page takes it: each command ends by enabling the
    // button again. Bounded, in case the page stops enabling it too early.
    const clicked = await page.evaluate(async (count) => {
        const genSuiv = document.getElementById('GenSuiv');
        const deadline = performance.now() + 120000;
        let n = 0;
        while (n < count && performance.now() < deadline) {
            if (genSuiv.disabled) {
                await new Promise((r) => setTimeout(r, 0));
                continue;
            }
            genSuiv.click();
            ++n;
        }
        return n;
    }, 32765);
    assert.equal(clicked, 32765);
    await h.nextFrame(page);
    assert.deepEqual(await h.readScreen(page), h.shownPart(before), 'generation 32766 as the core has it');
    await h.click(page, 'GenSuiv');
    assert.deepEqual(await h.readScreen(page), h.shownPart(last), 'generation 32767, Next generation off');
    await page.keyboard.press('Alt+g');
    const genSuiv = await page.locator('#GenSuiv').boundingBox();
    await page.mouse.click(genSuiv.x + genSuiv.width / 2, genSuiv.y + genSuiv.height / 2);
    await dispatchClick(page, 'GenSuiv');
    await h.nextFrame(page);
    assert.deepEqual(await h.readScreen(page), h.shownPart(last), 'nothing goes past the last generation');
    assert.equal(await h.isShown(page, 'errorBox'), false, 'and nothing fails');
    h.assertClean(session);
    await session.close();
});
