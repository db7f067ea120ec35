// In-page windows: a caption bar with the title and a close button, dragged
// by the caption, brought to the front by any click; and the controls that
// go in them, each placed by its box from the layout table.
"use strict";

var Bocavo = window.Bocavo || (window.Bocavo = {});

Bocavo.windows = (function () {
    var stage = null;
    var zTop = 1;

    function attach(stageElement) {
        stage = stageElement;
    }

    function all() {
        return stage ? Array.prototype.slice.call(stage.querySelectorAll(":scope > .window")) : [];
    }

    // The window in front: the one that answers the keyboard.
    function active() {
        var shown = all().filter(function (w) { return !w.hidden; });
        shown.sort(function (a, b) { return Number(b.style.zIndex) - Number(a.style.zIndex); });
        return shown[0] || null;
    }

    function raise(win) {
        win.style.zIndex = String(++zTop);
        all().forEach(function (w) { w.classList.toggle("active", w === win); });
    }

    // Moves a window by the pointer, in stage pixels whatever the scale,
    // keeping some of its caption on the screen. The press is kept from the
    // browser, which would leave the focus where it was: the window in front
    // must be the one that takes the keys, so onPress gives it the focus.
    function makeDraggable(win, handle, onPress) {
        var start = null;
        handle.addEventListener("pointerdown", function (event) {
            if (event.button !== 0 || event.target.closest("button")) return;
            start = { x: event.clientX, y: event.clientY, left: win.offsetLeft, top: win.offsetTop };
            handle.setPointerCapture(event.pointerId);
            event.preventDefault();
            onPress();
        });
        handle.addEventListener("pointermove", function (event) {
            if (!start) return;
            var scale = Bocavo.scale || 1;
            var left = start.left + (event.clientX - start.x) / scale;
            var top = start.top + (event.clientY - start.y) / scale;
            var origin = stage.getBoundingClientRect();
            var minLeft = (-origin.left) / scale - win.offsetWidth + 40;
            var maxLeft = (window.innerWidth - origin.left) / scale - 40;
            var minTop = (-origin.top) / scale;
            var maxTop = (window.innerHeight - origin.top) / scale - 20;
            place(win, Math.min(Math.max(left, minLeft), maxLeft), Math.min(Math.max(top, minTop), maxTop));
        });
        function stop() { start = null; }
        handle.addEventListener("pointerup", stop);
        handle.addEventListener("pointercancel", stop);
    }

    function place(win, left, top) {
        win.style.left = Math.round(left) + "px";
        win.style.top = Math.round(top) + "px";
    }

    // A window of the given client size (CSS pixels). onClose runs when the
    // caption's close button is used; the window does not remove itself.
    function create(options) {
        var win = document.createElement("section");
        win.id = options.id;
        win.className = "window" + (options.tool ? " tool" : "");
        win.setAttribute("role", options.role || "dialog");
        win.setAttribute("aria-label", options.title);
        win.tabIndex = -1;

        // The title is the window's own text: neither it nor the caption bar
        // has an id, which only controls carry.
        var caption = document.createElement("div");
        caption.className = "caption";
        if (options.icon) {
            var icon = document.createElement("img");
            icon.src = "icon16.png";
            icon.alt = "";
            caption.appendChild(icon);
        }
        var title = document.createElement("span");
        title.className = "title";
        title.textContent = options.title;
        caption.appendChild(title);
        if (options.onClose) {
            var close = document.createElement("button");
            close.type = "button";
            close.className = "close";
            close.id = options.id + "-close";
            close.tabIndex = -1;
            close.setAttribute("aria-label", "Fermer");
            close.textContent = "\u00d7";
            close.addEventListener("click", options.onClose);
            caption.appendChild(close);
        }
        win.appendChild(caption);
        if (options.menu) win.appendChild(options.menu);

        var client = document.createElement("div");
        client.className = "client";
        client.style.width = options.client.width + "px";
        client.style.height = options.client.height + "px";
        if (options.resizable) {
            client.style.minWidth = client.style.width;
            client.style.minHeight = client.style.height;
        }
        win.appendChild(client);

        // The control of the focus cycle last focused here (a menu entry is
        // none), to give the focus back to when the caption is pressed.
        var lastFocused = null;
        function takeFocus() {
            var list = Bocavo.keys.focusables(win);
            var target = list.indexOf(lastFocused) >= 0 ? lastFocused : list[0];
            (target || win).focus({ preventScroll: true });
        }

        win.addEventListener("pointerdown", function () { raise(win); }, true);
        win.addEventListener("focusin", function (event) {
            if (Bocavo.keys.focusables(win).indexOf(event.target) >= 0) lastFocused = event.target;
            raise(win);
        });
        makeDraggable(win, caption, takeFocus);
        stage.appendChild(win);
        raise(win);
        return win;
    }

    // Caption text with "&" marking the access key: the key is shown
    // underlined and the "&" not at all.
    function caption(element, text) {
        var at = text.indexOf("&");
        element.textContent = "";
        if (at < 0 || at === text.length - 1) {
            element.textContent = text;
            return "";
        }
        var key = text.charAt(at + 1);
        element.appendChild(document.createTextNode(text.slice(0, at)));
        var u = document.createElement("u");
        u.textContent = key;
        element.appendChild(u);
        element.appendChild(document.createTextNode(text.slice(at + 2)));
        return key;
    }

    function placeBox(element, box) {
        element.style.left = box.left + "px";
        element.style.top = box.top + "px";
        element.style.width = box.width + "px";
        element.style.height = box.height + "px";
    }

    // Controls: id is the window's own prefix ("" in the main window) and
    // the control's name; data-name always holds the name alone.
    function make(tag, prefix, name, box, className) {
        var element = document.createElement(tag);
        element.id = prefix ? prefix + "-" + name : name;
        element.setAttribute("data-name", name);
        if (className) element.className = className;
        if (box) placeBox(element, box);
        return element;
    }

    // A font of its own, where the table gives one (always Verdana).
    function ownFont(element, desc) {
        if (desc.fontPoints)
            element.style.font = (desc.bold ? "bold " : "") + desc.fontPoints + "pt Verdana, \"DejaVu Sans\", sans-serif";
    }

    function label(prefix, name, desc) {
        var element = make("div", prefix, name, desc.box, "label");
        element.textContent = desc.text || "";
        ownFont(element, desc);
        return element;
    }

    function button(prefix, name, desc, onClick) {
        var element = make("button", prefix, name, desc.box, "command");
        element.type = "button";
        var key = caption(element, desc.text);
        if (key) element.setAttribute("aria-keyshortcuts", "Alt+" + key.toUpperCase());
        element.setAttribute("data-key", key.toLowerCase());
        element.addEventListener("click", onClick);
        return element;
    }

    // The stored texts end every line with CR LF, a text box's lines with LF.
    function lines(crlfText) {
        return crlfText.replace(/\r\n/g, "\n");
    }

    function textBox(prefix, name, desc, accessibleName) {
        var element = make("textarea", prefix, name, desc.box, "text" + (desc.scrollBar ? " scroll" : ""));
        element.readOnly = true;
        element.value = lines(desc.text);
        element.setAttribute("aria-label", accessibleName);
        ownFont(element, desc);
        return element;
    }

    return {
        attach: attach,
        all: all,
        active: active,
        raise: raise,
        place: place,
        create: create,
        caption: caption,
        make: make,
        label: label,
        button: button,
        textBox: textBox
    };
})();
