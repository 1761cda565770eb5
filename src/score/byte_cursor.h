// A bounded reader over stored bytes: every read says whether the bytes were there, so a damaged
// length or count can never make a decoder read past the end of what was loaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "score/little_endian.h"

namespace notavera {

class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }

    // The next n bytes, or an empty span (and nothing consumed) when fewer remain.
    bool take(std::size_t n, std::span<const std::uint8_t>& out) {
        if (n > remaining()) return false;
        out = bytes_.subspan(pos_, n);
        pos_ += n;
        return true;
    }
    // A little-endian u16 at the cursor, without consuming it.
    bool peekU16(std::uint16_t& out) const {
        if (remaining() < 2) return false;
        out = le::u16(bytes_, pos_);
        return true;
    }
    bool u16(std::uint16_t& out) {
        if (!peekU16(out)) return false;
        pos_ += 2;
        return true;
    }
    bool u32(std::uint32_t& out) {
        if (remaining() < 4) return false;
        out = le::u32(bytes_, pos_);
        pos_ += 4;
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

}  // namespace notavera
