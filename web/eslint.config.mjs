// ESLint for the page's scripts: classic scripts in the browser, with one
// global each way (Bocavo, theirs; BocavoModule, the built module's).
import js from '@eslint/js';

const browser = {
    window: 'readonly', document: 'readonly', navigator: 'readonly', getComputedStyle: 'readonly',
    requestAnimationFrame: 'readonly', Intl: 'readonly', WeakMap: 'readonly', PointerEvent: 'readonly',
    MouseEvent: 'readonly', NodeFilter: 'readonly', performance: 'readonly', visualViewport: 'readonly',
    innerWidth: 'readonly', innerHeight: 'readonly', matchMedia: 'readonly',
    Blob: 'readonly', URL: 'readonly', Worker: 'readonly', Image: 'readonly', Promise: 'readonly',
};
// The lab worker's own scope.
const worker = {
    self: 'readonly', setTimeout: 'readonly', atob: 'readonly', Blob: 'readonly', Response: 'readonly',
    DecompressionStream: 'readonly', Uint8Array: 'readonly', Promise: 'readonly',
};

export default [
    js.configs.recommended,
    {
        files: ['page/**/*.js'],
        languageOptions: {
            ecmaVersion: 2020,
            sourceType: 'script',
            globals: { ...browser, Bocavo: 'readonly', BocavoModule: 'readonly' },
        },
        rules: {
            'no-implicit-globals': 'error',
            'no-unused-expressions': ['error', { allowTernary: true }],
            strict: ['error', 'global'],
        },
    },
    {
        files: ['page/labo/labo-worker.js'],
        languageOptions: { globals: { ...worker } },
    },
];
