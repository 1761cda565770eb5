// Font files given to the text and glyph measurement: any bytes are refused or read without running off the end.
#include <cstddef>
#include <cstdint>
#include <span>

#include "render/opentype_metrics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto m = notavera::OpenTypeMetrics::Parse(std::span(data, size));
    if (m) (void)m->advance(0xE0A4);
    return 0;
}
