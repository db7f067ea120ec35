// The lab page beside the desktop, run by hand (not a test): the time to a
// usable lab page opened from file://, the size of the whole site, and 100
// classes × 1 000 generations at N = 1 000 with selection, mutation and
// migration, in the page's worker and in the desktop's core on one thread
// (labo_bench, built Release), side by side in one run, with the page's
// long tasks (over 50 ms, a `longtask` observer) counted meanwhile.
//
//   node bench/lab_page_bench.mjs LABO_BENCH [SITE_DIR]
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

const [laboBench, siteDir] = process.argv.slice(2);
if (!laboBench) {
    console.error('usage: node bench/lab_page_bench.mjs LABO_BENCH [SITE_DIR]');
    process.exit(2);
}
if (siteDir)
    process.env.BOCAVO_WEB_SITE = siteDir;
process.env.BOCAVO_WEB_ORIGIN = 'file';
const h = await import('../tests/web/harness.mjs');

const LOADS = 9; // cold loads of each page
const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];

// The scenario of the run timed: the desktop benchmark's own settings.
const scenario = ['format = 1', 'classes = 100', 'generations = 1000', 'seed = 1993', 'sets = A', '', '[A]',
    'individuals = 1000', 'model = protocole', 'alleles = 4', 'urn = 200, 600, 600, 600',
    'fitness = 105, 100, 100, 100', 'mutation = 0.001', 'migration = 0.01', ''].join('\n');

// In the page's clock: when `selector` is first usable.
async function usableAfter(browser, site, name, selector) {
    const context = await browser.newContext({ viewport: { width: 1366, height: 768 } });
    const page = await context.newPage();
    await page.goto(site.prefix + name);
    await page.waitForSelector(selector, { timeout: 20000 });
    const at = await page.evaluate(() => performance.now());
    await context.close();
    return at;
}

function desktopSeconds() {
    const json = execFileSync(laboBench, ['--benchmark_filter=BM_LargeClassesWithEveryForce/wrightFisher:0/threads:1',
        '--benchmark_format=json', '--benchmark_repetitions=3'], { encoding: 'utf8' });
    const runs = JSON.parse(json).benchmarks.filter((b) => b.run_type === 'iteration');
    return median(runs.map((b) => b.real_time / 1000));
}

async function pageRun(browser, site) {
    const context = await browser.newContext({ viewport: { width: 1366, height: 768 } });
    await context.addInitScript(() => {
        window.bocavoLongTasks = [];
        new PerformanceObserver((list) => {
            for (const entry of list.getEntries())
                window.bocavoLongTasks.push(entry.duration);
        }).observe({ type: 'longtask', buffered: true });
    });
    const page = await context.newPage();
    await page.goto(site.prefix + 'labo.html');
    await page.waitForSelector('#lancer:enabled', { timeout: 20000 });
    const folder = mkdtempSync(path.join(tmpdir(), 'bocavo-bench-'));
    const file = path.join(folder, 'banc.scenario');
    writeFileSync(file, scenario);
    await page.setInputFiles('#fichierScenario', file);
    await page.waitForFunction(() => document.getElementById('etat').textContent.includes('banc.scenario'));
    rmSync(folder, { recursive: true });
    const before = await page.evaluate(() => window.bocavoLongTasks.length);
    const start = Date.now();
    await page.click('#lancer');
    await page.waitForFunction(() => document.getElementById('etat').textContent.startsWith('Génération 1 000'),
        null, { timeout: 600000 });
    const seconds = (Date.now() - start) / 1000;
    const tasks = await page.evaluate((n) => window.bocavoLongTasks.slice(n), before);
    await context.close();
    return { seconds, tasks };
}

const browser = await h.launch();
const site = await h.startSite('file');
const loads = { 'index.html': [], 'labo.html': [] };
for (let i = 0; i < LOADS; ++i) {
    loads['index.html'].push(await usableAfter(browser, site, 'index.html', '#Simuler:enabled'));
    loads['labo.html'].push(await usableAfter(browser, site, 'labo.html', '#lancer:enabled'));
}
const bytes = readdirSync(h.config.site).reduce((sum, f) => sum + statSync(path.join(h.config.site, f)).size, 0);
const desktop = desktopSeconds();
const inPage = await pageRun(browser, site);
await browser.close();

console.log(`usable from file:// (median of ${LOADS}): index.html ${median(loads['index.html']).toFixed(0)} ms, ` +
    `labo.html ${median(loads['labo.html']).toFixed(0)} ms`);
console.log(`whole site: ${(bytes / 1024).toFixed(0)} KiB (${bytes} bytes)`);
console.log(`100 classes × 1 000 generations, N = 1 000, every force: desktop one thread ${desktop.toFixed(2)} s, ` +
    `page ${inPage.seconds.toFixed(2)} s (${(inPage.seconds / desktop).toFixed(2)}×)`);
console.log(`long tasks on the page's thread during the run: ${inPage.tasks.length}` +
    (inPage.tasks.length ? ` (longest ${Math.max(...inPage.tasks).toFixed(0)} ms)` : ''));
