// A core view (core/lab/view/chart.h, View) drawn as one SVG picture: its
// axes, lines, markers, the generations where N changes, title and legend,
// as the window draws them. The same text is shown, saved as SVG, painted
// into a canvas for PNG and printed, so the four never differ. The figures
// are the core's; the page only places them.
"use strict";

/**
 * An axis (Axis): labels every `tick` (0: the page's own) with `decimals`.
 * @typedef {{title: string, min: number, max: number, tick: number, decimals: number}} Axis
 */

/**
 * A line (Line): its points as x (generation) and y, drawn in its colour,
 * stroke ("solid" or "dashed": the set), width in pixels and opacity; name
 * is its legend entry, "" for none.
 * @typedef {Object} Line
 * @property {string} role "frequency", "classFrequency", "fixed", "lost", "heterozygosity", "expected",
 *     "genotype" or "hardyWeinberg"
 * @property {number} set 0 (A) or 1 (B)
 * @property {number} allele 1..4, 0 for every allele
 * @property {number} classNumber
 * @property {string} name
 * @property {string} colour #RRGGBB
 * @property {number} opacity
 * @property {string} stroke
 * @property {number} width
 * @property {Float64Array} x
 * @property {Float64Array} y
 */

/**
 * A disc (Marker), filled or hollow.
 * @typedef {{name: string, colour: string, filled: boolean, x: number, y: number}} Marker
 */

/**
 * @typedef {Object} Chart
 * @property {string} title
 * @property {Axis} x
 * @property {Axis} y
 * @property {Line[]} lines
 * @property {Marker[]} markers
 * @property {Int32Array} sizeChanges generations on show where a set's N changes
 */

/** @typedef {{first: number, last: number}} Span */

/**
 * What a view says of one set (Note): lead is the set's name when comparing, else "".
 * @typedef {{lead: string, pupil: string, teacher: string}} Note
 */

/**
 * A view as the module gives it (lab_views.h).
 * @typedef {Object} ViewData
 * @property {Chart} chart
 * @property {{wholeRun: boolean, setChoice: boolean, alleles: number, classes: number}} commands
 * @property {{set: number, classNumber: number, allele: number, zoom: (Span|null), columns: number}} shown
 * @property {Span|null} generations on show
 * @property {number} last the run's last generation
 * @property {Note[]} notes
 * @property {string[]} status
 * @property {{fixed: number, lost: number, fixedText: string, lostText: string}|null} edge
 * @property {string|null} classroomLink the classroom program on the class shown, or null
 */

