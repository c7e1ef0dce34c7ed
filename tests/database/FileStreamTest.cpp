// The typed reads and writes of the database file: encodings, messages, damaged lengths.
#include "database/FileReader.h"
#include "database/FileWriter.h"
#include "model/ErrorReport.h"
#include "tests/database/DatabaseTestSupport.h"

#include "tests/support/ErrorMessage.h"
#include "tests/support/PipeFile.h"

#include <gtest/gtest.h>

namespace {

std::string Hex(const std::string& bytes) {
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, "%02X ", c);
        out += b;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

template <typename F> std::string Written(const ScratchFolder& dir, F write) {
    const std::string name = dir / "out";
    {
        FileWriter w(name);
        write(w);
        w.Close();
    }
    return ReadBytes(name);
}

TEST(FileStreamTest, EncodesEveryKindLittleEndian) {
    ScratchFolder dir;
    EXPECT_EQ(Hex(Written(dir, [](FileWriter& w) { w.WriteString(""); })), "00 00 00 00");
    EXPECT_EQ(Hex(Written(dir, [](FileWriter& w) { w.WriteString("Vro"); })),
              "03 00 00 00 56 72 6F");
    EXPECT_EQ(Hex(Written(dir, [](FileWriter& w) { w.WriteFloat(0.02f); })), "0A D7 A3 3C");
    EXPECT_EQ(Hex(Written(dir,
                          [](FileWriter& w) {
                              w.WriteInt(-2);
                              w.WriteByte(0x80);
                              w.WriteFlag(true);
                              w.WriteColor(0x80000005);
                          })),
              "FE FF FF FF 80 01 05 00 00 80");
    LFont font{0, 0x0000FF, "Tahoma", 2, 9, true, false, true, false};
    EXPECT_EQ(Hex(Written(dir, [&](FileWriter& w) { w.WriteFont(font); })),
              "00 FF 00 00 00 06 00 00 00 54 61 68 6F 6D 61 02 09 00 00 00 01 00 01 00");
}

TEST(FileStreamTest, TextsAreWindows1252OnDisk) {
    ScratchFolder dir;
    const std::string bytes = Written(dir, [](FileWriter& w) { w.WriteString("Ø é µ € 中"); });
    EXPECT_EQ(Hex(bytes), "09 00 00 00 D8 20 E9 20 B5 20 80 20 3F");
    FileReader r(dir / "out", FileReader::ReadOnly);
    EXPECT_EQ(r.ReadString(), "Ø é µ € ?");
}

TEST(FileStreamTest, ReadsBackWhatWasWritten) {
    ScratchFolder dir;
    LFont font{2, 0x123456, "Lucida Console", 1, 12, true, true, true, true};
    Written(dir, [&](FileWriter& w) {
        w.WriteInt(INT32_MIN);
        w.WriteDouble(46355.5);
        w.WriteFont(font);
        w.WriteByte(0xFF); // a flag byte other than 0 and 1
        std::string big(300000, 'x');
        w.WriteString(big);
    });
    FileReader r(dir / "out", FileReader::ReadOnly);
    EXPECT_EQ(r.ReadInt(), INT32_MIN);
    EXPECT_EQ(r.ReadDouble(), 46355.5);
    LFont read;
    r.ReadFont(read);
    EXPECT_EQ(read, font);
    EXPECT_TRUE(r.ReadFlag());
    EXPECT_EQ(r.ReadString().size(), 300000u);
    EXPECT_EQ(ErrorMessage([&] { r.ReadByte(); }), "Error reading");
}

TEST(FileStreamTest, ClearFontFlagsKeepTheStyleTheFontHad) {
    ScratchFolder dir;
    Written(dir, [](FileWriter& w) { w.WriteFont(LFont{}); });
    FileReader r(dir / "out", FileReader::ReadOnly);
    LFont font;
    font.Italic = true;
    r.ReadFont(font);
    EXPECT_TRUE(font.Italic);
    EXPECT_FALSE(font.Bold);
}

TEST(FileStreamTest, RefusesShortReadsAndDamagedLengths) {
    ScratchFolder dir;
    WriteBytes(dir / "three", std::string("\x01\x02\x03", 3));
    FileReader three(dir / "three", FileReader::ReadOnly);
    EXPECT_EQ(ErrorMessage([&] { three.ReadInt(); }), "Error reading");

    // Lengths that are negative or longer than the rest of the file are refused up front.
    for (const std::string& length :
         {std::string("\xFF\xFF\xFF\xFF", 4), std::string("\xFF\xFF\xFF\x7F", 4),
          std::string("\x05\x00\x00\x00"
                      "abcd",
                      8)}) {
        WriteBytes(dir / "s", length);
        FileReader r(dir / "s", FileReader::ReadOnly);
        EXPECT_EQ(ErrorMessage([&] { r.ReadString(); }), "Error reading");
    }
}

TEST(FileStreamTest, LengthsFromAPipeAreCheckedAgainstItsBytes) {
    PipeFile pipe(std::string("\x05\x00\x00\x00"
                              "abcd",
                              8));
    FileReader r(pipe.Path(), FileReader::ReadOnly);
    EXPECT_EQ(r.Remaining(), 8);
    EXPECT_EQ(ErrorMessage([&] { r.ReadString(); }), "Error reading");
}

TEST(FileStreamTest, OpenFailuresHaveTheirMessages) {
    ScratchFolder dir;
    EXPECT_EQ(ErrorMessage([&] { FileReader(dir / "missing", FileReader::ReadOnly); }),
              "Error occured while loading the file.");
    WriteBytes(dir / "f", "x");
    EXPECT_EQ(ErrorMessage([&] { FileReader(dir / "f", 1); }), "Invalid mode for reading!");
    EXPECT_EQ(ErrorMessage([&] { FileReader(dir / "f", FileReader::ReadWrite); }), "");
    EXPECT_EQ(ErrorMessage([&] { FileWriter(dir / "no/such/folder"); }),
              "Error occured while saving the file.");
}

TEST(FileStreamTest, WriteFailureIsReported) {
    // /dev/full accepts the open and refuses every byte.
    FileWriter w("/dev/full");
    w.WriteInt(1);
    EXPECT_EQ(ErrorMessage([&] { w.Close(); }), "Error writing");
    FileWriter big("/dev/full");
    std::string block(2 << 20, 'x');
    EXPECT_EQ(ErrorMessage([&] { big.Write(block.data(), static_cast<int64_t>(block.size())); }),
              "Error writing");
}

} // namespace
