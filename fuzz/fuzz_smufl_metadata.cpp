// The music font's metadata.json: any text is refused or read entry by entry without throwing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "render/smufl_metadata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto m = notavera::SmuflMetadata::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (m) (void)m->box("noteheadBlack");
    return 0;
}
