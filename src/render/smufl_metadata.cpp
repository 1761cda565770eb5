// Reads metadata.json with nlohmann-json's streaming parser, without exceptions, keeping only well-formed entries.
#include "render/smufl_metadata.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

namespace notavera {

using nlohmann::json;

// Reads the members it keeps while the text streams by: building the whole document first cost more than the
// music's layout in a batch import, since the bundled metadata is most of a megabyte.
class SmuflMetadata::Reader : public nlohmann::json_sax<json> {
public:
    explicit Reader(SmuflMetadata& m) : m_(m) {}

    bool start_object(std::size_t) override {
        if (inArray()) arrayOk_ = false;
        if (depth_ == 0 && sawRoot_) return false;  // a second value after the root
        sawRoot_ = true;
        keys_.resize(static_cast<std::size_t>(++depth_));
        if (depth_ == 3) box_ = {};
        return true;
    }
    bool end_object() override {
        if (depth_ == 3 && section() == "glyphBBoxes" && box_.sw && box_.ne)
            m_.boxes_.emplace(keys_[1], GlyphBox{*box_.sw, *box_.ne});
        --depth_;
        return true;
    }
    bool key(string_t& k) override {
        keys_[static_cast<std::size_t>(depth_ - 1)] = k;
        return true;
    }
    bool start_array(std::size_t) override {
        if (depth_ == 0) sawRoot_ = true;
        if (arrayDepth_++ == 0) {
            numbers_.clear();
            arrayOk_ = true;
        } else {
            arrayOk_ = false;
        }
        return true;
    }
    bool end_array() override {
        if (--arrayDepth_ == 0 && arrayOk_ && numbers_.size() == 2) point({numbers_[0], numbers_[1]});
        return true;
    }
    bool number_float(number_float_t v, const string_t&) override { return number(v); }
    bool number_integer(number_integer_t v) override { return number(static_cast<double>(v)); }
    bool number_unsigned(number_unsigned_t v) override { return number(static_cast<double>(v)); }
    bool string(string_t& v) override {
        if (inArray()) arrayOk_ = false;
        else if (depth_ == 1 && keys_[0] == "fontName") m_.fontName_ = v, namedFont_ = true;
        return true;
    }
    bool boolean(bool) override { return other(); }
    bool null() override { return other(); }
    bool binary(binary_t&) override { return other(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

    // Whether the text was one object with a font name.
    bool complete() const { return namedFont_ && depth_ == 0; }

private:
    struct PendingBox {
        std::optional<StaffSpacePoint> sw;
        std::optional<StaffSpacePoint> ne;
    };

    bool inArray() const { return arrayDepth_ > 0; }
    std::string_view section() const { return keys_[0]; }
    bool other() {
        if (inArray()) arrayOk_ = false;
        return true;
    }
    bool number(double v) {
        if (!std::isfinite(v)) {
            if (inArray()) arrayOk_ = false;
            return true;
        }
        if (inArray()) {
            numbers_.push_back(v);
        } else if (depth_ == 2 && section() == "glyphAdvanceWidths") {
            m_.advances_.emplace(keys_[1], v);
        } else if (depth_ == 2 && section() == "engravingDefaults") {
            m_.defaults_.emplace(keys_[1], v);
        }
        return true;
    }
    void point(StaffSpacePoint p) {
        if (depth_ != 3) return;
        if (section() == "glyphBBoxes") {
            if (keys_[2] == "bBoxSW") box_.sw = p;
            if (keys_[2] == "bBoxNE") box_.ne = p;
        } else if (section() == "glyphsWithAnchors") {
            m_.anchors_[keys_[1]].emplace(keys_[2], p);
        }
    }

    SmuflMetadata& m_;
    int depth_ = 0;  // objects open
    bool sawRoot_ = false;
    bool namedFont_ = false;
    std::vector<std::string> keys_;  // the key being read at each object depth
    int arrayDepth_ = 0;
    bool arrayOk_ = false;  // the open array holds only finite numbers so far
    std::vector<double> numbers_;
    PendingBox box_;
};

std::optional<SmuflMetadata> SmuflMetadata::Parse(std::string_view text) {
    SmuflMetadata m;
    Reader reader(m);
    if (!json::sax_parse(text, &reader, nlohmann::detail::input_format_t::json, true, false) || !reader.complete())
        return std::nullopt;
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
