// What the windows must look like, in the units the windows are designed in:
// twips, 15 to a CSS pixel. Kept apart from the page's own tables on purpose,
// so that a slip in one of them cannot hide itself.
const TWIPS_PER_PX = 15;

export const px = (twips) => twips / TWIPS_PER_PX;

// [left, top, width, height] in twips, relative to the container.
export const mainWindow = {
    title: "Variation de Frequences d'Allèles",
    client: [8640, 8520],
    controls: {
        Label5: { box: [270, 60, 1875, 255], text: 'Génération mère :' },
        Label6: { box: [4560, 60, 1875, 255], text: 'Génération fille :' },
        Tableau_Parent: { box: [150, 420, 4095, 5370] },
        Tableau_Enfant: { box: [4470, 420, 4005, 5370] },
        Frame2: { box: [150, 5940, 4095, 1800], caption: 'Fréquence Allèliques :' },
        Label11: { in: 'Frame2', box: [240, 360, 795, 270], text: 'Allèle 1 :' },
        Label14: { in: 'Frame2', box: [240, 720, 795, 270], text: 'Allèle 2 :' },
        Label13: { in: 'Frame2', box: [240, 1080, 795, 270], text: 'Allèle 3 :' },
        Label12: { in: 'Frame2', box: [240, 1440, 795, 270], text: 'Allèle 4 :' },
        Label15: { in: 'Frame2', box: [1200, 360, 795, 270], text: '%' },
        Label16: { in: 'Frame2', box: [1200, 720, 795, 270], text: '%' },
        Label17: { in: 'Frame2', box: [1200, 1080, 795, 270], text: '%' },
        Label18: { in: 'Frame2', box: [1200, 1440, 795, 270], text: '%' },
        Frame1: { box: [4470, 5940, 4020, 1800], caption: 'Fréquence Allèliques :' },
        Label10: { in: 'Frame1', box: [240, 360, 795, 270], text: 'Allèle 1 :' },
        Label7: { in: 'Frame1', box: [240, 720, 795, 270], text: 'Allèle 2 :' },
        Label8: { in: 'Frame1', box: [240, 1080, 795, 270], text: 'Allèle 3 :' },
        Label9: { in: 'Frame1', box: [240, 1440, 795, 270], text: 'Allèle 4 :' },
        Label1: { in: 'Frame1', box: [1200, 360, 795, 270], text: '%' },
        Label2: { in: 'Frame1', box: [1200, 720, 795, 270], text: '%' },
        Label3: { in: 'Frame1', box: [1200, 1080, 795, 270], text: '%' },
        Label4: { in: 'Frame1', box: [1200, 1440, 795, 270], text: '%' },
        Simuler: { box: [960, 7920, 1815, 495], caption: '&Simulation', enabled: true },
        GenSuiv: { box: [3480, 7920, 1815, 495], caption: '&Génération suivante', enabled: false },
        Command1: { box: [6240, 7920, 1815, 495], caption: '&Légende', enabled: true },
    },
    menu: { quit: '&Quitter', help: '&?', protocole: '&Protocole', propos: '&A propos...' },
};

// Column widths and the one row height of both grids, in twips.
export const grids = {
    Tableau_Parent: { columns: [1100, 1500, 1500], rowHeight: 250, rowLabel: 'Individu ' },
    Tableau_Enfant: { columns: [1000, 1500, 1500], rowHeight: 250, rowLabel: 'Enfant  ' },
};
export const GRID_ROWS = 21;
export const alleleHeadings = ['Version Allèle 1', 'Version Allèle 2'];

// Background of the allele cells (columns 1 and 2), by row; rows left out keep
// the grid's plain cell background.
const paleGreen = 'rgb(192, 255, 192)';
const broodColours = [
    'rgb(255, 192, 128)', // rows 1-8, the first child of 8 couples
    'rgb(255, 255, 128)', // rows 9-14
    'rgb(255, 224, 192)', // rows 15-18
    'rgb(255, 255, 192)', // rows 19-20
];
export function bandColour(grid, row) {
    if (grid === 'Tableau_Parent')
        return [1, 2, 5, 6, 9, 10, 13, 14, 17, 18].includes(row) ? paleGreen : null;
    if (row <= 8) return broodColours[0];
    if (row <= 14) return broodColours[1];
    if (row <= 18) return broodColours[2];
    return broodColours[3];
}

