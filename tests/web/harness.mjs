// What every browser test shares: Debian's Chromium through playwright-core,
// the site opened from file:// or from the loopback server, a guard that
// records every console error, page error and request outside the site, and
// readers of the page's state in the window's own units.
//
// Settings, from the environment (ctest sets them):
//   BOCAVO_WEB_SITE      the built site (the folder holding index.html)
//   BOCAVO_WEB_ORIGIN    "file" or "http"
//   BOCAVO_WEB_EXPECTED  the native expected_screens program
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { after, before } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { serve } from './static_server.mjs';
import { px } from './window_tables.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
// The npm packages live with the page sources, installed by `npm ci --prefix web`.
export const requireWeb = createRequire(path.join(here, '../../web/package.json'));
function driver() {
    try {
        return requireWeb('playwright-core');
    } catch {
        throw new Error('playwright-core is missing: run `npm ci --prefix web` first');
    }
}
const { chromium } = driver();

export const config = {
    site: path.resolve(process.env.BOCAVO_WEB_SITE || path.join(here, '../../build-web/site')),
    origin: process.env.BOCAVO_WEB_ORIGIN || 'file',
    expected: process.env.BOCAVO_WEB_EXPECTED || path.join(here, '../../build/bin/expected_screens'),
};

// A plain browser: no sandbox (root), no GPU, and nothing that phones home.
const chromiumArgs = [
    '--no-sandbox',
    '--disable-gpu',
    '--disable-quic',
    '--no-first-run',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
];

export function launch() {
    // A fresh temporary profile each time; the browser is the system's, never a download.
    return chromium.launch({ executablePath: '/usr/bin/chromium', args: chromiumArgs });
}

// Where the page is: { url, prefix, close }. `prefix` is what every request
// of the site starts with.
export async function startSite(origin = config.origin) {
    const index = path.join(config.site, 'index.html');
    assert.ok(existsSync(index), `no site to test: ${index} is missing (build it first)`);
    if (origin === 'file') {
        const prefix = pathToFileURL(config.site + path.sep).href;
        return { url: prefix + 'index.html', prefix, close: async () => {} };
    }
    assert.equal(origin, 'http', `BOCAVO_WEB_ORIGIN must be file or http, not ${origin}`);
    const server = await serve(config.site);
    return { url: server.url, prefix: server.url, close: server.close };
}

const inSite = (url, prefix) =>
    url.startsWith(prefix) || url.startsWith('data:') || url.startsWith('blob:');

// A caption is the text of a frame or window that belongs to none of its
// named controls. Installed in every page the tests open.
function captionReader() {
    window.bocavoTestCaption = (element) => {
        let text = '';
        const walker = document.createTreeWalker(element, NodeFilter.SHOW_TEXT);
        for (let node = walker.nextNode(); node; node = walker.nextNode()) {
            if (node.parentElement.closest('[id], [data-name]') === element)
                text += node.textContent;
        }
        return text.replace(/\s+/g, ' ').trim();
    };
}

// One browser and one site for a whole test file, closed after its last test;
// the function returned opens a page on them.
export function sharedSite() {
    let browser, site;
    before(async () => {
        browser = await launch();
        site = await startSite();
    });
    after(async () => {
        await browser?.close();
        await site?.close();
    });
    return (options) => openPage(browser, site, options);
}

