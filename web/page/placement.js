// Pure geometry of the windows, as a window manager does it: the scale that
// fits the main window with room beside it, where a new window goes, and
// how far a window may leave the screen. Rectangles are {left, top, width,
// height}; every argument of one call is in the same unit.
"use strict";

Bocavo.define("placement", [], function () {
    // Between windows placed side by side.
    var GAP = 4;

    /**
     * The scale of every window: the main window as large as the viewport
     * allows, but, when that keeps it at 100 % or more, leaving room beside
     * or below it for a window of `beside`'s size, as on a desktop.
     * @param {{width: number, height: number}} view the viewport
     * @param {{width: number, height: number}} main the main window at 100 %
     * @param {{width: number, height: number}} beside a window to make room for, at 100 %
     * @returns {number}
     */
    function fitScale(view, main, beside) {
        var fit = Math.min(view.width / main.width, view.height / main.height);
        var room = Math.max(view.width / (main.width + GAP + beside.width),
            view.height / (main.height + GAP + beside.height));
        return room >= 1 ? Math.min(fit, room) : fit;
    }

    function overlaps(a, b) {
        return a.left < b.left + b.width && b.left < a.left + a.width &&
            a.top < b.top + b.height && b.top < a.top + a.height;
    }

    function overlapArea(a, b) {
        var w = Math.min(a.left + a.width, b.left + b.width) - Math.max(a.left, b.left);
        var h = Math.min(a.top + a.height, b.top + b.height) - Math.max(a.top, b.top);
        return w > 0 && h > 0 ? w * h : 0;
    }

    /**
     * Where a window keeps its caption within reach: at least `reach` of its
     * caption left of the close button, and the whole caption's height, in
     * the view; a view too small for that gets the window's top-left corner.
     * @param {{left: number, top: number, width: number}} rect
     * @param {{width: number, height: number}} view
     * @param {number} reach
     * @param {number} closeWidth the close button and what follows it
     * @param {number} captionHeight
     * @returns {{left: number, top: number}}
     */
    function keepReachable(rect, view, reach, closeWidth, captionHeight) {
        var minLeft = reach + closeWidth - rect.width;
        var maxLeft = view.width - reach;
        var left = maxLeft < minLeft ? 0 : Math.min(Math.max(rect.left, minLeft), maxLeft);
        var top = Math.min(Math.max(rect.top, 0), Math.max(0, view.height - captionHeight));
        return { left: left, top: top };
    }

    /**
     * Where a new window of `size` opens: the first place, top to bottom
     * then left to right, where it is whole on screen and covers neither the
     * main window nor another; else cascaded from the side where it covers
     * the main window least, `step` further for each window already open.
     * @param {{width: number, height: number}} size
     * @param {{left: number, top: number, width: number, height: number}} main
     * @param {Array<{left: number, top: number, width: number, height: number}>} others
     * @param {{width: number, height: number}} view
     * @param {number} step
     * @returns {{left: number, top: number}}
     */
    function placeWindow(size, main, others, view, step) {
        var taken = [main].concat(others);
        var xs = [0, view.width - size.width];
        var ys = [0, view.height - size.height];
        taken.forEach(function (r) {
            xs.push(r.left + r.width + GAP, r.left - size.width - GAP);
            ys.push(r.top, r.top + r.height + GAP);
        });
        var ascending = function (a, b) { return a - b; };
        xs.sort(ascending);
        ys.sort(ascending);
        for (var i = 0; i < ys.length; ++i) {
            for (var j = 0; j < xs.length; ++j) {
                var spot = { left: xs[j], top: ys[i], width: size.width, height: size.height };
                var onScreen = spot.left >= 0 && spot.top >= 0 &&
                    spot.left + size.width <= view.width && spot.top + size.height <= view.height;
                if (onScreen && !taken.some(function (r) { return overlaps(spot, r); }))
                    return { left: spot.left, top: spot.top };
            }
        }
        // No free place: the corner of the view that covers the main window
        // least, then the other windows least; each window a step further
        // in (never further under the main window), on screen if it fits.
        var best = null;
        [0, Math.max(0, view.width - size.width)].forEach(function (x) {
            [Math.max(0, main.top), Math.max(0, view.height - size.height)].forEach(function (y) {
                var spot = { left: x, top: y, width: size.width, height: size.height };
                var cost = overlapArea(spot, main) * 1000 + others.reduce(function (sum, r) {
                    return sum + overlapArea(spot, r);
                }, 0);
                if (!best || cost < best.cost)
                    best = { left: x, top: y, cost: cost };
            });
        });
        var n = others.length + 1;
        var left = best.left > 0
            ? Math.max(best.left - n * step, Math.min(best.left, main.left + main.width + GAP))
            : best.left + n * step;
        var top = best.top > main.top ? best.top - n * step : best.top + n * step;
        return {
            left: Math.max(0, Math.min(left, view.width - size.width)),
            top: Math.max(0, Math.min(top, view.height - size.height))
        };
    }

    /**
     * A box centred in the view; its top-left corner stays on screen.
     * @param {{width: number, height: number}} size
     * @param {{width: number, height: number}} view
     * @returns {{left: number, top: number}}
     */
    function centre(size, view) {
        return {
            left: Math.max(0, (view.width - size.width) / 2),
            top: Math.max(0, (view.height - size.height) / 2)
        };
    }

    return { fitScale: fitScale, keepReachable: keepReachable, placeWindow: placeWindow, centre: centre };
});
