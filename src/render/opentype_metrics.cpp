// Reads the head, hhea, maxp, hmtx and cmap tables of a font file with every offset checked against its size.
#include "render/opentype_metrics.h"

#include <fstream>
#include <iterator>

namespace notavera {
namespace {

// More characters than any font maps; a table claiming more is treated as damaged rather than followed.
constexpr std::size_t MaxMappedCharacters = 1u << 18;
constexpr char32_t LastCodePoint = 0x10FFFF;

// Big-endian reads that report running off the end instead of reading past it.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::optional<std::uint16_t> u16(std::size_t at) const {
        if (at > bytes_.size() || bytes_.size() - at < 2) return std::nullopt;
        return static_cast<std::uint16_t>(bytes_[at] << 8 | bytes_[at + 1]);
    }
    std::optional<std::int16_t> i16(std::size_t at) const {
        auto v = u16(at);
        if (!v) return std::nullopt;
        return static_cast<std::int16_t>(*v);
    }
    std::optional<std::uint32_t> u32(std::size_t at) const {
        auto hi = u16(at), lo = u16(at + 2);
        if (!hi || !lo) return std::nullopt;
        return static_cast<std::uint32_t>(*hi) << 16 | *lo;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

struct TableRange {
    std::size_t offset = 0;
    std::size_t length = 0;
};

std::optional<TableRange> FindTable(const ByteReader& r, std::size_t fileSize, const char (&tag)[5]) {
    auto count = r.u16(4);
    if (!count) return std::nullopt;
    const std::uint32_t wanted = static_cast<std::uint32_t>(tag[0]) << 24 | static_cast<std::uint32_t>(tag[1]) << 16 |
                                 static_cast<std::uint32_t>(tag[2]) << 8 | static_cast<std::uint32_t>(tag[3]);
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t rec = 12 + 16 * i;
        auto t = r.u32(rec), off = r.u32(rec + 8), len = r.u32(rec + 12);
        if (!t || !off || !len) return std::nullopt;
        if (*t != wanted) continue;
        if (*off > fileSize || fileSize - *off < *len) return std::nullopt;
        return TableRange{*off, *len};
    }
    return std::nullopt;
}

using GlyphMap = std::unordered_map<char32_t, std::uint16_t>;

void MapGlyph(GlyphMap& map, char32_t c, std::uint32_t glyph, std::uint16_t numGlyphs) {
    if (glyph != 0 && glyph < numGlyphs && c <= LastCodePoint) map.emplace(c, static_cast<std::uint16_t>(glyph));
}

bool ReadFormat4(const ByteReader& r, std::size_t at, std::uint16_t numGlyphs, GlyphMap& map) {
    auto segX2 = r.u16(at + 6);
    if (!segX2) return false;
    const std::size_t segs = *segX2 / 2;
    const std::size_t ends = at + 14, starts = ends + 2 * segs + 2, deltas = starts + 2 * segs,
                      rangeOffsets = deltas + 2 * segs;
    std::size_t visited = 0;
    for (std::size_t i = 0; i < segs; ++i) {
        auto end = r.u16(ends + 2 * i), start = r.u16(starts + 2 * i), delta = r.u16(deltas + 2 * i),
             rangeOffset = r.u16(rangeOffsets + 2 * i);
        if (!end || !start || !delta || !rangeOffset) return false;
        if (*end >= *start) visited += *end - *start + 1u;
        if (visited > MaxMappedCharacters) return false;
        for (std::uint32_t c = *start; c <= *end && c != 0xFFFF; ++c) {
            std::uint32_t glyph = 0;
            if (*rangeOffset == 0) {
                glyph = (c + *delta) & 0xFFFFu;
            } else {
                auto g = r.u16(rangeOffsets + 2 * i + *rangeOffset + 2 * (c - *start));
                if (!g) return false;
                glyph = *g == 0 ? 0 : (*g + *delta) & 0xFFFFu;
            }
            MapGlyph(map, c, glyph, numGlyphs);
        }
    }
    return true;
}

bool ReadFormat12(const ByteReader& r, std::size_t at, std::uint16_t numGlyphs, GlyphMap& map) {
    auto groups = r.u32(at + 12);
    if (!groups) return false;
    std::size_t mapped = 0;
    for (std::size_t i = 0; i < *groups; ++i) {
        const std::size_t g = at + 16 + 12 * i;
        auto start = r.u32(g), end = r.u32(g + 4), glyph = r.u32(g + 8);
        if (!start || !end || !glyph || *start > *end || *end > LastCodePoint) return false;
        mapped += *end - *start + 1;
        if (mapped > MaxMappedCharacters) return false;
        for (std::uint32_t c = *start; c <= *end; ++c) MapGlyph(map, c, *glyph + (c - *start), numGlyphs);
    }
    return true;
}

// Prefers the full-repertoire Unicode subtables, then the BMP ones, then the symbol one.
std::optional<GlyphMap> ReadCmap(const ByteReader& r, TableRange cmap, std::uint16_t numGlyphs) {
    auto count = r.u16(cmap.offset + 2);
    if (!count) return std::nullopt;
    std::optional<std::size_t> best;
    int bestRank = 0;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t rec = cmap.offset + 4 + 8 * i;
        auto platform = r.u16(rec), encoding = r.u16(rec + 2);
        auto off = r.u32(rec + 4);
        if (!platform || !encoding || !off || *off >= cmap.length) return std::nullopt;
        auto format = r.u16(cmap.offset + *off);
        if (!format) return std::nullopt;
        const bool unicode = *platform == 0 || (*platform == 3 && (*encoding == 1 || *encoding == 10));
        const bool symbol = *platform == 3 && *encoding == 0;
        int rank = 0;
        if (unicode && *format == 12) rank = 3;
        else if (unicode && *format == 4) rank = 2;
        else if (symbol && *format == 4) rank = 1;
        if (rank > bestRank) {
            bestRank = rank;
            best = cmap.offset + *off;
        }
    }
    if (!best) return std::nullopt;
    GlyphMap map;
    const bool ok = bestRank == 3 ? ReadFormat12(r, *best, numGlyphs, map) : ReadFormat4(r, *best, numGlyphs, map);
    if (!ok) return std::nullopt;
    return map;
}

}  // namespace

