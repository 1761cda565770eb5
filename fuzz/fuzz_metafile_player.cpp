// libFuzzer target of the metafile player: any bytes are measured and played, as a picture element's metafile or
// a pasted picture would be, with their bitmaps, onto a recording canvas.
#include <cstdint>
#include <span>

#include "platform/headless/recording_canvas.h"
#include "platform/wmf/libwmf_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace notavera;
    const std::span<const std::uint8_t> bytes(data, size);
    const MetafilePlayer& player = LibwmfPlayer();
    if (!player.measure(bytes)) return 0;
    RecordingCanvas canvas;
    player.play(canvas, {100, 200, 900, 700}, bytes);
    return 0;
}
