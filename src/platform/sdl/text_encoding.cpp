#include "platform/sdl/text_encoding.h"

namespace mem {

bool is_valid_utf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int follow = 0;
        if (c < 0x80) follow = 0;
        else if (c >= 0xC2 && c <= 0xDF) follow = 1;
        else if (c >= 0xE0 && c <= 0xEF) follow = 2;
        else if (c >= 0xF0 && c <= 0xF4) follow = 3;
        else return false;
        if (i + static_cast<size_t>(follow) >= text.size() && follow > 0) return false;
        for (int k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(text[i + static_cast<size_t>(k)]) & 0xC0) != 0x80) return false;
        i += static_cast<size_t>(follow) + 1;
    }
    return true;
}

std::string to_utf8(const std::string& text) {
    if (is_valid_utf8(text)) return text;
    std::string out;
    out.reserve(text.size() * 2);
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace mem
