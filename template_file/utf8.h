// UTF-8 as the file code holds text beyond ASCII.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace permora::utf8 {

inline void Append(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        const char bytes[] = {static_cast<char>(0xC0 | (c >> 6)),
                              static_cast<char>(0x80 | (c & 0x3F))};
        out.append(bytes, 2);
    } else if (c < 0x10000) {
        const char bytes[] = {static_cast<char>(0xE0 | (c >> 12)),
                              static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                              static_cast<char>(0x80 | (c & 0x3F))};
        out.append(bytes, 3);
    } else {
        const char bytes[] = {
            static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
            static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(bytes, 4);
    }
}

// The length of the valid UTF-8 sequence at the start of text (0 when there is none) and the
// character it encodes: no overlong forms, no surrogates, nothing beyond U+10FFFF.
inline std::size_t Sequence(std::string_view text, std::uint32_t& character) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    std::uint32_t c = 0;
    std::uint32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (next & 0x3Fu);
    }
    if (c < lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return 0;
    }
    character = c;
    return length;
}

// The length of the character at the start of text: its UTF-8 sequence, or one byte for a
// byte that begins none.
inline std::size_t CharacterLength(std::string_view text) {
    std::uint32_t character = 0;
    const std::size_t length = !text.empty() && static_cast<unsigned char>(text[0]) >= 0x80
                                   ? Sequence(text, character)
                                   : 0;
    return length == 0 ? 1 : length;
}

} // namespace permora::utf8
