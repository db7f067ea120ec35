// The auxiliary windows' rules (one of each, OK hides, close discards, the
// gift corner), dragging and stacking, and the Quit box.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as h from './harness.mjs';
import { giftCorner, px, quitBox } from './window_tables.mjs';

const openPage = h.sharedSite();

// Marks a window's element, so that the next look tells the same instance
// from a new one.
const mark = (page, id) => page.evaluate((w) => { document.getElementById(w).bocavoProbe = true; }, id);
const marked = (page, id) => page.evaluate((w) => document.getElementById(w)?.bocavoProbe === true, id);
const count = (page, id) => page.locator(`#${id}`).count();

async function assertOne(page, id, message) {
    assert.ok(await h.isShown(page, id), `${message}: shown`);
    assert.equal(await count(page, id), 1, `${message}: one window`);
}

test('legend: one window however often asked for; its close button discards it', async () => {
    const expected = h.expectedScreens(',', ['S']);
    const session = await openPage();
    const { page } = session;
    await h.click(page, 'Simuler');
    await h.openWindow(page, 'legende');
    await mark(page, 'legende');
    await h.click(page, 'Command1');
    await assertOne(page, 'legende', 'Légende twice');
    assert.ok(await marked(page, 'legende'), 'the second request shows the same window');

    await h.click(page, 'legende-close');
    assert.equal(await h.isShown(page, 'legende'), false, 'closed');
    await h.click(page, 'Command1');
    await assertOne(page, 'legende', 'after closing');
    assert.equal(await marked(page, 'legende'), false, 'a closed window comes back new');
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.steps[0].screen), 'the main window is untouched');
    h.assertClean(session);
    await session.close();
});

// Lines of the About text whose part after a tab does not start where the
// others' do, measured in a copy of the box with its font and tab stops.
const tabStops = (page) => page.evaluate(() => {
    const box = document.getElementById('apropos-Text1');
    const style = getComputedStyle(box);
    const copy = document.createElement('div');
    for (const p of ['font', 'tabSize', 'whiteSpace', 'width', 'padding', 'letterSpacing'])
        copy.style[p] = style[p];
    copy.style.position = 'absolute';
    document.body.appendChild(copy);
    const starts = [];
    for (const line of box.value.split('\n').filter((l) => l.includes('\t'))) {
        const at = line.lastIndexOf('\t');
        copy.textContent = '';
        copy.append(line.slice(0, at + 1));
        const rest = document.createElement('span');
        rest.textContent = line.slice(at + 1);
        copy.append(rest);
        starts.push([line, rest.getBoundingClientRect().left - copy.getBoundingClientRect().left]);
    }
    copy.remove();
    const first = starts[0][1];
    return starts.filter(([, x]) => Math.abs(x - first) > 0.5).map(([line, x]) => `${x.toFixed(1)} px: ${line}`);
});

for (const win of ['aprotocole', 'apropos']) {
    test(`${win}: OK hides and the next request shows the same window; close discards it`, async () => {
        const session = await openPage();
        const { page } = session;
        await h.openWindow(page, win);
        await mark(page, win);
        await h.openWindow(page, win);
        await assertOne(page, win, 'asked for twice');
        assert.ok(await marked(page, win), 'the second request shows the same window');

        await h.click(page, `${win}-Command1`);
        assert.equal(await h.isShown(page, win), false, 'OK hides');
        await h.openWindow(page, win);
        await assertOne(page, win, 'after OK');
        assert.ok(await marked(page, win), 'after OK the same window comes back');

        await h.click(page, `${win}-close`);
        assert.equal(await h.isShown(page, win), false, 'closed');
        await h.openWindow(page, win);
        await assertOne(page, win, 'after closing');
        assert.equal(await marked(page, win), false, 'a closed window comes back new');
        if (win === 'apropos') {
            const scroll = await page.locator('#apropos-Text1').evaluate((e) => [e.scrollTop, e.clientHeight, e.scrollHeight]);
            assert.ok(scroll[2] > scroll[1], `the About text is longer than its box: ${scroll}`);
            assert.equal(scroll[0], 0, 'About opens at its top, on "Bocavo, version 3.3"');
            assert.deepEqual(await tabStops(page), [], 'every text after a tab starts on a tab stop');
        }
        h.assertClean(session);
        await session.close();
    });
}

