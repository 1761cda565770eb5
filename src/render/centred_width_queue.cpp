// The replay queue of centred widths.
#include "render/centred_width_queue.h"

namespace notavera {

void CentredWidthQueue::push(int halfWidth) {
    if (values_.size() < Capacity) values_.push_back(halfWidth);
}

std::optional<int> CentredWidthQueue::pop() {
    if (next_ >= values_.size()) {
        clear();
        return std::nullopt;
    }
    const int v = values_[next_++];
    if (next_ == values_.size()) clear();
    return v;
}

void CentredWidthQueue::clear() {
    values_.clear();
    next_ = 0;
}

}  // namespace notavera
