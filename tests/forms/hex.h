#pragma once
// GBK texts in test output: the bytes in hex, so that a mismatch shows what differs.

#include <cstdio>
#include <string>
#include <string_view>

namespace tessarune::forms {

inline std::string Hex(std::string_view text) {
    std::string out;
    for (char c : text) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02X ", static_cast<unsigned char>(c));
        out += byte;
    }
    return out;
}

}  // namespace tessarune::forms
