// A core view (core/lab/view/chart.h, View) drawn as one SVG picture: its
// axes, lines, markers, the generations where N changes, title and legend,
// as the window draws them. Every text is measured and given the room it
// needs: a long title or axis title goes onto more lines, the legend onto
// more rows, and the axes keep as many of the core's labels as fit, so that
// nothing is cut or overlaps, whatever the picture's width or the look. The same text is shown, saved as SVG, painted
// into a canvas for PNG and printed, so the four never differ. The figures
// are the core's; the page only places them.
"use strict";

/**
 * An axis (Axis): labels every `tick` (0: the page's own) with `decimals`,
 * or, when the core places them (a size series' N), its own labels only.
 * @typedef {{title: string, min: number, max: number, tick: number, decimals: number,
 *     labels: {at: number, text: string}[]}} Axis
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
 * A disc (Marker), filled or hollow; name is its legend entry, "" for none.
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
 * @property {number} sets how many sets the run has
 * @property {ViewData[]|null} pair « A et B côte à côte »: A's view and B's on the same axes, when asked
 */

/**
 * How a picture is drawn: the core's line widths and the type times these,
 * and the picture's width in its own units.
 * @typedef {{lines: number, type: number, width: number}} Look
 */

Bocavo.define("chart", [], function () {
    var kWidth = 800; // the picture's own units across
    var kPairWidth = 560; // each of two charts side by side: narrower, so that its type reads as large
    var kPlotHeight = 300;
    var kEdge = 12; // around the picture's contents
    var kGap = 8; // between a text and what it names
    var kFont = 'Arial, "Liberation Sans", sans-serif';
    var kType = { title: 15, label: 14, axis: 15, legend: 13, edge: 13 }; // sizes at a look's type 1
    var kLineHeight = 1.25; // times the type size
    var kDash = "8 5"; // a set B's stroke
    var kSizeChangeColour = "#808080";
    var kSizeChangeWidth = 1.5;
    var kMarkerRadius = 5.5;
    /** @type {Look} the desk's screen */
    var kScreen = { lines: 1, type: 1, width: kWidth };
    // The projector's lines and type: the core's widths twice over, the type half as large again.
    var kProjectorLines = 2;
    var kProjectorType = 1.5;

    /**
     * The look for a projector or a desk, one chart or two side by side.
     * @param {boolean} projector
     * @param {boolean} pair
     * @returns {Look}
     */
    function look(projector, pair) {
        return { lines: projector ? kProjectorLines : 1, type: projector ? kProjectorType : 1,
            width: pair ? kPairWidth : kWidth };
    }

    function escape(text) {
        return String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
            .replace(/"/g, "&quot;");
    }

    var measurer = null;
    var clips = 0; // each picture's own clip, as two share a page side by side
    // A text's width at `size` in the pictures' type, as the browser draws it.
    function measure(text, size) {
        if (!measurer)
            measurer = document.createElement("canvas").getContext("2d");
        measurer.font = size + "px " + kFont;
        return measurer.measureText(String(text)).width;
    }

    // `text` broken at spaces into lines at most `width` wide; a word longer
    // than that keeps a line of its own.
    function wrap(text, size, width) {
        var lines = [];
        String(text).split(/ +/).forEach(function (word) {
            var last = lines.length - 1;
            if (last >= 0 && measure(lines[last] + " " + word, size) <= width)
                lines[last] += " " + word;
            else
                lines.push(word);
        });
        return lines;
    }

    // Lines of text from (x, y) down, the first line's baseline at y.
    function textLines(lines, x, y, size, attributes) {
        return '<text x="' + x + '" y="' + y + '" font-size="' + size + '"' + attributes + ">" +
            lines.map(function (line, i) {
                return '<tspan x="' + x + '" dy="' + (i ? size * kLineHeight : 0) + '">' + escape(line) + "</tspan>";
            }).join("") + "</text>";
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

    /**
     * The labelled values: every tick of the core's, or of a step 2, 5, 10…
     * times it when the labels, each `label` long, would not fit in `room`.
     * @param {Axis} axis
     * @param {number} label
     * @param {number} room
     * @returns {number[]}
     */
    function ticks(axis, label, room) {
        var span = Math.max(1e-9, axis.max - axis.min);
        var every = axis.tick > 0 ? axis.tick : step(span, 8);
        for (var k = 0; (span / every + 1) * label > room && every < span; ++k)
            every *= k % 3 === 1 ? 2.5 : 2;
        var values = [];
        for (var i = Math.ceil(axis.min / every - 1e-9); i * every <= axis.max + every * 1e-9; ++i)
            values.push(i * every + 0); // never « -0 »
        return values;
    }

    /**
     * An axis's labels: the core's own where it places them, else its ticks
     * (as ticks() keeps them in `room`) written in French.
     * @param {Axis} axis
     * @param {number} label
     * @param {number} room
     * @returns {{at: number, text: string}[]}
     */
    function labelled(axis, label, room) {
        if (axis.labels && axis.labels.length)
            return axis.labels;
        return ticks(axis, label, room).map(function (v) { return { at: v, text: tickText(v, axis.decimals) }; });
    }

    /**
     * The plot's width in screen pixels when one chart is `shownWidth` wide:
     * the columns the core reduces the lines to.
     * @param {number} shownWidth
     * @returns {number}
     */
    function columns(shownWidth) {
        return Math.max(1, Math.round(shownWidth * 0.85));
    }

    function dash(stroke) {
        return stroke === "dashed" ? ' stroke-dasharray="' + kDash + '"' : "";
    }

    // A pale line (a genotype's band) pale in its legend entry too.
    function opacity(value) {
        return value < 1 ? ' stroke-opacity="' + value + '"' : "";
    }

    /**
     * The legend's entries in rows across `width`, each row centred.
     * @returns {{rows: number, placed: {x: number, row: number, entry: (Line|Marker)}[]}}
     */
    function legendRows(entries, size, sample, width) {
        var placed = [];
        var rows = [];
        var x = 0;
        entries.forEach(function (entry) {
            var wide = sample + kGap + measure(entry.name, size);
            if (!rows.length || x + 2 * kGap + wide > width) {
                rows.push({ width: 0, first: placed.length });
                x = 0;
            } else {
                x += 2 * kGap;
            }
            placed.push({ x: x, row: rows.length - 1, entry: entry });
            x += wide;
            rows[rows.length - 1].width = x;
        });
        placed.forEach(function (at) { at.x += Math.max(0, (width - rows[at.row].width) / 2); });
        return { rows: rows.length, placed: placed };
    }

    /**
     * The view as SVG text.
     * @param {ViewData} view
     * @param {Look} [shown] the desk's screen, one chart, unless said
     * @returns {string}
     */
    function svg(view, shown) {
        var at = shown || kScreen;
        var chart = view.chart;
        var size = {};
        Object.keys(kType).forEach(function (key) { size[key] = kType[key] * at.type; });
        var width = at.width;
        var inside = width - 2 * kEdge;
        var titleLines = wrap(chart.title, size.title, inside);
        // Below the title's last line, room for the top label, which stands half over the plot's edge.
        var plotTop = kEdge + size.title + (titleLines.length - 1) * size.title * kLineHeight + kGap +
            size.label * kLineHeight / 2;
        var plotHeight = kPlotHeight;
        var yLabels = ticks(chart.y, size.label * kLineHeight, plotHeight);
        var yTitle = wrap(chart.y.title, size.axis, plotHeight);
        var yLabelWidth = Math.max.apply(null, yLabels.map(function (v) {
            return measure(tickText(v, chart.y.decimals), size.label);
        }));
        var yTitleWidth = yTitle.length * size.axis * kLineHeight;
        var left = kEdge + yTitleWidth + kGap + yLabelWidth + kGap;
        var edgeWidth = 0;
        if (view.edge)
            [view.edge.fixedText, view.edge.lostText].forEach(function (text) {
                text.split("\n").forEach(function (part) { edgeWidth = Math.max(edgeWidth, measure(part, size.edge)); });
            });
        var lastLabel = measure(tickText(chart.x.max, chart.x.decimals), size.label);
        var right = kEdge + Math.max(lastLabel / 2, edgeWidth ? edgeWidth + 2 * kGap : 0);
        var plot = { left: left, top: plotTop, width: width - left - right, height: plotHeight };
        var xLabel = Math.max(measure(tickText(chart.x.min, chart.x.decimals), size.label), lastLabel) + size.label;
        var xLabels = labelled(chart.x, xLabel, plot.width);
        var xTitle = wrap(chart.x.title, size.axis, plot.width);
        var bottom = plot.top + plot.height;
        var xTitleTop = bottom + kGap + size.label * kLineHeight + kGap;
        var legendTop = xTitleTop + xTitle.length * size.axis * kLineHeight + kGap;
        var entries = chart.lines.filter(function (line) { return line.name; }).concat(chart.markers.filter(function (marker) { return marker.name; }));
        var sample = 30 * at.type;
        var legend = legendRows(entries, size.legend, sample, inside);
        var rowHeight = size.legend * kLineHeight + kGap / 2;
        var height = Math.ceil(legendTop + legend.rows * rowHeight + kEdge);
        var xSpan = Math.max(1e-9, chart.x.max - chart.x.min);
        var ySpan = Math.max(1e-9, chart.y.max - chart.y.min);
        function px(g) { return plot.left + (g - chart.x.min) / xSpan * plot.width; }
        function py(v) { return plot.top + plot.height - (v - chart.y.min) / ySpan * plot.height; }
        var out = [];
        out.push('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ' + width + " " + height +
            '" width="' + width + '" height="' + height + '" role="img" aria-label="' +
            escape(chart.title) + "\" font-family='" + kFont + "'>");
        out.push('<rect width="100%" height="100%" fill="#fff"/>');
        out.push(textLines(titleLines, width / 2, kEdge + size.title, size.title,
            ' class="titre" text-anchor="middle" fill="#111"'));
        yLabels.forEach(function (v) {
            out.push('<line x1="' + plot.left + '" x2="' + (plot.left + plot.width) + '" y1="' + py(v) +
                '" y2="' + py(v) + '" stroke="#ddd"/>');
            out.push('<text class="graduation" x="' + (plot.left - kGap) + '" y="' + (py(v) + size.label * 0.35) +
                '" font-size="' + size.label + '" text-anchor="end" fill="#222">' +
                tickText(v, chart.y.decimals) + "</text>");
        });
        xLabels.forEach(function (label) {
            var x = px(label.at);
            out.push('<line x1="' + x + '" x2="' + x + '" y1="' + plot.top + '" y2="' + bottom +
                '" stroke="#eee"/>');
            out.push('<text class="graduation" x="' + x + '" y="' + (bottom + kGap + size.label) +
                '" font-size="' + size.label + '" text-anchor="middle" fill="#222">' +
                escape(label.text) + "</text>");
        });
        out.push('<rect x="' + plot.left + '" y="' + plot.top + '" width="' + plot.width + '" height="' +
            plot.height + '" fill="none" stroke="#444"/>');
        out.push(textLines(xTitle, plot.left + plot.width / 2, xTitleTop + size.axis, size.axis,
            ' class="titreAxe" text-anchor="middle" fill="#111"'));
        out.push('<g transform="translate(' + (kEdge + size.axis) + " " + (plot.top + plot.height / 2) +
            ') rotate(-90)">' + textLines(yTitle, 0, 0, size.axis, ' class="titreAxe" text-anchor="middle" fill="#111"') +
            "</g>");
        var clip = "plot" + ++clips;
        out.push('<clipPath id="' + clip + '"><rect x="' + plot.left + '" y="' + plot.top + '" width="' +
            plot.width + '" height="' + plot.height + '"/></clipPath><g clip-path="url(#' + clip + ')">');
        // A jump in the curves reads as N's change: a dashed grey mark at each.
        Array.prototype.forEach.call(chart.sizeChanges, function (g) {
            out.push('<line class="changementTaille" data-generation="' + g + '" x1="' + px(g) + '" x2="' + px(g) +
                '" y1="' + plot.top + '" y2="' + bottom + '" stroke="' + kSizeChangeColour +
                '" stroke-width="' + kSizeChangeWidth * at.lines + '" stroke-dasharray="6 4"/>');
        });
        chart.lines.forEach(function (line) {
            var path = "";
            for (var i = 0; i < line.x.length; ++i)
                path += (i ? "L" : "M") + px(line.x[i]).toFixed(1) + " " + py(line.y[i]).toFixed(1);
            out.push('<path d="' + path + '" fill="none" stroke="' + line.colour + '" stroke-width="' +
                line.width * at.lines + '"' + opacity(line.opacity) + dash(line.stroke) + ' stroke-linejoin="round"/>');
        });
        out.push("</g>");
        chart.markers.forEach(function (marker) {
            out.push('<circle cx="' + px(marker.x) + '" cy="' + py(marker.y) + '" r="' + kMarkerRadius * at.type +
                '" stroke="' + marker.colour + '" stroke-width="' + 2 * at.lines + '" fill="' +
                (marker.filled ? marker.colour : "#fff") + '"/>');
        });
        if (view.edge)
            [[view.edge.fixedText, chart.y.max, 0], [view.edge.lostText, chart.y.min, 1]].forEach(function (edge) {
                var parts = edge[0].split("\n");
                var y = edge[2] ? py(edge[1]) - kGap - (parts.length - 1) * size.edge * kLineHeight
                    : py(edge[1]) + kGap + size.edge;
                out.push(textLines(parts, plot.left + plot.width + 2 * kGap, y, size.edge, ' fill="#111"'));
            });
        legend.placed.forEach(function (placed) {
            var entry = placed.entry;
            var x = kEdge + placed.x;
            var y = legendTop + placed.row * rowHeight + size.legend;
            var middle = y - size.legend * 0.35;
            if ("filled" in entry)
                out.push('<circle cx="' + (x + sample / 2) + '" cy="' + middle + '" r="' + 5 * at.type + '" stroke="' +
                    entry.colour + '" stroke-width="' + 2 * at.lines + '" fill="' + (entry.filled ? entry.colour : "#fff") + '"/>');
            else
                out.push('<line x1="' + x + '" x2="' + (x + sample) + '" y1="' + middle + '" y2="' + middle +
                    '" stroke="' + entry.colour + '" stroke-width="' + Math.max(2, entry.width) * at.lines + '"' +
                    opacity(entry.opacity) + dash(entry.stroke) + "/>");
            out.push('<text class="legende" x="' + (x + sample + kGap) + '" y="' + y + '" font-size="' + size.legend +
                '" fill="#111">' + escape(entry.name) + "</text>");
        });
        out.push("</svg>");
        return out.join("");
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

    return { svg: svg, look: look, columns: columns, zoom: zoom, png: png };
});
