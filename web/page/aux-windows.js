// The legend, protocol, About and gift windows: at most one of each, made on
// the first request. OK hides a window and the next request shows that same
// element again; the caption's close button removes it and the next request
// makes a fresh one. The gift window is kept here, not by the protocol
// window, so that it outlives it.
"use strict";

var Bocavo = window.Bocavo || (window.Bocavo = {});

Bocavo.aux = (function () {
    var W = Bocavo.windows;
    var kept = {};
    var layout = null;

    // Where a window first shows, from the main window's top-left corner in
    // stage pixels: over the main window, each a little apart, and below its
    // menu bar, which stays within reach.
    var firstPlace = {
        legende: { left: 12, top: 250 },
        aprotocole: { left: 45, top: 56 },
        apropos: { left: 130, top: 140 },
        Cadeau: { left: 200, top: 220 }
    };

    // OK hides its window. It is no default button: as on the desktop, Enter
    // presses it only when it has the focus.
    function okButton(name, desc) {
        return W.button(name, "Command1", desc.controls.Command1, function () { hide(name); });
    }

    function buildLegende(win, desc) {
        var client = win.querySelector(".client");
        Object.keys(desc.controls).forEach(function (name) {
            var c = desc.controls[name];
            if (c.kind === "swatch") {
                var swatch = W.make("div", "legende", name, c.box, "swatch");
                swatch.style.background = c.colour;
                client.appendChild(swatch);
            } else {
                client.appendChild(W.label("legende", name, c));
            }
        });
        win.setAttribute("data-focus-order", "");
    }

    function buildProtocole(win, desc) {
        var client = win.querySelector(".client");
        var c = desc.controls;
        client.appendChild(W.label("aprotocole", "Label1", c.Label1));
        var text1 = W.textBox("aprotocole", "Text1", c.Text1, "Protocole de l'expérience");
        var ok = okButton("aprotocole", desc);
        var text2 = W.textBox("aprotocole", "Text2", c.Text2, "Note sur le programme");
        // In tab order: the protocol, OK, then the note.
        client.appendChild(text1);
        client.appendChild(ok);
        client.appendChild(text2);
        // Nothing of it shows; only its corner inside the window can be hit.
        var corner = W.make("div", "aprotocole", "Label2", c.Label2.box, "label");
        corner.addEventListener("click", function () { show("Cadeau"); });
        client.appendChild(corner);
        win.setAttribute("data-focus-order", "Text1 Command1 Text2");
    }

    function buildPropos(win, desc) {
        var client = win.querySelector(".client");
        client.appendChild(W.textBox("apropos", "Text1", desc.controls.Text1, "A propos de Bocavo"));
        client.appendChild(okButton("apropos", desc));
        win.setAttribute("data-focus-order", "Text1 Command1");
    }

    function buildCadeau(win, desc) {
        var client = win.querySelector(".client");
        var picture = W.make("img", "Cadeau", "Picture1", desc.controls.Picture1.box);
        picture.src = "cadeau.png";
        picture.alt = "Photo de Mr. Brastel";
        picture.draggable = false;
        client.appendChild(picture);
        client.appendChild(okButton("Cadeau", desc));
        win.setAttribute("data-focus-order", "Command1");
    }

    var builders = {
        legende: buildLegende,
        aprotocole: buildProtocole,
        apropos: buildPropos,
        Cadeau: buildCadeau
    };

    function create(name) {
        var desc = layout[name];
        var win = W.create({
            id: name,
            title: desc.title,
            client: desc.client,
            tool: true,
            icon: name === "legende",
            resizable: Boolean(desc.resizable),
            onClose: function () { discard(name); }
        });
        builders[name](win, desc);
        var main = document.getElementById("Tableau");
        W.place(win, main.offsetLeft + firstPlace[name].left, main.offsetTop + firstPlace[name].top);
        return win;
    }

    // Shows the window, made first if need be, in front of the others.
    function show(name) {
        var win = kept[name];
        if (!win || !win.isConnected) win = kept[name] = create(name);
        win.hidden = false;
        W.raise(win);
        var first = Bocavo.keys.focusables(win)[0];
        (first || win).focus({ preventScroll: true });
        // The About text opens on its last line.
        if (name === "apropos") {
            var text = win.querySelector("textarea");
            text.scrollTop = text.scrollHeight;
        }
        return win;
    }

    function hide(name) {
        if (kept[name]) kept[name].hidden = true;
        Bocavo.keys.focusFront();
    }

    function discard(name) {
        if (kept[name]) kept[name].remove();
        delete kept[name];
        Bocavo.keys.focusFront();
    }

    // Every window goes, shown or hidden: the program is ending.
    function closeAll() {
        Object.keys(kept).forEach(function (name) { kept[name].remove(); });
        kept = {};
    }

    function use(table) {
        layout = table;
    }

    return { use: use, show: show, closeAll: closeAll };
})();
