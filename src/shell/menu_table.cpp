// The main menus, the tool table and the duration commands as constant data; the Qt menu bar, the menu
// preparation and the dispatch all read them from here.
#include "shell/menu_table.h"

#include <array>

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
    Item(14, "&Standard"),
    Item(16, "Silences &non condensés (Voix seule)"),
    Item(17, "&Extraction brute"),
};

constexpr MenuEntry kFileMenu[] = {
    Item(1, "&Nouveau"),
    Item(2, "&Ouvrir..."),
    Item(3, "&Enregistrer"),
    Item(4, "Enregistrer so&us..."),
    Separator(),
    Item(7, "&Comprimer"),
    Item(8, "&Fusionner avec..."),
    Item(273, "&Bloc-notes fichier"),
    Separator(),
    Item(241, "&Sauver fichier MIDI"),
    Item(242, "&Lire fichier MIDI"),
    Item(902, "Lire fichier &GUIDO"),
    Item(15, "Sauver fichier &METAFILE"),
    Item(588, "E&xporter"),
    Item(589, "&Importer"),
    Separator(),
    Item(5, "Im&primer..."),
    Submenu("Par&ties séparées", kSeparatePartsMenu),
    Separator(),
    Item(492, "Sauvegarde &automatique"),
    Separator(),
    Item(6, "&Quitter"),
};

constexpr MenuEntry kSpacingMenu[] = {
    Item(221, "&Justifier (marqueurX)"),
    Item(267, "Justifier &page"),
    Item(222, "&Déplacer bloc->marqueurX"),
    Separator(),
    Item(223, "&Aligner"),
    Item(247, "A&ligner s/matrice auto"),
    Item(224, "Aligner portée &marquée"),
    Separator(),
    Item(220, "&Espaces régul.->marqueurY"),
};

constexpr MenuEntry kEditMenu[] = {
    Item(11, "Etape antérieure (&Undo)"),
    Item(672, "&Annuler étape antérieure (Undo)"),
    Item(218, "&Récupérer effacement"),
    Separator(),
    Submenu("&Espaces", kSpacingMenu),
    Separator(),
    Item(688, "&Introduire (substituer) proportion"),
    Item(687, "Co&mbiner proportion"),
    Item(689, "&Supprimer proportion"),
    Separator(),
    Item(690, "&Clefs"),
    Item(219, "A&ttributs"),
    Separator(),
    Item(217, "Co&pier"),
    Item(13, "Co&ller"),
    Item(479, "Copier ré&gion/page presse-papiers"),
    Separator(),
    Item(50, "Ta&blature ->marqueurPage/fin"),
};

constexpr MenuEntry kPageMenu[] = {
    Item(63, "Page &Suivante"),
    Item(64, "Page &Précédente"),
    Item(66, "Aller Pa&ge no"),
    Item(49, "Aller &Mesure no"),
    Item(47, "Aller Por&tée no..."),
    Separator(),
    Item(61, "&Créer Feuille"),
    Item(62, "Modifier &Feuille"),
    Item(60, "F&ormat"),
    Separator(),
    Item(234, "I&dentifier les voix"),
    Separator(),
    Item(619, "Sans masque fi&xe"),
    Item(620, "Sans masque &variable"),
    Separator(),
    Item(65, "&Insérer Page"),
    Item(67, "&Effacer Page courante"),
    Item(627, "Effacer Page(s) ->ma&rqueurPage/fin"),
};

constexpr MenuEntry kZoomMenu[] = {
    Item(51, "&NORMAL 1/1"),
    Item(52, "&GROS 2/1"),
    Item(53, "&PETIT 1/2"),
    Item(54, "G&ROS 3/2"),
    Item(55, "P&ETIT 3/4"),
    Separator(),
    Item(56, "&AUTRE"),
};

constexpr MenuEntry kClefMenu[] = {
    Item(201, "&Sol-2"),
    Item(202, "&Fa-4"),
    Separator(),
    Item(207, "&Ut-4"),
    Item(208, "Ut-&3"),
    Item(205, "Ut-&1"),
    Item(206, "Ut-&2"),
    Item(585, "U&t-5"),
    Separator(),
    Item(209, "Sol-&8va"),
    Item(200, "S&ol-1"),
    Item(203, "F&a-3"),
    Item(204, "Fa-&5"),
    Separator(),
    Item(594, "&Percussion"),
};

constexpr MenuEntry kKeyMenu[] = {
    Item(125, "&Armure"),
    Item(128, "&Effacer Armure"),
    Separator(),
    Item(127, "&LireArmure"),
    Item(131, "&Incl#b-BarMes"),
    Item(132, "E&xcl#b-BarMes"),
    Separator(),
    Item(596, "LireA&rmure ->marqueurPage/fin"),
    Item(595, "Incl#b-Bar&Mes ->marqueurPage/fin"),
    Item(597, "Excl#b-BarMes ->marqueur&Page/fin"),
    Separator(),
    Item(126, "&Voir-#b"),
    Item(129, "&ChargerArmure"),
    Item(130, "&DéchargerArmure"),
};