// Opens the site in a fresh context, at `fragment` ("#groupe=7"), and waits
// until the window can be used (unless `usable` is false). `problems` collects console errors, page errors, failed requests and
// requests outside the site; a test ends with assertClean(session).
export async function openPage(browser, site, options = {}) {
    const { locale = 'fr-FR', viewport = { width: 1024, height: 768 }, hasTouch = false, isMobile = false,
        fragment = '', usable = true, ready = waitUsable } = options;
    const context = await browser.newContext({ locale, viewport, hasTouch, isMobile });
    const problems = [];
    await context.route('**/*', (route) => {
        const url = route.request().url();
        if (inSite(url, site.prefix))
            return route.continue();
        problems.push(`request outside the site: ${url}`);
        return route.abort('blockedbyclient');
    });
    await context.addInitScript(captionReader);
    context.setDefaultTimeout(5000);
    const page = await context.newPage();
    page.on('request', (request) => {
        if (!inSite(request.url(), site.prefix))
            problems.push(`request outside the site: ${request.url()}`);
    });
    page.on('requestfailed', (request) => {
        if (inSite(request.url(), site.prefix))
            problems.push(`failed request: ${request.url()} (${request.failure()?.errorText})`);
    });
    page.on('response', (response) => {
        if (response.status() >= 400)
            problems.push(`HTTP ${response.status()}: ${response.url()}`);
    });
    page.on('console', (message) => {
        if (message.type() === 'error')
            problems.push(`console ${message.type()}: ${message.text()}`);
    });
    page.on('pageerror', (error) => problems.push(`uncaught: ${error.message}`));
    try {
        await page.goto(site.url + fragment);
        if (usable)
            await ready(page);
    } catch (error) {
        throw new Error(`the window never became usable: ${error.message.split('\n')[0]}\n` +
            `the page reported: ${JSON.stringify([...new Set(problems)])}`, { cause: error });
    }
    return { page, context, problems, close: () => context.close() };
}

// The window is usable once it shows and Simulation can be clicked.
export async function waitUsable(page) {
    await page.waitForSelector('#Tableau', { state: 'visible' });
    await page.waitForSelector('#Simuler:enabled', { state: 'visible' });
}

export function assertClean(session) {
    assert.deepEqual([...new Set(session.problems)], [], 'the page reported problems');
}

// Waits for the next painted frame, so that what a command changed is on screen.
export const nextFrame = (page) =>
    page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));

export async function click(page, id) {
    await page.click(`#${id}`);
    await nextFrame(page);
}

export const isShown = (page, id) => page.locator(`#${id}`).isVisible();

// The screens that the native core computes for the same clicks.
export function expectedScreens(separator, clicks) {
    const json = execFileSync(config.expected, [separator, ...clicks], { encoding: 'utf8' });
    return JSON.parse(json);
}

// The page's main window in the shape of the native core's screen: allele
// cells as numbers (0 for an empty cell; any other text kept as it stands, so
// that it shows in a failure), the eight frequency texts, both captions and
// the two command states.
export function readScreen(page) {
    return page.evaluate(() => {
        const byId = (id) => document.getElementById(id);
        const cells = (id) =>
            Array.from({ length: 20 }, (_, i) =>
                [1, 2].map((c) => {
                    const text = byId(id).rows[i + 1].cells[c].textContent;
                    return text === '' ? 0 : /^[1-4]$/.test(text) ? Number(text) : text;
                }),
            );
        const texts = (ids) => ids.map((id) => byId(id).textContent);
        return {
            parents: cells('Tableau_Parent'),
            children: cells('Tableau_Enfant'),
            parentFrequencies: texts(['Label15', 'Label16', 'Label17', 'Label18']),
            childFrequencies: texts(['Label1', 'Label2', 'Label3', 'Label4']),
            parentCaption: window.bocavoTestCaption(byId('Frame2')),
            childCaption: window.bocavoTestCaption(byId('Frame1')),
            simulerEnabled: !byId('Simuler').disabled,
            genSuivEnabled: !byId('GenSuiv').disabled,
        };
    });
}

// The core's screen without the fields the page does not show as such.
export function shownPart(screen) {
    const { generation, ...rest } = screen;
    return rest;
}

