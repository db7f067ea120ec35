// The test server serves the site's files and nothing outside the site.
import assert from 'node:assert/strict';
import { mkdir, mkdtemp, rm, writeFile } from 'node:fs/promises';
import { request } from 'node:http';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { fileFor, serve } from './static_server.mjs';

test('request paths map into the site and never out of it', () => {
    const root = '/srv/site';
    assert.equal(fileFor(root, '/'), '/srv/site/index.html');
    assert.equal(fileFor(root, '/a/b.js?v=1'), '/srv/site/a/b.js');
    assert.equal(fileFor(root, '/%C3%A9t%C3%A9.png'), '/srv/site/été.png');
    for (const evil of ['/../etc/passwd', '/a/../../etc/passwd', '/%2e%2e/etc/passwd', '/..%2f..%2fetc', '/x%00', '/%E0%A4%A']) {
        const file = fileFor(root, evil);
        assert.ok(file === null || file.startsWith(root + '/'), `${evil} -> ${file}`);
    }
});

// A raw GET, so that the path reaches the server exactly as written.
const get = (url, rawPath) =>
    new Promise((resolve, reject) => {
        const { hostname, port } = new URL(url);
        request({ hostname, port, path: rawPath }, (res) => {
            let body = '';
            res.on('data', (chunk) => (body += chunk));
            res.on('end', () => resolve({ status: res.statusCode, type: res.headers['content-type'], body }));
        }).on('error', reject).end();
    });

test('serves the files with their types, 404 for the rest', async () => {
    const dir = await mkdtemp(path.join(tmpdir(), 'bocavo-site-'));
    await mkdir(path.join(dir, 'site'));
    await writeFile(path.join(dir, 'site', 'index.html'), '<p>page</p>');
    await writeFile(path.join(dir, 'site', 'bocavo.wasm'), 'wasm');
    await writeFile(path.join(dir, 'secret.txt'), 'secret');
    const server = await serve(path.join(dir, 'site'));
    try {
        assert.deepEqual(await get(server.url, '/'), { status: 200, type: 'text/html; charset=utf-8', body: '<p>page</p>' });
        assert.equal((await get(server.url, '/bocavo.wasm')).type, 'application/wasm');
        assert.equal((await get(server.url, '/missing.js')).status, 404);
        assert.equal((await get(server.url, '/../secret.txt')).status, 404);
        assert.equal((await get(server.url, '/%2e%2e/secret.txt')).status, 404);
        assert.deepEqual(server.requests, ['/', '/bocavo.wasm', '/missing.js', '/../secret.txt', '/%2e%2e/secret.txt']);
    } finally {
        await server.close();
        await rm(dir, { recursive: true, force: true });
    }
});
