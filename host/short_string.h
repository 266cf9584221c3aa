// A length-prefixed 8-bit string as the host library hands it over: the first
// byte holds the length, up to 255 characters follow in the ANSI code page.
#pragma once

#include <array>
#include <string_view>

namespace host {

struct ShortString {
    std::array<unsigned char, 256> bytes{};

    size_t length() const { return bytes[0]; }
    std::string_view text() const { return {reinterpret_cast<const char*>(bytes.data() + 1), length()}; }
};

}  // namespace host
