// The lab page's start: the worker, the fields, the commands and the views.
// Every text shown and every figure drawn comes from the module; the page
// forwards input and draws.
"use strict";

Bocavo.define("page", ["lab", "chart", "form", "files", "series"], function (lab, chart, form, files, series) {
    var byId = function (id) { return document.getElementById(id); };
    /** @type {{view: string, zoom: (Span|null), data: (ViewData|null), state: (LabState|null), checked: (FieldCheck|null), csv: (CsvPlan|null), requested: number, consigne: string, sideBySide: boolean, projector: boolean}} */
    var page = { view: "classe", zoom: null, data: null, state: null, checked: null, csv: null, requested: 0,
        consigne: "", sideBySide: false, projector: false };
    var worker = lab.start(showState);
    // « Série de tailles »: one runner for the page, so a run and a series never overlap.
    var sizeSeries = series.start({ ask: worker.ask, fields: form.read,
        runBusy: function () { return page.state !== null && page.state.busy; },
        changed: function () {
            if (page.state)
                showState(page.state);
        } });
    var commandIds = { lancer: "lancer", suivante: "generationSuivante", fixation: "jusquAFixation",
        reinitialiser: "reinitialiser", annuler: "annuler" };

    /** @param {LabState} state */
    function showState(state) {
        if (state.error) {
            byId("etat").textContent = state.error;
            return;
        }
        page.state = state;
        var valid = page.checked !== null && page.checked.refusals.length === 0;
        Object.keys(commandIds).forEach(function (key) {
            var on = state.enabled[key] && (key === "lancer" || key === "fixation" ? valid : true) &&
                (key === "annuler" || !sizeSeries.busy());
            byId(commandIds[key]).disabled = !on;
        });
        byId("exporterCsv").disabled = !state.enabled.exporter;
        sizeSeries.refresh();
        byId("ouvrir").disabled = state.busy;
        byId("parametres").inert = state.busy;
        byId("progression").value = Math.round(state.progress * 1000);
        byId("etat").textContent = state.refused || state.status;
        byId("resume").textContent = state.runLabel;
        if (!state.busy)
            showPending();
        if (!state.busy || Date.now() - page.requested > 250)
            refreshView();
    }

    // The core's notice while the fields are not the run on display.
    function showPending() {
        worker.ask({ kind: "pending", fields: form.read() }).then(function (notice) {
            byId("attente").textContent = notice;
            byId("attente").hidden = !notice;
        });
    }

    function check() {
        return worker.ask({ kind: "check", fields: form.read(), consigne: page.consigne }).then(function (checked) {
            page.checked = checked;
            form.mark(checked);
            sizeSeries.check();
            if (page.state)
                showState(page.state);
            return checked;
        });
    }

    function command(kind) {
        byId("csv").hidden = true;
        if (kind !== "next")
            page.zoom = null; // another run, or this one to a new length: all of it

        return worker.ask({ kind: kind, fields: form.read() }).then(showState);
    }

    // The core's view for the reader's choice, at the plot's width in pixels.
    function refreshView() {
        page.requested = Date.now();
        var options = { set: Number(byId("vueJeu").value), classNumber: Number(byId("vueClasse").value) || 1,
            allele: Number(byId("vueAllele").value) || 1, zoom: page.zoom, sideBySide: page.sideBySide,
            columns: chart.columns(byId("graphique").clientWidth / (page.sideBySide ? 2 : 1)) };
        page.options = options;
        worker.ask({ kind: "view", name: page.view, options: options }).then(function (data) {
            page.data = data && !data.error ? data : null;
            draw();
        });
    }

    function draw() {
        var place = byId("graphique");
        var data = page.data;
        showWords(data ? data.notes : []);
        byId("etatVue").textContent = data ? data.status.join("\n") : "";
        showChoosers(data);
        var open = byId("ouvrirDansBocavo");
        open.hidden = !(data && data.classroomLink);
        if (!open.hidden)
            open.href = data.classroomLink;
        byId("copierTableau").disabled = !data;
        byId("coteACote").disabled = !data || data.sets < 2;
        if (!data) {
            place.textContent = "Aucune simulation : choisissez les paramètres puis « Lancer ».";
            return;
        }
        page.zoom = data.shown.zoom; // what the run allows of it
        // « A et B côte à côte »: the core's two views, each set in its own chart.
        var pair = page.sideBySide && data.pair;
        var look = chart.look(page.projector, Boolean(pair));
        byId("vueJeu").disabled = Boolean(pair) || !data.commands.setChoice;
        place.innerHTML = pair ? '<div class="coteACote">' + data.pair.map(function (one) {
            return chart.svg(one, look);
        }).join("") + "</div>" : chart.svg(data, look);
        byId("parametresImprimes").textContent = page.state ? page.state.summary.join("\n") : "";
    }

    // The choosers as the view's commands say, showing the choice as drawn.
    /** @param {ViewData|null} data */
    function showChoosers(data) {
        var commands = data ? data.commands : { wholeRun: false, setChoice: false, alleles: 0, classes: 0 };
        byId("vueEntiere").disabled = !commands.wholeRun;
        byId("vueJeu").disabled = !commands.setChoice;
        var alleles = byId("vueAllele");
        alleles.parentNode.hidden = commands.alleles === 0;
        if (alleles.options.length !== commands.alleles) {
            alleles.textContent = "";
            for (var k = 1; k <= commands.alleles; ++k) {
                var option = document.createElement("option");
                option.textContent = String(k);
                alleles.appendChild(option);
            }
        }
        byId("vueClasse").parentNode.hidden = page.view !== "classe";
        if (!data)
            return;
        byId("vueJeu").value = String(data.shown.set);
        alleles.value = String(data.shown.allele);
        if (document.activeElement !== byId("vueClasse"))
            byId("vueClasse").value = String(data.shown.classNumber);
    }

    // Each set's words as paragraphs, led by the set's name when comparing;
    // the details stay as the teacher left them, open or closed.
    /** @param {Note[]} words */
    function showWords(words) {
        var pupil = byId("motsEleves");
        var teacher = byId("motsProfesseur");
        pupil.textContent = "";
        teacher.textContent = "";
        words.forEach(function (said) {
            [[pupil, said.pupil], [teacher, said.teacher]].forEach(function (pair) {
                if (!pair[1])
                    return;
                var paragraph = document.createElement("p");
                if (said.lead) {
                    var name = document.createElement("strong");
                    name.className = "jeu";
                    name.textContent = said.lead;
                    paragraph.appendChild(name);
                }
                paragraph.appendChild(document.createTextNode(pair[1]));
                pair[0].appendChild(paragraph);
            });
        });
        byId("detailsProfesseur").hidden = !teacher.hasChildNodes();
    }

    // The core takes the zoom and keeps it within the run.
    function zoom(factor, shift) {
        if (!page.data || !page.data.generations)
            return;
        page.zoom = chart.zoom(page.data.generations, page.data.last, factor, shift);
        refreshView();
    }

    // Full screen where the browser allows it, large type and thick lines
    // either way; Échap, or the browser leaving full screen, ends it.
    function setProjector(on) {
        if (page.projector === on)
            return;
        page.projector = on;
        document.documentElement.classList.toggle("projecteur", on);
        byId("modeProjecteur").setAttribute("aria-pressed", String(on));
        var root = document.documentElement;
        if (on && root.requestFullscreen && !document.fullscreenElement)
            root.requestFullscreen().catch(function () { return null; }); // refused here: the look stays
        if (!on && document.fullscreenElement)
            document.exitFullscreen().catch(function () { return null; });
        refreshView(); // the plot's width changes with the room
    }

    function selectTab(tab) {
        document.querySelectorAll("[role=tab]").forEach(function (other) {
            var on = other === tab;
            other.setAttribute("aria-selected", on ? "true" : "false");
            other.tabIndex = on ? 0 : -1;
        });
        byId("vue").setAttribute("aria-labelledby", tab.id);
        page.view = tab.dataset.view;
        // The class's number for one class, the allele's for every class.
        page.zoom = null;
        refreshView();
    }

    // The CSV: its size first, the desktop's warning and « une génération sur K » above
    // its threshold, then the file from parts and the scenario that reproduces it.
    function planCsv(every) {
        return worker.ask({ kind: "csvPlan", every: every }).then(function (plan) {
            if (plan.error) {
                byId("etat").textContent = plan.error;
                return null;
            }
            page.csv = plan;
            byId("csv").hidden = false;
            byId("csvChoix").hidden = !plan.large;
            byId("csvTaille").textContent = plan.warning || plan.sizeText;
            if (plan.large && !byId("uneSurK").value)
                byId("uneSurK").value = String(plan.suggestedEvery);
            return plan;
        });
    }

    function writeCsv() {
        var every = byId("csvUneSur").checked ? worker.ask({ kind: "every", text: byId("uneSurK").value })
            : Promise.resolve({ every: 1 });
        every.then(function (read) {
            if (read.error)
                throw new Error(read.error);
            return planCsv(read.every);
        }).then(function (plan) {
            if (!plan)
                return;
            return files.csvBlob(worker.ask, function (share) {
                byId("progression").value = Math.round(share * 1000);
            }).then(function (blob) {
                var links = byId("csvLiens");
                links.textContent = "";
                var csv = files.download([blob], "derive.csv", "text/csv");
                var scenario = files.link([plan.scenario], "derive.scenario", "text/plain");
                csv.id = "lienCsv";
                scenario.id = "scenarioDuCsv";
                links.appendChild(csv);
                links.appendChild(document.createTextNode(" "));
                links.appendChild(scenario);
                byId("etat").textContent = plan.readyText;
            });
        }).catch(function (error) {
            byId("etat").textContent = String(error.message || error);
        });
    }

    // A scenario opened from a file or a link: its fields, and its consigne beside them.
    function showOpened(opened) {
        if (opened.error) {
            byId("etat").textContent = opened.error;
            return;
        }
        form.fill(opened.fields);
        page.consigne = opened.consigne;
        byId("consigne").textContent = opened.consigne;
        byId("cadreConsigne").hidden = !opened.consigne;
        check().then(function () { byId("etat").textContent = opened.status; });
    }

    // The link is shown as well as copied: a browser may refuse the clipboard.
    // « Copier le tableau »: the view's numbers with the reader's decimal sign,
    // so that a paste into a spreadsheet lands in columns.
    function copyTable() {
        worker.ask({ kind: "table", name: page.view, options: page.options, decimal: files.decimalSign() })
            .then(function (table) {
                files.copyTable(table, function (text) { byId("etat").textContent = text; });
            });
    }

    function copyLink() {
        worker.ask({ kind: "link", fields: form.read(), consigne: page.consigne }).then(function (made) {
            if (made.error) {
                byId("etat").textContent = made.error;
                return;
            }
            var link = byId("lienScenario");
            link.value = window.location.href.split("#")[0] + "#" + made.link;
            byId("lien").hidden = false;
            link.select();
            byId("etat").textContent = made.copied;
            if (navigator.clipboard)
                navigator.clipboard.writeText(link.value).catch(function () { byId("etat").textContent = made.copyByHand; });
            else
                byId("etat").textContent = made.copyByHand;
        });
    }

    function start() {
        // The defaults, their check and the state in one answer: the page is usable at once.
        worker.ask({ kind: "begin" }).then(function (begun) {
            if (begun.error)
                return showState(begun); // the module could not start: said in French
            form.build(byId("jeux"), begun.table);
            // Nothing reads or acts on the fields before they exist: the lab
            // stays inert, its commands off, until the module has answered.
            byId("labo").inert = false;
            form.fill(begun.fields);
            page.checked = begun.check;
            form.mark(begun.check);
            sizeSeries.check();
            showState(begun.state);
            if (window.location.hash)
                worker.ask({ kind: "openLink", fragment: window.location.hash }).then(showOpened);
        });

        byId("parametres").addEventListener("input", function () {
            form.update();
            check();
        });
        byId("parametres").addEventListener("change", function () {
            form.update();
            check();
        });
        byId("lancer").addEventListener("click", function () { command("launch"); });
        byId("jusquAFixation").addEventListener("click", function () { command("fixation"); });
        byId("generationSuivante").addEventListener("click", function () { command("next"); });
        byId("reinitialiser").addEventListener("click", function () { command("reset"); });
        byId("annuler").addEventListener("click", function () { worker.ask({ kind: "cancel" }).then(showState); });

        document.querySelectorAll("[role=tab]").forEach(function (tab) {
            tab.addEventListener("click", function () { selectTab(tab); });
            tab.addEventListener("keydown", function (event) {
                var tabs = Array.prototype.slice.call(document.querySelectorAll("[role=tab]"));
                var at = tabs.indexOf(tab);
                var to = event.key === "ArrowRight" ? (at + 1) % tabs.length
                    : event.key === "ArrowLeft" ? (at + tabs.length - 1) % tabs.length : -1;
                if (to >= 0) {
                    event.preventDefault();
                    tabs[to].focus();
                    selectTab(tabs[to]);
                }
            });
        });
        ["vueJeu", "vueClasse", "vueAllele"].forEach(function (id) {
            byId(id).addEventListener("change", refreshView);
        });
        byId("coteACote").addEventListener("click", function () {
            page.sideBySide = !page.sideBySide;
            byId("coteACote").setAttribute("aria-pressed", String(page.sideBySide));
            refreshView();
        });
        byId("modeProjecteur").addEventListener("click", function () { setProjector(!page.projector); });
        document.addEventListener("fullscreenchange", function () {
            if (!document.fullscreenElement)
                setProjector(false);
        });
        document.addEventListener("keydown", function (event) {
            if (event.key === "Escape" && page.projector)
                setProjector(false);
        });
        byId("zoomPlus").addEventListener("click", function () { zoom(0.5, 0); });
        byId("zoomMoins").addEventListener("click", function () { zoom(2, 0); });
        byId("gauche").addEventListener("click", function () { zoom(1, -0.5); });
        byId("droite").addEventListener("click", function () { zoom(1, 0.5); });
        byId("vueEntiere").addEventListener("click", function () {
            page.zoom = null;
            refreshView();
        });
        byId("exporterSvg").addEventListener("click", function () {
            if (page.data)
                files.download([chart.svg(page.data)], "graphique.svg", "image/svg+xml");
        });
        byId("exporterPng").addEventListener("click", function () {
            if (page.data)
                chart.png(chart.svg(page.data)).then(function (blob) {
                    files.download([blob], "graphique.png", "image/png");
                });
        });
        byId("imprimer").addEventListener("click", function () { window.print(); });
        // The date under a printed view, as the window prints it: 2026-12-08 14:05.
        window.addEventListener("beforeprint", function () {
            var now = new Date();
            var two = function (n) { return String(n).padStart(2, "0"); };
            var date = now.getFullYear() + "-" + two(now.getMonth() + 1) + "-" + two(now.getDate());
            byId("dateImprimee").dateTime = date;
            byId("dateImprimee").textContent = date + " " + two(now.getHours()) + ":" + two(now.getMinutes());
        });

        byId("ouvrir").addEventListener("click", function () { byId("fichierScenario").click(); });
        files.watchOpen(byId("fichierScenario"), byId("labo"), function (text, name) {
            worker.ask({ kind: "open", text: text, name: name }).then(showOpened);
        });
        byId("copierLien").addEventListener("click", copyLink);
        byId("copierTableau").addEventListener("click", copyTable);
        byId("enregistrer").addEventListener("click", function () {
            check().then(function (checked) {
                if (checked.text)
                    files.download([checked.text], "lecon.scenario", "text/plain");
                byId("etat").textContent = checked.text ? checked.saved : checked.saveRefused;
            });
        });
        byId("exporterCsv").addEventListener("click", function () {
            byId("csvLiens").textContent = "";
            byId("uneSurK").value = "";
            planCsv(1);
        });
        byId("csvEcrire").addEventListener("click", writeCsv);
        byId("csvFermer").addEventListener("click", function () { byId("csv").hidden = true; });
    }

    start();
    return {};
});
