// What the page reads and hands out as files: a scenario opened (file picker
// or dropped), and downloads (a scenario, the CSV built from its parts, a
// picture). Nothing is stored: a download is a Blob the browser saves.
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

    return { link: link, download: download, watchOpen: watchOpen, csvBlob: csvBlob };
});
