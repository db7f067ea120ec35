#include "web/bindings/layout_table.h"

#include "core/run/aux_layouts.h"
#include "core/run/colours.h"
#include "core/run/messages.h"
#include "core/run/run_core.h"
#include "core/run/tableau_layout.h"
#include "engine/breeding.h"

#include <cstdio>
#include <string>

namespace bocavo::web {

namespace {

using emscripten::val;
using ui::px;
using ui::TwipBox;

// A UTF-8 text as a JavaScript string: a bare char pointer would be taken
// byte by byte, accents broken.
val utf8(const char* text) {
    return val(std::string(text));
}

// CSS pixels for the page, and the twips they came from for anyone checking.
val box(const TwipBox& twips) {
    val b = val::object();
    b.set("left", px(twips.left));
    b.set("top", px(twips.top));
    b.set("width", px(twips.width));
    b.set("height", px(twips.height));
    val source = val::array();
    for (const int t : {twips.left, twips.top, twips.width, twips.height})
        source.call<void>("push", t);
    b.set("twips", source);
    return b;
}

val size(int widthTwips, int heightTwips) {
    val s = val::object();
    s.set("width", px(widthTwips));
    s.set("height", px(heightTwips));
    return s;
}

std::string css(ui::Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour));
    return text;
}

val control(const char* kind, const TwipBox& place, const char* text = nullptr) {
    val c = val::object();
    c.set("kind", kind);
    c.set("box", box(place));
    if (text != nullptr)
        c.set("text", utf8(text));
    return c;
}

val window(const char* title, int widthTwips, int heightTwips) {
    val w = val::object();
    w.set("title", utf8(title));
    w.set("client", size(widthTwips, heightTwips));
    w.set("controls", val::object());
    return w;
}

// Row r (0..20) of a grid, its allele cells' background or "" for none.
val parentBands() {
    val rows = val::array();
    for (int r = 0; r <= kIndividus; ++r) {
        // Every other couple from the first: rows 1-2, 5-6, ... 17-18.
        const int couple = (r + 1) / 2;
        rows.set(r, r > 0 && couple % 2 == 1 ? css(ui::kCoupleBandColour) : std::string());
    }
    return rows;
}

val childBands() {
    val rows = val::array();
    rows.set(0, std::string());
    for (std::size_t b = 0; b < kBroods.size(); ++b) {
        for (int k = 1; k <= kBroods[b].nbr_couple; ++k)
            rows.set(kBroods[b].Deb + k, css(ui::kBroodColours[b]));
    }
    return rows;
}

val grid(const TwipBox& place, int labelColumnTwips, const char* rowPrefix, val bands) {
    namespace t = ui::tableau_layout;
    val g = control("grid", place);
    val columns = val::array();
    for (const int width : {labelColumnTwips, t::kAlleleColumnWidth, t::kAlleleColumnWidth})
        columns.call<void>("push", px(width));
    g.set("columns", columns);
    g.set("rowHeight", px(t::kRowHeight));
    g.set("rowPrefix", utf8(rowPrefix));
    g.set("heading", utf8(t::kGridHeading));
    g.set("bands", bands);
    return g;
}

void addPanel(val controls, const ui::tableau_layout::PanelNames& names, const TwipBox& place) {
    namespace t = ui::tableau_layout;
    controls.set(names.frame, control("frame", place, t::kFrameCaption));
    for (int k = 0; k < 4; ++k) {
        const int top = t::kPanelRowTops[k];
        std::string caption = t::kAlleleCaption;
        caption.replace(caption.find("%1"), 2, std::to_string(k + 1));
        val label =
            control("label", {t::kPanelCaptionLeft, top, t::kPanelLabelWidth, t::kPanelLabelHeight},
                    caption.c_str());
        label.set("frame", utf8(names.frame));
        controls.set(names.captions[k], label);
        val value =
            control("label", {t::kPanelValueLeft, top, t::kPanelLabelWidth, t::kPanelLabelHeight},
                    t::kValueAtStart);
        value.set("frame", utf8(names.frame));
        controls.set(names.values[k], value);
    }
}

