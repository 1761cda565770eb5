// Reads metadata.json with simdjson, keeping only well-formed entries. The bundled metadata is most of a megabyte
// and every process that draws or lays out reads it, so the parser's speed shows in every batch command.
#include "render/smufl_metadata.h"

#include <cmath>

#include <simdjson.h>

namespace notavera {

namespace {

using simdjson::dom::element;
using simdjson::dom::object;

// A member that is an array of exactly two finite numbers.
std::optional<StaffSpacePoint> PointOf(simdjson::simdjson_result<element> member) {
    simdjson::dom::array a;
    if (member.get_array().get(a) || a.size() != 2) return std::nullopt;
    double xy[2];
    std::size_t i = 0;
    for (element v : a)
        if (v.get_double().get(xy[i++]) || !std::isfinite(xy[i - 1])) return std::nullopt;
    return StaffSpacePoint{xy[0], xy[1]};
}

std::optional<double> NumberOf(element e) {
    double v = 0;
    if (e.get_double().get(v) || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Calls read(name, value) for each member of the section, when the section is an object.
template <typename Read>
void EachMember(object root, std::string_view section, Read read) {
    object members;
    if (root[section].get_object().get(members)) return;
    for (auto [name, value] : members) read(name, value);
}

}  // namespace

std::optional<SmuflMetadata> SmuflMetadata::Read(const simdjson::padded_string& text) {
    simdjson::dom::parser parser;
    element rootValue;
    object root;
    std::string_view fontName;
    if (parser.parse(text).get(rootValue) || rootValue.get_object().get(root) ||
        root["fontName"].get_string().get(fontName))
        return std::nullopt;
    SmuflMetadata m;
    m.fontName_ = fontName;
    EachMember(root, "glyphBBoxes", [&](std::string_view glyph, element value) {
        object box;
        if (value.get_object().get(box)) return;
        const auto sw = PointOf(box["bBoxSW"]);
        const auto ne = PointOf(box["bBoxNE"]);
        if (sw && ne) m.boxes_.emplace(glyph, GlyphBox{*sw, *ne});
    });
    EachMember(root, "glyphAdvanceWidths", [&](std::string_view glyph, element value) {
        if (const auto v = NumberOf(value)) m.advances_.emplace(glyph, *v);
    });
    EachMember(root, "engravingDefaults", [&](std::string_view name, element value) {
        if (const auto v = NumberOf(value)) m.defaults_.emplace(name, *v);
    });
    EachMember(root, "glyphsWithAnchors", [&](std::string_view glyph, element value) {
        object anchors;
        if (value.get_object().get(anchors)) return;
        for (auto [name, at] : anchors)
            if (const auto p = PointOf(element(at))) m.anchors_[std::string(glyph)].emplace(name, *p);
    });
    return m;
}

std::optional<SmuflMetadata> SmuflMetadata::Parse(std::string_view json) {
    return Read(simdjson::padded_string(json));
}

std::optional<SmuflMetadata> SmuflMetadata::Load(const std::string& path) {
    simdjson::padded_string text;
    if (simdjson::padded_string::load(path).get(text)) return std::nullopt;
    return Read(text);
}

bool SmuflMetadata::hasGlyph(std::string_view name) const {
    return boxes_.find(name) != boxes_.end() || advances_.find(name) != advances_.end();
}

std::optional<GlyphBox> SmuflMetadata::box(std::string_view name) const {
    auto it = boxes_.find(name);
    if (it == boxes_.end()) return std::nullopt;
    return it->second;
}

std::optional<double> SmuflMetadata::advance(std::string_view name) const {
    auto it = advances_.find(name);
    if (it == advances_.end()) return std::nullopt;
    return it->second;
}

std::optional<StaffSpacePoint> SmuflMetadata::anchor(std::string_view glyph, std::string_view anchorName) const {
    auto g = anchors_.find(glyph);
    if (g == anchors_.end()) return std::nullopt;
    auto a = g->second.find(anchorName);
    if (a == g->second.end()) return std::nullopt;
    return a->second;
}

std::optional<double> SmuflMetadata::engravingDefault(std::string_view name) const {
    auto it = defaults_.find(name);
    if (it == defaults_.end()) return std::nullopt;
    return it->second;
}

}  // namespace notavera
