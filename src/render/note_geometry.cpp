// Note and rest geometry in the SMuFL font's own terms: heads centred on their column, stems joined to the heads at
// the font's anchors, flags hung from the stem's corner.
#include "render/note_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "render/geometry.h"
#include "render/music_font_table.h"
#include "score/clef_values.h"

namespace notavera {
namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

bool Cue(const DrawingContext& dc) { return dc.draw.isCueSize; }

// How far from a head's height its stem starts, upwards positive: at the font's stem anchor, otherwise an eighth of
// a space beyond the height (half a space for the centred stems of old notation).
int StemJoin(const DrawingContext& dc, const StaffPlace& place, int code, bool up) {
    const int beyond = dc.draw.alternateGlyphs ? dc.metrics.halfSpace[place.size] : dc.metrics.eighthSpace[place.size];
    if (!dc.draw.alternateGlyphs) {
        if (auto a = GlyphAnchorPoint(dc, code, up ? "stemUpSE" : "stemDownNW")) return Round(a->y * GlyphSpace(dc));
    }
    return up ? beyond : -beyond;
}

}  // namespace

int DrawnNoteValue(const ElementRecord& e) {
    const auto n = e.noteWord();
    int value = std::min(static_cast<int>(n.durationCode()), 10);
    if (n.bit(note_bits::ValueShift) && value > 2) value = std::min(value + 1, 10);
    return value;
}

int DrawnRestValue(const ElementRecord& e) {
    const auto n = e.noteWord();
    int value = static_cast<int>(n.durationCode());
    if (value >= static_cast<int>(NoteWordView<const std::uint32_t>::multiBarRestCode)) return value;
    value = std::min(value, 10);
    if (n.bit(note_bits::ValueShift) && value > (n.bit(note_bits::OpenHead) ? 3 : 2)) value = std::min(value + 1, 10);
    return value;
}

int HeadCode(const ElementRecord& e, int value) {
    const auto n = e.noteWord();
    const unsigned shape = n.headShape();
    if (shape >= 1 && shape <= 6) return 249 + static_cast<int>(shape);
    const bool open = n.bit(note_bits::OpenHead);
    if (value <= 2) return n.bit(note_bits::ValueShift) && !open ? 202 : 201;
    return !open && value != 3 ? 204 : 203;
}

const MusicGlyph* WrittenGlyph(const DrawingContext& dc, int code) {
    if (dc.musicFont == nullptr) return nullptr;
    const WrittenCode w = SubstituteCode(code, dc.draw.alternateGlyphs, dc.draw.isCueSize);
    return dc.musicFont->glyph(w.code, w.alternate);
}

double GlyphSpaceAt(const DrawingContext& dc, int size, bool cue) {
    double space = dc.fonts.baseFontHeight / MusicFont::StaffSpacesPerHeight;
    const SizeRatios& r = dc.ratios;
    if (size == 1 && r.smallDen != 0) space = space * r.smallNum / r.smallDen;
    if (cue && r.cueDen != 0) space = space * r.cueNum / r.cueDen;
    return space;
}

double GlyphSpace(const DrawingContext& dc) { return GlyphSpaceAt(dc, dc.sizeIndex(), dc.draw.isCueSize); }

int GlyphAdvance(const DrawingContext& dc, int code) {
    return GlyphAdvanceAt(dc, code, dc.sizeIndex(), dc.draw.isCueSize);
}

int GlyphAdvanceAt(const DrawingContext& dc, int code, int size, bool cue) {
    const MusicGlyph* g = WrittenGlyph(dc, code);
    return g == nullptr ? 0 : Round(g->advance * GlyphSpaceAt(dc, size, cue));
}

std::optional<StaffSpacePoint> GlyphAnchorPoint(const DrawingContext& dc, int code, std::string_view anchor) {
    const MusicGlyph* g = WrittenGlyph(dc, code);
    if (g == nullptr) return std::nullopt;
    return dc.musicFont->metadata().anchor(g->name, anchor);
}

int CueLength(const DrawingContext& dc, int length, bool cue) {
    const SizeRatios& r = dc.ratios;
    return cue && r.cueDen != 0 ? length * r.cueNum / r.cueDen : length;
}

int AccidentalClearance(const DrawingContext& dc, int size, bool cue) {
    return CueLength(dc, Round(dc.metrics.quarterSpace[size]), cue);
}

namespace {

int StemPositionShiftAt(const DrawingContext& dc, int value, int size, bool cue) {
    if (value <= 2) return 0;
    const int h = dc.widths.noteheadHalfWidth[size][cue ? 1 : 0];
    return h * (dc.corrections.stemPosition - HeightCorrections::StemPositionDefault) / 20;
}

}  // namespace

int StemPositionShift(const DrawingContext& dc, int value) {
    return StemPositionShiftAt(dc, value, dc.sizeIndex(), dc.draw.isCueSize);
}

NoteHead PlaceHead(const DrawingContext& dc, const ElementRecord& e, int value, int x) {
    return PlaceHeadAt(dc, e, value, x, dc.sizeIndex(), dc.draw.isCueSize);
}

