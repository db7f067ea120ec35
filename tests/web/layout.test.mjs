// Every window's geometry and every text, against the twip tables.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as h from './harness.mjs';
import {
    GRID_ROWS, aboutHistory, alleleHeadings, auxWindows, bandColour, giftPicture, grids, mainWindow, px, shown,
} from './window_tables.mjs';

const openPage = h.sharedSite();

// Expected main-window boxes in pixels, frame contents moved by their frame.
function mainBoxes() {
    const boxes = {};
    for (const [id, control] of Object.entries(mainWindow.controls)) {
        const [l, t, w, hgt] = control.box;
        const [fl, ft] = control.in ? mainWindow.controls[control.in].box : [0, 0];
        boxes[id] = h.pxBox([fl + l, ft + t, w, hgt]);
    }
    return boxes;
}

for (const viewport of [
    { width: 1024, height: 768 },
    { width: 1920, height: 1080 },
    { width: 800, height: 450 },
]) {
    test(`main window at ${viewport.width}×${viewport.height}: every box, scaled to fit`, async () => {
        const session = await openPage({ viewport });
        const expected = mainBoxes();
        const seen = await h.measure(session.page, 'Simuler', Object.keys(expected));
        assert.deepEqual(seen.client, mainWindow.client.map(px), 'client area at 100 %');
        assert.ok(Math.abs(seen.scale[0] - seen.scale[1]) < 0.005, `proportions kept: ${seen.scale}`);
        assert.deepEqual(h.boxMismatches(expected, seen.boxes), []);

        const win = await session.page.locator('#Tableau').boundingBox();
        assert.ok(win.x >= -0.5 && win.y >= -0.5 && win.x + win.width <= viewport.width + 0.5 &&
            win.y + win.height <= viewport.height + 0.5, `window inside the viewport: ${JSON.stringify(win)}`);
        const fill = Math.max(win.width / viewport.width, win.height / viewport.height);
        assert.ok(fill > 0.8, `window fills the viewport (${(fill * 100).toFixed(0)} %)`);

        // The menu bar sits above the client area, "Quitter" first.
        const menu = await h.measure(session.page, 'Simuler', ['quit', 'help']);
        assert.ok(menu.boxes.quit[1] + menu.boxes.quit[3] <= 0.5, 'menu bar above the client area');
        assert.ok(menu.boxes.quit[0] < menu.boxes.help[0], 'Quitter before ?');
        h.assertClean(session);
        await session.close();
    });
}

