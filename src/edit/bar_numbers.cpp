// Numbering the lines of a page and erasing their numbers.
#include "edit/bar_numbers.h"

#include <algorithm>
#include <string>

#include "edit/measure_count.h"
#include "score/text_records.h"

namespace notavera {
namespace {

bool FirstOfLine(const StaffRecord& staff) { return staff.voice().positionInGroup() <= 1; }

// Where the number goes: in front of the first note, else of the first element; none on an empty staff.
std::optional<std::size_t> NumberPlace(const StaffRecord& staff) {
    const auto& els = staff.elements;
    if (els.empty()) return std::nullopt;
    const auto note = std::find_if(els.begin(), els.end(), [](const ElementRecord& e) { return e.isNote(); });
    return static_cast<std::size_t>((note != els.end() ? note : els.begin()) - els.begin());
}

}  // namespace

ElementRecord MeasureNumberText(int x, int number, const StaffMetrics& metrics, bool smallStaff) {
    const int size = smallStaff ? 1 : 0;
    TextAttributes a;
    a.category = TextCategory::Marks;
    a.type = MeasureNumberMark;
    a.style = TextStyle::Italic;
    a.orientation = TextOrientation::Horizontal;
    a.fontIndex = TimesFontIndex;
    a.size = 5 * metrics.halfSpace[size];
    const int param = TextParamFor(metrics.halfSpace[size], 0, metrics.staffSpace[size]);
    return MakeTextElement(x, param, a, std::to_string(number));
}

int NumberMeasuresOfPage(PageRecord& page, const StaffMetrics& metrics, MeasureNumbering& numbering, bool erase) {
    int changed = 0;
    for (int s = 0; s < static_cast<int>(page.staves.size()); ++s) {
        StaffRecord& staff = page.staves[static_cast<std::size_t>(s)];
        if (!FirstOfLine(staff)) continue;
        auto& els = staff.elements;
        const auto old = std::find_if(els.begin(), els.end(), IsMeasureNumberText);
        if (old != els.end()) {
            els.erase(old);
            ++changed;
        }
        if (erase) continue;
        if (numbering.counter != 0 || numbering.offset != 0) {
            if (const auto at = NumberPlace(staff)) {
                const int x = els[*at].x;
                els.insert(els.begin() + static_cast<std::ptrdiff_t>(*at),
                           MeasureNumberText(x, numbering.counter + numbering.offset, metrics, staff.key().small()));
                ++changed;
            }
        } else {
            numbering.counter = 1;
        }
        numbering.counter += MeasuresOfLine(page, s);
    }
    return changed;
}

}  // namespace notavera
