// The main window Tableau: two grids over two frequency panels, the three
// command buttons, and the menu bar. It only shows what the run-control
// core says; every command goes back to Bocavo.run.
"use strict";

var Bocavo = window.Bocavo || (window.Bocavo = {});

Bocavo.tableau = (function () {
    var W = Bocavo.windows;

    // Only the grids and the buttons take the focus, in this cycle.
    var focusOrder = ["Tableau_Parent", "Simuler", "Tableau_Enfant", "GenSuiv", "Command1"];

    function menuItem(id, text, onActivate) {
        var item = document.createElement("div");
        item.id = id;
        item.setAttribute("role", "menuitem");
        item.tabIndex = -1;
        var key = W.caption(item, text);
        item.setAttribute("data-key", key.toLowerCase());
        item.addEventListener("click", onActivate);
        return item;
    }

    // "&Quitter" runs Quit straight from the bar; "&?" opens its submenu.
    function createMenu(texts) {
        var bar = document.createElement("div");
        bar.className = "menubar";
        bar.setAttribute("role", "menubar");
        bar.setAttribute("aria-label", "Menu");

        var quit = menuItem("quit", texts.quit, function () { Bocavo.menu.close(); Bocavo.run("quit"); });
        quit.setAttribute("aria-keyshortcuts", "Alt+Q");
        bar.appendChild(quit);

        var entry = document.createElement("div");
        entry.className = "menu-entry";
        entry.setAttribute("role", "none");
        var help = menuItem("help", texts.help, function () { Bocavo.menu.toggle(); });
        help.setAttribute("aria-haspopup", "menu");
        help.setAttribute("aria-expanded", "false");
        help.setAttribute("aria-keyshortcuts", "Alt+?");
        entry.appendChild(help);

        var popup = document.createElement("div");
        popup.id = "help-menu";
        popup.setAttribute("role", "menu");
        popup.setAttribute("aria-labelledby", "help");
        popup.hidden = true;
        popup.appendChild(menuItem("protocole", texts.protocole, function () {
            Bocavo.menu.close();
            Bocavo.run("protocole");
        }));
        popup.appendChild(menuItem("propos", texts.propos, function () {
            Bocavo.menu.close();
            Bocavo.run("propos");
        }));
        entry.appendChild(popup);
        bar.appendChild(entry);
        return bar;
    }

    function grid(name, desc, labelledBy) {
        var table = W.make("table", "", name, desc.box, "grid");
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
        var element = W.make("fieldset", "", name, desc.box, "frame");
        var legend = document.createElement("legend");
        legend.textContent = desc.text;
        element.appendChild(legend);
        var panel = document.createElement("div");
        panel.className = "panel";
        element.appendChild(panel);
        return element;
    }

    // Builds the window from the layout table; onClose is its caption's
    // close button, which ends the program without asking.
    function create(layout, onClose) {
        var desc = layout.Tableau;
        var win = W.create({
            id: "Tableau",
            title: desc.title,
            client: desc.client,
            icon: true,
            role: "region",
            menu: createMenu(desc.menu),
            onClose: onClose
        });
        var client = win.querySelector(".client");
        var c = desc.controls;
        var byName = {};

        client.appendChild(byName.Label5 = W.label("", "Label5", c.Label5));
        client.appendChild(byName.Label6 = W.label("", "Label6", c.Label6));
        byName.Tableau_Parent = grid("Tableau_Parent", c.Tableau_Parent, "Label5");
        byName.Tableau_Enfant = grid("Tableau_Enfant", c.Tableau_Enfant, "Label6");
        ["Frame2", "Frame1"].forEach(function (name) {
            byName[name] = frame(name, c[name]);
        });
        Object.keys(c).forEach(function (name) {
            if (c[name].frame) byName[c[name].frame].appendChild(byName[name] = W.label("", name, c[name]));
        });
        byName.Simuler = W.button("", "Simuler", c.Simuler, function () { Bocavo.run("Simuler"); });
        byName.Simuler.classList.add("default");
        byName.GenSuiv = W.button("", "GenSuiv", c.GenSuiv, function () { Bocavo.run("GenSuiv"); });
        byName.Command1 = W.button("", "Command1", c.Command1, function () { Bocavo.run("Command1"); });

        // In the focus cycle's order, so that Tab follows it; the frames after.
        focusOrder.forEach(function (name) { client.appendChild(byName[name]); });
        client.appendChild(byName.Frame2);
        client.appendChild(byName.Frame1);
        win.setAttribute("data-focus-order", focusOrder.join(" "));
        win.setAttribute("data-default", "Simuler");
        return win;
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

    // Shows a screen description of the core, all of it, every time.
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
})();
