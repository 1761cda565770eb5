// The main menus, the tool table and the duration commands as constant data; the Qt menu bar, the menu
// preparation and the dispatch all read them from here.
#include "shell/menu_table.h"

#include <iterator>

#include "shell/command_ids.h"

namespace notavera {
namespace {

constexpr MenuEntry Item(int command, std::string_view label) {
    return MenuEntry{MenuEntryKind::Command, label, command, {}};
}

constexpr MenuEntry Separator() { return MenuEntry{}; }

constexpr MenuEntry Submenu(std::string_view label, std::span<const MenuEntry> entries) {
    return MenuEntry{MenuEntryKind::Submenu, label, 0, entries};
}

constexpr MenuEntry kSeparatePartsMenu[] = {
    Item(cmd::SeparatePartsStandard, "&Standard"),
    Item(cmd::SeparatePartsVoiceAlone, "Silences &non condensés (Voix seule)"),
    Item(cmd::SeparatePartsRaw, "&Extraction brute"),
};

// The labels are the access keys alone: the menu bar shows each file's path after its key.
constexpr MenuEntry kRecentFilesMenu[] = {
    Item(cmd::FirstRecentFile + 0, "&1"), Item(cmd::FirstRecentFile + 1, "&2"), Item(cmd::FirstRecentFile + 2, "&3"),
    Item(cmd::FirstRecentFile + 3, "&4"), Item(cmd::FirstRecentFile + 4, "&5"), Item(cmd::FirstRecentFile + 5, "&6"),
    Item(cmd::FirstRecentFile + 6, "&7"), Item(cmd::FirstRecentFile + 7, "&8"),
};
static_assert(std::size(kRecentFilesMenu) == cmd::RecentFileCount);

constexpr MenuEntry kFileMenu[] = {
    Item(cmd::New, "&Nouveau"),
    Item(cmd::Open, "&Ouvrir..."),
    Item(cmd::Save, "&Enregistrer"),
    Item(cmd::SaveAs, "Enregistrer so&us..."),
    Submenu("Fic&hiers récents", kRecentFilesMenu),
    Separator(),
    Item(cmd::Compress, "&Comprimer"),
    Item(cmd::Merge, "&Fusionner avec..."),
    Item(cmd::FileNotes, "&Bloc-notes fichier"),
    Separator(),
    Item(cmd::SaveMidiFile, "&Sauver fichier MIDI"),
    Item(cmd::ReadMidiFile, "&Lire fichier MIDI"),
    Item(cmd::ReadGuido, "Lire fichier &GUIDO"),
    Item(cmd::ImportMusicXml, "Impo&rter MusicXML…"),
    Item(cmd::SaveMetafile, "Sauver fichier &METAFILE"),
    Item(cmd::ExportInterchange, "E&xporter"),
    Item(cmd::ImportInterchange, "&Importer"),
    Separator(),
    Item(cmd::Print, "Im&primer..."),
    Item(cmd::ExportPdf, "Exporter P&DF…"),
    Item(cmd::ExportMusicXml, "Expor&ter MusicXML…"),
    Submenu("Parties s&éparées", kSeparatePartsMenu),
    Separator(),
    Item(cmd::Autosave, "Sauvegarde &automatique"),
    Separator(),
    Item(cmd::Quit, "&Quitter"),
};

constexpr MenuEntry kSpacingMenu[] = {
    Item(cmd::JustifyToMarkerX, "&Justifier (marqueurX)"),
    Item(cmd::JustifyPage, "Justifier &page"),
    Item(cmd::MoveBlockToMarkerX, "&Déplacer bloc->marqueurX"),
    Separator(),
    Item(cmd::Align, "&Aligner"),
    Item(cmd::AlignAutoMatrix, "A&ligner s/matrice auto"),
    Item(cmd::AlignMarkedStaff, "Aligner portée &marquée"),
    Separator(),
    Item(cmd::EvenSpacesToMarkerY, "&Espaces régul.->marqueurY"),
};

constexpr MenuEntry kEditMenu[] = {
    Item(cmd::Undo, "Etape antérieure (&Undo)"),
    Item(cmd::CancelUndo, "&Annuler étape antérieure (Undo)"),
    Item(cmd::RecoverErasure, "&Récupérer effacement"),
    Separator(),
    Submenu("&Espaces", kSpacingMenu),
    Separator(),
    Item(cmd::InsertProportion, "&Introduire (substituer) proportion"),
    Item(cmd::CombineProportion, "Co&mbiner proportion"),
    Item(cmd::DeleteProportion, "&Supprimer proportion"),
    Separator(),
    Item(cmd::ReplaceClefs, "&Clefs"),
    Item(cmd::Attributes, "A&ttributs"),
    Separator(),
    Item(cmd::Copy, "Co&pier"),
    Item(cmd::Paste, "Co&ller"),
    Item(cmd::CopyToClipboard, "Copier ré&gion/page presse-papiers"),
    Separator(),
    Item(cmd::Tablature, "Ta&blature ->marqueurPage/fin"),
};

constexpr MenuEntry kPageMenu[] = {
    Item(cmd::NextPage, "Page &Suivante"),
    Item(cmd::PreviousPage, "Page &Précédente"),
    Item(cmd::GoToPage, "Aller Pa&ge no"),
    Item(cmd::GoToMeasure, "Aller &Mesure no"),
    Item(cmd::GoToStaff, "Aller Por&tée no..."),
    Separator(),
    Item(cmd::CreatePage, "&Créer Feuille"),
    Item(cmd::ModifyPage, "Modifier &Feuille"),
    Item(cmd::PageFormat, "F&ormat"),
    Separator(),
    Item(cmd::IdentifyVoices, "I&dentifier les voix"),
    Separator(),
    Item(cmd::WithoutFixedMask, "Sans masque fi&xe"),
    Item(cmd::WithoutVariableMask, "Sans masque &variable"),
    Separator(),
    Item(cmd::InsertPage, "&Insérer Page"),
    Item(cmd::DeletePage, "&Effacer Page courante"),
    Item(cmd::DeletePagesToMarker, "Effacer Page(s) ->ma&rqueurPage/fin"),
};

constexpr MenuEntry kZoomMenu[] = {
    Item(cmd::ZoomNormal, "&NORMAL 1/1"),
    Item(cmd::ZoomLarge, "&GROS 2/1"),
    Item(cmd::ZoomSmall, "&PETIT 1/2"),
    Item(cmd::ZoomThreeHalves, "G&ROS 3/2"),
    Item(cmd::ZoomThreeQuarters, "P&ETIT 3/4"),
    Separator(),
    Item(cmd::ZoomOther, "&AUTRE"),
};

constexpr MenuEntry kClefMenu[] = {
    Item(cmd::ClefG2, "&Sol-2"),
    Item(cmd::ClefF4, "&Fa-4"),
    Separator(),
    Item(cmd::ClefC4, "&Ut-4"),
    Item(cmd::ClefC3, "Ut-&3"),
    Item(cmd::ClefC1, "Ut-&1"),
    Item(cmd::ClefC2, "Ut-&2"),
    Item(cmd::ClefC5, "U&t-5"),
    Separator(),
    Item(cmd::ClefG8va, "Sol-&8va"),
    Item(cmd::ClefG1, "S&ol-1"),
    Item(cmd::ClefF3, "F&a-3"),
    Item(cmd::ClefF5, "Fa-&5"),
    Separator(),
    Item(cmd::ClefPercussion, "&Percussion"),
};

constexpr MenuEntry kKeyMenu[] = {
    Item(cmd::KeySignature, "&Armure"),
    Item(cmd::EraseKeySignature, "&Effacer Armure"),
    Separator(),
    Item(cmd::ReadKey, "&LireArmure"),
    Item(cmd::IncludeBarAccidentals, "&Incl#b-BarMes"),
    Item(cmd::ExcludeBarAccidentals, "E&xcl#b-BarMes"),
    Separator(),
    Item(cmd::ReadKeyToMarker, "LireA&rmure ->marqueurPage/fin"),
    Item(cmd::IncludeBarAccidentalsToMarker, "Incl#b-Bar&Mes ->marqueurPage/fin"),
    Item(cmd::ExcludeBarAccidentalsToMarker, "Excl#b-BarMes ->marqueur&Page/fin"),
    Separator(),
    Item(cmd::ShowKeyAccidentals, "&Voir-#b"),
    Item(cmd::LoadKey, "&ChargerArmure"),
    Item(cmd::UnloadKey, "&DéchargerArmure"),
};

constexpr MenuEntry kDeleteMenu[] = {
    Item(cmd::EraseRegion, "Effacer &région/->marqueurY"),
    Item(cmd::EraseToLineEnd, "Effacer->&FinLigne"),
    Separator(),
    Item(cmd::EraseSlur, "Effacer &Liaison"),
    Item(cmd::EraseBeam, "Effacer &BarreValeur"),
    Item(cmd::EraseGroup, "Effacer &Groupe"),
    Item(cmd::EraseOctaveLines, "Effacer &8va..."),
    Separator(),
    Item(cmd::EraseReferenceValues, "Effacer &étalons (->marqueurPage/fin)"),
    Item(cmd::EraseMeasureNumbers, "Effacer &Nos de mesure (->marqueurPage/fin)"),
    Separator(),
    Item(cmd::EraseStaff, "Effacer &portée"),
    Separator(),
    Item(cmd::EraseFixedMask, "Effacer Masque fi&xe"),
    Item(cmd::EraseVariableMask, "Effacer Masque &variable"),
};

constexpr MenuEntry kInsertMenu[] = {
    Item(cmd::TextWindow, "&Texte"),
    Item(cmd::DrawingWindow, "&Graphiques"),
    Separator(),
    Item(cmd::Pagination, "&Pagination/Marques de coupe"),
    Item(cmd::HeaderFooter, "&Entête/Pied de page"),
    Item(cmd::EditFixedMask, "Masque &fixe"),
    Item(cmd::EditVariableMask, "Masque &variable"),
    Separator(),
    Item(cmd::TimeSignature, "&Mesure (Indication de)"),
    Item(cmd::SpecialBar, "Ba&rre spéciale"),
    Separator(),
    Item(cmd::ToolDoubleSharp, "&Double Dièse"),
    Item(cmd::ToolDoubleFlat, "Double &Bémol"),
    Item(cmd::ToolQuarterSharp, "&Quart de Dièse"),
    Item(cmd::ToolQuarterFlat, "Qu&art de Bémol"),
    Item(cmd::ToolDot, ".Po&intage"),
    Item(cmd::ToolDoubleDot, ":Do&ublePointage"),
    Separator(),
    Item(cmd::MultiBarRest, "Multi-&Silence"),
    Item(cmd::InsertStaff, "P&ortée"),
};

constexpr MenuEntry kSpacingDetailMenu[] = {
    Item(cmd::SpaceLineRaw, "Ligne/r&égion brute"),
    Item(cmd::SpaceLineOptimised, "L&igne/région optimisée"),
    Item(cmd::SpaceBlockRaw, "&Bloc brut"),
    Item(cmd::SpaceBlockOptimised, "Blo&c optimisé"),
    Item(cmd::SpaceBlockLines, "Li&gnes du bloc isolément"),
    Item(cmd::SpaceBlockAligned, "Bloc+&alignement auto"),
    Item(cmd::AlignAutoMatrixTools, "A&ligner s/matrice auto"),
    Separator(),
    Item(cmd::LayOutPageRaw, "Page brute &sans justif."),
    Item(cmd::LayOutPageJustified, "Page &justifiée"),
    Separator(),
    Item(cmd::SyllablesOnLine, "S&yllabes sur Ligne/Bloc"),
    Item(cmd::CentreSyllableDashes, "Centrer &tirets entre syllabes"),
    Separator(),
    Item(cmd::ScoreToPartitionFile, "&Partition->PARTITIO.MUS"),
};

constexpr MenuEntry kTransposeMenu[] = {
    Item(cmd::TransposePitches, "Transposer &Hauteurs"),
    Item(cmd::TransposeKey, "Transposer &Tonalité"),
    Item(cmd::TransposeDurations, "Transposer &Durées"),
};

constexpr MenuEntry kHideRevealMenu[] = {
    Item(cmd::HideAccidentals, "Cacher &Altérations"),
    Item(cmd::HideDots, "Cacher &Pointages"),
    Item(cmd::HideRests, "Cacher &Silences"),
    Separator(),
    Item(cmd::RevealAccidentals, "Révéler A&ltérations"),
    Item(cmd::RevealDots, "Révéler P&ointages"),
    Item(cmd::RevealRests, "Révéler S&ilences"),
};

constexpr MenuEntry kToolsMenu[] = {
    Item(cmd::ContinuousPage, "Page en &continu"),
    Separator(),
    Item(cmd::ToLineAbove, "&A la ligne supérieure..."),
    Item(cmd::SwapMarkedStaff, "Permuter portées courante/&marquée"),
    Separator(),
    Item(cmd::MarkerY, "Marqueur &Y"),
    Item(cmd::MarkerX, "Marqueur &X"),
    Item(cmd::MarkerPage, "Marqueur Pa&ge"),
    Separator(),
    Item(cmd::NumberMeasures, "&Numéroter mesures"),
    Separator(),
    Item(cmd::BarsBackOnLine, "Ramener barres s/portée courante (&ligne)"),
    Item(cmd::BarsBackToMarker, "Ramener &barres... (->marqueurPage/fin)"),
    Item(cmd::ExtremeNotes, "N&otes extrêmes (->marqueurPage/fin)"),
    Separator(),
    Item(cmd::RecalculateDistances, "Recalc&uler Distances"),
    Submenu("&Recalculer Distances (détail)", kSpacingDetailMenu),
    Separator(),
    Item(cmd::CentreRestsOnLine, "C&entrer Silences (ligne)"),
    Item(cmd::CentreRestsToMarker, "Centrer &Silences (->marqueurPage/fin)"),
    Item(cmd::StandardRestHeight, "&Hauteur standard silences (->marqueurPage/fin)"),
    Separator(),
    Item(cmd::TemplateStaff, "\\-&Portée chablon"),
    Item(cmd::TraceGhostModel, "Calquer modèle &fantome"),
    Item(cmd::BeamsToMarker, "Barres &de valeurs (->marqueurPage/fin)"),
    Separator(),
    Submenu("&Transposer", kTransposeMenu),
    Item(cmd::InvertSharpsFlats, "Inverser &#-b"),
    Separator(),
    Submenu("Cacher/Ré&véler", kHideRevealMenu),
    Separator(),
    Item(cmd::FlipStaccatos, "Tête<>&queue staccatos"),
    Item(cmd::FlipGroupMarks, "Haut&<>bas marquage groupes"),
};

constexpr MenuEntry kSoundMenu[] = {
    Item(cmd::Play, "&Jouer (->marqueurPage ou fin)"),
    Item(cmd::PlayCurrentVoice, "Jouer &voix courante seule"),
    Item(cmd::PlayMidiFile, "Jouer un fichier &MIDI"),
    Item(cmd::StopMidi, "&Au secours...(stop MIDI)"),
    Separator(),
    Item(cmd::MidiSettings, "&Paramétrer MIDI"),
};

constexpr MenuEntry kOptionsMenu[] = {
    Item(cmd::EnvironmentSettings, "&Variables d'environnement"),
    Separator(),
    Item(cmd::StaffSizeRatios, "&Rapports Grosse/Petite portée"),
    Item(cmd::OrnamentSizeRatios, "&Taille normale/Taille ornement"),
    Separator(),
    Item(cmd::StaccatoType, "&Staccato (Type de)"),
    Item(cmd::NoteHeads, "&Notes (Têtes de)"),
    Separator(),
    Item(cmd::ChangeMusicFont, "&Changer Police musicale"),
};

constexpr MenuEntry kOctaveLinesMenu[] = {
    Item(cmd::OttavaAlta, "&8va alta"),
    Item(cmd::QuindicesimaAlta, "&15ma alta"),
    Item(cmd::OttavaBassa, "8va &bassa"),
    Item(cmd::QuindicesimaBassa, "15ma b&assa"),
};

constexpr MenuEntry kMiscMenu[] = {
    Item(cmd::MarkRegion, "Marque-Ré&gion"),
    Item(cmd::MoveBox, "&#-Boîte de déplacement"),
    Separator(),
    Item(cmd::CutLineDown, "Couper ligne->&BAS"),
    Item(cmd::CutLineUp, "Couper ligne->&HAUT"),
    Separator(),
    Item(cmd::ToolCurves, "&Courbes manipulables"),
    Item(cmd::ToolSlurs, "&Liaisons"),
    Item(cmd::ToolFreeSlurs, "Liai&sons libres"),
    Item(cmd::ToolBeams, "Barres de &valeur"),
    Item(cmd::ToolCrescendo, "C&rescendo"),
    Item(cmd::ToolBrackets, "Cr&ochets"),
    Item(cmd::ToolValueSymbol, "S&ymbole de valeurs"),
    Separator(),
    Item(cmd::ToolSharp, "&Dièse"),
    Item(cmd::ToolFlat, "Bé&mol"),
    Item(cmd::ToolNatural, "h-B&écarre"),
    Separator(),
    Item(cmd::ToolNotes, "&Notes"),
    Item(cmd::ToolRest, "S&ilence"),
    Item(cmd::ToolBarLine, "Barre de mes&ure"),
    Separator(),
    Item(cmd::ToolHideElement, "Cacher/révéler &Elément"),
    Item(cmd::ToolHideAccidental, "Cacher/révéler &Altération"),
    Item(cmd::ToolHideDot, "Cacher/révéler &Pointage"),
    Separator(),
    Item(cmd::ToolRespellSharp, "Note # -> Note+&1 b"),
    Item(cmd::ToolRotateNoteHead, "Pivoter &tête de note"),
    Item(cmd::ToolFlipStaccato, "Inverser Stacc tête<>&queue"),
    Item(cmd::ToolFlipGroupMark, "Inverser marquage Groupes haut&/bas"),
    Separator(),
    Submenu("Lignes &8va/15ma", kOctaveLinesMenu),
};

constexpr MenuEntry kDurationMenu[] = {
    Item(cmd::DurationLonga, "&Longa"),
    Item(cmd::DurationBrevis, "&Brevis"),
    Item(cmd::DurationWhole, "&Ronde"),
    Item(cmd::DurationHalf, "Bl&anche"),
    Item(cmd::DurationQuarter, "&Noire"),
    Item(cmd::DurationEighth, "&Croche"),
    Item(cmd::Duration16th, "&Double-Cr"),
    Item(cmd::Duration32nd, "&Triple-Cr"),
    Item(cmd::Duration64th, "&Quadruple-Cr"),
    Item(cmd::Duration128th, "Qu&intuple-Cr"),
    Item(cmd::Duration256th, "&Sextuple-Cr"),
};

constexpr MenuEntry kHelpMenu[] = {
    Item(cmd::Help, "&Aide"),
    Separator(),
    Item(cmd::About, "A &propos"),
};

// The "Val" items stand in duration-code order.
constexpr bool DurationMenuInCodeOrder() {
    if (std::size(kDurationMenu) != cmd::Durations.size()) return false;
    for (std::size_t code = 0; code < cmd::Durations.size(); ++code) {
        if (kDurationMenu[code].command != cmd::Durations[code]) return false;
    }
    return true;
}
static_assert(DurationMenuInCodeOrder());

constexpr Menu kMainMenus[] = {
    {"&Fichier", kFileMenu},
    {"&Editer", kEditMenu},
    {"&Page", kPageMenu},
    {"&Zoom", kZoomMenu},
    {"&Clefs", kClefMenu},
    {"&Armure", kKeyMenu},
    {"&Détruire", kDeleteMenu},
    {"&Insérer", kInsertMenu},
    {"&Outils", kToolsMenu},
    {"&Son", kSoundMenu},
    {"Op&tions", kOptionsMenu},
    {"Dive&rs", kMiscMenu},
    {"&Val", kDurationMenu},
    {"&?", kHelpMenu},
};

constexpr ToolEntry Tool(int command, int currentTool, bool takesCheckMark = true) {
    return ToolEntry{command, currentTool, std::nullopt, takesCheckMark};
}

constexpr ToolEntry HideTool(int command, HideKind kind) { return ToolEntry{command, 300, kind, true}; }

constexpr ToolEntry kTools[] = {
    Tool(cmd::ToolCurves, '{'),
    Tool(cmd::ToolSlurs, '('),
    Tool(cmd::ToolFreeSlurs, 'l'),
    Tool(cmd::ToolBeams, '['),
    Tool(cmd::ToolCrescendo, '<'),
    Tool(cmd::ToolBrackets, '/'),
    Tool(cmd::ToolValueSymbol, '='),
    Tool(cmd::ToolSharp, 'd'),
    Tool(cmd::ToolFlat, 'b'),
    Tool(cmd::ToolNatural, 'h'),
    Tool(cmd::ToolDoubleSharp, 'D', false),
    Tool(cmd::ToolDoubleFlat, 'B', false),
    Tool(cmd::ToolDot, '.', false),
    Tool(cmd::ToolDoubleDot, ':', false),
    Tool(cmd::ToolQuarterSharp, 'U', false),
    Tool(cmd::ToolQuarterFlat, 'u', false),
    Tool(cmd::ToolNotes, 'N'),
    Tool(cmd::ToolRest, 'S'),
    Tool(cmd::ToolBarLine, '|'),
    HideTool(cmd::ToolHideElement, HideKind::Element),
    HideTool(cmd::ToolHideAccidental, HideKind::Accidental),
    HideTool(cmd::ToolHideDot, HideKind::Dot),
    Tool(cmd::ToolRespellSharp, 301),
    Tool(cmd::ToolRotateNoteHead, 302),
    Tool(cmd::ToolFlipStaccato, 303),
    Tool(cmd::ToolFlipGroupMark, 304),
};

}  // namespace

std::span<const Menu> MainMenus() { return kMainMenus; }

constexpr std::size_t kDurationMenuIndex = 12;
static_assert(kMainMenus[kDurationMenuIndex].title == "&Val");

const Menu& DurationMenu() { return kMainMenus[kDurationMenuIndex]; }

std::vector<int> MainMenuCommands() {
    std::vector<int> commands;
    auto collect = [&commands](const MenuEntry& entry) { commands.push_back(entry.command); };
    for (const Menu& menu : kMainMenus) VisitCommands(menu.entries, collect);
    return commands;
}

std::optional<std::string_view> CommandLabel(int command) {
    std::optional<std::string_view> label;
    auto find = [&label, command](const MenuEntry& entry) {
        if (!label && entry.command == command) label = entry.label;
    };
    for (const Menu& menu : kMainMenus) VisitCommands(menu.entries, find);
    return label;
}

std::span<const ToolEntry> ToolTable() { return kTools; }

std::optional<ToolEntry> FindTool(int command) {
    for (const ToolEntry& tool : kTools) {
        if (tool.command == command) return tool;
    }
    return std::nullopt;
}

std::optional<unsigned> DurationForCommand(int command) {
    for (unsigned code = 0; code < cmd::Durations.size(); ++code) {
        if (cmd::Durations[code] == command) return code;
    }
    return std::nullopt;
}

}  // namespace notavera