test('grids: geometry, headings, row labels, colour bands, empty allele cells', async () => {
    const session = await openPage();
    for (const [id, grid] of Object.entries(grids)) {
        const seen = await session.page.evaluate((gridId) => {
            const table = document.getElementById(gridId);
            const s = table.getBoundingClientRect().width / table.offsetWidth;
            return {
                tag: table.tagName,
                shape: Array.from(table.rows, (row) => row.cells.length),
                widths: Array.from(table.rows[1].cells, (cell) => cell.getBoundingClientRect().width / s),
                heights: Array.from(table.rows, (row) => row.getBoundingClientRect().height / s),
                rendered: Array.from(table.rows, (row) => Array.from(row.cells, (cell) => cell.innerText)),
                source: Array.from(table.rows, (row) => Array.from(row.cells, (cell) => cell.textContent)),
                colours: Array.from(table.rows, (row) =>
                    Array.from(row.cells, (cell) => getComputedStyle(cell).backgroundColor)),
                // The line right of and below an allele cell, and below a row label.
                lines: [table.rows[5].cells[1], table.rows[5].cells[0]].map((cell) => {
                    const style = getComputedStyle(cell);
                    return [style.borderRightColor, style.borderBottomColor];
                }),
            };
        }, id);
        assert.equal(seen.tag, 'TABLE', `${id} is a table`);
        assert.deepEqual(seen.shape, Array(GRID_ROWS).fill(3), `${id}: 21 rows of 3 cells`);
        grid.columns.forEach((w, c) =>
            assert.ok(Math.abs(seen.widths[c] - px(w)) <= 1, `${id} column ${c}: ${seen.widths[c]} px, not ${px(w)}`));
        seen.heights.forEach((hgt, r) =>
            assert.ok(Math.abs(hgt - px(grid.rowHeight)) <= 1, `${id} row ${r}: ${hgt} px, not ${px(grid.rowHeight)}`));

        assert.deepEqual(seen.lines, [Array(2).fill('rgb(192, 192, 192)'), Array(2).fill('rgb(0, 0, 0)')],
            `${id}: grey lines between cells, black between fixed cells`);
        assert.deepEqual(seen.source[0].slice(1), alleleHeadings, `${id} headings`);
        for (let r = 1; r < GRID_ROWS; ++r) {
            // innerText is what is drawn: both spaces of "Enfant  7" must show.
            assert.equal(seen.rendered[r][0], grid.rowLabel + r, `${id} row ${r} label`);
            assert.deepEqual(seen.source[r].slice(1), ['', ''], `${id} row ${r} starts empty`);
        }

        const bands = new Set(Array.from({ length: 20 }, (_, r) => bandColour(id, r + 1)).filter(Boolean));
        const plain = seen.colours[3][1]; // parent rows 3 and 4 are not coloured
        for (let r = 0; r < GRID_ROWS; ++r) {
            for (let c = 0; c < 3; ++c) {
                const colour = seen.colours[r][c];
                const band = r > 0 && c > 0 ? bandColour(id, r) : null;
                if (band)
                    assert.equal(colour, band, `${id} cell (${r}, ${c}) band colour`);
                else if (r > 0 && c > 0)
                    assert.equal(colour, plain, `${id} cell (${r}, ${c}) keeps the plain background`);
                else
                    assert.ok(!bands.has(colour), `${id} heading cell (${r}, ${c}) is not coloured: ${colour}`);
            }
        }
        if (id === 'Tableau_Parent')
            assert.ok(!bands.has(plain), `${id}: uncoloured rows differ from the bands`);
    }
    h.assertClean(session);
    await session.close();
});

test('main window: every text, caption, access key and starting state', async () => {
    const session = await openPage();
    const { page } = session;
    assert.equal(await page.title(), mainWindow.title, 'window title');
    for (const [id, control] of Object.entries(mainWindow.controls)) {
        if (control.text !== undefined)
            assert.equal(await page.locator(`#${id}`).textContent(), control.text, `${id} text`);
        if (control.caption !== undefined && id.startsWith('Frame'))
            assert.equal(await page.evaluate((f) => bocavoTestCaption(document.getElementById(f)), id),
                control.caption, `${id} caption`);
        if (control.enabled !== undefined) {
            const want = shown(control.caption);
            const text = await page.locator(`#${id}`).textContent();
            assert.equal(text.replace(/\s+/g, ' ').trim(), want.text, `${id} caption`);
            assert.equal(await h.underlined(page, id), want.key, `${id} underlines its access key`);
            assert.equal(await page.locator(`#${id}`).isEnabled(), control.enabled, `${id} enabled at start`);
        }
    }
    await h.click(page, 'help'); // the submenu's entries show once it is open
    for (const [id, caption] of Object.entries(mainWindow.menu)) {
        const want = shown(caption);
        assert.ok(await h.isShown(page, id), `${id} shown`);
        const text = await page.locator(`#${id}`).textContent();
        assert.equal(text.replace(/\s+/g, ' ').trim(), want.text, `${id} caption`);
        assert.equal(await h.underlined(page, id), want.key, `${id} underlines its access key`);
    }
    h.assertClean(session);
    await session.close();
});

