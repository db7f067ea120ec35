// A view drawn as one SVG picture: axes, curves (expected ones dashed),
// legend and title. The same text is shown, saved as SVG, painted into a
// canvas for PNG and printed, so the four never differ. Zoom is a range of
// generations; the data stay whole.
"use strict";

Bocavo.define("chart", [], function () {
    var kWidth = 800;
    var kHeight = 450;
    var kMargin = { left: 70, right: 20, top: 44, bottom: 56 };
    // Allele 1 to 4, then the second curve of a view (Fst): dark enough on white.
    var kMostLegend = 10; // entries; a view of many classes says how many instead

    function escape(text) {
        return String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
            .replace(/"/g, "&quot;");
    }

    // Round steps (1, 2 or 5 × 10^k) giving about `count` ticks over span.
    function step(span, count) {
        var raw = span / count;
        var power = Math.pow(10, Math.floor(Math.log10(raw)));
        var unit = raw / power;
        return power * (unit <= 1 ? 1 : unit <= 2 ? 2 : unit <= 5 ? 5 : 10);
    }

    // A number as the axes write it, in French: 0,25, 1 000.
    function tickText(value) {
        return Number(value.toPrecision(6)).toLocaleString("fr-FR").replace(/\u202f/g, "\u00a0");
    }

    /**
     * The whole range of a view's generations.
     * @param {ViewData} view
     * @returns {{from: number, to: number}}
     */
    function fullRange(view) {
        var last = view.x.length ? view.x[view.x.length - 1] : 1;
        return { from: 0, to: Math.max(1, last) };
    }

    /**
     * The view as SVG text, over the generations of `range`.
     * @param {ViewData} view
     * @param {{from: number, to: number}} range
     * @returns {string}
     */
    function svg(view, range) {
        var plotW = kWidth - kMargin.left - kMargin.right;
        var plotH = kHeight - kMargin.top - kMargin.bottom;
        var span = Math.max(1e-9, range.to - range.from);
        function px(g) { return kMargin.left + (g - range.from) / span * plotW; }
        function py(v) { return kMargin.top + plotH - v / view.yMax * plotH; }
        var out = [];
        out.push('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ' + kWidth + " " + kHeight +
            '" width="' + kWidth + '" height="' + kHeight + '" role="img" aria-label="' +
            escape(view.title) + '" font-family="Arial, Liberation Sans, sans-serif">');
        out.push('<rect width="100%" height="100%" fill="#fff"/>');
        out.push('<text x="' + kWidth / 2 + '" y="26" font-size="20" text-anchor="middle" fill="#111">' +
            escape(view.title) + "</text>");
        var yStep = step(view.yMax, 5);
        for (var v = 0; v <= view.yMax + 1e-9; v += yStep) {
            out.push('<line x1="' + kMargin.left + '" x2="' + (kWidth - kMargin.right) + '" y1="' + py(v) +
                '" y2="' + py(v) + '" stroke="#ddd"/>');
            out.push('<text x="' + (kMargin.left - 8) + '" y="' + (py(v) + 5) +
                '" font-size="15" text-anchor="end" fill="#222">' + tickText(v) + "</text>");
        }
        var xStep = Math.max(1, step(span, 8));
        for (var g = Math.ceil(range.from / xStep) * xStep; g <= range.to; g += xStep) {
            out.push('<line x1="' + px(g) + '" x2="' + px(g) + '" y1="' + kMargin.top + '" y2="' +
                (kMargin.top + plotH) + '" stroke="#eee"/>');
            out.push('<text x="' + px(g) + '" y="' + (kMargin.top + plotH + 20) +
                '" font-size="15" text-anchor="middle" fill="#222">' + tickText(g) + "</text>");
        }
        out.push('<rect x="' + kMargin.left + '" y="' + kMargin.top + '" width="' + plotW + '" height="' +
            plotH + '" fill="none" stroke="#444"/>');
        out.push('<text x="' + (kMargin.left + plotW / 2) + '" y="' + (kHeight - 10) +
            '" font-size="16" text-anchor="middle" fill="#111">Génération</text>');
        out.push('<text transform="translate(18 ' + (kMargin.top + plotH / 2) +
            ') rotate(-90)" font-size="16" text-anchor="middle" fill="#111">' + escape(view.yLabel) + "</text>");
        out.push('<clipPath id="plot"><rect x="' + kMargin.left + '" y="' + kMargin.top + '" width="' +
            plotW + '" height="' + plotH + '"/></clipPath><g clip-path="url(#plot)">');
        var many = view.series.length > kMostLegend;
        view.series.forEach(function (series) {
            var path = "";
            var pen = false;
            for (var i = 0; i < view.x.length; ++i) {
                var value = series.values[i];
                var g = view.x[i];
                var inside = g >= range.from - span * 0.02 && g <= range.to + span * 0.02;
                if (Number.isNaN(value) || !inside) {
                    pen = false;
                    continue;
                }
                path += (pen ? "L" : "M") + px(g).toFixed(1) + " " + py(value).toFixed(1);
                pen = true;
            }
            out.push('<path d="' + path + '" fill="none" stroke="' + series.colour +
                '" stroke-width="' + (many ? 1 : 2.2) + '"' + (many ? ' stroke-opacity="0.45"' : "") +
                (series.dashed ? ' stroke-dasharray="8 5"' : "") + "/>");
        });
        out.push("</g>");
        var legend = many ? [{ label: view.series.length + " classes", colour: view.series[0].colour, dashed: view.series[0].dashed }]
            : view.series;
        legend.forEach(function (series, i) {
            var x = kMargin.left + 10 + (i % 3) * 236;
            var y = kMargin.top + 16 + Math.floor(i / 3) * 22;
            out.push('<rect x="' + (x - 4) + '" y="' + (y - 14) + '" width="230" height="20" fill="#fff" fill-opacity="0.8"/>');
            out.push('<line x1="' + x + '" x2="' + (x + 30) + '" y1="' + (y - 4) + '" y2="' + (y - 4) + '" stroke="' +
                series.colour + '" stroke-width="2.5"' +
                (series.dashed ? ' stroke-dasharray="8 5"' : "") + "/>");
            out.push('<text x="' + (x + 36) + '" y="' + y + '" font-size="15" fill="#111">' + escape(series.label) + "</text>");
        });
        out.push("</svg>");
        return out.join("");
    }

    /**
     * The range zoomed by `factor` (0.5: twice closer) around its middle,
     * or moved by `shift` of its width, kept inside the whole.
     */
    function zoom(range, whole, factor, shift) {
        var width = Math.min(whole.to - whole.from, Math.max(2, (range.to - range.from) * factor));
        var middle = (range.from + range.to) / 2 + shift * (range.to - range.from);
        var from = Math.max(whole.from, Math.min(whole.to - width, middle - width / 2));
        return { from: Math.round(from), to: Math.round(from + width) };
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
                canvas.width = kWidth * 2;
                canvas.height = kHeight * 2;
                var context = canvas.getContext("2d");
                context.scale(2, 2);
                context.drawImage(image, 0, 0, kWidth, kHeight);
                canvas.toBlob(function (blob) { return blob ? resolve(blob) : reject(new Error("png")); }, "image/png");
            };
            image.onerror = reject;
            image.src = "data:image/svg+xml;charset=utf-8," + encodeURIComponent(text);
        });
    }

    return { svg: svg, fullRange: fullRange, zoom: zoom, png: png };
});
