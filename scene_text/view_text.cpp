#include "view_text.h"

#include <cstdint>

namespace {

bool ValidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80           ? 1
                                   : (byte >> 5) == 0x6  ? 2
                                   : (byte >> 4) == 0xE  ? 3
                                   : (byte >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        std::uint32_t code = length == 1 ? byte : byte & (0x7Fu >> length);
        for (std::size_t j = 1; j < length; ++j) {
            const auto next = static_cast<unsigned char>(text[i + j]);
            if ((next >> 6) != 0x2) {
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            code < 0x20 || (code >= 0x7F && code < 0xA0)) {
            return false;
        }
        i += length;
    }
    return true;
}

int HexValue(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                  : -1;
}

bool Unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

} // namespace

std::string EncodeViewText(const std::string& text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string value;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        value += Unreserved(c) ? std::string(1, c)
                               : std::string{'%', digits[byte >> 4], digits[byte & 0xF]};
    }
    return value;
}

Outcome<std::string> DecodeViewText(const std::string& value, std::size_t longest) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            if (!Unreserved(value[i])) {
                return Refusal<std::string>("a character not written as %XX");
            }
            text += value[i];
            continue;
        }
        const int high = i + 2 < value.size() ? HexValue(value[i + 1]) : -1;
        const int low = i + 2 < value.size() ? HexValue(value[i + 2]) : -1;
        if (high < 0 || low < 0) {
            return Refusal<std::string>("a % not followed by two hexadecimal digits");
        }
        text += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (text.size() > longest) {
        return Refusal<std::string>("longer than " + std::to_string(longest) + " bytes");
    }
    if (!ValidUtf8(text)) {
        return Refusal<std::string>("not UTF-8 text without control characters");
    }
    return Success(text);
}