Bocavo.define("chart", [], function () {
    var kWidth = 800;
    var kHeight = 450;
    var kMargin = { left: 70, right: 20, top: 44, bottom: 56 };
    var kEdgeRoom = 80; // pixels right of the plot for the all-classes view's counts
    var kLegendColumns = 3;
    var kLegendRow = 20; // pixels
    var kDash = "8 5"; // a set B's stroke
    var kSizeChangeColour = "#808080";

    function escape(text) {
        return String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
            .replace(/"/g, "&quot;");
    }

    // Round steps (1, 2 or 5 × 10^k) giving about `count` ticks over span:
    // for an axis whose tick the core leaves to the page.
    function step(span, count) {
        var raw = span / count;
        var power = Math.pow(10, Math.floor(Math.log10(raw)));
        var unit = raw / power;
        return power * (unit <= 1 ? 1 : unit <= 2 ? 2 : unit <= 5 ? 5 : 10);
    }

    // A number as the axes write it, in French: 0,25, 1 000.
    function tickText(value, decimals) {
        return value.toLocaleString("fr-FR", { minimumFractionDigits: decimals, maximumFractionDigits: decimals })
            .replace(/\u202f/g, "\u00a0");
    }

    /** @param {Axis} axis @returns {number[]} the labelled values */
    function ticks(axis) {
        var span = Math.max(1e-9, axis.max - axis.min);
        var every = axis.tick > 0 ? axis.tick : step(span, 8);
        var values = [];
        for (var i = Math.ceil(axis.min / every - 1e-9); i * every <= axis.max + every * 1e-9; ++i)
            values.push(i * every + 0); // never « -0 »
        return values;
    }

    /**
     * The plot's place in the picture.
     * @param {ViewData} view
     */
    function plotOf(view) {
        var right = kMargin.right + (view.edge ? kEdgeRoom : 0);
        return { left: kMargin.left, top: kMargin.top, width: kWidth - kMargin.left - right,
            height: kHeight - kMargin.top - kMargin.bottom };
    }

    /**
     * The plot's width in screen pixels when the picture is `shownWidth` wide:
     * the columns the core reduces the lines to.
     * @param {number} shownWidth
     * @returns {number}
     */
    function columns(shownWidth) {
        return Math.max(1, Math.round(shownWidth * (kWidth - kMargin.left - kMargin.right) / kWidth));
    }

    function dash(stroke) {
        return stroke === "dashed" ? ' stroke-dasharray="' + kDash + '"' : "";
    }

    // A pale line (a genotype's band) pale in its legend entry too.
    function opacity(value) {
        return value < 1 ? ' stroke-opacity="' + value + '"' : "";
    }

    /**
     * The view as SVG text.
     * @param {ViewData} view
     * @returns {string}
     */
    function svg(view) {
        var chart = view.chart;
        var plot = plotOf(view);
        var xSpan = Math.max(1e-9, chart.x.max - chart.x.min);
        var ySpan = Math.max(1e-9, chart.y.max - chart.y.min);
        function px(g) { return plot.left + (g - chart.x.min) / xSpan * plot.width; }
        function py(v) { return plot.top + plot.height - (v - chart.y.min) / ySpan * plot.height; }
        var bottom = plot.top + plot.height;
        var entries = chart.lines.filter(function (line) { return line.name; }).concat(chart.markers);
        var height = kHeight + Math.ceil(entries.length / kLegendColumns) * kLegendRow;
        var out = [];
        out.push('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ' + kWidth + " " + height +
            '" width="' + kWidth + '" height="' + height + '" role="img" aria-label="' +
            escape(chart.title) + '" font-family="Arial, Liberation Sans, sans-serif">');
        out.push('<rect width="100%" height="100%" fill="#fff"/>');
        out.push('<text x="' + kWidth / 2 + '" y="24" font-size="15" text-anchor="middle" fill="#111">' +
            escape(chart.title) + "</text>");
        ticks(chart.y).forEach(function (v) {
            out.push('<line x1="' + plot.left + '" x2="' + (plot.left + plot.width) + '" y1="' + py(v) +
                '" y2="' + py(v) + '" stroke="#ddd"/>');
            out.push('<text x="' + (plot.left - 8) + '" y="' + (py(v) + 5) +
                '" font-size="14" text-anchor="end" fill="#222">' + tickText(v, chart.y.decimals) + "</text>");
        });
        ticks(chart.x).forEach(function (g) {
            out.push('<line x1="' + px(g) + '" x2="' + px(g) + '" y1="' + plot.top + '" y2="' + bottom +
                '" stroke="#eee"/>');
            out.push('<text x="' + px(g) + '" y="' + (bottom + 20) +
                '" font-size="14" text-anchor="middle" fill="#222">' + tickText(g, chart.x.decimals) + "</text>");
        });
        out.push('<rect x="' + plot.left + '" y="' + plot.top + '" width="' + plot.width + '" height="' +
            plot.height + '" fill="none" stroke="#444"/>');
        out.push('<text x="' + (plot.left + plot.width / 2) + '" y="' + (kHeight - 10) +
            '" font-size="15" text-anchor="middle" fill="#111">' + escape(chart.x.title) + "</text>");
        out.push('<text transform="translate(18 ' + (plot.top + plot.height / 2) +
            ') rotate(-90)" font-size="15" text-anchor="middle" fill="#111">' + escape(chart.y.title) + "</text>");
        out.push('<clipPath id="plot"><rect x="' + plot.left + '" y="' + plot.top + '" width="' +
            plot.width + '" height="' + plot.height + '"/></clipPath><g clip-path="url(#plot)">');
        // A jump in the curves reads as N's change: a dashed grey mark at each.
        Array.prototype.forEach.call(chart.sizeChanges, function (g) {
            out.push('<line class="changementTaille" data-generation="' + g + '" x1="' + px(g) + '" x2="' + px(g) +
                '" y1="' + plot.top + '" y2="' + bottom + '" stroke="' + kSizeChangeColour +
                '" stroke-width="1.5" stroke-dasharray="6 4"/>');
        });
        chart.lines.forEach(function (line) {
            var path = "";
            for (var i = 0; i < line.x.length; ++i)
                path += (i ? "L" : "M") + px(line.x[i]).toFixed(1) + " " + py(line.y[i]).toFixed(1);
            out.push('<path d="' + path + '" fill="none" stroke="' + line.colour + '" stroke-width="' + line.width +
                '"' + opacity(line.opacity) + dash(line.stroke) +
                ' stroke-linejoin="round"/>');
        });
        out.push("</g>");
        chart.markers.forEach(function (marker) {
            out.push('<circle cx="' + px(marker.x) + '" cy="' + py(marker.y) + '" r="5.5" stroke="' + marker.colour +
                '" stroke-width="2" fill="' + (marker.filled ? marker.colour : "#fff") + '"/>');
        });
        if (view.edge)
            [[view.edge.fixedText, chart.y.max], [view.edge.lostText, chart.y.min]].forEach(function (pair) {
                var y = py(pair[1]) + (pair[1] === chart.y.max ? 4 : -22);
                out.push('<text x="' + (plot.left + plot.width + 12) + '" y="' + y + '" font-size="13" fill="#111">' +
                    pair[0].split("\n").map(function (part, i) {
                        return '<tspan x="' + (plot.left + plot.width + 12) + '" dy="' + (i ? 16 : 0) + '">' +
                            escape(part) + "</tspan>";
                    }).join("") + "</text>");
            });
        legend(entries, plot, out);
        out.push("</svg>");
        return out.join("");
    }

    // The named lines and markers, three to a row under the plot as the
    // window has them: the curves' start stays in sight.
    function legend(entries, plot, out) {
        var width = plot.width / kLegendColumns;
        entries.forEach(function (entry, i) {
            var x = plot.left + 10 + (i % kLegendColumns) * width;
            var y = kHeight + 4 + Math.floor(i / kLegendColumns) * kLegendRow;
            if ("filled" in entry)
                out.push('<circle cx="' + (x + 15) + '" cy="' + (y - 4) + '" r="5" stroke="' + entry.colour +
                    '" stroke-width="2" fill="' + (entry.filled ? entry.colour : "#fff") + '"/>');
            else
                out.push('<line x1="' + x + '" x2="' + (x + 30) + '" y1="' + (y - 4) + '" y2="' + (y - 4) +
                    '" stroke="' + entry.colour + '" stroke-width="' + Math.max(2, entry.width) + '"' +
                    opacity(entry.opacity) + dash(entry.stroke) + "/>");
            out.push('<text x="' + (x + 36) + '" y="' + y + '" font-size="13" fill="#111">' +
                escape(entry.name) + "</text>");
        });
    }

    /**
     * The span `shown` zoomed by `factor` (0.5: twice closer) around its
     * middle, or moved by `shift` of its width, kept within 0..last.
     * @param {Span} shown
     * @param {number} last
     * @param {number} factor
     * @param {number} shift
     * @returns {Span}
     */
    function zoom(shown, last, factor, shift) {
        var width = Math.min(last, Math.max(2, (shown.last - shown.first) * factor));
        var middle = (shown.first + shown.last) / 2 + shift * (shown.last - shown.first);
        var first = Math.round(Math.max(0, Math.min(last - width, middle - width / 2)));
        return { first: first, last: Math.round(first + width) };
    }

    /**
     * The SVG text painted as a PNG.
     * @param {string} text
     * @returns {Promise<Blob>}
     */
    function png(text) {
        return new Promise(function (resolve, reject) {
            var image = new Image();
            image.onload = function () {
                var canvas = document.createElement("canvas");
                // The picture's own size: its legend makes it taller than kHeight.
                canvas.width = image.naturalWidth * 2;
                canvas.height = image.naturalHeight * 2;
                var context = canvas.getContext("2d");
                context.scale(2, 2);
                context.drawImage(image, 0, 0, image.naturalWidth, image.naturalHeight);
                canvas.toBlob(function (blob) { return blob ? resolve(blob) : reject(new Error("png")); }, "image/png");
            };
            image.onerror = reject;
            image.src = "data:image/svg+xml;charset=utf-8," + encodeURIComponent(text);
        });
    }

    return { svg: svg, columns: columns, zoom: zoom, png: png };
});
