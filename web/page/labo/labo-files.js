// What the page reads and hands out as files: a scenario opened (file picker
// or dropped), and downloads (a scenario, the CSV built from its parts, a
// picture), and tables put on the clipboard. Nothing is stored: a download is a Blob the browser saves.
"use strict";

Bocavo.define("files", [], function () {
    /**
     * A link that saves `parts` as a file named `name`.
     * @param {BlobPart[]} parts
     * @param {string} name
     * @param {string} type
     * @returns {HTMLAnchorElement}
     */
    function link(parts, name, type) {
        var made = document.createElement("a");
        made.href = URL.createObjectURL(new Blob(parts, { type: type }));
        made.download = name;
        made.textContent = name;
        return made;
    }

    /**
     * Saves `parts` as a file named `name` at once.
     * @returns {HTMLAnchorElement} the link, kept so that it can be offered again
     */
    function download(parts, name, type) {
        var made = link(parts, name, type);
        made.click();
        return made;
    }

    /**
     * Calls `open` with the text of a file chosen in the picker or dropped on `zone`.
     * @param {HTMLInputElement} picker
     * @param {HTMLElement} zone
     * @param {function(string, string): void} open the text and the file's name
     */
    function watchOpen(picker, zone, open) {
        function read(file) {
            if (file)
                file.text().then(function (text) { open(text, file.name); },
                    function () { open("\u0000", file.name); }); // unreadable: the module refuses it
        }
        picker.addEventListener("change", function () {
            read(picker.files[0]);
            picker.value = "";
        });
        zone.addEventListener("dragover", function (event) {
            event.preventDefault();
            zone.classList.add("depot");
        });
        zone.addEventListener("dragleave", function () { zone.classList.remove("depot"); });
        zone.addEventListener("drop", function (event) {
            event.preventDefault();
            zone.classList.remove("depot");
            read(event.dataTransfer.files[0]);
        });
    }

    /**
     * The CSV file from the worker's parts: each part a string of a few
     * megabytes, the file a Blob of them, never one string.
     * @param {function(Object): Promise<*>} ask
     * @param {function(number): void} progress share of the file made
     * @returns {Promise<Blob>}
     */
    function csvBlob(ask, progress) {
        var parts = [];
        function more() {
            return ask({ kind: "csvPart" }).then(function (part) {
                if (part.error)
                    throw new Error(part.error);
                parts.push(part.text);
                progress(part.share);
                return part.done ? new Blob(parts, { type: "text/csv;charset=utf-8" }) : more();
            });
        }
        return more();
    }

    /** @returns {string} the reader's decimal sign, as their spreadsheet expects it */
    function decimalSign() {
        return new Intl.NumberFormat().formatToParts(1.5).filter(function (part) {
            return part.type === "decimal";
        }).map(function (part) { return part.value; })[0] || ".";
    }

    /**
     * « Copier le tableau »: puts the module's table on the clipboard.
     * @param {{text: string, said: string, refused: string}|null} table
     * @param {function(string): void} say what to tell the reader
     */
    function copyTable(table, say) {
        if (!table || table.error) {
            say(table ? table.error : "");
            return;
        }
        if (!navigator.clipboard) {
            say(table.refused);
            return;
        }
        navigator.clipboard.writeText(table.text).then(function () { say(table.said); },
            function () { say(table.refused); });
    }

    return { link: link, download: download, watchOpen: watchOpen, csvBlob: csvBlob, decimalSign: decimalSign,
        copyTable: copyTable };
});
