// Moving the rest of a line to the line above.
#include "edit/line_joining.h"

#include <iterator>

namespace notavera {

int LineAbove(const PageRecord& page, int staff) {
    const unsigned voice = page.staves[static_cast<std::size_t>(staff)].voice().voice();
    for (int i = staff - 1; i >= 0; --i)
        if (page.staves[static_cast<std::size_t>(i)].voice().voice() == voice) return i;
    return -1;
}

int MoveRestOfLine(PageRecord& page, int from, int first, int to, int gap, int firstX) {
    auto& source = page.staves[static_cast<std::size_t>(from)].elements;
    auto& target = page.staves[static_cast<std::size_t>(to)].elements;
    const auto begin = source.begin() + first;
    const int before = first > 0 ? begin->x - std::prev(begin)->x : gap;
    const int start = target.empty() ? firstX : target.back().x + before;
    const int offset = start - begin->x;
    const int moved = static_cast<int>(source.end() - begin);
    for (auto it = begin; it != source.end(); ++it) {
        it->x += offset;
        target.push_back(std::move(*it));
    }
    source.erase(begin, source.end());
    return moved;
}

}  // namespace notavera
