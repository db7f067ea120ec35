// The site as a teacher carries it: copied to a folder whose path has spaces,
// accents and a "#", opened straight from the disk.
import assert from 'node:assert/strict';
import { cp, mkdtemp, readdir, rm, stat } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

let browser, copy;
before(async () => {
    browser = await h.launch();
    copy = path.join(await mkdtemp(path.join(tmpdir(), 'bocavo-')), 'Clé USB #2', 'Bocavo (site web)');
    await cp(h.config.site, copy, { recursive: true });
});
after(async () => {
    await browser?.close();
    if (copy)
        await rm(path.dirname(path.dirname(copy)), { recursive: true, force: true });
});

test('opened from a copy in an awkwardly named folder, the site works in full', async () => {
    const prefix = pathToFileURL(copy + path.sep).href;
    const session = await h.openPage(browser, { url: prefix + 'index.html', prefix });
    const { page } = session;
    const expected = h.expectedScreens(',', ['S', 'G']);
    for (const step of expected.steps) {
        await h.click(page, step.click === 'S' ? 'Simuler' : 'GenSuiv');
        assert.deepEqual(await h.readScreen(page), h.shownPart(step.screen), `after ${step.click}`);
    }
    await h.openWindow(page, 'Cadeau');
    const picture = await page.locator('#Cadeau-Picture1').evaluate((e) => {
        const img = e.tagName === 'IMG' ? e : e.querySelector('img');
        return img && img.complete ? img.naturalWidth : 0;
    });
    assert.ok(picture > 0, 'the gift picture loads');
    h.assertClean(session);
    await session.close();
});

// A USB key, a school's slow network: both pages together stay light.
const kMostSiteBytes = 700_000; // bytes
test('the whole site, both pages, weighs at most 700 kB', async () => {
    let bytes = 0;
    for (const name of await readdir(h.config.site))
        bytes += (await stat(path.join(h.config.site, name))).size;
    assert.ok(bytes <= kMostSiteBytes, `the site weighs ${bytes} bytes`);
});
