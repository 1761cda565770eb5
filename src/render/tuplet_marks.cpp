// Tuplet marks: finding the group a note closes, placing its number and bracket clear of the notes, drawing them.
#include "render/tuplet_marks.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "render/beams.h"
#include "render/chords.h"
#include "render/music_font_table.h"
#include "render/primitives.h"

namespace notavera {
namespace {

constexpr unsigned GroupStart = 1;
constexpr unsigned GroupEnd = 2;
// The side bit's value that puts the mark below the notes.
constexpr unsigned BelowSide = 1;
// SMuFL's default for a font whose metadata lacks it, in staff spaces.
constexpr double DefaultBracketThickness = 0.16;

int Round(double v) { return static_cast<int>(std::lround(v)); }

const ElementRecord& At(const StaffRecord& staff, int index) { return staff.elements[static_cast<std::size_t>(index)]; }

ChordRun RunOf(const StaffRecord& staff, int index) {
    return IsChordMember(At(staff, index)) ? FindChordRun(staff, index) : ChordRun{index, index};
}

bool RunMarked(const StaffRecord& staff, ChordRun run, unsigned bit) {
    for (int j = run.first; j <= run.last; ++j) {
        if ((At(staff, j).w0().groupMark() & bit) != 0) return true;
    }
    return false;
}

// What one note, chord or rest of the group occupies: its heads' extent and its highest and lowest point.
struct Extent {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    std::optional<BeamGroupRange> beam;  // the beam group it is drawn in, with its stem
};

// The stems the group's beams give their notes, laid out once per beam group.
class BeamStems {
public:
    BeamStems(DrawingContext& dc, const StaffRecord& staff) : dc_(dc), staff_(staff) {}

