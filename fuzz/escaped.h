#pragma once

#include <cstdio>
#include <string>

// The text with quotes, backslashes, blanks and other control bytes written
// as C escapes, so that a failing input can be read and typed again.
inline std::string escaped(const std::string &text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"' || static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned char>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}
