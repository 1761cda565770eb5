// Decoding of the UTF-8 texts handed to the canvas: malformed bytes become U+FFFD instead of being skipped or
// read past.
#pragma once

#include <string>
#include <string_view>

namespace notavera {

std::u32string DecodeUtf8(std::string_view utf8);

}  // namespace notavera
