// Playing Windows metafiles onto a canvas: the pictures of the drawing layer. The core asks through this
// interface; the program gives its user interface the player it was built with (none: pictures draw nothing).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/canvas.h"

namespace notavera {

// What a metafile says about its own size: its width and height in tenths of a millimetre.
struct MetafileSize {
    int width = 0;
    int height = 0;
};

class MetafilePlayer {
public:
    virtual ~MetafilePlayer() = default;
    // Nothing when the bytes are not a metafile the player can read.
    virtual std::optional<MetafileSize> measure(std::span<const std::uint8_t> metafile) const = 0;
    // Draws the whole picture stretched into `target` (logical units of the canvas). False when it cannot be
    // read; what was drawn before the damage stays.
    virtual bool play(Canvas& canvas, Box target, std::span<const std::uint8_t> metafile) const = 0;
};

}  // namespace notavera
