// libFuzzer target of the drawing layer's stored data: any bytes are read as a recording (as a drawing element's
// blob, and as a symbol file) and replayed on a recording canvas at two zooms, then read as a picture's head.
#include <cstdint>
#include <span>

#include "platform/headless/recording_canvas.h"
#include "render/draw_drawings.h"
#include "render/drawing_context.h"
#include "score/drawing_recording.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace notavera;
    const std::span<const std::uint8_t> bytes(data, size);
    RecordingCanvas canvas;
    DrawingContext dc;
    dc.canvas = &canvas;
    for (const auto& recording : {DecodeRecording(bytes), DecodeSymbolFile(bytes)}) {
        if (!recording) continue;
        ReplayRecording(dc, *recording, 1000.5, 2000.25, 0);
        ApplyZoom(dc, ZoomFraction{3, 1});
        ReplayRecording(dc, *recording, -30000, 30000, 0);
        // What was read is written back the same.
        if (DecodeRecording(EncodeRecording(*recording)) != recording) __builtin_trap();
    }
    if (const std::optional<PictureBlob> picture = DecodePicture(bytes)) PictureBox({0, 0}, picture->head);
    return 0;
}
