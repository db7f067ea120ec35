// The program's start and end in the page. The WebAssembly module holds the
// run (engine and run core) and the layout table; the page builds the
// windows from that table, forwards every command to the core and shows the
// screen it answers with. Nothing here computes a genotype or a text.
"use strict";

Bocavo.define("page", ["placement", "windows", "tableau", "auxWindows", "boxes", "keys"],
    function (placement, windows, tableau, auxWindows, boxes, keys) {
        /** @type {PageState} */
        var page = {
            desk: document.getElementById("desk"),
            stage: document.getElementById("stage"),
            scale: 1,
            layout: null
        };
        var module = null;
        var session = null;
        var main = null; // the main window: { element, menu, accessKeys }
        var aux = auxWindows.create(page);
        var box = boxes.create(page);
        var ending = false;
        var shown = null; // the core's last screen

        // The separator the browser's language writes in 22.5 (fr: ",", en: ".").
        function decimalSeparator() {
            try {
                var parts = new Intl.NumberFormat(navigator.language).formatToParts(22.5);
                var decimal = parts.filter(function (p) { return p.type === "decimal"; })[0];
                return decimal ? decimal.value : ".";
            } catch {
                return "."; // a language the browser does not know
            }
        }

        // The scale of every window for this viewport, every window kept
        // within reach, an open box centred again.
        function fit() {
            if (!main)
                return;
            // The legend with its caption and borders: the window most often kept open beside.
            var legend = page.layout.legende.client;
            page.scale = placement.fitScale({ width: window.innerWidth, height: window.innerHeight },
                { width: main.element.offsetWidth, height: main.element.offsetHeight },
                { width: legend.width + 4, height: legend.height + 22 });
            page.stage.style.transform = "scale(" + page.scale + ")";
            document.documentElement.style.setProperty("--scale", String(page.scale));
            windows.keepAllInView(page);
            box.fit();
        }

        // A fresh program start: the generator where the address's group
        // starts it (#groupe=K&graine=S, read by the core; group 1 of the
        // fixed seed without one), the main window as at load, nothing else
        // open. A group the core refuses is refused in its words, as the
        // desktop refuses the same options.
        function start() {
            ending = false;
            var group = module.groupOfFragment(window.location.hash);
            if (group.error !== undefined) {
                box.error(page.layout.messages.errorTitle, group.error, end);
                return;
            }
            var desc = page.layout.Tableau;
            if (group.number === undefined) {
                session = new module.Session(decimalSeparator());
            } else {
                session = new module.Session(decimalSeparator(), group.number, group.seed);
                desc = Object.assign({}, desc, { title: desc.title + desc.groupTitle + group.number });
            }
            groupField.value = group.number === undefined ? "" : String(group.number);
            document.title = desc.title;
            main = tableau.create(page, desc, run, end);
            windows.moveTo(page, main.element, 0, 0);
            shown = session.screen();
            tableau.show(shown);
            fit();
            document.getElementById("Tableau_Parent").focus({ preventScroll: true });
        }

        // Every window goes, shown or hidden, and the session with them.
        function stop() {
            box.close();
            aux.closeAll();
            windows.all(page).forEach(function (w) { w.remove(); });
            main = null;
            if (session) {
                session.delete();
                session = null;
            }
        }

        // The end of the program.
        function end() {
            if (ending)
                return;
            ending = true;
            stop();
            box.ended(start);
        }

        // Another group chosen in the address or in the « Groupe n° » field:
        // the program starts again on it, whatever it was doing.
        function restart() {
            if (!page.layout)
                return;
            stop();
            var ended = document.getElementById("ended");
            if (ended)
                ended.remove();
            start();
        }

        // The « Groupe n° » field, outside the window: a number the core
        // accepts goes into the address, which restarts the program; one it
        // refuses is said beside the field, and the program goes on.
        function chooseGroup(event) {
            event.preventDefault();
            if (!module)
                return;
            var current = module.groupOfFragment(window.location.hash);
            var fragment = "groupe=" + encodeURIComponent(groupField.value) +
                (current.seed !== undefined ? "&graine=" + current.seed : "");
            var chosen = module.groupOfFragment(fragment);
            groupRefusal.textContent = chosen.error !== undefined ? chosen.error : "";
            if (chosen.error !== undefined)
                return;
            if (window.location.hash === "#" + fragment)
                restart();
            else
                window.location.hash = fragment; // hashchange restarts
        }
        var groupForm = document.getElementById("groupe");
        var groupField = document.getElementById("groupeNumero");
        var groupRefusal = document.getElementById("groupeRefus");
        groupForm.addEventListener("submit", chooseGroup);
        // The field's keys are its own, not the window's (Enter, Tab, Escape).
        groupForm.addEventListener("keydown", function (event) { event.stopPropagation(); });
        window.addEventListener("hashchange", restart);

        // An internal error: the desktop's words in its box, then the end.
        // Without the module there are none: the page says it could not start.
        function fail(description) {
            if (ending)
                return;
            if (!page.layout) {
                var broken = document.getElementById("broken");
                broken.querySelector(".reason").textContent = description;
                broken.hidden = false;
                return;
            }
            var messages = page.layout.messages;
            box.error(messages.errorTitle, messages.internalError.replace("%1", description), end);
        }

        function show(answer) {
            if (answer.error !== undefined) {
                fail(answer.error);
                return;
            }
            shown = answer;
            tableau.show(answer);
        }

        var commands = {
            Simuler: function () { show(session.simulation()); },
            GenSuiv: function () { show(session.nextGeneration()); },
            Command1: function () { aux.show("legende"); },
            protocole: function () { aux.show("aprotocole"); },
            propos: function () { aux.show("apropos"); },
            quit: function () { box.quit(page.layout.messages, end); }
        };

        // The commands the core turns on and off, and the screen field that says.
        var switches = { Simuler: "simulerEnabled", GenSuiv: "genSuivEnabled" };

        // A script's click reaches a disabled button's handler all the same: the
        // core's screen, not the button, says whether a command may run.
        function enabled(name) {
            return !Object.prototype.hasOwnProperty.call(switches, name) || Boolean(shown[switches[name]]);
        }

        // Runs one command of the main window, as a click or its key does.
        function run(name) {
            if (ending || !session || !enabled(name))
                return;
            try {
                commands[name]();
            } catch (error) {
                fail(error && error.message ? error.message : String(error));
            }
        }

        // Escape: what Alt+F4 does on the desktop. The main window's close
        // ends the program, as its close button does; another window goes.
        function closeWindow(win) {
            if (win.id === "Tableau")
                end();
            else
                aux.discard(win.id);
        }

        window.addEventListener("error", function (event) {
            event.preventDefault();
            fail(event.message || "erreur inconnue");
        });
        window.addEventListener("unhandledrejection", function (event) {
            event.preventDefault();
            fail(String(event.reason && event.reason.message ? event.reason.message : event.reason));
        });
        window.addEventListener("resize", fit);
        // The bare desk takes no focus: the window in front keeps it.
        page.desk.addEventListener("mousedown", function (event) {
            if (event.target === page.desk || event.target === page.stage)
                event.preventDefault();
        });
        document.addEventListener("pointerdown", function (event) {
            if (main)
                main.menu.pointerDown(event.target);
        }, true);
        keys.install(page, {
            boxes: box,
            main: function () { return main; },
            closeWindow: closeWindow
        });

        BocavoModule({
            onAbort: function (what) { fail(String(what)); }
        }).then(function (loaded) {
            module = loaded;
            page.layout = module.layout();
            var root = document.documentElement.style;
            root.setProperty("--grid-empty", page.layout.colours.gridEmptyArea);
            root.setProperty("--grid-lines", page.layout.colours.gridLines);
            root.setProperty("--grid-fixed-lines", page.layout.colours.gridFixedLines);
            root.setProperty("--text-box", page.layout.colours.textBox);
            root.setProperty("--main-points", page.layout.Tableau.fontPoints + "pt");
            root.setProperty("--interface-points", page.layout.interfacePoints + "pt");
            start();
        }, function (reason) {
            fail(String(reason));
        });

        return {};
    });
