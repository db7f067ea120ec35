// The main window Tableau: two grids over two frequency panels, the three
// command buttons, and the menu bar. It only shows what the run core says;
// every command goes back to the page through `run`.
"use strict";

Bocavo.define("tableau", ["controls", "windows", "menu"], function (controls, windows, menu) {
    // Only the grids and the buttons take the focus, in this cycle.
    var focusOrder = ["Tableau_Parent", "Simuler", "Tableau_Enfant", "GenSuiv", "Command1"];
    var buttons = ["Simuler", "GenSuiv", "Command1"];

    function grid(name, desc, labelledBy) {
        var table = controls.make("table", "Tableau", name, desc.box, "grid");
        table.tabIndex = 0;
        table.setAttribute("aria-labelledby", labelledBy);
        var rows = desc.bands.length;
        // A table's height only stretches its rows: the box's height is made
        // of the rows and, below them, the grid's grey where no cell reaches.
        table.style.height = "";
        table.style.paddingBottom = Math.max(0, desc.box.height - rows * desc.rowHeight) + "px";
        var columns = document.createElement("colgroup");
        desc.columns.forEach(function (width) {
            var col = document.createElement("col");
            col.style.width = width + "px";
            columns.appendChild(col);
        });
        table.appendChild(columns);
        var body = document.createElement("tbody");
        for (var r = 0; r < rows; ++r) {
            var tr = document.createElement("tr");
            tr.style.height = desc.rowHeight + "px";
            for (var c = 0; c < desc.columns.length; ++c) {
                var cell;
                if (r === 0 && c === 0) {
                    cell = document.createElement("td");
                    cell.className = "fixed";
                } else if (r === 0) {
                    cell = document.createElement("th");
                    cell.scope = "col";
                    cell.className = "fixed";
                    cell.textContent = desc.heading + c;
                } else if (c === 0) {
                    cell = document.createElement("th");
                    cell.scope = "row";
                    cell.className = "fixed";
                    cell.textContent = desc.rowPrefix + r;
                } else {
                    cell = document.createElement("td");
                    if (desc.bands[r]) cell.style.background = desc.bands[r];
                }
                tr.appendChild(cell);
            }
            body.appendChild(tr);
        }
        table.appendChild(body);
        return table;
    }

    function frame(name, desc) {
        var element = controls.make("fieldset", "Tableau", name, desc.box, "frame");
        var legend = document.createElement("legend");
        legend.textContent = desc.text;
        element.appendChild(legend);
        var panel = document.createElement("div");
        panel.className = "panel";
        element.appendChild(panel);
        return element;
    }

    /**
     * Builds the window from the layout table.
     * @param {PageState} page
     * @param {WindowLayout} desc
     * @param {function(string): void} run runs a command by its control's name
     * @param {function(): void} onClose the caption's close button
     * @returns {{element: HTMLElement, menu: Object, accessKeys: Object}}
     */
    function create(page, desc, run, onClose) {
        // The window's own access keys: an enabled button's, clicked where
        // the focus is, Alt+Q and Alt+? for the menu bar.
        var accessKeys = {
            has: function (letter) {
                if (letter === "q" || letter === "?")
                    return true;
                return buttons.some(function (name) {
                    var b = document.getElementById(name);
                    return b.getAttribute("data-key") === letter && !b.disabled;
                });
            },
            press: function (letter) {
                if (letter === "q") {
                    run("quit");
                } else if (letter === "?") {
                    bar.openByKeys();
                } else {
                    buttons.forEach(function (name) {
                        var b = document.getElementById(name);
                        if (b.getAttribute("data-key") === letter && !b.disabled)
                            b.click();
                    });
                }
            },
            // Enter: the focused button, else Simulation.
            pressDefault: function () {
                var focused = document.activeElement;
                var name = focused && buttons.indexOf(focused.id) >= 0 ? focused.id : "Simuler";
                if (!document.getElementById(name).disabled)
                    run(name);
            }
        };
        var bar = menu.create(desc.menu, {
            quit: function () { run("quit"); },
            protocole: function () { run("protocole"); },
            propos: function () { run("propos"); }
        }, accessKeys);
        var win = windows.create(page, {
            id: "Tableau",
            title: desc.title,
            client: desc.client,
            icon: true,
            role: "region",
            menu: bar.element,
            onClose: onClose
        });
        var client = win.querySelector(".client");
        var c = desc.controls;
        var byName = {};

        client.appendChild(byName.Label5 = controls.label("Tableau", "Label5", c.Label5));
        client.appendChild(byName.Label6 = controls.label("Tableau", "Label6", c.Label6));
        byName.Tableau_Parent = grid("Tableau_Parent", c.Tableau_Parent, "Label5");
        byName.Tableau_Enfant = grid("Tableau_Enfant", c.Tableau_Enfant, "Label6");
        ["Frame2", "Frame1"].forEach(function (name) {
            byName[name] = frame(name, c[name]);
        });
        Object.keys(c).forEach(function (name) {
            if (c[name].frame)
                byName[c[name].frame].appendChild(byName[name] = controls.label("Tableau", name, c[name]));
        });
        buttons.forEach(function (name) {
            byName[name] = controls.button("Tableau", name, c[name], function () { run(name); });
        });
        byName.Simuler.classList.add("default");

        // In the focus cycle's order, so that Tab follows it; the frames after.
        focusOrder.forEach(function (name) { client.appendChild(byName[name]); });
        client.appendChild(byName.Frame2);
        client.appendChild(byName.Frame1);
        win.setAttribute("data-focus-order", focusOrder.join(" "));
        return { element: win, menu: bar, accessKeys: accessKeys };
    }

    function fillGrid(table, genotypes) {
        var rows = table.tBodies[0].rows;
        for (var i = 0; i < genotypes.length; ++i) {
            rows[i + 1].cells[1].textContent = genotypes[i][0] ? String(genotypes[i][0]) : "";
            rows[i + 1].cells[2].textContent = genotypes[i][1] ? String(genotypes[i][1]) : "";
        }
    }

    var parentValues = ["Label15", "Label16", "Label17", "Label18"];
    var childValues = ["Label1", "Label2", "Label3", "Label4"];

    /**
     * Shows a screen of the core, all of it, every time.
     * @param {Screen} screen
     */
    function show(screen) {
        fillGrid(document.getElementById("Tableau_Parent"), screen.parents);
        fillGrid(document.getElementById("Tableau_Enfant"), screen.children);
        for (var k = 0; k < 4; ++k) {
            document.getElementById(parentValues[k]).textContent = screen.parentFrequencies[k];
            document.getElementById(childValues[k]).textContent = screen.childFrequencies[k];
        }
        document.querySelector("#Frame2 > legend").textContent = screen.parentCaption;
        document.querySelector("#Frame1 > legend").textContent = screen.childCaption;
        document.getElementById("Simuler").disabled = !screen.simulerEnabled;
        document.getElementById("GenSuiv").disabled = !screen.genSuivEnabled;
    }

    return { create: create, show: show };
});
