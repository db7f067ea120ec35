// The keyboard, as on the desktop: access keys (Alt + the underlined
// letter) in the window in front, the "?" menu's own keys while it is open,
// Tab cycling through a window's controls, Enter for the default button.
"use strict";

var Bocavo = window.Bocavo || (window.Bocavo = {});

Bocavo.menu = (function () {
    function parts() {
        return {
            help: document.getElementById("help"),
            popup: document.getElementById("help-menu")
        };
    }

    function isOpen() {
        var p = parts();
        return Boolean(p.popup && !p.popup.hidden);
    }

    function openMenu() {
        var p = parts();
        if (!p.popup) return;
        p.popup.hidden = false;
        p.help.setAttribute("aria-expanded", "true");
        p.popup.querySelector("[role=menuitem]").focus({ preventScroll: true });
    }

    function close() {
        var p = parts();
        if (!p.popup || p.popup.hidden) return;
        p.popup.hidden = true;
        p.help.setAttribute("aria-expanded", "false");
        if (p.popup.contains(document.activeElement) || document.activeElement === p.help)
            Bocavo.keys.focusFront();
    }

    function toggle() {
        if (isOpen()) close();
        else openMenu();
    }

    // Keys while the submenu is open: its letters, the arrows, Enter and
    // Escape. Alt and Tab close it and go on to the window; the true result
    // says the key was used up here.
    function handleKey(event) {
        if (event.altKey || event.key === "Tab") {
            close();
            return false;
        }
        var items = Array.prototype.slice.call(parts().popup.querySelectorAll("[role=menuitem]"));
        var at = items.indexOf(document.activeElement);
        if (event.key === "Escape") {
            close();
        } else if (event.key === "ArrowDown" || event.key === "ArrowUp") {
            var step = event.key === "ArrowDown" ? 1 : -1;
            items[(at + step + items.length) % items.length].focus();
        } else if (event.key === "Enter" || event.key === " ") {
            if (at >= 0) items[at].click();
        } else if (!event.ctrlKey && !event.metaKey) {
            var key = event.key.toLowerCase();
            var chosen = items.filter(function (item) { return item.getAttribute("data-key") === key; })[0];
            if (chosen) chosen.click();
        } else {
            return false;
        }
        event.preventDefault();
        return true;
    }

    document.addEventListener("pointerdown", function (event) {
        if (isOpen() && !event.target.closest(".menu-entry")) close();
    }, true);

    return { isOpen: isOpen, close: close, toggle: toggle, handleKey: handleKey };
})();

Bocavo.keys = (function () {
    // A window's controls that take the focus now, in its own tab order.
    function focusables(win) {
        var order = (win.getAttribute("data-focus-order") || "").split(" ").filter(Boolean);
        var prefix = win.id === "Tableau" ? "" : win.id + "-";
        return order
            .map(function (name) { return document.getElementById(prefix + name); })
            .filter(function (el) { return el && !el.disabled && !el.hidden; });
    }

    // After a window hides or goes: the focus to the window now in front.
    function focusFront() {
        var front = Bocavo.windows.active();
        if (!front) return;
        Bocavo.windows.raise(front);
        var inside = front.contains(document.activeElement) && document.activeElement !== front;
        if (!inside) (focusables(front)[0] || front).focus({ preventScroll: true });
    }

    // The letter a key stands for: the character typed, else (a layout
    // whose Alt makes other characters) the key's place.
    function letterOf(event) {
        if (event.key.length === 1 && !/[^\p{L}?]/u.test(event.key)) return event.key.toLowerCase();
        var place = /^Key([A-Z])$/.exec(event.code || "");
        return place ? place[1].toLowerCase() : "";
    }

    // The window in front takes its own access keys; one it does not have
    // goes on to the main window: the in-page windows share one keyboard.
    function accessKey(front, event) {
        var letter = letterOf(event);
        if (!letter) return false;
        if (windowKey(front, letter)) return true;
        var main = document.getElementById("Tableau");
        return Boolean(main && main !== front && windowKey(main, letter));
    }

    function windowKey(front, letter) {
        if (front.id === "Tableau") {
            if (letter === "q") {
                Bocavo.menu.close();
                Bocavo.run("quit");
                return true;
            }
            if (letter === "?") {
                Bocavo.menu.toggle();
                return true;
            }
        }
        var match = Array.prototype.slice.call(front.querySelectorAll(".client button[data-key]"))
            .filter(function (b) { return b.getAttribute("data-key") === letter; })[0];
        if (!match) return false;
        // A disabled button does not answer; the key is still the window's.
        if (!match.disabled) {
            match.focus({ preventScroll: true });
            match.click();
        }
        return true;
    }

    function cycle(front, backwards) {
        var list = focusables(front);
        if (!list.length) return;
        var at = list.indexOf(document.activeElement);
        var next = at < 0 ? (backwards ? list.length - 1 : 0) : (at + (backwards ? -1 : 1) + list.length) % list.length;
        list[next].focus();
    }

    // Enter presses the focused button, or else the window's default one.
    function pressDefault(front) {
        var focused = document.activeElement;
        if (focused && focused.tagName === "BUTTON" && front.contains(focused)) return false;
        var name = front.getAttribute("data-default");
        if (!name) return false;
        var button = document.getElementById(front.id === "Tableau" ? name : front.id + "-" + name);
        if (button && !button.disabled) button.click();
        return true;
    }

    function onKeyDown(event) {
        if (Bocavo.boxes.isOpen()) {
            Bocavo.boxes.handleKey(event);
            return;
        }
        if (Bocavo.menu.isOpen() && Bocavo.menu.handleKey(event)) return;
        var front = Bocavo.windows.active();
        if (!front) return;
        var handled = false;
        if (event.altKey && !event.ctrlKey && !event.metaKey) {
            handled = accessKey(front, event);
        } else if (event.key === "Tab" && !event.altKey && !event.ctrlKey && !event.metaKey) {
            cycle(front, event.shiftKey);
            handled = true;
        } else if (event.key === "Enter" && !event.altKey && !event.ctrlKey && !event.metaKey) {
            handled = pressDefault(front);
        }
        if (handled) event.preventDefault();
    }

    document.addEventListener("keydown", onKeyDown);

    return { focusables: focusables, focusFront: focusFront };
})();