    const BeamLayout* layoutOf(BeamGroupRange range) {
        auto it = layouts_.find(range.first);
        if (it == layouts_.end()) it = layouts_.emplace(range.first, LayOutBeamGroup(dc_, staff_, range)).first;
        return it->second ? &*it->second : nullptr;
    }
    std::optional<int> stemEnd(BeamGroupRange range, const ElementRecord& tip) {
        const BeamLayout* layout = layoutOf(range);
        if (layout == nullptr) return std::nullopt;
        for (const BeamedStem& s : layout->stems) {
            if (&At(staff_, s.index) == &tip) return s.to;
        }
        return std::nullopt;
    }

private:
    DrawingContext& dc_;
    const StaffRecord& staff_;
    std::map<int, std::optional<BeamLayout>> layouts_;
};

void TakeStem(DrawingContext& dc, const StaffRecord& staff, BeamStems& beams, const NoteLayout& tip,
              const NoteLayout& root, Extent& x) {
    if (!HasStem(*tip.element, tip.value)) return;
    const int index = static_cast<int>(tip.element - staff.elements.data());
    x.beam = tip.inBeam ? FindBeamGroup(staff, index) : std::nullopt;
    std::optional<int> end = x.beam ? beams.stemEnd(*x.beam, *tip.element) : std::nullopt;
    if (!end) {
        const ElementSizeScope scope(dc, tip.place, tip.element->w0().cueSize());
        end = NoteStem(dc, tip, root).to;
    }
    x.top = std::max(x.top, *end);
    x.bottom = std::min(x.bottom, *end);
}

void TakeHead(DrawingContext& dc, const NoteLayout& n, Extent& x, bool firstHead) {
    const ElementSizeScope scope(dc, n.place, n.element->w0().cueSize());
    const NoteHead head = ColumnHead(dc, n);
    const int half = dc.metrics.halfSpace[n.place.size];
    const int left = head.left + n.headShift, right = left + head.width;
    x.left = firstHead ? left : std::min(x.left, left);
    x.right = firstHead ? right : std::max(x.right, right);
    x.top = firstHead ? n.y + half : std::max(x.top, n.y + half);
    x.bottom = firstHead ? n.y - half : std::min(x.bottom, n.y - half);
}

std::optional<Extent> NoteExtent(DrawingContext& dc, const StaffRecord& staff, BeamStems& beams, int index) {
    const ElementRecord& e = At(staff, index);
    Extent x;
    if (IsChordMember(e)) {
        const auto chord = LayOutChord(dc, staff, FindChordRun(staff, index));
        if (!chord) return std::nullopt;
        bool firstHead = true;
        for (const ChordMember& m : chord->walk) {
            TakeHead(dc, m.layout, x, firstHead);
            firstHead = false;
        }
        TakeStem(dc, staff, beams, chord->stemMember().layout, chord->root().layout, x);
        return x;
    }
    const auto place = PlaceOfElement(dc, staff, e);
    if (!place) return std::nullopt;
    NoteLayout n = SingleNoteLayout(dc, *place, e);
    if (const auto up = BeamGroupStemUpAt(dc, staff, index)) n.stemUp = *up;
    TakeHead(dc, n, x, true);
    TakeStem(dc, staff, beams, n, n, x);
    return x;
}

// A rest stands around its height; a space and a half either way holds every rest glyph of the staff.
std::optional<Extent> RestExtent(const DrawingContext& dc, const StaffRecord& staff, const ElementRecord& e) {
    const auto place = PlaceOfElement(dc, staff, e);
    if (!place) return std::nullopt;
    const int space = dc.metrics.staffSpace[place->size];
    const int y = PitchHeight(dc, *place, e);
    const int x = e.x + e.shift;
    return Extent{x - space / 2, x + space, y + 3 * space / 2, y - 3 * space / 2, std::nullopt};
}

struct GroupExtent {
    Extent all;
    bool oneBeam = true;  // every note of the group is drawn under one beam that joins nothing else
    int count = 0;
};

GroupExtent MeasureGroup(DrawingContext& dc, const StaffRecord& staff, TupletRange range, bool above) {
    BeamStems beams(dc, staff);
    GroupExtent g;
    std::optional<BeamGroupRange> shared;
    for (int j = range.first; j <= range.last; ++j) {
        const ElementRecord& e = At(staff, j);
        if (e.isSign() || !IsDrawn(dc, e)) continue;
        const ChordRun run = RunOf(staff, j);
        const auto x = e.isRest() ? RestExtent(dc, staff, e) : NoteExtent(dc, staff, beams, j);
        j = run.last;
        if (!x) continue;
        if (e.isNote()) {
            const bool sameBeam = x->beam && (!shared || shared->first == x->beam->first);
            g.oneBeam = g.oneBeam && sameBeam;
            if (x->beam) shared = x->beam;
        }
        Extent& a = g.all;
        a = g.count == 0 ? *x
                         : Extent{std::min(a.left, x->left), std::max(a.right, x->right), std::max(a.top, x->top),
                                  std::min(a.bottom, x->bottom), std::nullopt};
        ++g.count;
    }
    if (!shared || shared->first < range.first || shared->last > range.last) g.oneBeam = false;
    g.all.beam = g.oneBeam ? shared : std::nullopt;
    // A number on the heads' side needs its bracket.
    const BeamLayout* beam = g.all.beam ? beams.layoutOf(*g.all.beam) : nullptr;
    if (beam == nullptr || beam->up != above) g.oneBeam = false;
    if (g.oneBeam) {
        // The number stands by the beam's middle, where the group's beam layout puts it.
        const int middle = (g.all.left + g.all.right) / 2;
        g.all.top = g.all.bottom = Round(beam->outerEdgeAt(middle));
    }
    return g;
}

std::string DigitsOf(unsigned number) {
    std::string digits;
    for (const char c : std::to_string(number)) digits.push_back(static_cast<char>(TupletDigitCode + (c - '0')));
    return digits;
}

// The number's height and width in page units, from the font's boxes at the current size.
void MeasureDigits(const DrawingContext& dc, const std::string& digits, int& height, int& width) {
    double top = 0, advance = 0;
    for (const char c : digits) {
        const MusicGlyph* g = WrittenGlyph(dc, static_cast<unsigned char>(c));
        if (g == nullptr) continue;
        top = std::max(top, g->box.ne.y);
        advance += g->advance;
    }
    height = Round(top * GlyphSpace(dc));
    width = Round(advance * GlyphSpace(dc));
}

}  // namespace

std::optional<TupletRange> FindTupletEndingAt(const StaffRecord& staff, int index) {
    if (index < 0 || index >= static_cast<int>(staff.elements.size()) || At(staff, index).isSign()) return std::nullopt;
    const ChordRun end = RunOf(staff, index);
    if (!RunMarked(staff, end, GroupEnd)) return std::nullopt;
    int first = -1;
    for (int j = end.last; j >= 0; --j) {
        const ElementRecord& e = At(staff, j);
        if (e.isSign()) continue;
        const ChordRun run = RunOf(staff, j);
        // The end of an earlier group bounds this one.
        if (run.last < end.first && RunMarked(staff, run, GroupEnd)) break;
        first = run.first;
        if (RunMarked(staff, run, GroupStart)) break;
        j = run.first;
    }
    if (first < 0) return std::nullopt;
    return TupletRange{first, end.last};
}

std::optional<TupletMark> LayOutTupletMark(DrawingContext& dc, const StaffRecord& staff, TupletRange range) {
    const ElementRecord& opener = At(staff, range.first);
    const unsigned number = opener.w1().numerator();
    if (number == 0) return std::nullopt;
    const auto place = PlaceOfElement(dc, staff, opener);
    if (!place) return std::nullopt;
    const bool above = opener.w0().groupMarkSide() != BelowSide;
    const GroupExtent g = MeasureGroup(dc, staff, range, above);
    if (g.count == 0) return std::nullopt;

    const ElementSizeScope scope(dc, *place, opener.w0().cueSize());
    TupletMark mark;
    mark.digits = DigitsOf(number);
    mark.above = above;
    mark.bracket = !g.oneBeam;
    const double space = GlyphSpace(dc);
    const int half = Round(space / 2);
    int height = 0, width = 0;
    MeasureDigits(dc, mark.digits, height, width);

    // Clear of the notes and, unless it rides on a beam, of the staff.
    int edge = mark.above ? g.all.top : g.all.bottom;
    if (!g.oneBeam) edge = mark.above ? std::max(edge, place->topLine) : std::min(edge, place->bottomLine(dc.metrics));
    const int numberBottom = mark.above ? edge + half : edge - half - height;
    mark.baseline = numberBottom;
    mark.left = g.all.left;
    mark.right = g.all.right;
    mark.centreX = (mark.left + mark.right) / 2;
    mark.bracketY = numberBottom + height / 2;
    mark.hook = mark.above ? -half : half;
    const int pad = Round(space / 3);
    mark.openLeft = mark.centreX - width / 2 - pad;
    mark.openRight = mark.centreX + (width + 1) / 2 + pad;
    double thickness = DefaultBracketThickness;
    if (dc.musicFont != nullptr)
        thickness = dc.musicFont->metadata().engravingDefault("tupletBracketThickness").value_or(thickness);
    mark.thickness = std::max(1, Round(thickness * space));
    return mark;
}

void DrawTupletMarkEndingAt(DrawingContext& dc, const StaffRecord& staff, int index) {
    const auto range = FindTupletEndingAt(staff, index);
    if (!range) return;
    const auto mark = LayOutTupletMark(dc, staff, *range);
    if (!mark) return;
    const auto place = PlaceOfElement(dc, staff, At(staff, range->first));
    const ElementSizeScope scope(dc, *place, At(staff, range->first).w0().cueSize());
    if (mark->bracket) {
        const int t = mark->thickness;
        const int y = mark->bracketY;
        if (mark->openLeft > mark->left) DrawHLine(dc, mark->left, mark->openLeft, y, t);
        if (mark->right > mark->openRight) DrawHLine(dc, mark->openRight, mark->right, y, t);
        const int inwards = t / 2;
        DrawVLine(dc, y + mark->hook, y + (mark->above ? t / 2 : -t / 2), mark->left + inwards, t);
        DrawVLine(dc, y + mark->hook, y + (mark->above ? t / 2 : -t / 2), mark->right - inwards, t);
    }
    PutGlyphText(dc, mark->centreX, mark->baseline, mark->digits, true);
}

}  // namespace notavera
