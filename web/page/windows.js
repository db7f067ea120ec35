// In-page windows, kept as a window manager keeps them: a caption bar with
// the title and a close button, dragged by the caption but never beyond
// reach, brought to the front and given the keyboard by a click, placed
// beside the main window when first shown, and the focus handed back to the
// window focused before when one goes.
"use strict";

Bocavo.define("windows", ["text", "placement"], function (text, placement) {
    // Screen pixels of a caption that stay within reach, beside its close
    // button: 40, and one for the rounding of a scaled window's edges.
    var REACH = 41;
    var zTop = 1;
    // The control each window had the focus on last, to give it back.
    var remembered = new WeakMap();

    /** @param {PageState} page */
    function all(page) {
        return Array.prototype.slice.call(page.stage.querySelectorAll(":scope > .window"));
    }

    /**
     * The window in front: the one that takes the keys.
     * @param {PageState} page
     * @returns {HTMLElement|null}
     */
    function front(page) {
        var shown = all(page).filter(function (w) { return !w.hidden; });
        shown.sort(function (a, b) { return Number(b.style.zIndex) - Number(a.style.zIndex); });
        return shown[0] || null;
    }

    function raise(page, win) {
        win.style.zIndex = String(++zTop);
        all(page).forEach(function (w) { w.classList.toggle("active", w === win); });
    }

    /**
     * A window's controls that take the focus now, in its own tab order.
     * @param {HTMLElement} win
     * @returns {HTMLElement[]}
     */
    function focusables(win) {
        return (win.getAttribute("data-focus-order") || "").split(" ").filter(Boolean)
            .map(function (name) { return document.getElementById(text.controlId(win.id, name)); })
            .filter(function (el) { return el && !el.disabled && !el.hidden; });
    }

    /**
     * Gives a window the keyboard: the control it had last, else its first,
     * else the window itself.
     * @param {HTMLElement} win
     */
    function focusWindow(win) {
        var last = remembered.get(win);
        var list = focusables(win);
        var target = last && last.isConnected && (list.indexOf(last) >= 0 || last.getAttribute("role") === "menubar")
            ? last : list[0] || win;
        target.focus({ preventScroll: true });
    }

    /**
     * After a window hides or goes: the keyboard to the window now in front.
     * @param {PageState} page
     */
    function focusFront(page) {
        var win = front(page);
        if (!win)
            return;
        raise(page, win);
        if (!win.contains(document.activeElement))
            focusWindow(win);
    }

    // Keeps the focused control in mind, and the window in front while it has it.
    function remember(page, win, element) {
        if (focusables(win).indexOf(element) >= 0 || element.getAttribute("role") === "menubar")
            remembered.set(win, element);
    }

    // The view and the reach in the stage's pixels.
    function view(page) {
        return { width: window.innerWidth / page.scale, height: window.innerHeight / page.scale };
    }

    /**
     * Moves a window so that its caption stays within reach.
     * @param {PageState} page
     * @param {HTMLElement} win
     * @param {number} left
     * @param {number} top
     */
    function moveTo(page, win, left, top) {
        var caption = win.querySelector(".caption");
        var close = caption.querySelector(".close");
        var closeWidth = close
            ? (win.getBoundingClientRect().right - close.getBoundingClientRect().left) / page.scale : 0;
        // The reach counts from the caption, inside the window's border.
        var spot = placement.keepReachable({ left: left, top: top, width: win.offsetWidth }, view(page),
            REACH / page.scale + win.clientLeft, closeWidth, caption.offsetHeight);
        win.style.left = spot.left + "px";
        win.style.top = spot.top + "px";
    }

    /** After a resize, a rotation or a zoom: every window back within reach. */
    function keepAllInView(page) {
        all(page).forEach(function (win) { moveTo(page, win, win.offsetLeft, win.offsetTop); });
    }

    function rect(win) {
        return { left: win.offsetLeft, top: win.offsetTop, width: win.offsetWidth, height: win.offsetHeight };
    }

    /**
     * A new window's first place: beside the main window where there is room.
     * @param {PageState} page
     * @param {HTMLElement} win
     */
    function placeNew(page, win) {
        var main = document.getElementById("Tableau");
        var others = all(page).filter(function (w) { return w !== win && w !== main && !w.hidden; });
        var caption = win.querySelector(".caption").offsetHeight;
        var spot = placement.placeWindow({ width: win.offsetWidth, height: win.offsetHeight }, rect(main),
            others.map(rect), view(page), caption + 4);
        moveTo(page, win, spot.left, spot.top);
    }

    // Moves a window by its caption, in stage pixels whatever the scale.
    // The press is kept from the browser, which would leave the focus where
    // it was: the window in front is the one that takes the keys.
    function makeDraggable(page, win, handle) {
        var start = null;
        handle.addEventListener("pointerdown", function (event) {
            if (event.button !== 0 || event.target.closest("button"))
                return;
            start = { x: event.clientX, y: event.clientY, left: win.offsetLeft, top: win.offsetTop };
            handle.setPointerCapture(event.pointerId);
            event.preventDefault();
            focusWindow(win);
        });
        handle.addEventListener("pointermove", function (event) {
            if (start)
                moveTo(page, win, start.left + (event.clientX - start.x) / page.scale,
                    start.top + (event.clientY - start.y) / page.scale);
        });
        function stop() { start = null; }
        handle.addEventListener("pointerup", stop);
        handle.addEventListener("pointercancel", stop);
    }

    // What a click may give the focus to itself; a click anywhere else gives
    // the window its own control back, as a window manager's click does.
    var TAKES_FOCUS = "button.command:enabled, table.grid, textarea, [tabindex='0']";

    /**
     * A window of the given client size (CSS pixels). onClose runs when the
     * caption's close button is used; the window does not remove itself.
     * @param {PageState} page
     * @param {{id: string, title: string, client: {width: number, height: number}, tool?: boolean,
     *          icon?: boolean, role?: string, menu?: HTMLElement, onClose: function(): void,
     *          resizable?: boolean}} options
     * @returns {HTMLElement}
     */
    function create(page, options) {
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
        var close = document.createElement("button");
        close.type = "button";
        close.className = "close";
        close.id = options.id + "-close";
        // A window manager's button: out of the Tab cycle.
        close.tabIndex = -1;
        close.setAttribute("aria-label", "Fermer");
        close.textContent = "\u00d7";
        close.addEventListener("click", options.onClose);
        caption.appendChild(close);
        win.appendChild(caption);
        if (options.menu)
            win.appendChild(options.menu);

        var client = document.createElement("div");
        client.className = "client";
        client.style.width = options.client.width + "px";
        client.style.height = options.client.height + "px";
        if (options.resizable) {
            client.style.minWidth = client.style.width;
            client.style.minHeight = client.style.height;
        }
        win.appendChild(client);

        win.addEventListener("pointerdown", function () { raise(page, win); }, true);
        win.addEventListener("mousedown", function (event) {
            // A resizable client area keeps its grip.
            if (!event.target.closest(TAKES_FOCUS) && getComputedStyle(event.target).resize === "none") {
                event.preventDefault();
                if (!win.contains(document.activeElement) || document.activeElement === win)
                    focusWindow(win);
            }
        });
        win.addEventListener("focusin", function (event) {
            remember(page, win, event.target);
            if (win.style.zIndex !== String(zTop))
                raise(page, win);
        });
        makeDraggable(page, win, caption);
        page.stage.appendChild(win);
        raise(page, win);
        return win;
    }

    return {
        all: all,
        front: front,
        raise: raise,
        focusables: focusables,
        focusWindow: focusWindow,
        focusFront: focusFront,
        moveTo: moveTo,
        keepAllInView: keepAllInView,
        placeNew: placeNew,
        create: create
    };
});
