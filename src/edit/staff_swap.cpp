// Exchanging the music of two staves.
#include "edit/staff_swap.h"

#include <utility>

namespace notavera {

namespace {

// keyWord bits 8–13: the key signature's kind and count and the old notation, which belong to the music.
constexpr std::uint32_t musicKeyBits = 0x3Fu << 8;

}  // namespace

void SwapStaffContents(PageRecord& page, int a, int b) {
    StaffRecord& first = page.staves[static_cast<std::size_t>(a)];
    StaffRecord& second = page.staves[static_cast<std::size_t>(b)];
    std::swap(first.elements, second.elements);
    std::swap(first.voiceWord, second.voiceWord);
    const std::uint32_t firstKey = first.keyWord & musicKeyBits;
    first.keyWord = (first.keyWord & ~musicKeyBits) | (second.keyWord & musicKeyBits);
    second.keyWord = (second.keyWord & ~musicKeyBits) | firstKey;
}

}  // namespace notavera