NoteHead PlaceHeadAt(const DrawingContext& dc, const ElementRecord& e, int value, int x, int size, bool cue) {
    NoteHead head;
    head.code = HeadCode(e, value);
    head.width = GlyphAdvanceAt(dc, head.code, size, cue);
    // A head the font lacks (or "Pas de tête") still keeps the column of a normal head for its stem.
    if (head.width == 0) head.width = 2 * dc.widths.noteheadHalfWidth[size][cue ? 1 : 0];
    head.left = x - head.width / 2 + StemPositionShiftAt(dc, value, size, cue);
    return head;
}

bool SingleStemUp(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, int y) {
    const auto n = e.noteWord();
    if (n.stemAutomatic()) return y < place.middleLine(dc.metrics);
    return n.stemFlag();
}

bool HasDrawnAccidental(const ElementRecord& e) {
    const auto n = e.noteWord();
    return e.isNote() && n.accidental() != Accidental::None && !n.hiddenAccidental();
}

bool SingleStemUpOnStaff(const StaffRecord& staff, const ElementRecord& e) {
    return SingleStemUpUnderClef(staff, e, ClefValueOnStaff(staff, e.x));
}

bool SingleStemUpUnderClef(const StaffRecord& staff, const ElementRecord& e, int clefValue) {
    const auto n = e.noteWord();
    if (!n.stemAutomatic()) return n.stemFlag();
    // Offsets count half spaces up from the staff's reference height; the middle line stands twelve below it.
    constexpr int middleLine = -12;
    const int lines = staff.lines().lineCount() > 0 ? static_cast<int>(staff.lines().lineCount()) : 5;
    return PitchToOffset(static_cast<int>(n.step()), static_cast<int>(e.w0().octave()), clefValue, 1, lines) <
           middleLine;
}

bool HasStem(const ElementRecord& e, int value) { return value >= 3 && e.noteWord().headShape() != NoStemShape; }

int FlagCount(int value) { return value >= 5 ? value - 4 : 0; }

int NoteBlobWord(const ElementRecord& e, int k) {
    if (!e.hasBlob() || k < 0) return 0;
    const auto payload = e.blob.payload();
    const auto at = static_cast<std::size_t>(2 * k);
    if (payload.size() < at + 2) return 0;
    return static_cast<std::int16_t>(payload[at] | payload[at + 1] << 8);
}

int StemLength(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, int value) {
    const int half = dc.metrics.halfSpace[place.size];
    const bool cue = Cue(dc);
    int length = (cue ? 5 : 7) * half;
    const int flagStep = cue ? half : 2 * half;
    if (value >= 6) length += (value - 5) * flagStep;
    return length + NoteBlobWord(e, 0);
}

Stem PlaceStem(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, int value,
               const NoteHead& head, int y, bool up, int rootY, int rootCode) {
    Stem stem;
    stem.up = up;
    const int t = dc.thickness.stem;
    if (dc.draw.alternateGlyphs) {
        stem.x = head.centre() - StemPositionShift(dc, value);
    } else if (up) {
        const auto se = GlyphAnchorPoint(dc, head.code, "stemUpSE");
        const int right = se ? Round(se->x * GlyphSpace(dc)) : head.width;
        stem.x = head.left + right - t / 2 - 2 * StemPositionShift(dc, value);
    } else {
        const auto nw = GlyphAnchorPoint(dc, head.code, "stemDownNW");
        const int left = nw ? Round(nw->x * GlyphSpace(dc)) : 0;
        stem.x = head.left + left + (t + 1) / 2;
    }
    stem.from = rootY + StemJoin(dc, place, rootCode, up);
    const int length = StemLength(dc, place, e, value);
    stem.to = up ? y + length : y - length;
    if (e.noteWord().stemAutomatic()) {
        const int middle = place.middleLine(dc.metrics);
        stem.to = up ? std::max(stem.to, middle) : std::min(stem.to, middle);
    }
    return stem;
}

int FlagGlyphCount(const DrawingContext& dc, int value) {
    const int flags = FlagCount(value);
    return dc.draw.alternateGlyphs ? flags : std::min(flags, 1);
}

FlagMark PlaceFlag(const DrawingContext& dc, const StaffPlace& place, const Stem& stem, int value, int k) {
    const int half = dc.metrics.halfSpace[place.size];
    const int flagStep = Cue(dc) ? half : 2 * half;
    const int strokes = std::min(FlagCount(value), MaxFlagStrokes);
    FlagMark flag;
    flag.code = stem.up ? 205 : 206;
    if (strokes > 1 && !dc.draw.alternateGlyphs) flag.code = (stem.up ? MultiFlagUpCode : MultiFlagDownCode) + strokes - 2;
    const int towardsHead = stem.up ? -1 : 1;
    const int attach = stem.to + towardsHead * k * flagStep;
    const auto corner = GlyphAnchorPoint(dc, flag.code, stem.up ? "stemUpNW" : "stemDownSW");
    flag.x = stem.x - dc.thickness.stem / 2;
    flag.y = attach - (corner ? Round(corner->y * GlyphSpace(dc)) : 0);
    return flag;
}

}  // namespace notavera
