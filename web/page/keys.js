// The keyboard, as on the desktop: an open box takes every key; the menu
// bar its own; else the window in front takes its access keys (Alt + the
// underlined letter, which clicks without moving the focus), Tab and the
// arrows move through its controls, Enter presses the main window's default
// button, and Escape closes the window as a window manager's Alt+F4 does.
"use strict";

Bocavo.define("keys", ["text", "windows"], function (text, windows) {
    function cycle(win, backwards) {
        var list = windows.focusables(win);
        if (!list.length)
            return;
        var at = list.indexOf(document.activeElement);
        var next = at < 0 ? (backwards ? list.length - 1 : 0) : (at + (backwards ? -1 : 1) + list.length) % list.length;
        list[next].focus();
    }

    // An auxiliary window's access key: its enabled button of that letter.
    function auxKey(win, letter) {
        var match = Array.prototype.slice.call(win.querySelectorAll(".client button[data-key]"))
            .filter(function (b) { return b.getAttribute("data-key") === letter && !b.disabled; })[0];
        if (match)
            match.click();
    }

    /**
     * Listens to the page's keys from now on.
     * @param {PageState} page
     * @param {{boxes: Object, main: function(): ({menu: Object, accessKeys: Object}|null),
     *          closeWindow: function(HTMLElement): void}} parts
     */
    function install(page, parts) {
        document.addEventListener("keydown", function (event) {
            if (event.ctrlKey || event.metaKey)
                return;
            if (parts.boxes.isOpen()) {
                parts.boxes.handleKey(event);
                return;
            }
            var main = parts.main();
            var letter = text.letterOf(event.key, event.code);
            if (main && main.menu.holdsKeys()) {
                main.menu.handleKey(event, letter);
                event.preventDefault();
                return;
            }
            var win = windows.front(page);
            if (!win)
                return;
            var key = event.key;
            var focused = document.activeElement;
            if (key === "Escape") {
                parts.closeWindow(win);
            } else if (event.altKey) {
                if (win.id === "Tableau") {
                    if (main.accessKeys.has(letter))
                        main.accessKeys.press(letter);
                } else {
                    auxKey(win, letter);
                }
            } else if (key === "Tab") {
                cycle(win, event.shiftKey);
            } else if (key === "Enter" && win.id === "Tableau") {
                main.accessKeys.pressDefault();
            } else if (/^Arrow/.test(key) && focused && focused.matches("button.command") && win.contains(focused)) {
                // A button passes the arrows on as Tab and Shift+Tab.
                cycle(win, key === "ArrowUp" || key === "ArrowLeft");
            } else {
                return;
            }
            event.preventDefault();
        });
    }

    return { install: install };
});
