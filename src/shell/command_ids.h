// Every command number of the main window by name: the menu items, the palette buttons and the item that leaves
// mask editing. The numbers themselves never change: stored scripts and the Qt menu bar carry them, and the
// registry, the menu table and menu preparation all meet on them. Grouped by menu in menu order; the comment is
// the item's label where the name alone would leave it unclear.
#pragma once

#include <array>

namespace notavera::cmd {

// Fichier
inline constexpr int New = 1;
inline constexpr int Open = 2;
inline constexpr int Save = 3;
inline constexpr int SaveAs = 4;
// "Fichiers récents" > "&1".."&8": the file remembered n-th (from 0) is item FirstRecentFile + n.
inline constexpr int FirstRecentFile = 910;
inline constexpr int RecentFileCount = 8;
inline constexpr int Compress = 7;
inline constexpr int Merge = 8;
inline constexpr int FileNotes = 273;        // "Bloc-notes fichier"
inline constexpr int SaveMidiFile = 241;
inline constexpr int ReadMidiFile = 242;
inline constexpr int ReadGuido = 902;
inline constexpr int ImportMusicXml = 907;  // "Importer MusicXML…": a MusicXML score becomes the untitled document
inline constexpr int SaveMetafile = 15;
inline constexpr int ExportInterchange = 588;  // "Exporter" (.wnv)
inline constexpr int ImportInterchange = 589;  // "Importer" (.wnv)
inline constexpr int Print = 5;
inline constexpr int ExportPdf = 903;             // "Exporter PDF…": every page as one PDF file
inline constexpr int ExportMusicXml = 906;        // "Exporter MusicXML…": the score as a MusicXML file
inline constexpr int SeparatePartsStandard = 14;   // "Parties séparées" > "Standard"
inline constexpr int SeparatePartsVoiceAlone = 16; // "Silences non condensés (Voix seule)"
inline constexpr int SeparatePartsRaw = 17;        // "Extraction brute"
inline constexpr int Autosave = 492;               // "Sauvegarde automatique"
inline constexpr int Quit = 6;

// Editer
inline constexpr int Undo = 11;
inline constexpr int CancelUndo = 672;
inline constexpr int RecoverErasure = 218;
inline constexpr int JustifyToMarkerX = 221;     // "Espaces" > "Justifier (marqueurX)"
inline constexpr int JustifyPage = 267;
inline constexpr int MoveBlockToMarkerX = 222;
inline constexpr int Align = 223;
inline constexpr int AlignAutoMatrix = 247;      // "Aligner s/matrice auto"; Outils has its own item, 285
inline constexpr int AlignMarkedStaff = 224;
inline constexpr int EvenSpacesToMarkerY = 220;  // "Espaces régul.->marqueurY"
inline constexpr int InsertProportion = 688;
inline constexpr int CombineProportion = 687;
inline constexpr int DeleteProportion = 689;
inline constexpr int ReplaceClefs = 690;         // "Clefs"
inline constexpr int Attributes = 219;
inline constexpr int Copy = 217;
inline constexpr int Paste = 13;
inline constexpr int CopyToClipboard = 479;      // "Copier région/page presse-papiers"
inline constexpr int Tablature = 50;             // "Tablature ->marqueurPage/fin"

// Page
inline constexpr int NextPage = 63;
inline constexpr int PreviousPage = 64;
inline constexpr int GoToPage = 66;
inline constexpr int GoToMeasure = 49;
inline constexpr int GoToStaff = 47;
inline constexpr int CreatePage = 61;            // "Créer Feuille"
inline constexpr int ModifyPage = 62;            // "Modifier Feuille"
inline constexpr int PageFormat = 60;            // "Format"
inline constexpr int IdentifyVoices = 234;
inline constexpr int WithoutFixedMask = 619;
inline constexpr int WithoutVariableMask = 620;
inline constexpr int InsertPage = 65;
inline constexpr int DeletePage = 67;
inline constexpr int DeletePagesToMarker = 627;

// Zoom: the five fixed fractions, then "AUTRE" through the "Fraction" dialog.
inline constexpr int ZoomNormal = 51;            // 1/1
inline constexpr int ZoomLarge = 52;             // "GROS 2/1"
inline constexpr int ZoomSmall = 53;             // "PETIT 1/2"
inline constexpr int ZoomThreeHalves = 54;       // "GROS 3/2"
inline constexpr int ZoomThreeQuarters = 55;     // "PETIT 3/4"
inline constexpr int ZoomOther = 56;
inline constexpr int FirstZoom = ZoomNormal;
inline constexpr int LastZoom = ZoomOther;

// Clefs
inline constexpr int ClefG2 = 201;               // "Sol-2"
inline constexpr int ClefF4 = 202;
inline constexpr int ClefC4 = 207;
inline constexpr int ClefC3 = 208;
inline constexpr int ClefC1 = 205;
inline constexpr int ClefC2 = 206;
inline constexpr int ClefC5 = 585;
inline constexpr int ClefG8va = 209;
inline constexpr int ClefG1 = 200;
inline constexpr int ClefF3 = 203;
inline constexpr int ClefF5 = 204;
inline constexpr int ClefPercussion = 594;

// Armure
inline constexpr int KeySignature = 125;         // "Armure"
inline constexpr int EraseKeySignature = 128;
inline constexpr int ReadKey = 127;              // "LireArmure"
inline constexpr int IncludeBarAccidentals = 131;  // "Incl#b-BarMes"
inline constexpr int ExcludeBarAccidentals = 132;  // "Excl#b-BarMes"
inline constexpr int ReadKeyToMarker = 596;
inline constexpr int IncludeBarAccidentalsToMarker = 595;
inline constexpr int ExcludeBarAccidentalsToMarker = 597;
inline constexpr int ShowKeyAccidentals = 126;   // "Voir-#b"
inline constexpr int LoadKey = 129;              // "ChargerArmure"
inline constexpr int UnloadKey = 130;            // "DéchargerArmure"

// Détruire
inline constexpr int EraseRegion = 212;          // "Effacer région/->marqueurY"
inline constexpr int EraseToLineEnd = 213;
inline constexpr int EraseSlur = 215;
inline constexpr int EraseBeam = 214;            // "Effacer BarreValeur"
inline constexpr int EraseGroup = 216;
inline constexpr int EraseOctaveLines = 685;     // "Effacer 8va..."
inline constexpr int EraseReferenceValues = 697; // "Effacer étalons (->marqueurPage/fin)"
inline constexpr int EraseMeasureNumbers = 599;
inline constexpr int EraseStaff = 498;
inline constexpr int EraseFixedMask = 623;
inline constexpr int EraseVariableMask = 624;

// Insérer
inline constexpr int TextWindow = 231;           // "Texte"
inline constexpr int DrawingWindow = 232;        // "Graphiques"
inline constexpr int Pagination = 614;           // "Pagination/Marques de coupe"
inline constexpr int HeaderFooter = 615;         // "Entête/Pied de page"
inline constexpr int EditFixedMask = 621;        // "Masque fixe"
inline constexpr int EditVariableMask = 622;     // "Masque variable"
inline constexpr int TimeSignature = 230;        // "Mesure (Indication de)"
inline constexpr int SpecialBar = 359;
inline constexpr int ToolDoubleSharp = 80;
inline constexpr int ToolDoubleFlat = 81;
inline constexpr int ToolQuarterSharp = 91;
inline constexpr int ToolQuarterFlat = 92;
inline constexpr int ToolDot = 82;               // ".Pointage"
inline constexpr int ToolDoubleDot = 83;         // ":DoublePointage"
inline constexpr int MultiBarRest = 628;         // "Multi-Silence"
inline constexpr int InsertStaff = 497;          // "Portée"

// Outils
inline constexpr int ContinuousPage = 100;       // "Page en continu"
inline constexpr int ToLineAbove = 101;          // "A la ligne supérieure..."
inline constexpr int SwapMarkedStaff = 269;      // "Permuter portées courante/marquée"
inline constexpr int MarkerY = 210;
inline constexpr int MarkerX = 211;
inline constexpr int MarkerPage = 598;
inline constexpr int NumberMeasures = 48;
inline constexpr int BarsBackOnLine = 625;       // "Ramener barres s/portée courante (ligne)"
inline constexpr int BarsBackToMarker = 626;     // "Ramener barres... (->marqueurPage/fin)"
inline constexpr int ExtremeNotes = 499;         // "Notes extrêmes (->marqueurPage/fin)"
inline constexpr int RecalculateDistances = 284;
inline constexpr int SpaceLineRaw = 225;         // "Recalculer Distances (détail)" > "Ligne/région brute"
inline constexpr int SpaceLineOptimised = 235;
inline constexpr int SpaceBlockRaw = 236;
inline constexpr int SpaceBlockOptimised = 237;
inline constexpr int SpaceBlockLines = 248;      // "Lignes du bloc isolément"
inline constexpr int SpaceBlockAligned = 249;    // "Bloc+alignement auto"
inline constexpr int AlignAutoMatrixTools = 285; // "Aligner s/matrice auto", as 247
inline constexpr int LayOutPageRaw = 238;        // "Page brute sans justif."
inline constexpr int LayOutPageJustified = 239;  // "Page justifiée"
inline constexpr int SyllablesOnLine = 275;      // "Syllabes sur Ligne/Bloc"
inline constexpr int CentreSyllableDashes = 490;
inline constexpr int ScoreToPartitionFile = 584; // "Partition->PARTITIO.MUS"
inline constexpr int CentreRestsOnLine = 226;
inline constexpr int CentreRestsToMarker = 246;
inline constexpr int StandardRestHeight = 489;
inline constexpr int TemplateStaff = 85;         // "\-Portée chablon"
inline constexpr int TraceGhostModel = 268;      // "Calquer modèle fantome"
inline constexpr int BeamsToMarker = 286;        // "Barres de valeurs (->marqueurPage/fin)"
inline constexpr int TransposePitches = 227;
inline constexpr int TransposeKey = 228;
inline constexpr int TransposeDurations = 229;
inline constexpr int InvertSharpsFlats = 283;
inline constexpr int HideAccidentals = 494;
inline constexpr int HideDots = 677;
inline constexpr int HideRests = 676;
inline constexpr int RevealAccidentals = 678;
inline constexpr int RevealDots = 680;
inline constexpr int RevealRests = 679;
inline constexpr int FlipStaccatos = 495;        // "Tête<>queue staccatos"
inline constexpr int FlipGroupMarks = 496;       // "Haut<>bas marquage groupes"

// Son
inline constexpr int Play = 240;                 // "Jouer (->marqueurPage ou fin)"
inline constexpr int PlayCurrentVoice = 582;
inline constexpr int PlayMidiFile = 244;
inline constexpr int StopMidi = 245;             // "Au secours...(stop MIDI)"
inline constexpr int MidiSettings = 243;         // "Paramétrer MIDI"

// Options
inline constexpr int EnvironmentSettings = 335;
inline constexpr int StaffSizeRatios = 334;      // "Rapports Grosse/Petite portée"
inline constexpr int OrnamentSizeRatios = 338;   // "Taille normale/Taille ornement"
inline constexpr int StaccatoType = 369;
inline constexpr int NoteHeads = 379;            // "Notes (Têtes de)"
inline constexpr int ChangeMusicFont = 629;

// Divers
inline constexpr int MarkRegion = 233;
inline constexpr int MoveBox = 84;               // "#-Boîte de déplacement"
inline constexpr int CutLineDown = 99;           // "Couper ligne->BAS"
inline constexpr int CutLineUp = 98;             // "Couper ligne->HAUT"
inline constexpr int ToolCurves = 70;            // "Courbes manipulables"
inline constexpr int ToolSlurs = 71;
inline constexpr int ToolFreeSlurs = 72;
inline constexpr int ToolBeams = 73;             // "Barres de valeur"
inline constexpr int ToolCrescendo = 74;
inline constexpr int ToolBrackets = 75;          // "Crochets"
inline constexpr int ToolValueSymbol = 76;
inline constexpr int ToolSharp = 77;
inline constexpr int ToolFlat = 78;
inline constexpr int ToolNatural = 79;
inline constexpr int ToolNotes = 86;
inline constexpr int ToolRest = 87;
inline constexpr int ToolBarLine = 90;
inline constexpr int ToolHideElement = 88;
inline constexpr int ToolHideAccidental = 97;
inline constexpr int ToolHideDot = 96;
inline constexpr int ToolRespellSharp = 89;      // "Note # -> Note+1 b"
inline constexpr int ToolRotateNoteHead = 93;
inline constexpr int ToolFlipStaccato = 94;
inline constexpr int ToolFlipGroupMark = 95;
inline constexpr int OttavaAlta = 681;           // "Lignes 8va/15ma" > "8va alta"
inline constexpr int QuindicesimaAlta = 682;
inline constexpr int OttavaBassa = 683;
inline constexpr int QuindicesimaBassa = 684;

// Val: the durations longa .. 1/256 (codes 0..10).
inline constexpr int DurationLonga = 530;
inline constexpr int DurationBrevis = 531;
inline constexpr int DurationWhole = 532;
inline constexpr int DurationHalf = 533;
inline constexpr int DurationQuarter = 534;
inline constexpr int DurationEighth = 535;
inline constexpr int Duration16th = 536;
inline constexpr int Duration32nd = 537;
inline constexpr int Duration64th = 538;
inline constexpr int Duration128th = 539;
inline constexpr int Duration256th = 583;
// Indexed by duration code.
inline constexpr std::array<int, 11> Durations = {DurationLonga, DurationBrevis, DurationWhole, DurationHalf,
                                                  DurationQuarter, DurationEighth, Duration16th, Duration32nd,
                                                  Duration64th, Duration128th, Duration256th};

// ?
inline constexpr int Help = 901;
inline constexpr int About = 9;

// On the menu bar while a mask page is edited: leaves it.
inline constexpr int LeaveMask = 482;

// The palette, right to left: button i sends FirstPaletteButton + i.
inline constexpr int ButtonUndo = 20;
inline constexpr int ButtonCancelUndo = 21;
inline constexpr int ButtonAlternateAction = 22;
inline constexpr int ButtonInsertionBox = 23;
inline constexpr int ButtonRhythmicGroup = 24;   // G / g
inline constexpr int ButtonCueSize = 25;         // M / m
inline constexpr int ButtonTie = 26;             // _ / -
inline constexpr int ButtonAttributeC = 27;      // C / c
inline constexpr int ButtonAttributeL = 28;      // L / l
inline constexpr int ButtonStaccato = 29;        // T / t
inline constexpr int ButtonMidiInput = 30;
inline constexpr int ButtonStar = 31;            // *
inline constexpr int ButtonSlur = 32;            // ( / )
inline constexpr int ButtonBeam = 33;            // [ / ]
inline constexpr int ButtonAttributeI = 34;      // I
inline constexpr int ButtonPlus = 35;            // +
inline constexpr int ButtonPlaceAbove = 36;      // Ctrl+PgUp
inline constexpr int ButtonPlaceBelow = 37;      // Ctrl+PgDn
inline constexpr int ButtonNoteFormA = 38;
inline constexpr int ButtonNoteFormB = 39;
inline constexpr int ButtonNoteFormClear = 40;
inline constexpr int ButtonValue = 41;           // "Val" as a popup: the duration of the next notes
inline constexpr int ButtonReferenceValue = 42;  // "Val" as a popup: the reference value of a time signature
inline constexpr int FirstPaletteButton = ButtonUndo;
inline constexpr int LastPaletteButton = ButtonReferenceValue;

}  // namespace notavera::cmd
