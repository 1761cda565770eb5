// The half widths of centred music-font strings, measured during the metafile export's measuring pass and
// taken back in the same order by the metafile pass, which cannot measure.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace notavera {

class CentredWidthQueue {
public:
    static constexpr std::size_t Capacity = 1250;

    // Appends a half width; once the queue holds Capacity values further ones are not kept.
    void push(int halfWidth);
    // The next half width in recording order; nullopt when none is left. The queue is emptied when it runs out.
    std::optional<int> pop();
    void clear();
    std::size_t size() const { return values_.size() - next_; }

private:
    std::vector<int> values_;
    std::size_t next_ = 0;
};

}  // namespace notavera
