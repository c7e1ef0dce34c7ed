// The texts of database files and recordings are Windows-1252; the program's are UTF-8 and may
// hold anything a user types or pastes. The input is taken both ways: as stored bytes, and as
// UTF-8 to store.
#include "model/Windows1252.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// UTF-8 as the standard has it: no overlong forms, no surrogates, nothing beyond U+10FFFF.
// False for anything else.
bool DecodeStrictly(std::string_view s, std::u32string& out) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<uint8_t>(s[i]);
        size_t extra;
        char32_t c, least;
        if (b < 0x80) {
            extra = 0, c = b, least = 0;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1, c = b & 0x1F, least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2, c = b & 0x0F, least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3, c = b & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= s.size() && extra > 0)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<uint8_t>(s[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        out += c;
        i += extra + 1;
    }
    return true;
}

std::string Encode(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// The characters Windows-1252 has, as the conversion itself reads the 256 bytes.
const std::set<char32_t>& Representable() {
    static const std::set<char32_t> all = [] {
        std::set<char32_t> set;
        for (int b = 0; b < 256; ++b) {
            std::u32string c;
            if (!DecodeStrictly(FromWindows1252(std::string(1, static_cast<char>(b))), c) ||
                c.size() != 1)
                Fail("a stored byte reads as no single character");
            set.insert(c[0]);
        }
        return set;
    }();
    return all;
}

// The ASCII characters of a text but '?', which stands in for what cannot be stored.
std::string PlainAscii(std::string_view s) {
    std::string out;
    for (char c : s)
        if (static_cast<uint8_t>(c) < 0x80 && c != '?')
            out += c;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // Stored bytes read and stored again are the same bytes.
    if (ToWindows1252(FromWindows1252(input)) != input)
        Fail("stored bytes do not come back");

    // UTF-8 stored: one byte per character at most; ASCII goes through as it is, and nothing
    // else becomes ASCII but '?' (an overlong form must not smuggle in a '/' or a zero).
    const std::string stored = ToWindows1252(input);
    if (stored.size() > input.size())
        Fail("more bytes stored than characters given");
    if (PlainAscii(stored) != PlainAscii(input))
        Fail("ASCII changed, or made from what was not ASCII");

    // Valid UTF-8 comes back character for character, but '?' for what Windows-1252 lacks.
    std::u32string characters;
    if (DecodeStrictly(input, characters)) {
        std::string expected;
        for (char32_t c : characters)
            expected += Representable().count(c) ? Encode(c) : "?";
        if (FromWindows1252(stored) != expected)
            Fail("a representable text does not come back");
    }
    return 0;
}
