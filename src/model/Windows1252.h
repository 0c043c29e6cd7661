#pragma once

#include <string>
#include <string_view>

namespace orven {

// The data and settings files are written in Windows-1252; the program works
// in UTF-8 throughout.
std::string Windows1252ToUtf8(std::string_view bytes);

// Appends one code point (at most 0x10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t code);

// Characters that Windows-1252 cannot hold, and malformed UTF-8, become '?'.
std::string Utf8ToWindows1252(std::string_view text);

}  // namespace orven
