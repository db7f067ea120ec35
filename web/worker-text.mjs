// Build step of the lab page: the lab worker's whole text in a classic
// script the page loads like any other, so that the page makes its worker
// from a Blob of that text (a page opened from a disk may not start a worker
// from a file). The text is the module's WebAssembly and its script, each
// gzipped and in base64 (the worker inflates them with DecompressionStream):
// the site keeps within its size that way; then the worker's own script.
//   node worker-text.mjs bocavo-labo-core.js labo-worker.js labo-worker-text.js
import { readFileSync, writeFileSync } from 'node:fs';
import { gzipSync } from 'node:zlib';

const [moduleFile, workerFile, output] = process.argv.slice(2);
const packed = (bytes) => gzipSync(bytes, { level: 9 }).toString('base64');
const text = 'var kLabWasm = "' + packed(readFileSync(moduleFile.replace(/\.js$/, '.wasm'))) + '";\n' +
    'var kLabScript = "' + packed(readFileSync(moduleFile)) + '";\n' + readFileSync(workerFile, 'utf8');
writeFileSync(output,
    '// Made by web/worker-text.mjs: the lab worker\'s whole text.\n' +
    '"use strict";\n\n' +
    'Bocavo.define("workerText", [], function () {\n' +
    '    return { text: ' + JSON.stringify(text) + ' };\n' +
    '});\n');
