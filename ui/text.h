// Conversions at the edge between the program's texts and Windows.
#pragma once

#include <string>
#include <string_view>

namespace ui {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view text);
// Bytes in the system's ANSI code page, as 8-bit Windows programs hand them over.
std::wstring fromAnsi(std::string_view bytes);

}  // namespace ui
