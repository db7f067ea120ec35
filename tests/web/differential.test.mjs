// The page against the desktop program: the same seeded random keys and
// clicks (no drags) played in the page and, offscreen, in the real desktop
// program (tests/app/desktop_screens.cpp), with the same screens after every
// step: windows open and in front, the focused control, the main window's
// grids, frequencies, captions and buttons. Escape on the page is Alt+F4 on
// the desktop, as a window manager has it.
//
// The steps are drawn as the page goes, from what it shows, and written for
// the desktop. While the menu bar holds the keyboard with its menu closed
// (the desktop's keyboard mode, after Escape in the menu) the next step is
// Escape; the arrows that walk the bar, and a click on « Quitter » with the
// menu open (after which the desktop leaves the keyboard on its bar), are
// not sent: those corners of the desktop's menu bar are its own.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import * as h from './harness.mjs';

const openPage = h.sharedSite();
const desktop = process.env.BOCAVO_DESKTOP_SCREENS || path.resolve('build/bin/desktop_screens');
const SEEDS = (process.env.BOCAVO_DIFFERENTIAL_SEEDS || '1,2,3,4,5,6').split(',').map(Number);
const STEPS = Number(process.env.BOCAVO_DIFFERENTIAL_STEPS || 60);

// Every step and its weight.
const steps = Object.entries({
    'key Alt+S': 6, 'key Alt+G': 8, 'key Alt+L': 4, 'key Alt+Q': 2, 'key Alt+?': 5, 'key Alt+O': 3,
    'key Enter': 6, 'key Space': 5, 'key Tab': 6, 'key Shift+Tab': 3, 'key Up': 2, 'key Down': 3,
    'key Left': 2, 'key Right': 2, 'key p': 3, 'key a': 3, 'key o': 1, 'key n': 1, 'key Escape': 4,
    'click Tableau/Simuler': 5, 'click Tableau/GenSuiv': 6, 'click Tableau/Command1': 3,
    'click Tableau/Tableau_Parent': 2, 'click Tableau/Tableau_Enfant': 1, 'click Tableau/Label5': 1,
    'click menu/quit': 2, 'click menu/help': 4, 'click menu/protocole': 3, 'click menu/propos': 2,
    'click aprotocole/Command1': 2, 'click aprotocole/corner': 2, 'click aprotocole/Text2': 1,
    'click apropos/Command1': 2, 'click Cadeau/Command1': 2, 'click Cadeau/Picture1': 1,
    'click caption/Tableau': 2, 'click caption/legende': 1, 'click caption/aprotocole': 1,
    'click close/legende': 2, 'click close/aprotocole': 1, 'click close/Cadeau': 1,
    'click quitBox/yes': 1, 'click quitBox/no': 3,
});

