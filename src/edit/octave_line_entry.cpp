// Writing and erasing octave lines: the notes' written octave, their line code and the line's label.
#include "edit/octave_line_entry.h"

#include <algorithm>
#include <array>
#include <span>

namespace notavera {

namespace {

constexpr unsigned labelTextType = 3;
constexpr int labelCodeSpaces = 8;
// The labels' characters in the text font: "8va" and "15ma" as that font spells them.
constexpr std::array<std::uint8_t, 4> octaveLabel{'B', 'v', 'a', ' '};
constexpr std::array<std::uint8_t, 3> doubleOctaveLabel{0x83, 0x87, 0x20};

bool Above(unsigned code) { return code <= 2; }
bool Octave(unsigned code) { return code == 1 || code == 3; }

ElementRecord MakeLabel(int x, unsigned code, const OctaveLabelMeasures& m) {
    ElementRecord label;
    label.x = x;
    label.w0().setKind(ElementKind::Sign);
    label.w1().setNumerator(1);
    label.w1().setDenominator(1);
    label.w1().setOctaveShift(code);
    const auto sign = label.signWord();
    sign.setSignType(SignType::Text);
    sign.setSubValue(labelTextType);
    sign.setCode(static_cast<unsigned>(std::clamp(labelCodeSpaces * m.staffSpace, 0, 255)));
    label.param = Above(code) ? m.staffHeight : -2 * m.staffHeight;
    if (Octave(code)) label.attachBlob(octaveLabel);
    else label.attachBlob(doubleOctaveLabel);
    return label;
}

unsigned Wrapped(int octave) { return static_cast<unsigned>(octave) & 7u; }

}  // namespace

int OctaveLineShift(unsigned code) {
    if (code == 0 || code > lastOctaveLineCode) return 0;
    return Above(code) ? static_cast<int>(code) : 2 - static_cast<int>(code);
}

bool IsOctaveLineLabel(const ElementRecord& e) { return e.isSign() && e.w1().octaveShift() != 0; }

int OctaveLine(StaffRecord& staff, const RegionSpan& span, unsigned code, const OctaveLabelMeasures& measures) {
    auto& els = staff.elements;
    int first = std::max(span.first, 0);
    int last = std::min(span.last, static_cast<int>(els.size()) - 1);
    while (first <= last && IsOctaveLineLabel(els[static_cast<std::size_t>(first)])) {
        els.erase(els.begin() + first);
        --last;
    }
    bool anyNote = false;
    for (int i = first; i <= last; ++i) {
        ElementRecord& e = els[static_cast<std::size_t>(i)];
        if (!e.isNote()) continue;
        anyNote = true;
        const int sounding = static_cast<int>(e.w0().octave()) + OctaveLineShift(e.w1().octaveShift());
        e.w0().setOctave(Wrapped(sounding - OctaveLineShift(code)));
        e.w1().setOctaveShift(code);
    }
    if (code == 0 || code > lastOctaveLineCode || !anyNote) return last;
    const int x = els[static_cast<std::size_t>(first)].x;
    els.insert(els.begin() + first, MakeLabel(x, code, measures));
    return last + 1;
}

}  // namespace notavera
