// The main window's menu bar: "Quitter" runs at once, "?" opens its menu.
// Its keys are the desktop's: the open menu's letters, arrows, Tab and
// Enter; Escape closes the menu and leaves the bar holding the keyboard, a
// second Escape gives the focus back where it was; an access key of the
// window closes the menu and does its work.
"use strict";

Bocavo.define("menu", ["controls", "windows"], function (controls, windows) {
    /**
     * @param {{quit: string, help: string, protocole: string, propos: string}} texts
     * @param {{quit: function(): void, protocole: function(): void, propos: function(): void}} actions
     * @param {{has: function(string): boolean, press: function(string): void, pressDefault: function(): void}} window
     *        the main window's own access keys and default button
     */
    function create(texts, actions, window) {
        var bar = document.createElement("div");
        bar.className = "menubar";
        bar.setAttribute("role", "menubar");
        bar.setAttribute("aria-label", "Menu");
        bar.tabIndex = -1;

        function item(id, caption, onClick) {
            var element = document.createElement("div");
            element.id = id;
            element.setAttribute("role", "menuitem");
            element.tabIndex = -1;
            controls.showCaption(element, caption);
            // A menu takes no focus from a click.
            element.addEventListener("mousedown", function (event) { event.preventDefault(); });
            element.addEventListener("click", onClick);
            return element;
        }

        // keysHeld: the bar held the keyboard when the menu opened (opened by
        // its keys, or over a bar already holding them).
        var state = { open: false, active: -1, barHeld: false, keysHeld: false, returnTo: null };

        var quit = item("quit", texts.quit, function () { leave(); actions.quit(); });
        bar.appendChild(quit);
        var entry = document.createElement("div");
        entry.className = "menu-entry";
        entry.setAttribute("role", "none");
        var help = item("help", texts.help, function () {
            if (!state.open)
                open(false);
            else if (state.keysHeld)
                holdBar();
            else
                leave();
        });
        help.setAttribute("aria-haspopup", "menu");
        help.setAttribute("aria-expanded", "false");
        entry.appendChild(help);
        var popup = document.createElement("div");
        popup.id = "help-menu";
        popup.setAttribute("role", "menu");
        popup.setAttribute("aria-labelledby", "help");
        popup.tabIndex = -1;
        popup.hidden = true;
        var entries = [
            item("protocole", texts.protocole, function () { choose(actions.protocole); }),
            item("propos", texts.propos, function () { choose(actions.propos); })
        ];
        entries.forEach(function (e) { popup.appendChild(e); });
        entry.appendChild(popup);
        bar.appendChild(entry);

        function show(active) {
            state.active = active;
            (active >= 0 ? entries[active] : popup).focus({ preventScroll: true });
        }

        function open(byKeys) {
            if (!state.open && document.activeElement !== bar)
                state.returnTo = document.activeElement;
            state.keysHeld = byKeys || document.activeElement === bar;
            state.open = true;
            state.barHeld = false;
            popup.hidden = false;
            help.setAttribute("aria-expanded", "true");
            show(byKeys ? 0 : -1);
        }

        function hide() {
            state.open = false;
            popup.hidden = true;
            help.setAttribute("aria-expanded", "false");
        }

        // The menu closed, the bar holding the keyboard.
        function holdBar() {
            hide();
            bar.focus({ preventScroll: true });
        }

        // Out of the menu and the bar: the focus back where it was.
        function leave() {
            var wasIn = state.open || document.activeElement === bar;
            hide();
            var back = state.returnTo;
            state.returnTo = null;
            if (!wasIn)
                return;
            if (back && back.isConnected && !back.closest("[role=menubar]"))
                back.focus({ preventScroll: true });
            else
                windows.focusWindow(bar.closest(".window"));
        }

        function choose(action) {
            leave();
            action();
        }

        function step(by) {
            var n = entries.length;
            show(state.active < 0 ? (by > 0 ? 0 : n - 1) : (state.active + by + n) % n);
        }

        // Keys while the menu is open; every key stops here.
        function popupKey(event, letter) {
            var key = event.key;
            if (key === "ArrowDown" || (key === "Tab" && !event.shiftKey))
                step(1);
            else if (key === "ArrowUp" || key === "Tab")
                step(-1);
            else if (key === "Enter" && state.active >= 0)
                choose([actions.protocole, actions.propos][state.active]);
            else if (key === " " || (key === "Enter" && state.active < 0))
                show(0); // back to the first entry
            else if (key === "Escape" || key === "ArrowLeft" || key === "ArrowRight")
                holdBar();
            else if (letter === "p" || letter === "a")
                choose(letter === "p" ? actions.protocole : actions.propos);
            else if (event.altKey && letter === "?") {
                show(0);
                state.barHeld = true;
            }
            else if (event.altKey && window.has(letter)) {
                leave();
                window.press(letter);
            } else if (event.altKey && letter) {
                // An Alt+? in the open menu leaves the bar holding the keys.
                state.barHeld ? holdBar() : leave();
            }
        }

        // Keys while the bar holds the keyboard, the menu closed.
        function barKey(event, letter) {
            var key = event.key;
            if (key === "Escape") {
                leave();
            } else if (key === "Enter") {
                window.pressDefault();
            } else if (key === " " || (event.altKey && letter === "?")) {
                open(true);
            } else if (key === "Tab") {
                var list = windows.focusables(bar.closest(".window"));
                state.returnTo = list[event.shiftKey ? list.length - 1 : 0];
                leave();
            } else if (event.altKey && window.has(letter)) {
                window.press(letter);
            }
        }

        return {
            element: bar,
            isOpen: function () { return state.open; },
            holdsKeys: function () { return state.open || document.activeElement === bar; },
            // Alt+? in the window: the menu, by the keys.
            openByKeys: function () { open(true); },
            close: function () { hide(); state.returnTo = null; },
            // Any click outside the menu and its bar closes it.
            pointerDown: function (target) {
                if (state.open && !bar.contains(target))
                    leave();
            },
            /**
             * @param {KeyboardEvent} event
             * @param {string} letter the letter it stands for, or ""
             */
            handleKey: function (event, letter) {
                if (state.open)
                    popupKey(event, letter);
                else
                    barKey(event, letter);
            }
        };
    }

    return { create: create };
});
