// The controls that go in the windows, each placed by its box from the
// layout table: labels, command buttons with their access key, text boxes.
"use strict";

Bocavo.define("controls", ["text"], function (text) {
    function placeBox(element, box) {
        element.style.left = box.left + "px";
        element.style.top = box.top + "px";
        element.style.width = box.width + "px";
        element.style.height = box.height + "px";
    }

    /**
     * A control: its id from its window and name; data-name holds the name alone.
     * @param {string} tag
     * @param {string} windowId
     * @param {string} name
     * @param {Box} [box]
     * @param {string} [className]
     * @returns {HTMLElement}
     */
    function make(tag, windowId, name, box, className) {
        var element = document.createElement(tag);
        element.id = text.controlId(windowId, name);
        element.setAttribute("data-name", name);
        if (className)
            element.className = className;
        if (box)
            placeBox(element, box);
        return element;
    }

    /**
     * Shows a caption with its access key underlined and no "&"; gives the key.
     * @param {HTMLElement} element
     * @param {string} caption
     * @returns {string} the key, lower case, or ""
     */
    function showCaption(element, caption) {
        var parts = text.accessKey(caption);
        element.textContent = "";
        element.appendChild(document.createTextNode(parts.before));
        if (parts.key) {
            var u = document.createElement("u");
            u.textContent = parts.key;
            element.appendChild(u);
            element.appendChild(document.createTextNode(parts.after));
            element.setAttribute("data-key", parts.key.toLowerCase());
            element.setAttribute("aria-keyshortcuts", "Alt+" + parts.key.toUpperCase());
        }
        return parts.key.toLowerCase();
    }

    // A font of its own, where the table gives one (always Verdana).
    function ownFont(element, desc) {
        if (desc.fontPoints)
            element.style.font = (desc.bold ? "bold " : "") + desc.fontPoints + "pt Verdana, \"DejaVu Sans\", sans-serif";
    }

    function label(windowId, name, desc) {
        var element = make("div", windowId, name, desc.box, "label");
        element.textContent = desc.text || "";
        ownFont(element, desc);
        return element;
    }

    function button(windowId, name, desc, onClick) {
        var element = make("button", windowId, name, desc.box, "command");
        element.type = "button";
        showCaption(element, desc.text);
        element.addEventListener("click", onClick);
        return element;
    }

    function textBox(windowId, name, desc, accessibleName) {
        var element = make("textarea", windowId, name, desc.box, "text" + (desc.scrollBar ? " scroll" : ""));
        element.readOnly = true;
        element.value = text.lines(desc.text);
        element.setAttribute("aria-label", accessibleName);
        ownFont(element, desc);
        return element;
    }

    return { make: make, showCaption: showCaption, label: label, button: button, textBox: textBox };
});
