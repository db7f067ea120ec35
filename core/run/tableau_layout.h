// The main window's fixed layout and texts. Free of Qt: the desktop window
// and the browser page are both drawn from these very constants. Texts are
// UTF-8; in a caption "&" marks the access key.
#pragma once

#include "core/run/twip_box.h"

#include <array>

namespace bocavo::ui::tableau_layout {

inline constexpr int kClientWidth = 8640;  // twips, below the menu bar
inline constexpr int kClientHeight = 8520; // twips

inline constexpr TwipBox kLabel5{270, 60, 1875, 255};           // twips
inline constexpr TwipBox kLabel6{4560, 60, 1875, 255};          // twips
inline constexpr TwipBox kTableauParent{150, 420, 4095, 5370};  // twips
inline constexpr TwipBox kTableauEnfant{4470, 420, 4005, 5370}; // twips
inline constexpr TwipBox kFrame2{150, 5940, 4095, 1800};        // twips
inline constexpr TwipBox kFrame1{4470, 5940, 4020, 1800};       // twips
inline constexpr TwipBox kSimuler{960, 7920, 1815, 495};        // twips
inline constexpr TwipBox kGenSuiv{3480, 7920, 1815, 495};       // twips
inline constexpr TwipBox kCommand1{6240, 7920, 1815, 495};      // twips

// Grid geometry: a label column, two allele columns, 21 equal rows.
inline constexpr int kParentLabelColumn = 1100; // twips
inline constexpr int kChildLabelColumn = 1000;  // twips
inline constexpr int kAlleleColumnWidth = 1500; // twips
inline constexpr int kRowHeight = 250;          // twips

// Frequency panel rows, measured from the frame's own top-left corner.
inline constexpr std::array<int, 4> kPanelRowTops{360, 720, 1080, 1440}; // twips
inline constexpr int kPanelCaptionLeft = 240;                            // twips
inline constexpr int kPanelValueLeft = 1200;                             // twips
inline constexpr int kPanelLabelWidth = 795;                             // twips
inline constexpr int kPanelLabelHeight = 270;                            // twips

inline constexpr double kFontPoints = 8.25; // points, Verdana

// Names of a panel's frame and of its labels, allele 1 first.
struct PanelNames {
    const char* frame;
    std::array<const char*, 4> captions;
    std::array<const char*, 4> values;
};

// Parents on the left in Frame2, children on the right in Frame1.
inline constexpr PanelNames kParentPanel{"Frame2",
                                         {"Label11", "Label14", "Label13", "Label12"},
                                         {"Label15", "Label16", "Label17", "Label18"}};
inline constexpr PanelNames kChildPanel{
    "Frame1", {"Label10", "Label7", "Label8", "Label9"}, {"Label1", "Label2", "Label3", "Label4"}};

inline constexpr const char* kTitle = "Variation de Frequences d'Allèles";
// After the title when a group was chosen, followed by its number.
inline constexpr const char* kGroupTitle = " — groupe ";
inline constexpr const char* kLabel5Text = "Génération mère :";
inline constexpr const char* kLabel6Text = "Génération fille :";
inline constexpr const char* kSimulerCaption = "&Simulation";
inline constexpr const char* kGenSuivCaption = "&Génération suivante";
inline constexpr const char* kCommand1Caption = "&Légende";
inline constexpr const char* kQuitCaption = "&Quitter";
inline constexpr const char* kHelpCaption = "&?";
inline constexpr const char* kProtocoleCaption = "&Protocole";
inline constexpr const char* kProposCaption = "&A propos...";

inline constexpr const char* kFrameCaption = "Fréquence Allèliques :"; // before any result
inline constexpr const char* kAlleleCaption = "Allèle %1 :";           // %1: the allele, 1..4
inline constexpr const char* kValueAtStart = "%";
inline constexpr const char* kGridHeading = "Version Allèle "; // followed by the copy, 1 or 2
inline constexpr const char* kParentRowPrefix = "Individu ";   // followed by the row
inline constexpr const char* kChildRowPrefix = "Enfant  ";     // two spaces, as always

} // namespace bocavo::ui::tableau_layout
