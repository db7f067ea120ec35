// A small static file server on the loopback interface, standing in for a
// school's web space: plain GET of the site's files, nothing else.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import path from 'node:path';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.wasm': 'application/wasm',
    '.json': 'application/json',
    '.png': 'image/png',
    '.jpg': 'image/jpeg',
    '.gif': 'image/gif',
    '.bmp': 'image/bmp',
    '.svg': 'image/svg+xml',
    '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8',
};

// Resolves a request path inside root, or null when it would leave it.
export function fileFor(root, urlPath) {
    let decoded;
    try {
        decoded = decodeURIComponent(urlPath.split('?')[0]);
    } catch {
        return null;
    }
    if (decoded.includes('\0'))
        return null;
    const file = path.resolve(root, '.' + path.posix.normalize('/' + decoded));
    const inside = path.relative(root, file);
    if (inside.startsWith('..') || path.isAbsolute(inside))
        return null;
    return decoded.endsWith('/') ? path.join(file, 'index.html') : file;
}

// Serves root on 127.0.0.1 at a free port; resolves to { url, requests, close }.
// `requests` lists every path asked for, so a test can tell what the page fetched.
export function serve(root) {
    const absoluteRoot = path.resolve(root);
    const requests = [];
    const server = createServer(async (req, res) => {
        requests.push(req.url);
        if (req.method !== 'GET' && req.method !== 'HEAD') {
            res.writeHead(405, { Allow: 'GET, HEAD' }).end();
            return;
        }
        const file = fileFor(absoluteRoot, req.url);
        try {
            if (!file || !(await stat(file)).isFile())
                throw new Error('not a file');
            const body = await readFile(file);
            res.writeHead(200, {
                'Content-Type': types[path.extname(file).toLowerCase()] ?? 'application/octet-stream',
                'Content-Length': body.length,
                'Cache-Control': 'no-store',
            });
            res.end(req.method === 'HEAD' ? undefined : body);
        } catch {
            res.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('introuvable');
        }
    });
    return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(0, '127.0.0.1', () => {
            const { port } = server.address();
            resolve({
                url: `http://127.0.0.1:${port}/`,
                requests,
                close: () => new Promise((done) => server.close(done)),
            });
        });
    });
}
