// UTF-8 text turned into the 8-bit Windows ANSI code page (1252) that metafile text records carry, and the stored
// texts of documents, written in that code page, turned back into UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace notavera {

// Each character becomes its code-page-1252 byte; characters the code page lacks and malformed UTF-8
// sequences become '?', so the byte count tells how many characters were read.
std::string Utf8ToAnsi(std::string_view utf8);

// Each code-page-1252 byte becomes its character; the five bytes the code page leaves unassigned become U+FFFD.
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace notavera
