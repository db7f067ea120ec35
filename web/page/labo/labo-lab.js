// The laboratory as the page sees it: a worker made from the text the page
// holds (labo-worker-text.js), asked by messages, each answer a promise. A
// command's states come one per slice to `onState` until it is over.
"use strict";

/**
 * A set's fields as typed (web/bindings/lab_session.h, SetFields).
 * @typedef {Object} SetFields
 * @property {string} individuals
 * @property {string} model "protocole" or "wright-fisher"
 * @property {string} alleles
 * @property {string[]} urn four texts, allele 1 first
 * @property {string[]} fitness four texts
 * @property {string} mutation
 * @property {string} migration
 * @property {string} history « génération:N » pairs, empty for none
 * @property {string} genotypes the fitness of 11, 12 and 22, empty for none
 */

/**
 * The parameters' fields (ScenarioFields).
 * @typedef {Object} ScenarioFields
 * @property {string} classes
 * @property {string} generations
 * @property {string} seed
 * @property {boolean} compare set B too
 * @property {SetFields} a
 * @property {SetFields} b
 */

/**
 * The fields' checks: each refusal names its field ("classes", "A.urn.2",
 * "scenario" for how they fit together); text is the scenario file's once sound.
 * Once sound, saved says the scenario is saved; otherwise saveRefused says why it cannot be.
 * @typedef {{refusals: {field: string, text: string}[], text?: string, saved?: string, saveRefused?: string}} FieldCheck
 */

/**
 * Where the run stands (LabModuleSession::state).
 * @typedef {Object} LabState
 * @property {boolean} busy
 * @property {number} progress 0..1 of the command under way
 * @property {string} status the last command's French outcome
 * @property {string} runLabel
 * @property {{lancer: boolean, fixation: boolean, suivante: boolean, reinitialiser: boolean, annuler: boolean, exporter: boolean}} enabled
 * @property {number} sets 0, 1 or 2
 * @property {string[]} summary the run's parameters in a few lines, printed beside a view
 * @property {string} [refused] why the command was refused
 * @property {string} [error] what went wrong, in French
 */

/**
 * A CSV download's plan (LabModuleSession::csvPlan).
 * @typedef {Object} CsvPlan
 * @property {number} bytes
 * @property {string} bytesText
 * @property {boolean} large above the desktop's threshold
 * @property {string} [warning]
 * @property {number} suggestedEvery the K that brings it under the threshold
 * @property {string} scenario the scenario that reproduces the file
 * @property {string} [error]
 */

Bocavo.define("lab", ["workerText"], function (workerText) {
    /**
     * @param {function(LabState): void} onState each state of a running command
     */
    function start(onState) {
        var url = URL.createObjectURL(new Blob([workerText.text], { type: "text/javascript" }));
        var worker = new Worker(url);
        var next = 1;
        var waiting = {};
        var failed = null;

        worker.onmessage = function (event) {
            var id = event.data.id;
            var answer = event.data.answer;
            if (id === 0) {
                failed = answer;
                onState(answer);
                return;
            }
            if (waiting[id]) {
                var resolve = waiting[id];
                delete waiting[id];
                resolve(answer);
            } else {
                onState(answer); // the slices after a command's first answer
            }
        };

        /**
         * @param {Object} message kind and its arguments
         * @returns {Promise<*>}
         */
        function ask(message) {
            if (failed)
                return Promise.resolve(failed);
            var id = next++;
            message.id = id;
            return new Promise(function (resolve) {
                waiting[id] = resolve;
                worker.postMessage(message);
            });
        }

        return { ask: ask };
    }

    return { start: start };
});