test('gift corner: only the corner opens the gift window, one of it; OK hides, close discards', async () => {
    const session = await openPage();
    const { page } = session;
    await h.openWindow(page, 'aprotocole');
    // Just outside the corner piece, left of it and above it: nothing.
    await h.clickProtocolCorner(page, px(giftCorner.width) + 3, 3);
    await h.clickProtocolCorner(page, 3, px(giftCorner.height) + 3);
    assert.equal(await h.isShown(page, 'Cadeau'), false, 'a click beside the corner does nothing');
    // Inside it, at its far inner edge and in its corner.
    await h.clickProtocolCorner(page, px(giftCorner.width) - 2, px(giftCorner.height) - 2);
    await assertOne(page, 'Cadeau', 'corner clicked');
    await mark(page, 'Cadeau');
    await page.locator('#aprotocole-Label2').dispatchEvent('click');
    await assertOne(page, 'Cadeau', 'corner clicked twice');
    assert.ok(await marked(page, 'Cadeau'), 'the second click shows the same window');

    await h.click(page, 'Cadeau-Command1');
    assert.equal(await h.isShown(page, 'Cadeau'), false, 'OK !!! hides');
    await page.locator('#aprotocole-Label2').dispatchEvent('click');
    assert.ok(await marked(page, 'Cadeau'), 'after OK the same window comes back');

    await h.click(page, 'Cadeau-close');
    assert.equal(await h.isShown(page, 'Cadeau'), false, 'closed');
    await page.locator('#aprotocole-Label2').dispatchEvent('click');
    await assertOne(page, 'Cadeau', 'after closing');
    assert.equal(await marked(page, 'Cadeau'), false, 'a closed window comes back new');

    await h.click(page, 'aprotocole-close');
    assert.ok(await h.isShown(page, 'Cadeau'), 'closing the protocol window leaves the gift window open');
    assert.ok(await h.isShown(page, 'Tableau'), 'and the main window');
    h.assertClean(session);
    await session.close();
});

test('windows move by their caption bar, stay modeless, and a click brings the main window in front', async () => {
    const expected = h.expectedScreens(',', ['S']);
    const session = await openPage();
    const { page } = session;
    await h.openWindow(page, 'legende');
    const before = await page.locator('#legende').boundingBox();
    const client = await page.locator('#legende-Label1').evaluate((e) => e.offsetParent.getBoundingClientRect().top);
    assert.ok(client - before.y >= 8, 'the legend has a caption bar above its client area');
    const grip = { x: before.x + 20, y: (before.y + client) / 2 };

    // Drag it over the middle of the main window.
    const main = await page.locator('#Tableau').boundingBox();
    const dx = Math.round(main.x + main.width / 2 - before.x);
    const dy = Math.round(main.y + main.height / 3 - before.y);
    await page.mouse.move(grip.x, grip.y);
    await page.mouse.down();
    await page.mouse.move(grip.x + dx / 2, grip.y + dy / 2, { steps: 4 });
    await page.mouse.move(grip.x + dx, grip.y + dy, { steps: 4 });
    await page.mouse.up();
    const moved = await page.locator('#legende').boundingBox();
    assert.ok(Math.abs(moved.x - before.x - dx) <= 1 && Math.abs(moved.y - before.y - dy) <= 1,
        `dragged by (${dx}, ${dy}): from ${JSON.stringify(before)} to ${JSON.stringify(moved)}`);

    const centre = { x: moved.x + moved.width / 2, y: moved.y + moved.height / 2 };
    const onTop = (point) => page.evaluate(({ x, y }) => {
        const e = document.elementFromPoint(x, y);
        return e?.closest('#Tableau') ? 'Tableau' : e?.closest('#legende') ? 'legende' : e?.id ?? null;
    }, point);
    assert.equal(await onTop(centre), 'legende', 'the legend is in front after its move');

    await h.click(page, 'Simuler'); // modeless: the main window works meanwhile
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.steps[0].screen), 'Simulation ran');
    assert.equal(await onTop(centre), 'Tableau', 'a click brings the main window in front');
    assert.ok(await h.isShown(page, 'legende'), 'the legend stays open behind it');
    h.assertClean(session);
    await session.close();
});

// Presses a window's caption bar near its left end, where it holds no
// button, as a drag starts.
async function pressCaption(page, id) {
    const bar = await page.locator(`#${id} > .caption`).boundingBox();
    await page.mouse.click(bar.x + 10, bar.y + bar.height / 2);
    await h.nextFrame(page);
}