constexpr MenuEntry kDeleteMenu[] = {
    Item(212, "Effacer &région/->marqueurY"),
    Item(213, "Effacer->&FinLigne"),
    Separator(),
    Item(215, "Effacer &Liaison"),
    Item(214, "Effacer &BarreValeur"),
    Item(216, "Effacer &Groupe"),
    Item(685, "Effacer &8va..."),
    Separator(),
    Item(697, "Effacer &étalons (->marqueurPage/fin)"),
    Item(599, "Effacer &Nos de mesure (->marqueurPage/fin)"),
    Separator(),
    Item(498, "Effacer &portée"),
    Separator(),
    Item(623, "Effacer Masque fi&xe"),
    Item(624, "Effacer Masque &variable"),
};

constexpr MenuEntry kInsertMenu[] = {
    Item(231, "&Texte"),
    Item(232, "&Graphiques"),
    Separator(),
    Item(614, "&Pagination/Marques de coupe"),
    Item(615, "&Entête/Pied de page"),
    Item(621, "Masque &fixe"),
    Item(622, "Masque &variable"),
    Separator(),
    Item(230, "&Mesure (Indication de)"),
    Item(359, "Ba&rre spéciale"),
    Separator(),
    Item(80, "&Double Dièse"),
    Item(81, "Double &Bémol"),
    Item(91, "&Quart de Dièse"),
    Item(92, "Qu&art de Bémol"),
    Item(82, ".Po&intage"),
    Item(83, ":Do&ublePointage"),
    Separator(),
    Item(628, "Multi-&Silence"),
    Item(497, "P&ortée"),
};

constexpr MenuEntry kSpacingDetailMenu[] = {
    Item(225, "Ligne/r&égion brute"),
    Item(235, "L&igne/région optimisée"),
    Item(236, "&Bloc brut"),
    Item(237, "Blo&c optimisé"),
    Item(248, "Li&gnes du bloc isolément"),
    Item(249, "Bloc+&alignement auto"),
    Item(285, "A&ligner s/matrice auto"),
    Separator(),
    Item(238, "Page brute &sans justif."),
    Item(239, "Page &justifiée"),
    Separator(),
    Item(275, "S&yllabes sur Ligne/Bloc"),
    Item(490, "Centrer &tirets entre syllabes"),
    Separator(),
    Item(584, "&Partition->PARTITIO.MUS"),
};

constexpr MenuEntry kTransposeMenu[] = {
    Item(227, "Transposer &Hauteurs"),
    Item(228, "Transposer &Tonalité"),
    Item(229, "Transposer &Durées"),
};

constexpr MenuEntry kHideRevealMenu[] = {
    Item(494, "Cacher &Altérations"),
    Item(677, "Cacher &Pointages"),
    Item(676, "Cacher &Silences"),
    Separator(),
    Item(678, "Révéler A&ltérations"),
    Item(680, "Révéler P&ointages"),
    Item(679, "Révéler S&ilences"),
};

constexpr MenuEntry kToolsMenu[] = {
    Item(100, "Page en &continu"),
    Separator(),
    Item(101, "&A la ligne supérieure..."),
    Item(269, "Permuter portées courante/&marquée"),
    Separator(),
    Item(210, "Marqueur &Y"),
    Item(211, "Marqueur &X"),
    Item(598, "Marqueur Pa&ge"),
    Separator(),
    Item(48, "&Numéroter mesures"),
    Separator(),
    Item(625, "Ramener barres s/portée courante (&ligne)"),
    Item(626, "Ramener &barres... (->marqueurPage/fin)"),
    Item(499, "N&otes extrêmes (->marqueurPage/fin)"),
    Separator(),
    Item(284, "Recalc&uler Distances"),
    Submenu("&Recalculer Distances (détail)", kSpacingDetailMenu),
    Separator(),
    Item(226, "C&entrer Silences (ligne)"),
    Item(246, "Centrer &Silences (->marqueurPage/fin)"),
    Item(489, "&Hauteur standard silences (->marqueurPage/fin)"),
    Separator(),
    Item(85, "\\-&Portée chablon"),
    Item(268, "Calquer modèle &fantome"),
    Item(286, "Barres &de valeurs (->marqueurPage/fin)"),
    Separator(),
    Submenu("&Transposer", kTransposeMenu),
    Item(283, "Inverser &#-b"),
    Separator(),
    Submenu("Cacher/Ré&véler", kHideRevealMenu),
    Separator(),
    Item(495, "Tête<>&queue staccatos"),
    Item(496, "Haut&<>bas marquage groupes"),
};