std::optional<OpenTypeMetrics> OpenTypeMetrics::Parse(std::span<const std::uint8_t> bytes) {
    const ByteReader r(bytes);
    auto head = FindTable(r, bytes.size(), "head"), hhea = FindTable(r, bytes.size(), "hhea"),
         maxp = FindTable(r, bytes.size(), "maxp"), hmtx = FindTable(r, bytes.size(), "hmtx"),
         cmap = FindTable(r, bytes.size(), "cmap");
    if (!head || !hhea || !maxp || !hmtx || !cmap) return std::nullopt;
    auto upm = r.u16(head->offset + 18);
    auto ascender = r.i16(hhea->offset + 4), descender = r.i16(hhea->offset + 6);
    auto metricCount = r.u16(hhea->offset + 34), numGlyphs = r.u16(maxp->offset + 4);
    if (!upm || !ascender || !descender || !metricCount || !numGlyphs) return std::nullopt;
    if (*upm < 16 || *upm > 16384 || *metricCount == 0 || *metricCount > *numGlyphs) return std::nullopt;
    if (hmtx->length < 4u * *metricCount) return std::nullopt;

    OpenTypeMetrics m;
    m.unitsPerEm_ = *upm;
    m.ascender_ = *ascender;
    m.descender_ = -*descender;
    m.advances_.reserve(*numGlyphs);
    for (std::size_t g = 0; g < *numGlyphs; ++g) {
        const std::size_t entry = g < *metricCount ? g : *metricCount - 1u;
        auto adv = r.u16(hmtx->offset + 4 * entry);
        if (!adv) return std::nullopt;
        m.advances_.push_back(*adv);
    }
    auto map = ReadCmap(r, *cmap, *numGlyphs);
    if (!map) return std::nullopt;
    m.glyphOf_ = std::move(*map);
    return m;
}

std::optional<OpenTypeMetrics> OpenTypeMetrics::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(bytes);
}

std::optional<int> OpenTypeMetrics::advance(char32_t codePoint) const {
    auto it = glyphOf_.find(codePoint);
    if (it == glyphOf_.end()) return std::nullopt;
    return advances_[it->second];
}

}  // namespace notavera
