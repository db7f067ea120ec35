// « Série de tailles » on the lab page: set A of the fields at several sizes
// N, run by the worker in slices that this module asks for one at a time, so
// that « Annuler la série » comes between two. The rows, the view, its words
// and the CSV are the module's, as the window and `bocavo-labo --serie` give
// them; the page draws the view with the lab's chart.
"use strict";

/**
 * The series as the worker says it stands (LabModuleSeries::state).
 * @typedef {Object} SeriesState
 * @property {boolean} busy
 * @property {number} progress 0..1 of the whole series
 * @property {string} status the last command's French outcome
 * @property {ViewData} view the core's view of the rows so far
 * @property {string[][]} table the rows as the window's table shows them, headings first
 * @property {string} csv the rows' CSV file, "" before any
 * @property {string} [refused] why the series did not start
 * @property {string} [error] what went wrong, in French
 */

/**
 * What the series needs of the page.
 * @typedef {Object} SeriesPage
 * @property {function(Object): Promise<*>} ask the worker's
 * @property {function(): ScenarioFields} fields the parameters as typed
 * @property {function(): boolean} runBusy whether a run of the lab is under way
 * @property {function(): void} changed the series started or stopped
 * The page calls check() after each check of its fields.
 */

Bocavo.define("series", ["chart", "files"], function (chart, files) {
    var byId = function (id) { return document.getElementById(id); };

    /**
     * Wires the series' part of the page.
     * @param {SeriesPage} host
     * @returns {{busy: function(): boolean, check: function(): void, refresh: function(): void}}
     */
    function start(host) {
        /** @type {{state: (SeriesState|null), refused: string}} */
        var series = { state: null, refused: "" };

        function busy() {
            return series.state !== null && series.state.busy;
        }

        function showCommands() {
            byId("lancerSerie").disabled = busy() || host.runBusy() || series.refused !== "";
            byId("annulerSerie").disabled = !busy();
            byId("taillesSerie").disabled = busy();
            var rows = series.state !== null && series.state.csv !== "";
            ["exporterSerieCsv", "exporterSeriePng", "exporterSerieSvg", "copierTableauSerie"].forEach(function (id) {
                byId(id).disabled = busy() || !rows;
            });
        }

        /** @param {SeriesState} state */
        function show(state) {
            if (state.error) {
                // The series cannot go on: said, and the commands given back.
                byId("messageSerie").textContent = state.error;
                series.state = null;
                showCommands();
                return;
            }
            series.state = state;
            byId("progressionSerie").value = Math.round(state.progress * 1000);
            byId("etatSerie").textContent = state.status;
            if (state.refused)
                byId("messageSerie").textContent = state.refused;
            var view = state.view;
            byId("graphiqueSerie").innerHTML = state.csv ? chart.svg(view) : "";
            byId("lignesSerie").textContent = view.status.join("\n");
            showTable(state.table);
            byId("motsSerie").textContent = view.notes.map(function (note) { return note.pupil; }).join("\n");
            var teacher = view.notes.map(function (note) { return note.teacher; }).join("\n");
            byId("motsProfesseurSerie").textContent = teacher;
            byId("detailsSerie").hidden = !teacher;
            showCommands();
        }

        /** @param {string[][]} rows headings first */
        function showTable(rows) {
            var table = byId("tableauSerie");
            table.hidden = rows.length === 0;
            table.replaceChildren();
            rows.forEach(function (cells, r) {
                var line = table.insertRow();
                cells.forEach(function (text) {
                    var cell = document.createElement(r === 0 ? "th" : "td");
                    if (r === 0)
                        cell.scope = "col";
                    cell.textContent = text;
                    line.appendChild(cell);
                });
            });
        }

        // Slices until the series is over or cancelled: each answer is drawn as
        // it comes, and the page told when the series starts or stops.
        /** @param {SeriesState} state */
        function follow(state) {
            var was = busy();
            show(state);
            if (busy() !== was)
                host.changed();
            if (busy())
                host.ask({ kind: "seriesStep" }).then(follow);
        }

        function check() {
            host.ask({ kind: "seriesCheck", fields: host.fields(), sizes: byId("taillesSerie").value })
                .then(function (checked) {
                    series.refused = checked.error || checked.refused;
                    byId("serieReglages").textContent = checked.note || "";
                    byId("messageSerie").textContent = series.refused;
                    showCommands();
                });
        }

        byId("taillesSerie").addEventListener("input", check);
        byId("lancerSerie").addEventListener("click", function () {
            host.ask({ kind: "seriesStart", fields: host.fields(), sizes: byId("taillesSerie").value })
                .then(follow);
        });
        byId("annulerSerie").addEventListener("click", function () {
            host.ask({ kind: "seriesCancel" }).then(follow);
        });
        byId("exporterSerieCsv").addEventListener("click", function () {
            if (series.state && series.state.csv)
                files.download([series.state.csv], "serie.csv", "text/csv");
        });
        byId("exporterSerieSvg").addEventListener("click", function () {
            if (series.state && series.state.csv)
                files.download([chart.svg(series.state.view)], "serie.svg", "image/svg+xml");
        });
        byId("exporterSeriePng").addEventListener("click", function () {
            if (series.state && series.state.csv)
                chart.png(chart.svg(series.state.view)).then(function (blob) {
                    files.download([blob], "serie.png", "image/png");
                });
        });
        byId("copierTableauSerie").addEventListener("click", function () {
            host.ask({ kind: "seriesTable", decimal: files.decimalSign() }).then(function (table) {
                files.copyTable(table, function (text) { byId("etatSerie").textContent = text; });
            });
        });
        showCommands();
        return { busy: busy, check: check, refresh: showCommands };
    }

    return { start: start };
});