val tableau() {
    namespace t = ui::tableau_layout;
    val w = window(t::kTitle, t::kClientWidth, t::kClientHeight);
    w.set("fontPoints", t::kFontPoints);
    // A chosen group: its number follows the title after this, within these bounds.
    w.set("groupTitle", utf8(t::kGroupTitle));
    w.set("firstGroup", kFirstGroup);
    w.set("lastGroup", kLastGroup);
    val c = w["controls"];
    c.set("Label5", control("label", t::kLabel5, t::kLabel5Text));
    c.set("Label6", control("label", t::kLabel6, t::kLabel6Text));
    c.set("Tableau_Parent",
          grid(t::kTableauParent, t::kParentLabelColumn, t::kParentRowPrefix, parentBands()));
    c.set("Tableau_Enfant",
          grid(t::kTableauEnfant, t::kChildLabelColumn, t::kChildRowPrefix, childBands()));
    addPanel(c, t::kParentPanel, t::kFrame2);
    addPanel(c, t::kChildPanel, t::kFrame1);
    c.set("Simuler", control("button", t::kSimuler, t::kSimulerCaption));
    c.set("GenSuiv", control("button", t::kGenSuiv, t::kGenSuivCaption));
    c.set("Command1", control("button", t::kCommand1, t::kCommand1Caption));
    val menu = val::object();
    menu.set("quit", utf8(t::kQuitCaption));
    menu.set("help", utf8(t::kHelpCaption));
    menu.set("protocole", utf8(t::kProtocoleCaption));
    menu.set("propos", utf8(t::kProposCaption));
    w.set("menu", menu);
    return w;
}

val legende() {
    namespace l = ui::legende_layout;
    val w = window(l::kTitle, l::kClientWidth, l::kClientHeight);
    val c = w["controls"];
    for (std::size_t b = 0; b < l::kRows.size(); ++b) {
        val swatch = control("swatch", l::kRows[b].swatch);
        swatch.set("colour", css(ui::kBroodColours[b]));
        c.set(l::kRows[b].swatchName, swatch);
        c.set(l::kRows[b].labelName, control("label", l::kRows[b].label, l::kRows[b].text));
    }
    return w;
}

val aprotocole() {
    namespace p = ui::aprotocole_layout;
    val w = window(p::kTitle, p::kClientWidth, p::kClientHeight);
    val c = w["controls"];
    val title = control("label", p::kLabel1, p::kLabel1Text);
    title.set("fontPoints", p::kTitlePoints);
    title.set("bold", true);
    c.set("Label1", title);
    val text1 = control("text", p::kText1, p::kProtocole);
    text1.set("fontPoints", p::kTextPoints);
    c.set("Text1", text1);
    c.set("Command1", control("button", p::kCommand1, p::kCommand1Caption));
    val text2 = control("text", p::kText2, p::kNote);
    text2.set("fontPoints", p::kTextPoints);
    c.set("Text2", text2);
    c.set("Label2", control("area", p::kLabel2));
    return w;
}

val apropos() {
    namespace a = ui::apropos_layout;
    val w = window(a::kTitle, a::kClientWidth, a::kClientHeight);
    w.set("resizable", true);
    val c = w["controls"];
    val text = control("text", a::kText1, a::kAbout);
    text.set("scrollBar", true);
    c.set("Text1", text);
    c.set("Command1", control("button", a::kCommand1, a::kCommand1Caption));
    return w;
}

val cadeau() {
    namespace g = ui::cadeau_layout;
    val w = window(g::kTitle, g::kClientWidth, g::kClientHeight);
    val c = w["controls"];
    c.set("Picture1", control("picture", g::kPicture1));
    c.set("Command1", control("button", g::kCommand1, g::kCommand1Caption));
    return w;
}

val colours() {
    val c = val::object();
    c.set("gridEmptyArea", css(ui::kGridEmptyArea));
    c.set("gridLines", css(ui::kGridLines));
    c.set("gridFixedLines", css(ui::kGridFixedLines));
    c.set("textBox", css(ui::kTextBoxGrey));
    return c;
}

val texts() {
    val m = val::object();
    m.set("quitTitle", utf8(messages::kQuitTitle));
    m.set("quitQuestion", utf8(messages::kQuitQuestion));
    m.set("errorTitle", utf8(messages::kErrorTitle));
    m.set("internalError", utf8(messages::kInternalError));
    return m;
}

} // namespace

val layoutTable() {
    val table = val::object();
    table.set("Tableau", tableau());
    table.set("legende", legende());
    table.set("aprotocole", aprotocole());
    table.set("apropos", apropos());
    table.set("Cadeau", cadeau());
    table.set("interfacePoints", ui::tool_layout::kInterfacePoints);
    table.set("charactersPerTab", ui::tool_layout::kCharactersPerTab);
    table.set("colours", colours());
    table.set("messages", texts());
    return table;
}

} // namespace bocavo::web
