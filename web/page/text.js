// Pure helpers on texts and names: a caption's access key, the letter a key
// press stands for, a control's id, the stored texts' line ends.
"use strict";

Bocavo.define("text", [], function () {
    /**
     * A caption with "&" before its access key: the parts around the key.
     * @param {string} caption
     * @returns {{before: string, key: string, after: string}} key "" when there is none
     */
    function accessKey(caption) {
        var at = caption.indexOf("&");
        if (at < 0 || at === caption.length - 1)
            return { before: caption, key: "", after: "" };
        return { before: caption.slice(0, at), key: caption.charAt(at + 1), after: caption.slice(at + 2) };
    }

    /**
     * The letter a key press stands for, lower case: the character typed,
     * else (a layout whose Alt makes other characters) the key's place.
     * @param {string} key KeyboardEvent.key
     * @param {string} code KeyboardEvent.code
     * @returns {string} "" for none
     */
    function letterOf(key, code) {
        if (key.length === 1 && !/[^\p{L}?]/u.test(key))
            return key.toLowerCase();
        var place = /^Key([A-Z])$/.exec(code || "");
        return place ? place[1].toLowerCase() : "";
    }

    /**
     * A control's element id: its name in the main window, else the window's
     * name, "-" and its name.
     * @param {string} windowId
     * @param {string} name
     * @returns {string}
     */
    function controlId(windowId, name) {
        return windowId === "Tableau" ? name : windowId + "-" + name;
    }

    /**
     * The stored texts end every line with CR LF, a text box's lines with LF.
     * @param {string} crlfText
     * @returns {string}
     */
    function lines(crlfText) {
        return crlfText.replace(/\r\n/g, "\n");
    }

    return { accessKey: accessKey, letterOf: letterOf, controlId: controlId, lines: lines };
});
