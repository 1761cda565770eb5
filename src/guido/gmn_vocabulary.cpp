// The note-name table and the tag classes, fixed by the notation this reader accepts.
#include "guido/gmn_vocabulary.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

namespace notavera {

namespace {

constexpr std::pair<std::string_view, int> noteNames[] = {
    {"c", 0},  {"do", 0},   {"ut", 0},  {"cis", 1}, {"d", 2},  {"re", 2},   {"dis", 3}, {"e", 4},   {"mi", 4},
    {"f", 5},  {"fa", 5},   {"fis", 6}, {"g", 7},   {"sol", 7}, {"so", 7},  {"gis", 8}, {"a", 9},   {"la", 9},
    {"ais", 10}, {"h", 11}, {"b", 11},  {"si", 11}, {"ti", 11}, {"_", gmnRest}, {"rest", gmnRest},
    {"empty", gmnEmpty},
};

constexpr std::string_view layoutTags[] = {
    "\\pageFormat", "\\newPage", "\\systemFormat", "\\newSystem", "\\staffFormat", "\\staff", "\\meter", "\\bar",
    "\\doubleBar"};

constexpr std::string_view clefKeyTags[] = {"\\clef", "\\key"};

constexpr std::string_view musicalTags[] = {
    "\\intes",      "\\i",          "\\cresc",      "\\dim",        "\\crescBegin", "\\crescEnd",  "\\dimBegin",
    "\\dimEnd",     "\\accel",      "\\rit",        "\\accelBegin", "\\accelEnd",  "\\ritBegin",  "\\ritEnd",
    "\\instr",      "\\tie",        "\\slur",       "\\sl",         "\\stacc",      "\\accent",    "\\ten",
    "\\marcato",    "\\trill",      "\\mord",       "\\turn",       "\\trem",       "\\fermata",   "\\grace",
    "\\cue",        "\\repeatBegin", "\\repeatEnd", "\\oct",        "\\beam",       "\\bm",        "\\beamsAuto",
    "\\beamsOff",   "\\stemsAuto",  "\\stemsUp",    "\\stemsDown",  "\\tactus",     "\\text",      "\\t",
    "\\title",      "\\composer",   "\\mark",       "\\label"};

template <std::size_t N>
bool contains(const std::string_view (&table)[N], std::string_view name) {
    return std::find(std::begin(table), std::end(table), name) != std::end(table);
}

}  // namespace

std::optional<GmnMode> GmnModeFromNumber(int number) {
    switch (number) {
        case 0: return GmnMode::All;
        case 2: return GmnMode::Musical;
        case 11: return GmnMode::Layout;
        case 13: return GmnMode::ClefKey;
        default: return std::nullopt;
    }
}

bool GmnModePassesNotes(GmnMode mode) { return mode == GmnMode::All || mode == GmnMode::Musical; }

bool GmnModePassesTag(GmnMode mode, std::string_view name) {
    switch (mode) {
        case GmnMode::All: return true;
        case GmnMode::Musical: return contains(musicalTags, name);
        case GmnMode::Layout: return contains(layoutTags, name);
        case GmnMode::ClefKey: return contains(clefKeyTags, name);
    }
    return false;
}

std::optional<int> GmnPitchClass(std::string_view name) {
    for (const auto& [n, pc] : noteNames)
        if (n == name) return pc;
    return std::nullopt;
}

std::size_t GmnFirstNoteNameLength(std::string_view letters) {
    // Beyond a few letters a run is no slip of the space bar; it is also rescanned once per name it yields.
    constexpr std::size_t longestRun = 8;
    if (letters.size() > longestRun || GmnPitchClass(letters)) return letters.size();
    // splits[i]: the length of a first name from which letters[i..] falls apart into names, 0 when it does not.
    std::array<std::size_t, longestRun + 1> splits{};
    for (std::size_t i = letters.size(); i-- > 0;) {
        for (const auto& [name, pc] : noteNames) {
            const std::size_t end = i + name.size();
            if (name.size() > splits[i] && letters.substr(i).starts_with(name) &&
                (end == letters.size() || splits[end] != 0))
                splits[i] = name.size();
        }
    }
    return splits[0] != 0 ? splits[0] : letters.size();
}

}  // namespace notavera
