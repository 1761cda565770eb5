// Reads metadata.json with nlohmann-json without exceptions, keeping only well-formed entries.
#include "render/smufl_metadata.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

namespace notavera {
namespace {

using nlohmann::json;

std::optional<double> Number(const json& v) {
    if (!v.is_number()) return std::nullopt;
    const double d = v.get<double>();
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<StaffSpacePoint> PointOf(const json& v) {
    if (!v.is_array() || v.size() != 2) return std::nullopt;
    auto x = Number(v[0]), y = Number(v[1]);
    if (!x || !y) return std::nullopt;
    return StaffSpacePoint{*x, *y};
}

const json* Member(const json& object, const char* key) {
    auto it = object.find(key);
    return it == object.end() || !it->is_object() ? nullptr : &*it;
}

}  // namespace

std::optional<SmuflMetadata> SmuflMetadata::Parse(std::string_view text) {
    const json doc = json::parse(text, nullptr, false);
    if (!doc.is_object()) return std::nullopt;
    auto name = doc.find("fontName");
    if (name == doc.end() || !name->is_string()) return std::nullopt;

    SmuflMetadata m;
    m.fontName_ = name->get<std::string>();
    if (const json* boxes = Member(doc, "glyphBBoxes")) {
        for (const auto& [glyph, entry] : boxes->items()) {
            if (!entry.is_object()) continue;
            auto sw = entry.find("bBoxSW"), ne = entry.find("bBoxNE");
            if (sw == entry.end() || ne == entry.end()) continue;
            auto a = PointOf(*sw), b = PointOf(*ne);
            if (a && b) m.boxes_.emplace(glyph, GlyphBox{*a, *b});
        }
    }
    if (const json* advances = Member(doc, "glyphAdvanceWidths")) {
        for (const auto& [glyph, entry] : advances->items()) {
            if (auto w = Number(entry)) m.advances_.emplace(glyph, *w);
        }
    }
    if (const json* anchors = Member(doc, "glyphsWithAnchors")) {
        for (const auto& [glyph, entry] : anchors->items()) {
            if (!entry.is_object()) continue;
            for (const auto& [anchorName, point] : entry.items()) {
                if (auto p = PointOf(point)) m.anchors_[glyph].emplace(anchorName, *p);
            }
        }
    }
    if (const json* defaults = Member(doc, "engravingDefaults")) {
        for (const auto& [key, value] : defaults->items()) {
            if (auto v = Number(value)) m.defaults_.emplace(key, *v);
        }
    }
    return m;
}

std::optional<SmuflMetadata> SmuflMetadata::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str());
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