// Drags a window by its caption to the right of the main window, so that its
// caption stays in reach once the main window is in front.
async function moveClear(page, id) {
    const main = await page.locator('#Tableau').boundingBox();
    const bar = await page.locator(`#${id} > .caption`).boundingBox();
    const y = bar.y + bar.height / 2;
    await page.mouse.move(bar.x + 10, y);
    await page.mouse.down();
    await page.mouse.move(main.x + main.width + 30, y, { steps: 4 });
    await page.mouse.up();
    await h.nextFrame(page);
}

test('a press on a caption bar gives that window the keyboard: its last focused control, else itself', async () => {
    // Room beside the main window for the others.
    const session = await openPage({ viewport: { width: 1600, height: 700 } });
    const { page } = session;
    const focused = () => page.evaluate(() => document.activeElement?.id ?? null);
    await page.keyboard.press('Tab');
    assert.equal(await focused(), 'Simuler', 'Tab from the first grid');
    await h.openWindow(page, 'aprotocole');
    await page.keyboard.press('Tab');
    assert.equal(await focused(), 'aprotocole-Command1', 'Tab in the protocol window');
    await moveClear(page, 'aprotocole');

    await pressCaption(page, 'Tableau');
    assert.equal(await focused(), 'Simuler', 'the main window gets its control back, not the menu entry');
    await pressCaption(page, 'aprotocole');
    assert.equal(await focused(), 'aprotocole-Command1', 'and the protocol window its own');

    // The legend has no control: the window itself takes the keys.
    await h.openWindow(page, 'legende');
    await moveClear(page, 'legende');
    await pressCaption(page, 'Tableau');
    assert.equal(await focused(), 'Command1', 'the main window\'s last control, the one that opened the legend');
    await pressCaption(page, 'legende');
    assert.equal(await focused(), 'legende', 'the legend itself');
    h.assertClean(session);
    await session.close();
});

test('Quit box: texts, Oui by default; Non and Escape change nothing; it is modal; Oui ends everything', async () => {
    const expected = h.expectedScreens(',', ['S', 'G']);
    const session = await openPage();
    const { page } = session;
    await h.click(page, 'Simuler');
    await h.click(page, 'GenSuiv');
    await h.openWindow(page, 'legende');
    await h.openWindow(page, 'aprotocole');
    const running = h.shownPart(expected.steps[1].screen);

    await h.click(page, 'quit');
    await assertOne(page, 'quitBox', 'Quitter');
    const lines = (await page.locator('#quitBox').innerText()).split('\n').map((l) => l.trim()).filter(Boolean);
    assert.ok(lines.includes(quitBox.title) && lines.includes(quitBox.prompt), `texts: ${JSON.stringify(lines)}`);
    assert.equal((await page.locator('#quitBox-yes').innerText()).trim(), quitBox.yes);
    assert.equal((await page.locator('#quitBox-no').innerText()).trim(), quitBox.no);
    assert.equal(await page.evaluate(() => document.activeElement?.id), 'quitBox-yes', 'Oui is the default');

    const simuler = await page.locator('#Simuler').boundingBox();
    await page.mouse.click(simuler.x + simuler.width / 2, simuler.y + simuler.height / 2);
    await h.nextFrame(page);
    assert.deepEqual(await h.readScreen(page), running, 'the box is modal: Simulation did not run');
    assert.ok(await h.isShown(page, 'quitBox'), 'the box is still asking');

    await h.click(page, 'quitBox-no');
    assert.equal(await h.isShown(page, 'quitBox'), false, 'Non closes the box');
    await h.click(page, 'quit');
    await page.keyboard.press('Escape');
    await h.nextFrame(page);
    assert.equal(await h.isShown(page, 'quitBox'), false, 'Escape closes the box');
    assert.deepEqual(await h.readScreen(page), running, 'Non and Escape leave the run as it was');
    assert.ok(await h.isShown(page, 'legende') && await h.isShown(page, 'aprotocole'), 'and the windows open');
    await page.keyboard.press('Alt+?');
    await h.nextFrame(page);
    assert.ok(await h.isShown(page, 'protocole'), 'and the main window in front: Alt+? opens its menu');
    await page.keyboard.press('Escape');

    await h.click(page, 'quit');
    await page.keyboard.press('Enter');
    await page.waitForSelector('#ended', { state: 'visible', timeout: 2000 });
    for (const id of ['Tableau', 'legende', 'aprotocole', 'quitBox'])
        assert.equal(await h.isShown(page, id), false, `${id} is gone`);
    const farewell = await page.locator('#ended').innerText();
    assert.match(farewell, /Bocavo/, 'the page says Bocavo is closed');
    assert.match(farewell, /ferm|termin|quitt/i, `in French: ${JSON.stringify(farewell)}`);

    await h.click(page, 'restart');
    await h.waitUsable(page);
    assert.deepEqual(await h.readScreen(page), h.shownPart(expected.initial), 'a fresh start');
    assert.equal(await h.isShown(page, 'legende'), false, 'no window carried over');
    h.assertClean(session);
    await session.close();
});

