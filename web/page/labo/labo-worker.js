// The lab page's worker: it holds the laboratory module and one session, and
// answers the page's messages. A command runs in slices of kSliceSeconds, each
// followed by the state it left, so that progress shows and a cancel, read
// between two slices, takes effect at once. Its text comes after the
// module's packed WebAssembly and script in one Blob (labo-worker-text.js):
// nothing is fetched.
"use strict";

/* global BocavoLabModule, kLabWasm, kLabScript, importScripts */
(function () {
    var kSliceSeconds = 0.05;
    var module = null;
    var session = null;
    var series = null;
    var pending = [];
    var running = false;

    function post(id, answer) {
        self.postMessage({ id: id, answer: answer });
    }

    // Slices until the command is over; each state goes to the page as it comes.
    function run(id) {
        var state = session.step(kSliceSeconds);
        post(id, state);
        if (state.busy) {
            setTimeout(function () { run(id); }, 0);
            return;
        }
        running = false;
    }

    function handle(message) {
        var id = message.id;
        var kind = message.kind;
        if (kind === "begin") {
            var fields = module.defaultFields();
            return post(id, { table: module.parameterTable(), fields: fields, check: module.checkFields(fields, ""),
                state: session.state() });
        }
        if (kind === "check")
            return post(id, module.checkFields(message.fields, message.consigne));
        if (kind === "open")
            return post(id, module.openScenario(message.text, message.name));
        if (kind === "openLink")
            return post(id, module.openLink(message.fragment));
        if (kind === "link")
            return post(id, module.scenarioLinkOf(message.fields, message.consigne));
        if (kind === "every")
            return post(id, module.readEvery(message.text));
        if (kind === "pending")
            return post(id, session.pending(message.fields));
        if (kind === "view")
            return post(id, session.view(message.name, message.options));
        if (kind === "table")
            return post(id, session.table(message.name, message.options, message.decimal));
        if (kind === "csvPlan")
            return post(id, session.csvPlan(message.every));
        if (kind === "csvPart")
            return post(id, session.csvPart());
        // « Série de tailles »: one slice per message, so that a cancel comes between two.
        if (kind === "seriesCheck")
            return post(id, series.check(message.fields, message.sizes));
        if (kind === "seriesStart")
            return post(id, series.start(message.fields, message.sizes));
        if (kind === "seriesStep")
            return post(id, series.step(kSliceSeconds));
        if (kind === "seriesTable")
            return post(id, series.table(message.decimal));
        if (kind === "seriesCancel")
            return post(id, series.cancel());
        if (kind === "cancel")
            return post(id, session.cancel());
        if (kind === "reset")
            return post(id, session.reset());
        var state = kind === "launch" ? session.launch(message.fields)
            : kind === "fixation" ? session.untilFixation(message.fields)
                : session.nextGeneration();
        post(id, state);
        if (state.busy && !running) {
            running = true;
            setTimeout(function () { run(id); }, 0);
        }
    }

    self.onmessage = function (event) {
        if (!module) {
            pending.push(event.data);
            return;
        }
        handle(event.data);
    };

    // The bytes of a gzipped base64 text.
    function unpacked(packed) {
        var binary = atob(packed);
        var bytes = new Uint8Array(binary.length);
        for (var i = 0; i < binary.length; ++i)
            bytes[i] = binary.charCodeAt(i);
        var inflated = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("gzip"));
        return new Response(inflated).arrayBuffer();
    }

    // The module's script runs as this worker's own (its BocavoLabModule a
    // global), from a Blob the worker makes: still nothing fetched.
    unpacked(kLabScript).then(function (script) {
        var url = URL.createObjectURL(new Blob([script], { type: "text/javascript" }));
        importScripts(url);
        URL.revokeObjectURL(url);
        return unpacked(kLabWasm);
    }).then(function (buffer) {
        return BocavoLabModule({ wasmBinary: buffer });
    }).then(function (loaded) {
        module = loaded;
        session = new module.LabSession();
        series = new module.LabSeries();
        pending.forEach(handle);
        pending = [];
    }, function (error) {
        self.postMessage({ id: 0, answer: { error: String(error) } });
    });
})();
