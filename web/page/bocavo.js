// The page's one global: its modules, each made once from the ones defined
// before it, so that none can reach one defined after it. index.html lists
// the modules in their order.
"use strict";

/**
 * What the core's screen holds (core/run/run_core.h, Screen).
 * @typedef {Object} Screen
 * @property {number} generation child generation on display, 0 before the first Simulation
 * @property {number[][]} parents 20 rows of two alleles 1..4, 0 for an empty cell
 * @property {number[][]} children the same for the children
 * @property {string[]} parentFrequencies allele 1 first
 * @property {string[]} childFrequencies allele 1 first; the first is the founding marker
 * @property {string} parentCaption
 * @property {string} childCaption
 * @property {boolean} simulerEnabled
 * @property {boolean} genSuivEnabled
 */

/**
 * A command's answer: a screen, or the French description of the error that ends the program.
 * @typedef {Screen|{error: string}} Answer
 */

/**
 * A box in CSS pixels at 100 %, with the twips it came from.
 * @typedef {Object} Box
 * @property {number} left
 * @property {number} top
 * @property {number} width
 * @property {number} height
 * @property {number[]} twips
 */

/**
 * One control of a window (web/bindings/layout_table.cpp).
 * @typedef {Object} ControlLayout
 * @property {string} kind label, button, grid, frame, text, swatch, picture or area
 * @property {Box} box
 * @property {string} [text] its text; "&" marks a caption's access key
 * @property {string} [frame] the frame holding it
 * @property {number} [fontPoints] a font of its own (Verdana)
 * @property {boolean} [bold]
 * @property {boolean} [scrollBar]
 * @property {string} [colour]
 * @property {number[]} [columns] a grid's column widths
 * @property {number} [rowHeight]
 * @property {string} [rowPrefix]
 * @property {string} [heading]
 * @property {string[]} [bands] a grid's row backgrounds, "" for none
 */

/**
 * One window of the layout table.
 * @typedef {Object} WindowLayout
 * @property {string} title
 * @property {{width: number, height: number}} client
 * @property {Object<string, ControlLayout>} controls
 * @property {number} [fontPoints] the main window's own font
 * @property {{quit: string, help: string, protocole: string, propos: string}} [menu]
 * @property {boolean} [resizable]
 * @property {string} [groupTitle] the main window's: what follows its title when a group is chosen
 * @property {number} [firstGroup] the main window's: the groups a session may start on
 * @property {number} [lastGroup]
 */

/**
 * The group an address asks for (core/run/group_options.h, GroupChoice): none ({}),
 * a group, or the French reason it is refused.
 * @typedef {Object} GroupChoice
 * @property {number} [number] 1..1000
 * @property {number} [seed] 0..4294967295
 * @property {string} [error]
 */

/**
 * The layout table the module hands over once.
 * @typedef {Object} LayoutTable
 * @property {WindowLayout} Tableau
 * @property {WindowLayout} legende
 * @property {WindowLayout} aprotocole
 * @property {WindowLayout} apropos
 * @property {WindowLayout} Cadeau
 * @property {number} interfacePoints
 * @property {number} charactersPerTab
 * @property {{gridEmptyArea: string, gridLines: string, gridFixedLines: string, textBox: string}} colours
 * @property {{quitTitle: string, quitQuestion: string, errorTitle: string, internalError: string}} messages
 */

/**
 * The page's state, made by page.js and handed to whoever needs it.
 * @typedef {Object} PageState
 * @property {HTMLElement} desk the whole viewport
 * @property {HTMLElement} stage where the windows live, scaled
 * @property {number} scale CSS pixels on screen per pixel of a window
 * @property {LayoutTable|null} layout
 */

window.Bocavo = (function () {
    var modules = {};

    /**
     * @param {string} name
     * @param {string[]} needs modules defined before this one
     * @param {function(...*): Object} factory called with the needed modules
     */
    function define(name, needs, factory) {
        if (Object.prototype.hasOwnProperty.call(modules, name))
            throw new Error("module " + name + " defined twice");
        var args = needs.map(function (need) {
            if (!Object.prototype.hasOwnProperty.call(modules, need))
                throw new Error("module " + name + " needs " + need + ", which is not defined before it");
            return modules[need];
        });
        modules[name] = factory.apply(null, args) || {};
    }

    return { define: define };
})();
