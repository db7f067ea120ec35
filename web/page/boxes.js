// The modal boxes (Quit, internal error) and the closed page. A box lies on
// a veil that takes every click meant for the windows behind it and keeps
// the focus in the box; it is centred in the viewport, and again after every
// resize, rotation or zoom.
"use strict";

Bocavo.define("boxes", ["text", "placement", "controls"], function (text, placement, controls) {
    /** @param {PageState} page */
    function create(page) {
        var open = null; // { veil, box, buttons, onEscape, returnFocus }

        function command(id, caption, onClick) {
            var b = document.createElement("button");
            b.type = "button";
            b.id = id;
            b.className = "command";
            controls.showCaption(b, caption);
            b.addEventListener("click", onClick);
            return b;
        }

        // As large as the windows, centred in the viewport.
        function fit() {
            if (!open)
                return;
            var box = open.box;
            box.style.transform = "scale(" + page.scale + ")";
            var spot = placement.centre({ width: box.offsetWidth * page.scale, height: box.offsetHeight * page.scale },
                { width: window.innerWidth, height: window.innerHeight });
            box.style.left = spot.left + "px";
            box.style.top = spot.top + "px";
        }

        // Buttons: [{id, text, action}], the first being the default. onEscape
        // answers Escape and the box's close, or nothing does.
        function modal(id, title, message, buttons, onEscape) {
            close();
            var veil = document.createElement("div");
            veil.className = "veil";
            veil.id = id + "-veil";
            // A click beside the box leaves the focus in it.
            veil.addEventListener("mousedown", function (event) {
                if (!event.target.closest("button"))
                    event.preventDefault();
            });
            var box = document.createElement("section");
            box.id = id;
            box.className = "window box tool active";
            box.setAttribute("role", "alertdialog");
            box.setAttribute("aria-modal", "true");
            box.setAttribute("aria-labelledby", id + "-title");
            box.setAttribute("aria-describedby", id + "-text");
            var caption = document.createElement("div");
            caption.className = "caption";
            var t = document.createElement("span");
            t.className = "title";
            t.id = id + "-title";
            t.textContent = title;
            caption.appendChild(t);
            box.appendChild(caption);
            var words = document.createElement("div");
            words.className = "message";
            words.id = id + "-text";
            words.textContent = message;
            box.appendChild(words);
            var row = document.createElement("div");
            row.className = "buttons";
            var list = buttons.map(function (choice) {
                return row.appendChild(command(choice.id, choice.text, function () {
                    close();
                    choice.action();
                }));
            });
            box.appendChild(row);
            veil.appendChild(box);
            page.desk.appendChild(veil);
            open = { veil: veil, box: box, buttons: list, onEscape: onEscape, returnFocus: document.activeElement };
            fit();
            list[0].focus();
        }

        function close() {
            if (!open)
                return;
            var was = open;
            open = null;
            was.veil.remove();
            if (was.returnFocus && was.returnFocus.isConnected)
                was.returnFocus.focus({ preventScroll: true });
        }

        // Keys while a box is up: every one belongs to it.
        function handleKey(event) {
            var buttons = open.buttons;
            var at = buttons.indexOf(document.activeElement);
            var key = event.key;
            var letter = text.letterOf(key, event.code);
            var byLetter = buttons.filter(function (b) { return letter && b.getAttribute("data-key") === letter; })[0];
            if (key === "Escape") {
                if (open.onEscape) {
                    var onEscape = open.onEscape;
                    close();
                    onEscape();
                }
            } else if (key === "Tab" || key.indexOf("Arrow") === 0) {
                var back = key === "ArrowUp" || key === "ArrowLeft" || (key === "Tab" && event.shiftKey);
                buttons[(at + (back ? -1 : 1) + buttons.length) % buttons.length].focus();
            } else if (key === "Enter") {
                (at >= 0 ? buttons[at] : buttons[0]).click();
            } else if (key === " ") {
                return; // the focused button answers it itself
            } else if (byLetter && !event.ctrlKey && !event.metaKey) {
                byLetter.click();
            }
            event.preventDefault();
        }

        function isOpen() {
            return open !== null;
        }

        /**
         * @param {{quitTitle: string, quitQuestion: string}} messages
         * @param {function(): void} onYes
         */
        function quit(messages, onYes) {
            modal("quitBox", messages.quitTitle, messages.quitQuestion, [
                { id: "quitBox-yes", text: "&Oui", action: onYes },
                { id: "quitBox-no", text: "&Non", action: function () {} }
            ], function () {});
        }

        function error(title, message, onDone) {
            modal("errorBox", title, message, [{ id: "errorBox-ok", text: "&OK", action: onDone }], onDone);
        }

        // What is left once the program has ended: a page cannot close its tab.
        function ended(onRestart) {
            var end = document.createElement("div");
            end.id = "ended";
            end.setAttribute("role", "status");
            var said = document.createElement("p");
            said.textContent = "Bocavo est fermé.";
            end.appendChild(said);
            var hint = document.createElement("p");
            hint.className = "hint";
            hint.textContent = "Vous pouvez fermer cet onglet, ou relancer Bocavo depuis le début.";
            end.appendChild(hint);
            var again = command("restart", "Relancer Bocavo", function () {
                end.remove();
                onRestart();
            });
            end.appendChild(again);
            page.desk.appendChild(end);
            again.focus();
        }

        return {
            quit: quit, error: error, ended: ended, close: close, isOpen: isOpen, handleKey: handleKey, fit: fit
        };
    }

    return { create: create };
});
