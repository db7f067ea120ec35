// The page's scripts without a browser: their shape (index.html's order, each
// module made only from those before it), their JSDoc types against what the
// built module really hands over, and the pure helpers: captions, access-key
// letters, the scale, where windows open and how far they may go.
import assert from 'node:assert/strict';
import { readFileSync, readdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import vm from 'node:vm';

const here = path.dirname(fileURLToPath(import.meta.url));
const pageDir = path.join(here, '../../web/page');
const site = path.resolve(process.env.BOCAVO_WEB_SITE || path.join(here, '../../build-web/site'));
const source = (name) => readFileSync(path.join(pageDir, name), 'utf8');
const scripts = [...source('index.html').matchAll(/<script src="([^"]+)"><\/script>/g)].map((m) => m[1])
    .filter((name) => name !== 'bocavo-core.js');

// Runs the page's own registry and the given scripts; gives the modules made.
function load(names) {
    const made = {};
    const context = vm.createContext({ window: {} });
    vm.runInContext(source('bocavo.js'), context);
    const real = context.window.Bocavo;
    context.Bocavo = {
        define(name, needs, factory) {
            real.define(name, needs, (...args) => (made[name] = factory(...args)));
        },
    };
    for (const name of names)
        vm.runInContext(source(name), context);
    return { made, real };
}

test('index.html loads every script once, each module made only from modules defined before it', () => {
    const files = readdirSync(pageDir).filter((f) => f.endsWith('.js')).sort();
    assert.deepEqual([...scripts].sort(), files, 'every script of web/page is loaded, and only those');
    assert.equal(scripts[0], 'bocavo.js', 'the registry first');
    const defined = [];
    for (const name of scripts.slice(1)) {
        const text = source(name);
        const found = /Bocavo\.define\("([^"]+)", \[([^\]]*)\]/.exec(text);
        assert.ok(found, `${name} defines one module`);
        const needs = found[2].split(',').map((s) => s.trim().replace(/"/g, '')).filter(Boolean);
        for (const need of needs)
            assert.ok(defined.includes(need), `${name} needs ${need}, defined after it`);
        assert.deepEqual(text.match(/Bocavo\.\w+/g), ['Bocavo.define'], `${name} uses the global only to define itself`);
        defined.push(found[1]);
    }
    const { real } = load([]);
    assert.throws(() => real.define('early', ['later'], () => ({})), /not defined before it/);
});

test('labo.html loads every lab script once after the registry, each module made only from modules before it', () => {
    const labDir = path.join(pageDir, 'labo');
    const names = [...source('labo.html').matchAll(/<script src="([^"]+)"><\/script>/g)].map((m) => m[1]);
    assert.deepEqual(names.slice(0, 2), ['bocavo.js', 'labo-worker-text.js'], 'the registry, then the worker\'s text');
    // labo-worker.js is the worker's own script, inside labo-worker-text.js.
    const files = readdirSync(labDir).filter((f) => f.endsWith('.js') && f !== 'labo-worker.js').sort();
    assert.deepEqual(names.slice(2).sort(), files, 'every script of web/page/labo is loaded, and only those');
    const defined = ['workerText'];
    for (const name of names.slice(2)) {
        const text = readFileSync(path.join(labDir, name), 'utf8');
        const found = /Bocavo\.define\("([^"]+)", \[([^\]]*)\]/.exec(text);
        assert.ok(found, `${name} defines one module`);
        const needs = found[2].split(',').map((s) => s.trim().replace(/"/g, '')).filter(Boolean);
        for (const need of needs)
            assert.ok(defined.includes(need), `${name} needs ${need}, defined after it`);
        assert.deepEqual(text.match(/Bocavo\.\w+/g), ['Bocavo.define'], `${name} uses the global only to define itself`);
        defined.push(found[1]);
    }
});

const text = load(['text.js']).made.text;
const placement = load(['placement.js']).made.placement;
// Objects made in the scripts' own context, as plain ones of this one.
const plain = (object) => JSON.parse(JSON.stringify(object));

test('captions: the access key after "&", shown without it', () => {
    for (const [caption, parts] of [
        ['&Simulation', ['', 'S', 'imulation']],
        ['&Génération suivante', ['', 'G', 'énération suivante']],
        ['&?', ['', '?', '']],
        ['&OK !!!', ['', 'O', 'K !!!']],
        ['A propos ...', ['A propos ...', '', '']],
        ['fin&', ['fin&', '', '']],
    ])
        assert.deepEqual(Object.values(text.accessKey(caption)), parts, caption);
});

test('access-key letters: the character typed, else the key\'s place', () => {
    for (const [key, code, letter] of [
        ['s', 'KeyS', 's'], ['S', 'KeyS', 's'], ['é', 'Digit2', 'é'], ['?', 'Slash', '?'],
        ['†', 'KeyT', 't'], ['Enter', 'Enter', ''], ['1', 'Digit1', ''],
    ])
        assert.equal(text.letterOf(key, code), letter, `${key} ${code}`);
    assert.equal(text.controlId('Tableau', 'Simuler'), 'Simuler');
    assert.equal(text.controlId('legende', 'Label1'), 'legende-Label1');
});

// The main window and the legend at 100 %, outer sizes.
const main = { width: 580, height: 614 };
const legend = { width: 292, height: 164 };

test('the scale: as large as the viewport allows, leaving room for the legend where that keeps 100 %', () => {
    for (const [width, height, expected] of [
        [1920, 1080, 1080 / 614], // no room needed: the height decides
        [1280, 1024, 1280 / (580 + 4 + 292)], // room beside
        [768, 1024, 1024 / (614 + 4 + 164)], // room below
        [360, 640, 360 / 580], // a phone: only the fit
    ])
        assert.ok(Math.abs(placement.fitScale({ width, height }, main, legend) - expected) < 1e-9, `${width}×${height}`);
});

test('a caption stays within reach: 40 px beside the close button, its whole height', () => {
    const view = { width: 800, height: 600 };
    const keep = (left, top, v = view) => plain(placement.keepReachable({ left, top, width: 300 }, v, 40, 20, 22));
    assert.deepEqual(keep(100, 100), { left: 100, top: 100 }, 'inside: unchanged');
    assert.deepEqual(keep(5000, 5000), { left: 760, top: 578 }, 'far right and below');
    assert.deepEqual(keep(-5000, -50), { left: -240, top: 0 }, 'far left: 40 px left of the close button');
    assert.deepEqual(keep(300, 10, { width: 30, height: 10 }), { left: -10, top: 0 },
        'a view narrower than the reach: all of it over the caption');
    assert.deepEqual(plain(placement.keepReachable({ left: 30, top: 0, width: 50 }, { width: 45, height: 40 }, 40, 20, 22)),
        { left: 0, top: 0 }, 'no place can do: the top-left corner');
});

test('a new window opens beside the main window where there is room, else cascaded, never off-screen', () => {
    const view = { width: 1280, height: 1024 };
    const mainRect = { left: 0, top: 0, width: 840, height: 890 };
    assert.deepEqual(plain(placement.placeWindow(legend, mainRect, [], view, 20)), { left: 844, top: 0 }, 'beside, at the top');
    const first = { left: 844, top: 0, ...legend };
    assert.deepEqual(plain(placement.placeWindow(legend, mainRect, [first], view, 20)), { left: 844, top: 168 },
        'under the first one');
    const big = { width: 700, height: 740 };
    const spot = placement.placeWindow(big, mainRect, [first], view, 20);
    assert.ok(spot.left + big.width <= view.width && spot.top + big.height <= view.height && spot.left >= 0,
        `no room: on screen all the same (${JSON.stringify(spot)})`);
    assert.ok(spot.left + big.width > mainRect.width, 'and out from under the main window as far as it goes');
    const phone = placement.placeWindow(legend, { left: 0, top: 0, width: 360, height: 380 }, [], { width: 360, height: 380 }, 16);
    assert.deepEqual(plain(phone), { left: 16, top: 16 }, 'a phone: cascaded over the main window');
    const centred = placement.centre({ width: 200, height: 100 }, { width: 1000, height: 500 });
    assert.deepEqual(plain(centred), { left: 400, top: 200 }, 'a box centred');
});

// "@property {type} [name]" lines of a JSDoc typedef: [name, optional].
function typedef(name) {
    const block = new RegExp(`@typedef \\{[^}]+\\} ${name}\\n((?:\\s*\\* @property.*\\n)+)`).exec(source('bocavo.js'));
    assert.ok(block, `typedef ${name}`);
    return [...block[1].matchAll(/@property \{.+?\} (\[?)(\w+)/g)].map((m) => [m[2], m[1] === '[']);
}

function assertShape(object, name, where) {
    const props = typedef(name);
    const keys = Object.keys(object);
    const declared = props.map(([p]) => p);
    assert.deepEqual(keys.filter((k) => !declared.includes(k)), [], `${where}: fields the ${name} type lacks`);
    assert.deepEqual(props.filter(([p, optional]) => !optional && !keys.includes(p)).map(([p]) => p), [],
        `${where}: ${name} fields the core does not give`);
}

test('the JSDoc types mirror what the module hands over: layout table, windows, controls, screen', async () => {
    const BocavoModule = createRequire(import.meta.url)(path.join(site, 'bocavo-core.js'));
    const core = await BocavoModule();
    const layout = core.layout();
    assertShape(layout, 'LayoutTable', 'layout');
    for (const win of ['Tableau', 'legende', 'aprotocole', 'apropos', 'Cadeau']) {
        assertShape(layout[win], 'WindowLayout', win);
        for (const [name, control] of Object.entries(layout[win].controls)) {
            assertShape(control, 'ControlLayout', `${win}.${name}`);
            assertShape(control.box, 'Box', `${win}.${name}.box`);
        }
    }
    const session = new core.Session(',');
    assertShape(session.screen(), 'Screen', 'screen at start');
    assertShape(session.simulation(), 'Screen', 'screen after Simulation');
    session.delete();
});
