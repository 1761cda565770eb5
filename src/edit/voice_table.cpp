// Numbering the voices of a page by systems.
#include "edit/voice_table.h"

#include <algorithm>

namespace notavera {

int ApplyVoiceTable(PageRecord& page, int n) {
    if (n < 1) return 0;
    const int count = static_cast<int>(page.staves.size());
    int changed = 0;
    for (int i = 0; i < count; ++i) {
        StaffRecord& staff = page.staves[static_cast<std::size_t>(i)];
        const std::uint32_t before = staff.voiceWord;
        const int systemStart = i - i % n;
        const auto position = static_cast<unsigned>(i % n + 1);
        staff.voice().setPositionInGroup(position);
        staff.voice().setGroupSize(static_cast<unsigned>(std::min(n, count - systemStart)));
        staff.voice().setVoice(position);
        if (staff.voiceWord != before) ++changed;
    }
    return changed;
}

}  // namespace notavera
