// Where windows go: a modal box centred in the viewport, new windows beside
// the main one where there is room, and every caption within reach after a
// drag, a resize, a rotation or a zoom.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as h from './harness.mjs';

const openPage = h.sharedSite();

// Drags a window by its caption, left of its close button, by (dx, dy).
async function drag(page, id, dx, dy) {
    const bar = await page.locator(`#${id} > .caption`).boundingBox();
    const x = bar.x + 12;
    const y = bar.y + bar.height / 2;
    await page.mouse.move(x, y);
    await page.mouse.down();
    await page.mouse.move(x + dx / 2, y + dy / 2, { steps: 3 });
    await page.mouse.move(x + dx, y + dy, { steps: 3 });
    await page.mouse.up();
    await h.nextFrame(page);
}

// How much of a window's caption, left of its close button, lies in the
// viewport: [width, height] in screen pixels.
const reachable = (page, id) => page.evaluate((w) => {
    const bar = document.querySelector(`#${w} > .caption`).getBoundingClientRect();
    const close = document.querySelector(`#${w} > .caption .close`).getBoundingClientRect();
    const width = Math.min(close.left, innerWidth) - Math.max(bar.left, 0);
    const height = Math.min(bar.bottom, innerHeight) - Math.max(bar.top, 0);
    return [width, height];
}, id);

async function assertReachable(page, id, message) {
    const [width, height] = await reachable(page, id);
    assert.ok(width >= 40 && height >= 5, `${message}: ${id} keeps ${width.toFixed(0)} × ${height.toFixed(0)} px of caption on screen`);
}

const inside = (page, id) => page.evaluate((w) => {
    const r = document.getElementById(w).getBoundingClientRect();
    return r.left >= -0.5 && r.top >= -0.5 && r.right <= innerWidth + 0.5 && r.bottom <= innerHeight + 0.5;
}, id);

test('the Quit box opens centred in the viewport, wherever the main window was dragged, and follows a rotation', async () => {
    const session = await openPage({ viewport: { width: 1024, height: 768 } });
    const { page } = session;
    await drag(page, 'Tableau', 2000, 2000);
    await assertReachable(page, 'Tableau', 'dragged far to the bottom right');
    await page.keyboard.press('Alt+q');
    await h.nextFrame(page);
    const centre = () => page.evaluate(() => {
        const r = document.getElementById('quitBox').getBoundingClientRect();
        return [r.left + r.width / 2 - innerWidth / 2, r.top + r.height / 2 - innerHeight / 2, r.left, r.top];
    });
    const [dx, dy] = await centre();
    assert.ok(Math.abs(dx) <= 1 && Math.abs(dy) <= 1, `centred: off by (${dx}, ${dy})`);
    await page.setViewportSize({ width: 768, height: 1024 });
    await h.nextFrame(page);
    const [rx, ry] = await centre();
    assert.ok(Math.abs(rx) <= 1 && Math.abs(ry) <= 1, `centred again after a rotation: off by (${rx}, ${ry})`);
    await page.setViewportSize({ width: 1, height: 1 });
    await h.nextFrame(page);
    await page.setViewportSize({ width: 1920, height: 1080 });
    await h.nextFrame(page);
    assert.ok(await inside(page, 'quitBox'), 'opened tiny and enlarged: inside the viewport');
    const no = await page.locator('#quitBox-no').boundingBox();
    assert.ok(no.width >= 40 && no.height >= 15, `Non at a usable size: ${JSON.stringify(no)}`);
    await page.mouse.click(no.x + no.width / 2, no.y + no.height / 2);
    await h.nextFrame(page);
    assert.equal(await h.isShown(page, 'quitBox'), false, 'a tap on Non answers it');
    h.assertClean(session);
    await session.close();
});

test('windows stay within reach after a drag, a rotation and a zoom; new ones open on screen', async () => {
    const session = await openPage({ viewport: { width: 1024, height: 768 } });
    const { page } = session;
    await h.openWindow(page, 'legende');
    await drag(page, 'legende', 2000, 0);
    await assertReachable(page, 'legende', 'dragged to the right edge');
    await page.setViewportSize({ width: 768, height: 1024 });
    await h.nextFrame(page);
    await assertReachable(page, 'legende', 'rotated to 768×1024');
    await drag(page, 'Tableau', 1500, 1500);
    await page.setViewportSize({ width: 600, height: 400 });
    await h.nextFrame(page);
    await assertReachable(page, 'Tableau', 'a dragged main window, the browser made smaller');
    // A zoom to 200 % halves the viewport in CSS pixels.
    await page.setViewportSize({ width: 300, height: 200 });
    await h.nextFrame(page);
    await assertReachable(page, 'Tableau', 'zoomed in');
    await page.setViewportSize({ width: 1024, height: 768 });
    await h.nextFrame(page);
    await drag(page, 'Tableau', 900, 300);
    await h.click(page, 'legende-close');
    await page.keyboard.press('Alt+l');
    await h.nextFrame(page);
    assert.ok(await inside(page, 'legende'), 'a new legend beside a moved main window opens on screen');
    h.assertClean(session);
    await session.close();
});

// Whether some point of a window is its own, not covered by another.
const visiblePart = (page, id) => page.evaluate((w) => {
    const r = document.getElementById(w).getBoundingClientRect();
    for (let y = Math.max(r.top, 0) + 2; y < Math.min(r.bottom, innerHeight); y += 8)
        for (let x = Math.max(r.left, 0) + 2; x < Math.min(r.right, innerWidth); x += 8)
            if (document.elementFromPoint(x, y)?.closest('.window')?.id === w)
                return true;
    return false;
}, id);

test('at 1280×1024 new windows open beside the grids, and a click on the main window hides none of them', async () => {
    const session = await openPage({ viewport: { width: 1280, height: 1024 } });
    const { page } = session;
    await h.openWindow(page, 'legende');
    const overlap = await page.evaluate(() => {
        const l = document.getElementById('legende').getBoundingClientRect();
        return ['Tableau_Parent', 'Tableau_Enfant'].filter((id) => {
            const g = document.getElementById(id).getBoundingClientRect();
            return l.left < g.right && g.left < l.right && l.top < g.bottom && g.top < l.bottom;
        });
    });
    assert.deepEqual(overlap, [], 'the legend covers no grid');
    for (const win of ['aprotocole', 'Cadeau', 'apropos'])
        await h.openWindow(page, win);
    await h.raiseMain(page);
    for (const win of ['legende', 'aprotocole', 'Cadeau', 'apropos'])
        assert.ok(await visiblePart(page, win), `${win} still shows beside the main window`);
    h.assertClean(session);
    await session.close();
});
