// A lesson handed out as a link: the lab page opened on `labo.html#scenario=…`
// shows the scenario's fields and its consigne beside them, « Copier le lien
// de ce scénario » makes the same link again, saving keeps the consigne, and a
// cut or overlong link is refused in French with the page left as it was.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { after, before, test } from 'node:test';
import * as h from './harness.mjs';

let browser, site;
before(async () => {
    browser = await h.launch();
    site = await h.startSite();
    site.url = site.prefix + 'labo.html';
});
after(async () => {
    await browser?.close();
    await site?.close();
});

const labReady = (page) => page.waitForSelector('#lancer:enabled', { timeout: 15000 });
const openLab = (fragment = '') => h.openPage(browser, site, { ready: labReady, fragment });
const status = (page) => page.textContent('#etat');

const consigne = 'Observez l\'allèle 1 : est-il perdu plus vite ?\n\n' +
    'classes = 5\n# Question 2 : comparez avec le jeu B.\n\t- à la génération 50';
const lesson = ['format = 1', 'classes = 12', 'generations = 80', 'seed = 7', 'sets = A, B',
    '[A]', 'individuals = 40', 'model = wright-fisher', 'alleles = 2', 'urn = 30, 50', 'fitness = 100, 110',
    'mutation = 0.001', 'migration = 0.1',
    '[B]', 'individuals = 200', 'model = protocole', 'alleles = 4', 'urn = 100, 100, 100, 100',
    'fitness = 100, 100, 100, 100', 'mutation = 0', 'migration = 0',
    '[consigne]', consigne, ''].join('\n');

async function copyLink(page) {
    await page.click('#copierLien');
    await page.waitForSelector('#lien:not([hidden])');
    return page.inputValue('#lienScenario');
}

test('a link opens the lesson: its fields, its consigne, and the same link again', async () => {
    const teacher = await openLab();
    assert.equal(await teacher.page.isHidden('#cadreConsigne'), true, 'no consigne, no box');
    await teacher.page.setInputFiles('#fichierScenario',
        { name: 'lecon.scenario', mimeType: 'text/plain', buffer: Buffer.from(lesson) });
    await teacher.page.waitForFunction(() => document.getElementById('etat').textContent.includes('ouvert'));
    assert.equal(await teacher.page.textContent('#consigne'), consigne);
    const link = await copyLink(teacher.page);
    assert.match(link, /labo\.html#scenario=\d+\.[A-Za-z0-9_-]+$/);
    assert.match(await status(teacher.page), /^(Lien du scénario copié|Le navigateur n'a pas laissé copier)/);
    h.assertClean(teacher);
    await teacher.close();

    const pupil = await openLab(link.slice(link.indexOf('#')));
    const { page } = pupil;
    await page.waitForFunction(() => document.getElementById('etat').textContent.startsWith('Scénario du lien'));
    assert.equal(await page.isVisible('#consigne'), true);
    assert.equal(await page.textContent('#consigne'), consigne);
    const fields = { classes: '12', generations: '80', graine: '7', 'jeuA-individus': '40', 'jeuA-urne2': '50',
        'jeuA-mutation': '0.001', 'jeuB-individus': '200' };
    for (const [id, value] of Object.entries(fields))
        assert.equal(await page.inputValue(`#${id}`), value, id);
    assert.equal(await page.isChecked('#comparer'), true);
    assert.equal(await copyLink(page), link, 'the pupil\'s page makes the teacher\'s link');

    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#enregistrer')]);
    const saved = await readFile(await download.path(), 'utf8');
    assert.ok(saved.endsWith('[consigne]\n' + consigne + '\n'), saved);
    h.assertClean(pupil);
    await pupil.close();
});

test('a cut, altered or overlong link is refused in French, and the page stays as it was', async () => {
    const whole = await openLab();
    await whole.page.setInputFiles('#fichierScenario',
        { name: 'lecon.scenario', mimeType: 'text/plain', buffer: Buffer.from(lesson) });
    await whole.page.waitForFunction(() => document.getElementById('etat').textContent.includes('ouvert'));
    const link = await copyLink(whole.page);
    await whole.close();
    const fragment = link.slice(link.indexOf('#'));
    const cases = [
        { fragment: fragment.slice(0, -5), said: /abîmé/ },
        { fragment: fragment.replace(/=\d+\./, '=3.'), said: /abîmé/ },
        { fragment: '#scenario=' + 'A'.repeat(9000), said: /trop long/ },
        { fragment: '#autre=1', said: /n'ouvre pas de scénario/ },
    ];
    for (const c of cases) {
        const session = await openLab(c.fragment);
        const { page } = session;
        await page.waitForFunction(() => document.getElementById('etat').textContent.startsWith('Le scénario du lien'));
        assert.match(await status(page), /^Le scénario du lien n'a pas été ouvert ; les paramètres restent tels quels\./);
        assert.match(await status(page), c.said);
        assert.equal(await page.inputValue('#classes'), '30', 'the defaults stay');
        assert.equal(await page.isHidden('#cadreConsigne'), true);
        h.assertClean(session);
        await session.close();
    }
});