for (const [win, table] of Object.entries(auxWindows)) {
    test(`${win}: client area, every box, title and texts`, async () => {
        const session = await openPage();
        const { page } = session;
        await h.openWindow(page, win);
        const ids = Object.keys(table.controls).map((name) => `${win}-${name}`);
        const expected = Object.fromEntries(
            Object.entries(table.controls).map(([name, c]) => [`${win}-${name}`, h.pxBox(c.box)]));
        const seen = await h.measure(page, ids[0], ids);
        assert.deepEqual(seen.client, table.client.map(px), 'client area');
        assert.deepEqual(h.boxMismatches(expected, seen.boxes), []);
        assert.equal(await page.evaluate((w) => bocavoTestCaption(document.getElementById(w)), win),
            table.title, 'title');
        assert.ok(await h.isShown(page, `${win}-close`), 'close button on the caption bar');

        for (const [name, control] of Object.entries(table.controls)) {
            const id = `${win}-${name}`;
            assert.equal(await page.locator(`#${id}`).getAttribute('data-name'), name, `${id} data-name`);
            if (control.text !== undefined) {
                const text = await page.evaluate((i) => {
                    const e = document.getElementById(i);
                    return ('value' in e && e.tagName === 'TEXTAREA' ? e.value : e.textContent).replace(/\r\n/g, '\n');
                }, id);
                assert.equal(text, control.text, `${id} text`);
            }
            if (control.caption !== undefined) {
                const want = shown(control.caption);
                const text = await page.locator(`#${id}`).textContent();
                assert.equal(text.replace(/\s+/g, ' ').trim(), want.text, `${id} caption`);
                assert.equal(await h.underlined(page, id), want.key, `${id} underlines its access key`);
            }
            if (control.colour !== undefined) {
                const colour = await page.locator(`#${id}`).evaluate((e) => getComputedStyle(e).backgroundColor);
                assert.equal(colour, control.colour, `${id} colour`);
            }
        }
        await checkWindowSpecifics(page, win);
        h.assertClean(session);
        await session.close();
    });
}

const style = (page, id, property) =>
    page.locator(`#${id}`).evaluate((e, p) => getComputedStyle(e)[p], property);

async function checkWindowSpecifics(page, win) {
    if (win === 'aprotocole') {
        assert.equal(await style(page, 'aprotocole-Label1', 'fontSize'), '16px', 'PROTOCOLE in 12 pt');
        assert.ok(Number(await style(page, 'aprotocole-Label1', 'fontWeight')) >= 700, 'PROTOCOLE in bold');
        for (const box of ['aprotocole-Text1', 'aprotocole-Text2'])
            assert.equal(await style(page, box, 'backgroundColor'), 'rgb(192, 192, 192)', `${box} grey`);
        const corner = await page.locator('#aprotocole-Label2').evaluate((e) => ({
            text: e.textContent,
            background: getComputedStyle(e).backgroundColor,
            border: getComputedStyle(e).borderTopStyle,
        }));
        assert.deepEqual(corner, { text: '', background: 'rgba(0, 0, 0, 0)', border: 'none' },
            'the gift corner cannot be seen');
    }
    if (win === 'apropos') {
        assert.equal(await style(page, 'apropos-Text1', 'backgroundColor'), 'rgb(192, 192, 192)');
        const text = await page.evaluate(() => {
            const e = document.getElementById('apropos-Text1');
            return ('value' in e && e.tagName === 'TEXTAREA' ? e.value : e.textContent).replace(/\r\n/g, '\n');
        });
        const history = '\n\n' + aboutHistory.join('\n') + '\n';
        assert.ok(text.endsWith(history), `About text ends with the version history:\n${JSON.stringify(text)}`);
        assert.ok(text.length > history.length && !text.startsWith('\n'), 'an authorship credit comes first');
    }
    if (win === 'Cadeau') {
        const picture = await page.locator('#Cadeau-Picture1').evaluate((e) => {
            const img = e.tagName === 'IMG' ? e : e.querySelector('img');
            return img && img.complete ? [img.naturalWidth, img.naturalHeight] : null;
        });
        assert.deepEqual(picture, giftPicture, 'the photograph, loaded, 178 × 154');
    }
}
