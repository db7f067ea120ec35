// Phones and tablets: what answers a tap is large enough for a finger (what
// is drawn does not change), a phone may zoom into the page, and a tiny
// viewport still leaves every caption within reach.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as h from './harness.mjs';

const openPage = h.sharedSite();

// The controls that a tap must reach, with the windows that hold them open.
const tappable = ['quit', 'help', 'Simuler', 'Command1', 'Tableau-close', 'legende-close', 'aprotocole-close',
    'aprotocole-Command1'];

// Ids of `ids` that no square of `side` px on screen, centred on them or
// flush with one of their edges, answers as them all over.
const tooSmall = (page, ids, side) => page.evaluate(([list, s]) => list.filter((id) => {
    const e = document.getElementById(id);
    const r = e.getBoundingClientRect();
    const within = (v, high) => Math.min(Math.max(v, 0), high - s);
    const xs = [r.left + r.width / 2 - s / 2, r.left, r.right - s].map((v) => within(v, innerWidth));
    const ys = [r.top + r.height / 2 - s / 2, r.top, r.bottom - s].map((v) => within(v, innerHeight));
    const answers = (x, y) => {
        const hit = document.elementFromPoint(x, y);
        return hit && (hit === e || e.contains(hit));
    };
    return !xs.some((x) => ys.some((y) => [[0.5, 0.5], [s - 0.5, 0.5], [0.5, s - 0.5], [s - 0.5, s - 0.5],
        [s / 2, s / 2]].every(([dx, dy]) => answers(x + dx, y + dy))));
}), [ids, side]);

for (const [name, options, side] of [
    ['phone 360×640', { viewport: { width: 360, height: 640 }, hasTouch: true, isMobile: true }, 24],
    ['tablet 768×1024', { viewport: { width: 768, height: 1024 }, hasTouch: true }, 32],
    ['tablet 1024×768', { viewport: { width: 1024, height: 768 }, hasTouch: true }, 32],
]) {
    test(`${name}: every control answers a ${side} × ${side} px tap`, async () => {
        const session = await openPage(options);
        const { page } = session;
        await h.openWindow(page, 'legende');
        await h.openWindow(page, 'aprotocole');
        // Each window in front in turn, so that none covers what is measured.
        const missed = [];
        for (const win of ['legende', 'aprotocole', 'Tableau']) {
            await page.evaluate((w) => document.getElementById(w).dispatchEvent(
                new PointerEvent('pointerdown', { bubbles: true })), win);
            missed.push(...await tooSmall(page, tappable.filter((id) => id.startsWith(win) ||
                (win === 'Tableau' && !id.includes('-'))), side));
        }
        assert.deepEqual(missed, [], `tap areas smaller than ${side} px`);
        h.assertClean(session);
        await session.close();
    });
}

// Headless Chromium cannot synthesise a pinch, so this reads what would stop
// one: the viewport's own limits and every touch-action under a finger.
test('a phone may pinch-zoom and pan the page', async () => {
    const session = await openPage({ viewport: { width: 360, height: 640 }, hasTouch: true, isMobile: true });
    const { page } = session;
    const meta = await page.locator('meta[name=viewport]').getAttribute('content');
    assert.doesNotMatch(meta, /user-scalable\s*=\s*(no|0)|maximum-scale\s*=\s*1(\.0*)?\b/, `viewport: ${meta}`);
    const blocked = await page.evaluate(() => {
        const found = [];
        for (const id of ['Tableau_Parent', 'Simuler', 'Label1']) {
            for (let e = document.getElementById(id); e; e = e.parentElement) {
                const action = getComputedStyle(e).touchAction;
                if (!/^(auto|manipulation)$|pinch-zoom/.test(action))
                    found.push(`${e.id || e.tagName}: ${action}`);
            }
        }
        return found;
    });
    assert.deepEqual(blocked, [], 'nothing under a finger forbids the pinch');
    h.assertClean(session);
    await session.close();
});

test('320×240: the main window\'s caption keeps 40 px within reach, dragged anywhere', async () => {
    const session = await openPage({ viewport: { width: 320, height: 240 } });
    const { page } = session;
    for (const [dx, dy] of [[-2000, 0], [2000, 0], [0, 2000], [0, -2000]]) {
        const bar = await page.locator('#Tableau > .caption').boundingBox();
        const x = Math.max(bar.x, 0) + 3;
        const y = Math.max(bar.y, 0) + bar.height / 2;
        await page.mouse.move(x, y);
        await page.mouse.down();
        await page.mouse.move(x + dx, y + dy, { steps: 4 });
        await page.mouse.up();
        const reach = await page.evaluate(() => {
            const bar = document.querySelector('#Tableau > .caption').getBoundingClientRect();
            const close = document.getElementById('Tableau-close').getBoundingClientRect();
            return [Math.min(close.left, innerWidth) - Math.max(bar.left, 0),
                Math.min(bar.bottom, innerHeight) - Math.max(bar.top, 0)];
        });
        assert.ok(reach[0] >= 40 && reach[1] >= 5, `dragged by (${dx}, ${dy}): ${reach} px of caption left`);
    }
    h.assertClean(session);
    await session.close();
});