// A small seeded generator (mulberry32): the same seed, the same steps.
function generator(seed) {
    let a = seed >>> 0;
    return () => {
        a = (a + 0x6d2b79f5) >>> 0;
        let t = a;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

function draw(random, seen) {
    if (seen.focus === 'Tableau/menubar:')
        return 'key Escape';
    const allowed = steps.filter(([s]) => !(seen.menu && ['key Left', 'key Right', 'click menu/quit'].includes(s)));
    let roll = random() * allowed.reduce((sum, [, w]) => sum + w, 0);
    for (const [s, w] of allowed) {
        roll -= w;
        if (roll < 0)
            return s;
    }
    return allowed[allowed.length - 1][0];
}

const keyNames = {
    'Alt+S': 'Alt+s', 'Alt+G': 'Alt+g', 'Alt+L': 'Alt+l', 'Alt+Q': 'Alt+q', 'Alt+O': 'Alt+o', 'Alt+?': 'Alt+?',
    Enter: 'Enter', Space: ' ', Tab: 'Tab', 'Shift+Tab': 'Shift+Tab', Up: 'ArrowUp', Down: 'ArrowDown',
    Left: 'ArrowLeft', Right: 'ArrowRight', p: 'p', a: 'a', o: 'o', n: 'n', Escape: 'Escape',
};

// What the page shows, in the desktop's words.
function look(page) {
    return page.evaluate(() => {
        if (document.getElementById('ended'))
            return { ended: true };
        const order = ['Tableau', 'legende', 'aprotocole', 'apropos', 'Cadeau'];
        const shown = (id) => { const e = document.getElementById(id); return e && !e.hidden; };
        const box = document.querySelector('.box');
        const windows = order.filter(shown);
        if (box)
            windows.push(box.id);
        const popup = document.getElementById('help-menu');
        const menu = Boolean(popup && !popup.hidden);
        const wins = order.filter(shown).map((id) => document.getElementById(id));
        wins.sort((a, b) => Number(b.style.zIndex) - Number(a.style.zIndex));
        const e = document.activeElement;
        let focus = 'none';
        if (box && box.contains(e))
            focus = e.id.replace('-', '/');
        else if (popup && popup.contains(e))
            focus = 'menu/' + (e === popup ? '' : e.id);
        else if (e && e.getAttribute('role') === 'menubar')
            focus = 'Tableau/menubar:';
        else if (e && e.closest('.window'))
            focus = e.closest('.window').id + '/' + (e.classList.contains('window') ? '' : e.getAttribute('data-name'));
        return { windows, front: box ? box.id : wins[0]?.id ?? '', menu, focus };
    });
}

async function raise(page, win) {
    const front = await page.evaluate(() => {
        const wins = [...document.querySelectorAll('#stage > .window')].filter((w) => !w.hidden);
        wins.sort((a, b) => Number(b.style.zIndex) - Number(a.style.zIndex));
        return wins[0]?.id;
    });
    if (front === win)
        return;
    // Its caption may lie under another window: a press on the window as
    // the window manager hands it on, whatever covers it.
    await page.evaluate((id) => {
        const client = document.querySelector(`#${id} > .client`);
        for (const type of ['pointerdown', 'mousedown'])
            client.dispatchEvent(new MouseEvent(type, { bubbles: true, cancelable: true, button: 0 }));
    }, win);
}

const visible = (page, selector) => page.locator(selector).isVisible();

// A click at the middle of an element, as a mouse gives it, enabled or not.
async function clickOn(page, selector) {
    const r = await page.locator(selector).first().boundingBox();
    await page.mouse.click(r.x + r.width / 2, r.y + r.height / 2);
}

async function perform(page, step) {
    const [kind, what] = step.split(' ');
    if (kind === 'key') {
        await page.keyboard.press(keyNames[what]);
        return;
    }
    const [where, name] = what.split('/');
    if (await visible(page, '.box')) {
        if (await visible(page, `#${where}-${name}`))
            await clickOn(page, `#${where}-${name}`);
        else if (where !== 'quitBox')
            await page.mouse.click(3, 3); // on the veil
        return;
    }
    if (where === 'quitBox')
        return;
    if (where === 'menu') {
        if (name === 'protocole' || name === 'propos') {
            if (await visible(page, '#help-menu'))
                await clickOn(page, `#${name}`);
            return;
        }
        if (!(await visible(page, '#help-menu')))
            await raise(page, 'Tableau');
        await clickOn(page, `#${name}`);
        return;
    }
    // Anywhere else an open menu closes first, by a click beside it, on the
    // bare desk (the windows keep to the top left at this size).
    if (await visible(page, '#help-menu')) {
        const size = page.viewportSize();
        await page.mouse.click(size.width - 3, size.height - 3);
    }
    const win = where === 'caption' || where === 'close' ? name : where;
    if (!(await visible(page, `#${win}`)))
        return;
    await raise(page, win);
    if (where === 'caption')
        return;
    if (where === 'close')
        await clickOn(page, `#${win}-close`);
    else if (name === 'corner')
        await h.clickProtocolCorner(page);
    else if (name.startsWith('Tableau_'))
        await clickOn(page, `#${name} tr:nth-child(4) td`);
    else
        await clickOn(page, `#${win === 'Tableau' ? name : `${win}-${name}`}`);
}

test('the page and the desktop program show the same screens for the same keys and clicks', async () => {
    const folder = mkdtempSync(path.join(tmpdir(), 'bocavo-differential-'));
    for (const seed of SEEDS) {
        const random = generator(seed);
        const session = await openPage({ viewport: { width: 1920, height: 1080 } });
        const { page } = session;
        const played = [];
        const screens = [{ ...(await look(page)), screen: await h.readScreen(page) }];
        for (let i = 0; i < STEPS; ++i) {
            const last = screens[screens.length - 1];
            if (last.ended) {
                await page.click('#restart');
                await h.waitUsable(page);
            }
            const step = draw(random, last.ended ? { focus: '' } : last);
            played.push(step);
            await perform(page, step);
            await h.nextFrame(page);
            const seen = await look(page);
            screens.push(seen.ended ? seen : { ...seen, screen: await h.readScreen(page) });
        }
        h.assertClean(session);
        await session.close();

        const file = path.join(folder, `steps-${seed}.json`);
        writeFileSync(file, JSON.stringify(played));
        const reference = JSON.parse(execFileSync(desktop, [file], {
            encoding: 'utf8', env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' }, stdio: ['ignore', 'pipe', 'ignore'],
        }));
        assert.equal(reference.length, screens.length, `seed ${seed}: one screen per step (${file})`);
        for (let i = 0; i < screens.length; ++i) {
            const { step, skipped, ...want } = reference[i];
            assert.deepEqual(screens[i], want,
                `seed ${seed}, step ${i} (${step ?? 'start'}), after ${JSON.stringify(played.slice(Math.max(0, i - 6), i))}; replay: ${file}`);
        }
    }
    // Kept only when a seed fails, for its replay.
    rmSync(folder, { recursive: true, force: true });
});
