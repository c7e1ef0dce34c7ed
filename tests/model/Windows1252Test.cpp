#include "model/Windows1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows1252Test, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(ToWindows1252(FromWindows1252(all)), all);
}

TEST(Windows1252Test, KnownCharacters) {
    EXPECT_EQ(FromWindows1252("\xD8\xE9\xB5\x80\x99"), "Øéµ€™");
    EXPECT_EQ(ToWindows1252("Øéµ€™"), "\xD8\xE9\xB5\x80\x99");
    EXPECT_EQ(ToWindows1252("plain"), "plain");
}

TEST(Windows1252Test, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(ToWindows1252("Ω"), "?");         // Greek omega has no code
    EXPECT_EQ(ToWindows1252("a😀b"), "a?b");     // four-byte sequence
    EXPECT_EQ(ToWindows1252("x\xC3"), "x?");    // truncated sequence
    EXPECT_EQ(ToWindows1252("\xFF\xFE"), "??"); // not UTF-8 at all
    // Overlong forms of a zero, "A" and "/", a surrogate, and beyond U+10FFFF: none is a
    // character, and none may come out as one.
    for (const std::string& bad : {std::string("\xC0\x80", 2), std::string("\xC1\x81"),
                                   std::string("\xE0\x80\xAF"), std::string("\xF0\x80\x80\xAF"),
                                   std::string("\xED\xA0\x80"), std::string("\xF4\x90\x80\x80")})
        EXPECT_EQ(ToWindows1252(bad), "?") << FromWindows1252(bad);
}

TEST(Windows1252Test, LengthIsThatOfTheConvertedText) {
    for (const std::string& text :
         {std::string("plain"), std::string("Øéµ€™"), std::string("a😀bΩ"), std::string("x\xC3"),
          std::string("\xFF\xFE\x80"), std::string("\xE0\x80\xAF\xC0"), std::string()})
        EXPECT_EQ(Windows1252Length(text), ToWindows1252(text).size()) << text;
}

} // namespace
