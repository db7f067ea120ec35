// Speed and size of the web edition in headless Chromium, run by hand (not a
// test): navigation from file:// to a usable window, a click on "Génération
// suivante" to the repainted grids, and the size of the site.
//
//   node bench/page_bench.mjs [SITE_DIR]      (default build-web/site)
import { readdirSync, statSync } from 'node:fs';
import { loadavg } from 'node:os';
import path from 'node:path';

if (process.argv[2])
    process.env.BOCAVO_WEB_SITE = process.argv[2];
process.env.BOCAVO_WEB_ORIGIN = 'file';
const h = await import('../tests/web/harness.mjs');

const LOADS = 15; // fresh contexts, each a cold page load
const CLICKS = 300; // Next generations timed one by one

const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];
const percentile = (list, p) => [...list].sort((a, b) => a - b)[Math.min(list.length - 1, Math.floor(list.length * p))];
const ms = (v) => v.toFixed(1).padStart(6);

// Notes, in the page's own clock (0 = start of navigation), the first frame
// in which the window is shown with Simulation enabled.
function watchUsable() {
    const look = () => {
        const win = document.getElementById('Tableau');
        const simuler = document.getElementById('Simuler');
        if (win && simuler && !simuler.disabled && win.getClientRects().length &&
            getComputedStyle(win).visibility !== 'hidden') {
            window.bocavoUsableAt = performance.now();
            return;
        }
        requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
}

async function loadTimes(browser, site) {
    const inPage = [];
    const outside = [];
    for (let i = 0; i < LOADS; ++i) {
        const context = await browser.newContext({ viewport: { width: 1024, height: 768 } });
        await context.addInitScript(watchUsable);
        const page = await context.newPage();
        const start = performance.now();
        await page.goto(site.url);
        await page.waitForFunction(() => window.bocavoUsableAt !== undefined, null, { polling: 'raf' });
        outside.push(performance.now() - start);
        inPage.push(await page.evaluate(() => window.bocavoUsableAt));
        await context.close();
    }
    return { inPage, outside };
}

// Each sample: the click handler's own time, then the wait for the next frame
// (headless Chromium draws at 60 Hz), then that frame's style, layout and paint
// (up to a task queued after it). "work" leaves out the wait.
async function clickTimes(browser, site) {
    const session = await h.openPage(browser, site);
    await h.click(session.page, 'Simuler');
    const samples = await session.page.evaluate(async (count) => {
        const genSuiv = document.getElementById('GenSuiv');
        const painted = () => new Promise((done) => requestAnimationFrame(() => {
            const frame = performance.now();
            const channel = new MessageChannel();
            channel.port1.onmessage = () => done([frame, performance.now()]);
            channel.port2.postMessage(0);
        }));
        const out = [];
        for (let i = 0; i < count; ++i) {
            await painted();
            // A user's click falls anywhere between two frames.
            await new Promise((r) => setTimeout(r, Math.random() * 16));
            const t0 = performance.now();
            genSuiv.click();
            const t1 = performance.now();
            const [frame, after] = await painted();
            out.push({ handler: t1 - t0, work: t1 - t0 + (after - frame), total: after - t0 });
        }
        return out;
    }, CLICKS);
    const problems = [...new Set(session.problems)];
    await session.close();
    return { samples, problems };
}

function siteFiles(dir) {
    return readdirSync(dir, { recursive: true })
        .map((name) => path.join(dir, name))
        .filter((file) => statSync(file).isFile())
        .map((file) => ({ file: path.relative(dir, file), bytes: statSync(file).size }));
}

const browser = await h.launch();
const site = await h.startSite('file');
try {
    // Other work on the machine shows in every figure below.
    console.log(`machine load average (1 min): ${loadavg()[0].toFixed(1)}`);
    const loads = await loadTimes(browser, site);
    console.log(`navigation -> usable window, file://, ${LOADS} cold loads (ms)`);
    console.log(`  in the page's clock: median ${ms(median(loads.inPage))}  min ${ms(Math.min(...loads.inPage))}  max ${ms(Math.max(...loads.inPage))}`);
    console.log(`  seen by the driver:  median ${ms(median(loads.outside))}  min ${ms(Math.min(...loads.outside))}  max ${ms(Math.max(...loads.outside))}`);

    const { samples, problems } = await clickTimes(browser, site);
    const pick = (key) => samples.map((s) => s[key]);
    console.log(`click on GenSuiv -> repainted grids, ${CLICKS} clicks (ms)`);
    for (const [key, label] of [['handler', 'handler (core + DOM)'], ['work', 'handler + frame work'], ['total', 'click to painted frame']])
        console.log(`  ${label.padEnd(24)} median ${ms(median(pick(key)))}  p95 ${ms(percentile(pick(key), 0.95))}  max ${ms(Math.max(...pick(key)))}`);
    if (problems.length)
        console.log(`  page problems: ${problems.join('; ')}`);

    const files = siteFiles(h.config.site);
    const total = files.reduce((sum, f) => sum + f.bytes, 0);
    console.log(`site: ${(total / 1024).toFixed(1)} KB in ${files.length} files`);
    for (const f of files.sort((a, b) => b.bytes - a.bytes))
        console.log(`  ${(f.bytes / 1024).toFixed(1).padStart(8)} KB  ${f.file}`);
} finally {
    await browser.close();
    await site.close();
}
