// UTF-8 text turned into the 8-bit Windows ANSI code page (1252) that metafile text records carry.
#pragma once

#include <string>
#include <string_view>

namespace notavera {

// Each character becomes its code-page-1252 byte; characters the code page lacks and malformed UTF-8
// sequences become '?', so the byte count tells how many characters were read.
std::string Utf8ToAnsi(std::string_view utf8);

}  // namespace notavera