// Boxes of named elements in CSS pixels at 100 %, relative to the client area
// that holds `anchor` (the containing block of an absolutely placed control),
// whatever the page's scale. Also gives that client area's size and the scale.
export function measure(page, anchor, ids) {
    return page.evaluate(
        ([anchorId, list]) => {
            const client = document.getElementById(anchorId).offsetParent;
            const c = client.getBoundingClientRect();
            const scaleX = c.width / client.offsetWidth;
            const scaleY = c.height / client.offsetHeight;
            const boxes = {};
            for (const id of list) {
                const element = document.getElementById(id);
                if (!element) {
                    boxes[id] = null;
                    continue;
                }
                const r = element.getBoundingClientRect();
                boxes[id] = [
                    (r.left - c.left) / scaleX,
                    (r.top - c.top) / scaleY,
                    r.width / scaleX,
                    r.height / scaleY,
                ];
            }
            return {
                client: [client.offsetWidth, client.offsetHeight],
                scale: [scaleX, scaleY],
                boxes,
            };
        },
        [anchor, ids],
    );
}

// A twip box [left, top, width, height] in CSS pixels.
export const pxBox = (box) => box.map(px);

// Lists every coordinate that is off by more than `tolerance` pixels.
export function boxMismatches(expected, seen, tolerance = 0.5) {
    const wrong = [];
    for (const [id, want] of Object.entries(expected)) {
        const got = seen[id];
        if (!got) {
            wrong.push(`${id}: missing`);
            continue;
        }
        if (want.some((v, i) => Math.abs(v - got[i]) > tolerance))
            wrong.push(`${id}: expected ${want.map((v) => +v.toFixed(2))}, seen ${got.map((v) => +v.toFixed(2))}`);
    }
    return wrong;
}

// Text of an element that is drawn with an underline: the access key as shown.
export function underlined(page, id) {
    return page.evaluate((target) => {
        const root = document.getElementById(target);
        let marked = '';
        const walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
        for (let node = walker.nextNode(); node; node = walker.nextNode()) {
            for (let e = node.parentElement; e; e = e.parentElement) {
                if (getComputedStyle(e).textDecorationLine.includes('underline')) {
                    marked += node.textContent;
                    break;
                }
                if (e === root)
                    break;
            }
        }
        return marked;
    }, id);
}

// The bottom-right corner of an auxiliary window's client area, in viewport
// pixels, and the page's scale.
function clientRect(page, windowId) {
    return page.evaluate((id) => {
        const win = document.getElementById(id);
        const control = win.querySelector('[data-name]');
        const client = control.offsetParent;
        const r = client.getBoundingClientRect();
        return { right: r.right, bottom: r.bottom, scale: r.width / client.offsetWidth };
    }, windowId);
}

// Clicks a point `inset` pixels at 100 % from the bottom-right corner of the
// protocol window's client area: inside the gift corner for small insets.
export async function clickProtocolCorner(page, insetX = 3, insetY = 3) {
    const r = await clientRect(page, 'aprotocole');
    await page.mouse.click(r.right - insetX * r.scale, r.bottom - insetY * r.scale);
    await nextFrame(page);
}

// Asks for an auxiliary window the way a user does.
export async function openWindow(page, id) {
    if (id === 'legende') {
        await click(page, 'Command1');
    } else if (id === 'aprotocole' || id === 'apropos') {
        await click(page, 'help');
        await click(page, id === 'aprotocole' ? 'protocole' : 'propos');
    } else {
        if (!(await isShown(page, 'aprotocole')))
            await openWindow(page, 'aprotocole');
        await clickProtocolCorner(page);
    }
    await page.waitForSelector(`#${id}`, { state: 'visible', timeout: 2000 });
}

// Brings the main window in front with a click on a bare part of it (no
// button, menu entry or cell) that no other window covers.
export async function raiseMain(page) {
    const point = await page.evaluate(() => {
        const r = document.getElementById('Tableau').getBoundingClientRect();
        for (let y = r.top + 4; y < r.bottom; y += 6) {
            for (let x = r.left + 4; x < r.right; x += 6) {
                const hit = document.elementFromPoint(x, y);
                if (hit?.closest('#Tableau') && !hit.closest('button, a, input, td, th, [role^=menu], [id$=close]'))
                    return { x, y };
            }
        }
        return null;
    });
    assert.ok(point, 'some bare part of the main window can be clicked');
    await page.mouse.click(point.x, point.y);
    await nextFrame(page);
}