constexpr MenuEntry kSoundMenu[] = {
    Item(240, "&Jouer (->marqueurPage ou fin)"),
    Item(582, "Jouer &voix courante seule"),
    Item(244, "Jouer un fichier &MIDI"),
    Item(245, "&Au secours...(stop MIDI)"),
    Separator(),
    Item(243, "&Paramétrer MIDI"),
};

constexpr MenuEntry kOptionsMenu[] = {
    Item(335, "&Variables d'environnement"),
    Separator(),
    Item(334, "&Rapports Grosse/Petite portée"),
    Item(338, "&Taille normale/Taille ornement"),
    Separator(),
    Item(369, "&Staccato (Type de)"),
    Item(379, "&Notes (Têtes de)"),
    Separator(),
    Item(629, "&Changer Police musicale"),
};

constexpr MenuEntry kOctaveLinesMenu[] = {
    Item(681, "&8va alta"),
    Item(682, "&15ma alta"),
    Item(683, "8va &bassa"),
    Item(684, "15ma b&assa"),
};

constexpr MenuEntry kMiscMenu[] = {
    Item(233, "Marque-Ré&gion"),
    Item(84, "&#-Boîte de déplacement"),
    Separator(),
    Item(99, "Couper ligne->&BAS"),
    Item(98, "Couper ligne->&HAUT"),
    Separator(),
    Item(70, "&Courbes manipulables"),
    Item(71, "&Liaisons"),
    Item(72, "Liai&sons libres"),
    Item(73, "Barres de &valeur"),
    Item(74, "C&rescendo"),
    Item(75, "Cr&ochets"),
    Item(76, "S&ymbole de valeurs"),
    Separator(),
    Item(77, "&Dièse"),
    Item(78, "Bé&mol"),
    Item(79, "h-B&écarre"),
    Separator(),
    Item(86, "&Notes"),
    Item(87, "S&ilence"),
    Item(90, "Barre de mes&ure"),
    Separator(),
    Item(88, "Cacher/révéler &Elément"),
    Item(97, "Cacher/révéler &Altération"),
    Item(96, "Cacher/révéler &Pointage"),
    Separator(),
    Item(89, "Note # -> Note+&1 b"),
    Item(93, "Pivoter &tête de note"),
    Item(94, "Inverser Stacc tête<>&queue"),
    Item(95, "Inverser marquage Groupes haut&/bas"),
    Separator(),
    Submenu("Lignes &8va/15ma", kOctaveLinesMenu),
};

constexpr MenuEntry kDurationMenu[] = {
    Item(530, "&Longa"),
    Item(531, "&Brevis"),
    Item(532, "&Ronde"),
    Item(533, "Bl&anche"),
    Item(534, "&Noire"),
    Item(535, "&Croche"),
    Item(536, "&Double-Cr"),
    Item(537, "&Triple-Cr"),
    Item(538, "&Quadruple-Cr"),
    Item(539, "Qu&intuple-Cr"),
    Item(583, "&Sextuple-Cr"),
};

constexpr MenuEntry kHelpMenu[] = {
    Item(901, "&Aide"),
    Separator(),
    Item(9, "A &propos"),
};

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
    Tool(70, '{'),  Tool(71, '('),  Tool(72, 'l'),  Tool(73, '['),  Tool(74, '<'),  Tool(75, '/'),
    Tool(76, '='),  Tool(77, 'd'),  Tool(78, 'b'),  Tool(79, 'h'),
    Tool(80, 'D', false), Tool(81, 'B', false), Tool(82, '.', false), Tool(83, ':', false),
    Tool(91, 'U', false), Tool(92, 'u', false),
    Tool(86, 'N'),  Tool(87, 'S'),  Tool(90, '|'),
    HideTool(88, HideKind::Element), HideTool(97, HideKind::Accidental), HideTool(96, HideKind::Dot),
    Tool(89, 301),  Tool(93, 302),  Tool(94, 303),  Tool(95, 304),
};

// Longa, brevis, whole … 1/256: the "Val" commands in code order.
constexpr std::array<int, 11> kDurationCommands = {530, 531, 532, 533, 534, 535, 536, 537, 538, 539, 583};

template <typename Visit>
void VisitCommands(std::span<const MenuEntry> entries, Visit& visit) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntryKind::Command) visit(entry);
        if (entry.kind == MenuEntryKind::Submenu) VisitCommands(entry.submenu, visit);
    }
}

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
    for (unsigned code = 0; code < kDurationCommands.size(); ++code) {
        if (kDurationCommands[code] == command) return code;
    }
    return std::nullopt;
}

std::optional<int> CommandForDuration(unsigned code) {
    if (code >= kDurationCommands.size()) return std::nullopt;
    return kDurationCommands[code];
}

}  // namespace notavera
