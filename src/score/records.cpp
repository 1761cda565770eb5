// Blob handling and stored sizes of the score records.
#include "score/records.h"

#include <algorithm>

namespace notavera {

ElementBlob ElementBlob::make(SignType owner, std::span<const std::uint8_t> payload) {
    const std::size_t total = std::min<std::size_t>(payload.size() + 4, 0xFFFF);
    std::vector<std::uint8_t> bytes(total);
    bytes[0] = static_cast<std::uint8_t>(total & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(total >> 8);
    bytes[2] = static_cast<std::uint8_t>(static_cast<unsigned>(owner));
    bytes[3] = 0;
    std::copy_n(payload.begin(), total - 4, bytes.begin() + 4);
    return ElementBlob(std::move(bytes));
}

std::uint16_t ElementBlob::ownerType() const {
    return bytes_.size() < 4 ? 0 : static_cast<std::uint16_t>(bytes_[2] | (bytes_[3] << 8));
}

std::span<const std::uint8_t> ElementBlob::payload() const {
    if (bytes_.size() <= 4) return {};
    return std::span<const std::uint8_t>(bytes_).subspan(4);
}

void ElementRecord::attachBlob(std::span<const std::uint8_t> payload) {
    const auto owner = isSign() ? signWord().signType() : SignType::Bar;
    blob = ElementBlob::make(owner, payload);
    w0().setHasBlob(true);
}

void ElementRecord::detachBlob() {
    blob = ElementBlob();
    w0().setHasBlob(false);
}

std::size_t StaffRecord::storedSize() const {
    std::size_t size = 16;
    for (const auto& e : elements) size += e.storedSize();
    return size;
}

std::size_t PageRecord::storedLength() const {
    std::size_t size = 27;
    for (const auto& s : staves) size += s.storedSize();
    return size;
}

}  // namespace notavera
