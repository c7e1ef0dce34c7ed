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
}

} // namespace
