// The auxiliary windows' fixed layouts and texts, one namespace per window.
// Free of Qt: the desktop windows and the browser page are both drawn from
// these very constants. Texts are UTF-8; in a caption "&" marks the access key.
#pragma once

#include "core/run/twip_box.h"

#include <array>

namespace bocavo::ui {

// What every auxiliary window shares.
namespace tool_layout {

// 10 pixels at 96 dpi, as sizes are rounded to whole pixels: at 8 pt (11 pixels)
// the longest legend sentence would outgrow its 199-pixel label.
inline constexpr double kInterfacePoints = 7.5; // points

// An edit box puts a tab stop every eight average characters.
inline constexpr int kCharactersPerTab = 8;

} // namespace tool_layout

namespace legende_layout {

inline constexpr const char* kTitle = "Légende";
inline constexpr int kClientWidth = 4320;  // twips
inline constexpr int kClientHeight = 2130; // twips

// One row per brood, top to bottom. The lower two swatches sit one pixel above
// their labels, as they always have.
struct Row {
    const char* swatchName;
    TwipBox swatch; // twips
    const char* labelName;
    TwipBox label; // twips
    const char* text;
};

inline constexpr std::array<Row, 4> kRows{{
    {"Shape1",
     {360, 240, 495, 255},
     "Label1",
     {1080, 240, 2985, 255},
     "Premier enfant des 8 premiers couples"},
    {"Shape4",
     {360, 720, 495, 255},
     "Label5",
     {1080, 720, 2985, 255},
     "Deuxième enfant des 6 premiers couples"},
    {"Shape3",
     {360, 1185, 495, 255},
     "Label4",
     {1080, 1200, 2985, 255},
     "Troisième enfant des 4 premiers couples"},
    {"Shape2",
     {360, 1665, 495, 255},
     "Label3",
     {1080, 1680, 2985, 255},
     "Quatrième enfant des 2 premiers couples"},
}};

} // namespace legende_layout

namespace aprotocole_layout {

inline constexpr const char* kTitle = "Protocole";
inline constexpr int kClientWidth = 7275;  // twips
inline constexpr int kClientHeight = 7305; // twips

inline constexpr TwipBox kLabel1{2715, 240, 1785, 315};    // twips
inline constexpr TwipBox kText1{120, 720, 7035, 4110};     // twips
inline constexpr TwipBox kText2{120, 4920, 7035, 1305};    // twips
inline constexpr TwipBox kCommand1{2745, 6480, 1785, 600}; // twips
// Reaches past the client area: only its corner piece inside can be clicked.
inline constexpr TwipBox kLabel2{6840, 6960, 960, 555}; // twips

inline constexpr double kTitlePoints = 12;  // points, Verdana bold
inline constexpr double kTextPoints = 8.25; // points, Verdana

inline constexpr const char* kLabel1Text = "PROTOCOLE";
inline constexpr const char* kCommand1Caption = "&OK";

// Stored as the program always kept it: CR LF after every line, trailing
// spaces, the double space on line 4 and the original spelling included.
inline constexpr const char* kProtocole =
    "40 boules de différentes couleurs representant les différents allèles sont \r\n"
    "enfermées par paires dans 20 sacs opaques. Il ya a en tout 10 boules blanches, \r\n"
    "10 boules rouges, 10 boules bleues et 10 boules vertes mais la réparttion des \r\n"
    "sacs n'est pas connues. Dites quelles sont  les frequences allèliques dans la \r\n"
    "population de départ.\r\n"
    "Pour simuler l'action de la reproduction sexuée au sein de cette population, \r\n"
    "mettez de coté au hasard 4 sacs qui représentent les individus qui n'auront pas \r\n"
    "de descendant à la génération suivante. Formez avec les 16 sacs restants 8 \r\n"
    "couples. Pour chacun des couples, effectuez un tirage au sort en prenant une \r\n"
    "boule dans chaque sac, notez le couple d'allèle possèdé par ce premier enfant et \r\n"
    "remmettez les boules dans leur sacs d'origine. Faites un deuxième tirage au sort \r\n"
    "en ne prenant que 6 couples au hasard, notez les génotypes des 6 enfants \r\n"
    "formés et remettez les boules en place. Faites un troisième tirage au sort pour 4 \r\n"
    "couples pris au hasard parmis ceux qui avaient un deuxième enfant puis pour 2 \r\n"
    "couples au hasard parmis ceux qui avaient eu un troisième enfant. \r\n"
    "Vous disposez maitenant des génotype de 20 individus issus de la première \r\n"
    "génération. Calculez ces fréquences allèliques dans cette population. Que \r\n"
    "constatez vous? Confrontez vos résultats à ceux des autres groupes.\r\n"
    "Question subsidiaires : Que se passerait-t-il si un nouvel allèle (boule jaune) \r\n"
    "apparaisait dans les cellules germinale d'un des individus?\r\n";

inline constexpr const char* kNote =
    "Ici, les boules vertes, rouges, blanches, et bleues, sont remplacées par des allèles "
    "numérotés de 1 à 4. Les couples ne sont pas tirés au hasard mais comme la répartition "
    "des allèles se fait au hasard, cela revient au même... De même il est possible de "
    "passer à la génération suivantes; les enfants de la première génération passent donc "
    "au niveau des parents et on recommence le protocole.\r\n";

} // namespace aprotocole_layout

namespace apropos_layout {

inline constexpr const char* kTitle = "A propos ...";
// The first size only: the user may enlarge the window, and nothing in it moves.
inline constexpr int kClientWidth = 5430;  // twips
inline constexpr int kClientHeight = 4290; // twips

inline constexpr TwipBox kText1{240, 240, 4965, 3255};     // twips
inline constexpr TwipBox kCommand1{1800, 3720, 1500, 360}; // twips

inline constexpr const char* kCommand1Caption = "&OK";

// CR LF after every line; the history lines hold real tab characters.
inline constexpr const char* kAbout =
    "Bocavo, version 3.3\r\n"
    "La dérive génétique en classe de sciences de la vie et de la Terre.\r\n"
    "Réalisé par l'équipe de développement de Bocavo.\r\n"
    "\r\n"
    "Modification :\r\n"
    "-2.0 :\t- Correction du code\r\n"
    "\r\n"
    "-3.0 :\t- Ajout de la fonction 'Génération suivante'\r\n"
    "\t- Coloration du code remaniée : il n'y a plus de bugs\r\n"
    "\t- Menu\r\n"
    "\r\n"
    "-3.1 :\t- Ajout d'une légende\r\n"
    "\t- Ajout du protocole\r\n"
    "\t- Ajout de A propos...\r\n"
    "\r\n"
    "-3.2 :\t- Modification du protocole\r\n"
    "\r\n"
    "PS : Pour ceux qui savent chercher, il y a une petite surprise ...\r\n";

} // namespace apropos_layout

namespace cadeau_layout {

inline constexpr const char* kTitle = "Bravo ta gagné une photo de Mr. Brastel !!!";
inline constexpr int kClientWidth = 5055;  // twips
inline constexpr int kClientHeight = 4080; // twips

// The picture (178 x 154 pixels) inside a one-pixel border.
inline constexpr TwipBox kPicture1{1095, 375, 2700, 2340}; // twips
inline constexpr TwipBox kCommand1{1290, 3135, 2190, 675}; // twips

inline constexpr const char* kCommand1Caption = "&OK !!!";

} // namespace cadeau_layout

} // namespace bocavo::ui