const protocolLines = [
    '40 boules de différentes couleurs representant les différents allèles sont ',
    'enfermées par paires dans 20 sacs opaques. Il ya a en tout 10 boules blanches, ',
    '10 boules rouges, 10 boules bleues et 10 boules vertes mais la réparttion des ',
    "sacs n'est pas connues. Dites quelles sont  les frequences allèliques dans la ",
    'population de départ.',
    "Pour simuler l'action de la reproduction sexuée au sein de cette population, ",
    "mettez de coté au hasard 4 sacs qui représentent les individus qui n'auront pas ",
    'de descendant à la génération suivante. Formez avec les 16 sacs restants 8 ',
    'couples. Pour chacun des couples, effectuez un tirage au sort en prenant une ',
    "boule dans chaque sac, notez le couple d'allèle possèdé par ce premier enfant et ",
    'remmettez les boules dans leur sacs d\'origine. Faites un deuxième tirage au sort ',
    'en ne prenant que 6 couples au hasard, notez les génotypes des 6 enfants ',
    'formés et remettez les boules en place. Faites un troisième tirage au sort pour 4 ',
    'couples pris au hasard parmis ceux qui avaient un deuxième enfant puis pour 2 ',
    'couples au hasard parmis ceux qui avaient eu un troisième enfant. ',
    'Vous disposez maitenant des génotype de 20 individus issus de la première ',
    'génération. Calculez ces fréquences allèliques dans cette population. Que ',
    'constatez vous? Confrontez vos résultats à ceux des autres groupes.',
    'Question subsidiaires : Que se passerait-t-il si un nouvel allèle (boule jaune) ',
    'apparaisait dans les cellules germinale d\'un des individus?',
];

const protocolNote =
    'Ici, les boules vertes, rouges, blanches, et bleues, sont remplacées par des allèles ' +
    'numérotés de 1 à 4. Les couples ne sont pas tirés au hasard mais comme la répartition ' +
    'des allèles se fait au hasard, cela revient au même... De même il est possible de passer ' +
    'à la génération suivantes; les enfants de la première génération passent donc au niveau ' +
    'des parents et on recommence le protocole.';

// The About text after its authorship credit and the empty line that follows it.
export const aboutHistory = [
    'Modification :',
    '-2.0 :\t- Correction du code',
    '',
    "-3.0 :\t- Ajout de la fonction 'Génération suivante'",
    "\t- Coloration du code remaniée : il n'y a plus de bugs",
    '\t- Menu',
    '',
    "-3.1 :\t- Ajout d'une légende",
    '\t- Ajout du protocole',
    '\t- Ajout de A propos...',
    '',
    '-3.2 :\t- Modification du protocole',
    '',
    'PS : Pour ceux qui savent chercher, il y a une petite surprise ...',
];

// The auxiliary windows: client size and controls, twips from the client area.
export const auxWindows = {
    legende: {
        title: 'Légende',
        client: [4320, 2130],
        controls: {
            Shape1: { box: [360, 240, 495, 255], colour: broodColours[0] },
            Shape4: { box: [360, 720, 495, 255], colour: broodColours[1] },
            Shape3: { box: [360, 1185, 495, 255], colour: broodColours[2] },
            Shape2: { box: [360, 1665, 495, 255], colour: broodColours[3] },
            Label1: { box: [1080, 240, 2985, 255], text: 'Premier enfant des 8 premiers couples' },
            Label5: { box: [1080, 720, 2985, 255], text: 'Deuxième enfant des 6 premiers couples' },
            Label4: { box: [1080, 1200, 2985, 255], text: 'Troisième enfant des 4 premiers couples' },
            Label3: { box: [1080, 1680, 2985, 255], text: 'Quatrième enfant des 2 premiers couples' },
        },
    },
    aprotocole: {
        title: 'Protocole',
        client: [7275, 7305],
        open: 'protocole',
        controls: {
            Label1: { box: [2715, 240, 1785, 315], text: 'PROTOCOLE' },
            Text1: { box: [120, 720, 7035, 4110], text: protocolLines.join('\n') + '\n' },
            Text2: { box: [120, 4920, 7035, 1305], text: protocolNote + '\n' },
            Command1: { box: [2745, 6480, 1785, 600], caption: '&OK' },
            Label2: { box: [6840, 6960, 960, 555], text: '' },
        },
    },
    apropos: {
        title: 'A propos ...',
        client: [5430, 4290],
        open: 'propos',
        controls: {
            Text1: { box: [240, 240, 4965, 3255] },
            Command1: { box: [1800, 3720, 1500, 360], caption: '&OK' },
        },
    },
    Cadeau: {
        title: 'Bravo ta gagné une photo de Mr. Brastel !!!',
        client: [5055, 4080],
        controls: {
            Picture1: { box: [1095, 375, 2700, 2340] },
            Command1: { box: [1290, 3135, 2190, 675], caption: '&OK !!!' },
        },
    },
};

// The gift corner: the part of the protocol window's Label2 inside the client area.
export const giftCorner = { width: 7275 - 6840, height: 7305 - 6960 };
export const giftPicture = [178, 154];

export const quitBox = {
    title: 'Quitter Bocavo?',
    prompt: 'Etes-vous sur de vouloir quitter ?',
    yes: 'Oui',
    no: 'Non',
};

// A "&" caption as shown: the text without "&", and the access key after it.
export function shown(caption) {
    const at = caption.indexOf('&');
    return { text: caption.replace('&', ''), key: at < 0 ? null : caption[at + 1] };
}

// Focus cycle of the main window, without and with Next generation enabled.
export const tabCycle = ['Tableau_Parent', 'Simuler', 'Tableau_Enfant', 'Command1'];
export const tabCycleRunning = ['Tableau_Parent', 'Simuler', 'Tableau_Enfant', 'GenSuiv', 'Command1'];
