// The staff ruler's rules: geometry of the miniature, hit testing, the modes, moves, grouping and keys.
#include "print/staff_ruler.h"

#include <algorithm>

namespace notavera {

namespace sm = staff_model;

namespace {

constexpr unsigned maxDistance = 1023;  // the widest value the 10-bit distance holds
// "Portée isolée" moves a staff down only while the next one keeps more room than this.
constexpr unsigned minNextDistance = 4;

}  // namespace

int StaffRuler::staffCount() const {
    return std::clamp(static_cast<int>(model_.staffCount()), 0, StaffLayoutModel::maxStaves);
}

int StaffRuler::staffSpace(int i) const {
    const StaffMetrics m = DeriveStaffMetrics(static_cast<int>(model_.definition()), sheet_.ratios);
    return m.staffSpace[sm::Small::get(model_.staffWord(i)) ? 1 : 0];
}

std::vector<RulerStaff> StaffRuler::staves() const {
    std::vector<RulerStaff> out;
    const int n = staffCount();
    out.reserve(static_cast<std::size_t>(n));
    int y = sheet_.height - sheet_.topOffset;
    const int indent = static_cast<int>(model_.indentMm()) * 10;
    const int length = static_cast<int>(model_.lineLengthMm()) * 10;
    for (int i = 0; i < n; ++i) {
        const std::uint32_t w = model_.staffWord(i);
        const int space = staffSpace(i);
        y -= static_cast<int>(sm::Distance::get(w)) * space;
        const int left = sheet_.leftOffset + (sm::Indented::get(w) ? indent : 0);
        out.push_back({y, y - space * static_cast<int>(sm::LineCount::get(w)), left, left + length});
    }
    return out;
}

// Groups read top to bottom: 1 opens, 2 closes, 3 is a group of one; a group left open ends with the page.
template <typename Grouping>
static void CollectGroups(const StaffLayoutModel& model, const std::vector<RulerStaff>& staves, int offset,
                          bool blocks, std::vector<RulerGroupLine>& out) {
    // An index rather than an optional: g++ -O2 cannot follow the optional through the lambda and warns.
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t open = none;
    const auto close = [&](std::size_t first, std::size_t last) {
        out.push_back({staves[first].left - offset, staves[first].top, staves[last].bottom,
                       blocks && sm::Brace::get(model.staffWord(static_cast<int>(first))) != 0});
    };
    for (std::size_t i = 0; i < staves.size(); ++i) {
        const unsigned g = Grouping::get(model.staffWord(static_cast<int>(i)));
        if (g == 3) {
            close(i, i);
        } else if (g == 1) {
            if (open != none) close(open, i - 1);
            open = i;
        } else if (g == 2 && open != none) {
            close(open, i);
            open = none;
        }
    }
    if (open != none) close(open, staves.size() - 1);
}

std::vector<RulerGroupLine> StaffRuler::groupLines() const {
    const std::vector<RulerStaff> all = staves();
    std::vector<RulerGroupLine> out;
    if (all.empty()) return out;
    CollectGroups<sm::SystemGrouping>(model_, all, 0, false, out);
    // Two half-spaces of the normal staff.
    const int normalSpace = DeriveStaffMetrics(static_cast<int>(model_.definition()), sheet_.ratios).staffSpace[0];
    CollectGroups<sm::BlockGrouping>(model_, all, normalSpace, true, out);
    return out;
}

std::optional<int> StaffRuler::staffAt(int y) const {
    const std::vector<RulerStaff> all = staves();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (y <= all[i].top && y >= all[i].bottom) return static_cast<int>(i);
    return std::nullopt;
}

int StaffRuler::bottomMargin() const {
    const std::vector<RulerStaff> all = staves();
    return all.empty() ? sheet_.height - sheet_.topOffset : all.back().bottom;
}

std::string StaffRuler::statusText() const {
    if (!selected_ || *selected_ >= staffCount()) return {};
    const std::uint32_t w = model_.staffWord(*selected_);
    std::string s = "N°" + std::to_string(*selected_ + 1) + " (" + std::to_string(sm::LineCount::get(w)) + " lignes)";
    if (sm::Small::get(w)) s += ", Petite";
    if (sm::Invisible::get(w)) s += ", Invisible";
    if (sm::Grey::get(w)) s += ", Grisée";
    if (sm::Accessory::get(w)) s += ", Accessoire";
    return s;
}

RulerResult StaffRuler::press(int y) {
    const std::optional<int> hit = staffAt(y);
    if (!hit) return RulerResult::Unchanged;
    lastDragY_ = y;
    return pressStaff(*hit);
}

RulerResult StaffRuler::pressStaff(int i) {
    if (i < 0 || i >= staffCount()) return RulerResult::Unchanged;
    selected_ = i;
    if (picking) return RulerResult::Changed;
    std::uint32_t& w = model_.staffWord(i);
    const auto toggle = [&w]<typename Field>(Field) { Field::set(w, Field::get(w) ^ 1u); };
    switch (mode) {
    case RulerMode::IsolatedStaff:
    case RulerMode::StaffBlock: break;  // the press only starts a drag
    case RulerMode::Indentation: toggle(sm::Indented{}); break;
    case RulerMode::Lines: sm::LineCount::set(w, static_cast<unsigned>(std::clamp(linesValue, 1, 10))); break;
    case RulerMode::Grey: toggle(sm::Grey{}); break;
    case RulerMode::Small: toggle(sm::Small{}); break;
    case RulerMode::Invisible: toggle(sm::Invisible{}); break;
    case RulerMode::Accessory: toggle(sm::Accessory{}); break;
    case RulerMode::Systems:
    case RulerMode::Blocks:
    case RulerMode::Braces: return group(i);
    }
    return RulerResult::Changed;
}

RulerResult StaffRuler::drag(int y) {
    if (!selected_ || !moveMode()) return RulerResult::Unchanged;
    const int space = staffSpace(*selected_);
    RulerResult r = RulerResult::Unchanged;
    if (y - lastDragY_ > space)
        r = moveUp(*selected_);
    else if (lastDragY_ - y > space)
        r = moveDown(*selected_);
    else
        return r;
    lastDragY_ = y;
    return r;
}

RulerResult StaffRuler::moveUp(int i) {
    if (i < 0 || i >= staffCount()) return RulerResult::Unchanged;
    std::uint32_t& w = model_.staffWord(i);
    const unsigned d = sm::Distance::get(w);
    if (d == 0) return RulerResult::Unchanged;
    sm::Distance::set(w, d - 1);
    // The staves below stay where they are: the next one takes the interline back.
    if (mode == RulerMode::IsolatedStaff && i + 1 < staffCount()) {
        std::uint32_t& next = model_.staffWord(i + 1);
        sm::Distance::set(next, std::min(sm::Distance::get(next) + 1, maxDistance));
    }
    return RulerResult::Changed;
}

RulerResult StaffRuler::moveDown(int i) {
    if (i < 0 || i >= staffCount()) return RulerResult::Unchanged;
    std::uint32_t& w = model_.staffWord(i);
    const unsigned d = sm::Distance::get(w);
    if (d >= maxDistance) return RulerResult::Unchanged;
    const bool last = i + 1 >= staffCount();
    if (mode == RulerMode::IsolatedStaff && !last) {
        std::uint32_t& next = model_.staffWord(i + 1);
        const unsigned nd = sm::Distance::get(next);
        if (nd <= minNextDistance) return RulerResult::Unchanged;
        sm::Distance::set(next, nd - 1);
    }
    sm::Distance::set(w, d + 1);
    return RulerResult::Changed;
}

void StaffRuler::clearGroupings(int from, RulerMode groupMode) {
    for (int j = std::max(from, 0); j < staffCount(); ++j) {
        std::uint32_t& w = model_.staffWord(j);
        if (groupMode == RulerMode::Systems) sm::SystemGrouping::set(w, 0);
        sm::BlockGrouping::set(w, 0);
        sm::Brace::set(w, 0);
    }
}

RulerResult StaffRuler::group(int i) {
    // A start remembered in another grouping mode does not carry over to this one.
    if (groupStart_ && groupMode_ != mode) groupStart_.reset();
    if (!groupStart_) {
        groupStart_ = i;
        groupMode_ = mode;
        clearGroupings(i, mode);
        return RulerResult::Changed;
    }
    const int start = *groupStart_;
    if (i < start) return RulerResult::Refused;
    for (int j = start; j <= i; ++j) {
        const unsigned v = start == i ? 3 : j == start ? 1 : j == i ? 2 : 0;
        std::uint32_t& w = model_.staffWord(j);
        if (mode == RulerMode::Systems) {
            sm::SystemGrouping::set(w, v);
        } else {
            sm::BlockGrouping::set(w, v);
            sm::Brace::set(w, mode == RulerMode::Braces && start != i ? 1 : 0);
        }
    }
    if (mode == RulerMode::Systems) clearGroupings(i + 1, RulerMode::Systems);
    groupStart_.reset();
    return RulerResult::Changed;
}

RulerResult StaffRuler::key(RulerKey k) {
    const int n = staffCount();
    if (n == 0) return RulerResult::Unchanged;
    switch (k) {
    case RulerKey::Up:
    case RulerKey::V:
    case RulerKey::Num9:
        selected_ = selected_ ? std::max(*selected_ - 1, 0) : 0;
        return RulerResult::Changed;
    case RulerKey::Down:
    case RulerKey::C:
    case RulerKey::Num3:
        selected_ = selected_ ? std::min(*selected_ + 1, n - 1) : 0;
        return RulerResult::Changed;
    case RulerKey::Space:
    case RulerKey::NumPlus:
        return selected_ ? pressStaff(*selected_) : RulerResult::Unchanged;
    case RulerKey::M:
    case RulerKey::Num7:
    case RulerKey::NumMinus:
        return selected_ && moveMode() ? moveUp(*selected_) : RulerResult::Unchanged;
    case RulerKey::N:
    case RulerKey::Num1:
    case RulerKey::NumDecimal:
        return selected_ && moveMode() ? moveDown(*selected_) : RulerResult::Unchanged;
    }
    return RulerResult::Unchanged;
}

}  // namespace notavera
