// The legend, protocol, About and gift windows: at most one of each, made on
// the first request and placed beside the main window. OK hides a window and
// the next request shows that same element again; the caption's close
// button (or Escape) removes it and the next request makes a fresh one. The
// gift window is kept here, not by the protocol window, so that it outlives it.
"use strict";

Bocavo.define("auxWindows", ["controls", "windows"], function (controls, windows) {
    /**
     * Tab stops every `characters` average characters of the box's font,
     * as the desktop's text boxes place them.
     * @param {HTMLTextAreaElement} box
     * @param {number} characters
     */
    function setTabStops(box, characters) {
        var context = document.createElement("canvas").getContext("2d");
        context.font = getComputedStyle(box).font;
        var letters = "abcdefghijklmnopqrstuvwxyz";
        box.style.tabSize = (characters * context.measureText(letters).width / letters.length) + "px";
    }

    /** @param {PageState} page */
    function create(page) {
        var kept = {};

        // OK hides its window. It is no default button: Enter presses it only
        // when it has the focus.
        function okButton(name, desc) {
            return controls.button(name, "Command1", desc.controls.Command1, function () { hide(name); });
        }

        var builders = {
            legende: function (client, desc) {
                Object.keys(desc.controls).forEach(function (name) {
                    var c = desc.controls[name];
                    if (c.kind === "swatch") {
                        var swatch = controls.make("div", "legende", name, c.box, "swatch");
                        swatch.style.background = c.colour;
                        client.appendChild(swatch);
                    } else {
                        client.appendChild(controls.label("legende", name, c));
                    }
                });
                return "";
            },
            aprotocole: function (client, desc) {
                var c = desc.controls;
                client.appendChild(controls.label("aprotocole", "Label1", c.Label1));
                // In tab order: the protocol, OK, then the note.
                client.appendChild(controls.textBox("aprotocole", "Text1", c.Text1, "Protocole de l'expérience"));
                client.appendChild(okButton("aprotocole", desc));
                client.appendChild(controls.textBox("aprotocole", "Text2", c.Text2, "Note sur le programme"));
                // Nothing of it shows; only its corner inside the window can be hit.
                var corner = controls.make("div", "aprotocole", "Label2", c.Label2.box, "label");
                corner.addEventListener("click", function () { show("Cadeau"); });
                client.appendChild(corner);
                return "Text1 Command1 Text2";
            },
            apropos: function (client, desc) {
                client.appendChild(controls.textBox("apropos", "Text1", desc.controls.Text1, "A propos de Bocavo"));
                client.appendChild(okButton("apropos", desc));
                return "Text1 Command1";
            },
            Cadeau: function (client, desc) {
                var picture = controls.make("img", "Cadeau", "Picture1", desc.controls.Picture1.box);
                picture.src = "cadeau.png";
                picture.alt = "Photo de Mr. Brastel";
                picture.draggable = false;
                // First in the tab order, so that a stray Space cannot hide the gift at once.
                picture.tabIndex = 0;
                client.appendChild(picture);
                client.appendChild(okButton("Cadeau", desc));
                return "Picture1 Command1";
            }
        };

        function make(name) {
            var desc = page.layout[name];
            var win = windows.create(page, {
                id: name,
                title: desc.title,
                client: desc.client,
                tool: true,
                icon: name === "legende",
                resizable: Boolean(desc.resizable),
                onClose: function () { discard(name); }
            });
            win.setAttribute("data-focus-order", builders[name](win.querySelector(".client"), desc));
            Array.prototype.forEach.call(win.querySelectorAll("textarea"), function (box) {
                setTabStops(box, page.layout.charactersPerTab);
            });
            windows.placeNew(page, win);
            return win;
        }

        // Shows the window, made first if need be, in front with the keyboard.
        function show(name) {
            var win = kept[name];
            if (!win || !win.isConnected)
                win = kept[name] = make(name);
            win.hidden = false;
            windows.raise(page, win);
            windows.focusWindow(win);
            return win;
        }

        function hide(name) {
            if (kept[name])
                kept[name].hidden = true;
            windows.focusFront(page);
        }

        function discard(name) {
            if (kept[name])
                kept[name].remove();
            delete kept[name];
            windows.focusFront(page);
        }

        // Every window goes, shown or hidden: the program is ending.
        function closeAll() {
            Object.keys(kept).forEach(function (name) { kept[name].remove(); });
            kept = {};
        }

        return { show: show, discard: discard, closeAll: closeAll };
    }

    return { create: create };
});
