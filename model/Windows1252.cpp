#include "model/Windows1252.h"

#include <array>
#include <cstdint>

namespace {

// 0x80-0x9F; the five bytes Windows leaves undefined map to the C1 controls of the same value.
constexpr std::array<char32_t, 32> HighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t ToUnicode(uint8_t b) {
    return (b >= 0x80 && b < 0xA0) ? HighTable[b - 0x80] : b;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char FromUnicode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (size_t i = 0; i < HighTable.size(); ++i)
        if (HighTable[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

// Decodes one UTF-8 sequence at s[i], advancing i; returns U+FFFD for a malformed one. An
// overlong form (C0 80 for a zero, C0 AF for "/"), a surrogate or a code beyond U+10FFFF is
// malformed: taken as the character it spells, it would slip past checks of that character.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
    const auto lead = static_cast<uint8_t>(s[i++]);
    if (lead < 0x80)
        return lead;
    int extra;
    char32_t c, least;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
        least = 0x10000;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<uint8_t>(s[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (static_cast<uint8_t>(s[i++]) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0xFFFD;
    return c;
}

// ASCII, the most of stored texts, is the same in both. Without an early end the loop runs
// many bytes a step.
bool IsAscii(std::string_view text) {
    uint8_t any = 0;
    for (const char c : text)
        any |= static_cast<uint8_t>(c);
    return any < 0x80;
}

} // namespace

std::string FromWindows1252(std::string_view bytes) {
    if (IsAscii(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes)
        AppendUtf8(out, ToUnicode(static_cast<uint8_t>(ch)));
    return out;
}

std::string ToWindows1252(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size())
        out += FromUnicode(DecodeUtf8(utf8, i));
    return out;
}

size_t Windows1252Length(std::string_view utf8) {
    if (IsAscii(utf8))
        return utf8.size();
    size_t length = 0;
    for (size_t i = 0; i < utf8.size(); ++length)
        DecodeUtf8(utf8, i);
    return length;
}
