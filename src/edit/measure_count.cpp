// Reading measure numbers and bar counts from the texts of a staff, and counting a line's measures.
#include "edit/measure_count.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "edit/bar_table.h"

namespace notavera {

namespace {

constexpr unsigned measureNumberType = 1;
constexpr unsigned measureNumberCategory = 3;

bool IsMultiBarRest(const ElementRecord& e) {
    return e.isRest() && e.noteWord().durationCode() == NoteWordView<const std::uint32_t>::multiBarRestCode;
}

// The signs that go with an element stop at the next note, rest or bar.
bool EndsNeighbourhood(const ElementRecord& e) { return !e.isSign() || e.isSignOfType(SignType::Bar); }

// The bar count among the signs on one side of the rest, with its distance from the rest.
std::optional<std::pair<int, int>> CountOnSide(const StaffRecord& staff, int rest, int step) {
    const auto& els = staff.elements;
    const int x = els[static_cast<std::size_t>(rest)].x;
    for (int i = rest + step; i >= 0 && i < static_cast<int>(els.size()); i += step) {
        const ElementRecord& e = els[static_cast<std::size_t>(i)];
        if (EndsNeighbourhood(e)) break;
        if (IsMeasureNumberText(e)) continue;
        if (const std::optional<int> n = TextNumber(e); n && *n > 0) return std::pair{*n, std::abs(e.x - x)};
    }
    return std::nullopt;
}

}  // namespace

bool IsMeasureNumberText(const ElementRecord& e) {
    if (!e.isSignOfType(SignType::Text)) return false;
    const auto w = e.signWord();
    return w.textType() == measureNumberType && w.textCategory() == measureNumberCategory;
}

std::optional<int> TextNumber(const ElementRecord& e) {
    if (!e.isSignOfType(SignType::Text) || !e.hasBlob()) return std::nullopt;
    const auto payload = e.blob.payload();
    std::string_view text(reinterpret_cast<const char*>(payload.data()), payload.size());
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text.remove_prefix(first);
    text.remove_suffix(text.size() - (text.find_last_not_of(' ') + 1));
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<int> MeasureNumberOf(const StaffRecord& staff) {
    for (const ElementRecord& e : staff.elements) {
        if (!IsMeasureNumberText(e)) continue;
        if (const std::optional<int> n = TextNumber(e)) return n;
    }
    return std::nullopt;
}

int MultiBarRestCount(const StaffRecord& staff, int rest) {
    const auto before = CountOnSide(staff, rest, -1);
    const auto after = CountOnSide(staff, rest, 1);
    if (before && (!after || before->second <= after->second)) return before->first;
    return after ? after->first : 1;
}

int MeasuresOfLine(const PageRecord& page, int first) {
    if (first < 0 || first >= static_cast<int>(page.staves.size())) return 0;
    long long count = static_cast<long long>(BuildBarTable(page, first).size());
    const StaffRecord& staff = page.staves[static_cast<std::size_t>(first)];
    for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i)
        if (IsMultiBarRest(staff.elements[static_cast<std::size_t>(i)])) count += MultiBarRestCount(staff, i) - 1;
    // Counts written in texts are the user's: a line never claims more measures than an int holds.
    return static_cast<int>(std::min<long long>(count, 1 << 30));
}

}  // namespace notavera
