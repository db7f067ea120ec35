// The program's start and end in the page. The WebAssembly module holds the
// run (engine and run-control core) and the layout table; the page builds
// the windows from that table, forwards every command to the core and shows
// the screen it answers with. Nothing here computes a genotype or a text.
"use strict";

var Bocavo = window.Bocavo || (window.Bocavo = {});

(function () {
    var module = null;
    var layout = null;
    var ending = false;
    var shown = null; // the core's last screen

    // The separator the browser's language writes in 22.5 (fr: ",", en: ".").
    function decimalSeparator() {
        try {
            var parts = new Intl.NumberFormat(navigator.language).formatToParts(22.5);
            var decimal = parts.filter(function (p) { return p.type === "decimal"; })[0];
            return decimal ? decimal.value : ".";
        } catch (unknownLanguage) {
            return ".";
        }
    }

    // The main window, fitted to the viewport whatever its size, keeping
    // its proportions; the auxiliary windows scale with it.
    function fit() {
        var stage = document.getElementById("stage");
        var main = document.getElementById("Tableau");
        if (!main) return;
        var width = main.offsetWidth;
        var height = main.offsetHeight;
        var scale = Math.min(window.innerWidth / width, window.innerHeight / height);
        Bocavo.scale = scale;
        stage.style.transform = "scale(" + scale + ")";
        stage.style.left = Math.max(0, (window.innerWidth - width * scale) / 2) + "px";
        stage.style.top = Math.max(0, (window.innerHeight - height * scale) / 2) + "px";
        stage.setAttribute("data-scale", String(scale));
    }

    // A fresh program start: the generator at its fixed state, the main
    // window as at load, nothing else open.
    function start() {
        ending = false;
        Bocavo.session = new module.Session(decimalSeparator());
        Bocavo.tableau.create(layout, function () { end(); });
        shown = Bocavo.session.screen();
        Bocavo.tableau.show(shown);
        fit();
        document.getElementById("Tableau_Parent").focus({ preventScroll: true });
    }

    // The end of the program: every window goes, shown or hidden.
    function end() {
        if (ending) return;
        ending = true;
        Bocavo.menu.close();
        Bocavo.boxes.close();
        Bocavo.aux.closeAll();
        Bocavo.windows.all().forEach(function (w) { w.remove(); });
        if (Bocavo.session) {
            Bocavo.session.delete();
            Bocavo.session = null;
        }
        Bocavo.boxes.ended(start);
    }

    // An internal error: the desktop's words in its box, then the end.
    function fail(description) {
        if (ending) return;
        var messages = layout ? layout.messages : null;
        var text = messages
            ? messages.internalError.replace("%1", description)
            : "Erreur interne du programme :\n" + description + "\n\nBocavo va se fermer.";
        Bocavo.boxes.error(messages ? messages.errorTitle : "Bocavo", text, end);
    }

    function show(answer) {
        if (answer.error !== undefined) {
            fail(answer.error);
            return;
        }
        shown = answer;
        Bocavo.tableau.show(answer);
    }

    var commands = {
        Simuler: function () { show(Bocavo.session.simulation()); },
        GenSuiv: function () { show(Bocavo.session.nextGeneration()); },
        Command1: function () { Bocavo.aux.show("legende"); },
        protocole: function () { Bocavo.aux.show("aprotocole"); },
        propos: function () { Bocavo.aux.show("apropos"); },
        quit: function () { Bocavo.boxes.quit(layout.messages, end); }
    };

    // The commands the core turns on and off, and the screen field that says.
    var switches = { Simuler: "simulerEnabled", GenSuiv: "genSuivEnabled" };

    // A script's click reaches a disabled button's handler all the same: the
    // core's screen, not the button, says whether a command may run.
    function enabled(name) {
        return !Object.prototype.hasOwnProperty.call(switches, name) || Boolean(shown[switches[name]]);
    }

    // Runs one command of the main window, as a click or its key does.
    Bocavo.run = function (name) {
        if (ending || !Bocavo.session || !enabled(name)) return;
        try {
            commands[name]();
        } catch (error) {
            fail(error && error.message ? error.message : String(error));
        }
    };

    window.addEventListener("error", function (event) {
        event.preventDefault();
        fail(event.message || "erreur inconnue");
    });
    window.addEventListener("unhandledrejection", function (event) {
        event.preventDefault();
        fail(String(event.reason && event.reason.message ? event.reason.message : event.reason));
    });
    window.addEventListener("resize", fit);

    Bocavo.windows.attach(document.getElementById("stage"));
    BocavoModule({
        onAbort: function (what) { fail(String(what)); }
    }).then(function (loaded) {
        module = loaded;
        layout = module.layout();
        Bocavo.layout = layout;
        document.title = layout.Tableau.title;
        Bocavo.aux.use(layout);
        var root = document.documentElement.style;
        root.setProperty("--grid-empty", layout.colours.gridEmptyArea);
        root.setProperty("--grid-lines", layout.colours.gridLines);
        root.setProperty("--grid-fixed-lines", layout.colours.gridFixedLines);
        root.setProperty("--text-box", layout.colours.textBox);
        root.setProperty("--main-points", layout.Tableau.fontPoints + "pt");
        root.setProperty("--interface-points", layout.interfacePoints + "pt");
        root.setProperty("--tab-characters", String(layout.charactersPerTab));
        start();
    }, function (reason) {
        fail(String(reason));
    });
})();
