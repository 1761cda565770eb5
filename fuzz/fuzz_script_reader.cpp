// Fuzz target: the script reader of notavera-cli script takes any text without crashing, and every word it
// splits stays inside its line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/headless/script_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)notavera::ReadScript(text);
    (void)notavera::DecodeUtf8(text);
    return 0;
}
