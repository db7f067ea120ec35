// The modal boxes (Quit, internal error) and the closed page. A box lies on
// a veil that takes every click meant for the windows behind it.
"use strict";

var Bocavo = window.Bocavo || (window.Bocavo = {});

Bocavo.boxes = (function () {
    var open = null; // { veil, box, onEscape, returnFocus }

    function command(id, text, onClick) {
        var b = document.createElement("button");
        b.type = "button";
        b.id = id;
        b.className = "command";
        b.textContent = text;
        b.addEventListener("click", onClick);
        return b;
    }

    // A box centred on the main window; buttons: [{id, text, action}], the
    // first being the default. onEscape answers Escape, or nothing does.
    function modal(id, title, message, buttons, onEscape) {
        close();
        var veil = document.createElement("div");
        veil.className = "veil";
        veil.id = id + "-veil";
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
        var text = document.createElement("div");
        text.className = "message";
        text.id = id + "-text";
        text.textContent = message;
        box.appendChild(text);
        var row = document.createElement("div");
        row.className = "buttons";
        buttons.forEach(function (choice) {
            row.appendChild(command(choice.id, choice.text, function () {
                close();
                choice.action();
            }));
        });
        box.appendChild(row);
        veil.appendChild(box);
        document.getElementById("desk").appendChild(veil);

        // As large as the windows, centred over the main one.
        var scale = Bocavo.scale || 1;
        box.style.transform = "scale(" + scale + ")";
        var main = document.getElementById("Tableau");
        var anchor = main ? main.getBoundingClientRect() : { left: 0, top: 0, width: window.innerWidth, height: window.innerHeight };
        box.style.left = Math.max(0, anchor.left + (anchor.width - box.offsetWidth * scale) / 2) + "px";
        box.style.top = Math.max(0, anchor.top + (anchor.height - box.offsetHeight * scale) / 3) + "px";

        open = { veil: veil, box: box, onEscape: onEscape, returnFocus: document.activeElement };
        row.firstChild.focus();
    }

    function close() {
        if (!open) return;
        var was = open;
        open = null;
        was.veil.remove();
        if (was.returnFocus && was.returnFocus.isConnected) was.returnFocus.focus({ preventScroll: true });
    }

    // Keys while a box is up: Escape as the box says, Tab kept inside it.
    function handleKey(event) {
        if (!open) return false;
        if (event.key === "Escape") {
            if (open.onEscape) {
                var onEscape = open.onEscape;
                close();
                onEscape();
            }
        } else if (event.key === "Tab") {
            var buttons = Array.prototype.slice.call(open.box.querySelectorAll("button"));
            var at = buttons.indexOf(document.activeElement);
            var next = (at + (event.shiftKey ? -1 : 1) + buttons.length) % buttons.length;
            buttons[next].focus();
        } else if (event.key !== "Enter" && event.key !== " ") {
            // Every other key belongs to the box: no access key gets through.
            return true;
        } else {
            return false; // the focused button answers Enter and Space itself
        }
        event.preventDefault();
        return true;
    }

    function isOpen() {
        return open !== null;
    }

    function quit(messages, onYes) {
        modal("quitBox", messages.quitTitle, messages.quitQuestion, [
            { id: "quitBox-yes", text: "Oui", action: onYes },
            { id: "quitBox-no", text: "Non", action: function () {} }
        ], function () {});
    }

    function error(title, message, onDone) {
        modal("errorBox", title, message, [{ id: "errorBox-ok", text: "OK", action: onDone }], onDone);
    }

    // What is left once the program has ended: a page cannot close its tab.
    function ended(onRestart) {
        var page = document.createElement("div");
        page.id = "ended";
        page.setAttribute("role", "status");
        var said = document.createElement("p");
        said.textContent = "Bocavo est fermé.";
        page.appendChild(said);
        var hint = document.createElement("p");
        hint.className = "hint";
        hint.textContent = "Vous pouvez fermer cet onglet, ou relancer Bocavo depuis le début.";
        page.appendChild(hint);
        var again = command("restart", "Relancer Bocavo", function () {
            page.remove();
            onRestart();
        });
        page.appendChild(again);
        document.getElementById("desk").appendChild(page);
        again.focus();
    }

    return { quit: quit, error: error, ended: ended, close: close, isOpen: isOpen, handleKey: handleKey };
})();