test('closing the main window ends at once, without asking, taking every window with it', async () => {
    const session = await openPage();
    const { page } = session;
    await h.click(page, 'Simuler');
    await h.openWindow(page, 'legende');
    await h.openWindow(page, 'Cadeau'); // opens the protocol window on the way
    await pressCaption(page, 'aprotocole');
    await h.click(page, 'aprotocole-Command1'); // a hidden window must go too
    await mark(page, 'aprotocole');
    await h.raiseMain(page);
    await h.click(page, 'Tableau-close');
    await page.waitForSelector('#ended', { state: 'visible', timeout: 2000 });
    for (const id of ['Tableau', 'legende', 'aprotocole', 'Cadeau', 'quitBox'])
        assert.equal(await h.isShown(page, id), false, `${id} is gone`);
    await h.click(page, 'restart');
    await h.waitUsable(page);
    await h.openWindow(page, 'aprotocole');
    assert.equal(await marked(page, 'aprotocole'), false, 'the protocol window is a new one');
    assert.equal(await h.isShown(page, 'Cadeau'), false, 'nothing comes back from the ended session');
    h.assertClean(session);
    await session.close();
});

// Drags a window by its caption to near the viewport's top-left corner, so
// that its bottom-right corner has room to be pulled.
async function moveNear(page, id) {
    const bar = await page.locator(`#${id} > .caption`).boundingBox();
    await page.mouse.move(bar.x + 10, bar.y + bar.height / 2);
    await page.mouse.down();
    await page.mouse.move(20, 20, { steps: 4 });
    await page.mouse.up();
    await h.nextFrame(page);
}

// Drags from just inside a window's bottom-right corner; gives its new box.
async function dragCorner(page, id, dx, dy) {
    const box = await page.locator(`#${id}`).boundingBox();
    const x = box.x + box.width - 3;
    const y = box.y + box.height - 3;
    await page.mouse.move(x, y);
    await page.mouse.down();
    await page.mouse.move(x + dx, y + dy, { steps: 5 });
    await page.mouse.up();
    await h.nextFrame(page);
    return page.locator(`#${id}`).boundingBox();
}

test('About can be enlarged, its controls stay put, and it comes back at its first size; the others keep theirs', async () => {
    const session = await openPage();
    const { page } = session;
    await h.openWindow(page, 'apropos');
    await moveNear(page, 'apropos');
    const ids = ['apropos-Text1', 'apropos-Command1'];
    const first = await page.locator('#apropos').boundingBox();
    const controls = await h.measure(page, ids[0], ids);
    const grown = await dragCorner(page, 'apropos', 60, 40);
    assert.ok(grown.width > first.width + 30 && grown.height > first.height + 20,
        `About enlarged: ${JSON.stringify(first)} -> ${JSON.stringify(grown)}`);
    assert.deepEqual(h.boxMismatches(controls.boxes, (await h.measure(page, ids[0], ids)).boxes), [],
        'the text box and OK stay where they were');
    await h.click(page, 'apropos-close');
    await h.openWindow(page, 'apropos');
    const again = await page.locator('#apropos').boundingBox();
    assert.deepEqual([again.width, again.height].map(Math.round), [first.width, first.height].map(Math.round),
        'a new About has its first size');

    for (const id of ['legende', 'aprotocole', 'Cadeau', 'Tableau']) {
        if (id !== 'Tableau')
            await h.openWindow(page, id);
        await moveNear(page, id);
        const before = await page.locator(`#${id}`).boundingBox();
        const after = await dragCorner(page, id, 60, 40);
        assert.deepEqual([after.width, after.height], [before.width, before.height], `${id} keeps its size`);
        if (id !== 'Tableau')
            await h.click(page, `${id}-close`); // out of the way of the menu
    }
    h.assertClean(session);
    await session.close();
});
