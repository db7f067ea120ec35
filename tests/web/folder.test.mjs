// The site as a teacher carries it: copied to a folder whose path has spaces,
// accents and a "#", opened straight from the disk.
import assert from 'node:assert/strict';
import { cp, mkdtemp, rm } from 'node:fs/promises';
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
