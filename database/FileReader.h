#pragma once

#include "database/LFont.h"
#include "model/DateTime.h"

#include <cstdint>
#include <memory>
#include <string>

// Typed little-endian reads from a database file. Every failure raises; nothing is returned
// half-read. Reads are buffered, and the size of the rest of the file is known, so that a
// length read from a damaged file is refused before anything is allocated for it. A pipe,
// FIFO or device is read whole into memory when opened ("File too large" beyond
// WholeFileLimit), and then read like a file of that size.
class InputFile;

class FileReader {
public:
    static constexpr int ReadOnly = 0;
    static constexpr int ReadWrite = 2;

    FileReader(const std::string& fileName, int mode);
    // Reads a file opened by the caller, from its start; the file outlives the reader.
    explicit FileReader(InputFile& file);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Exactly n bytes or "Error reading".
    void Read(void* buffer, int64_t n);
    int32_t ReadInt();
    float ReadFloat();
    double ReadDouble();
    uint8_t ReadByte();
    bool ReadFlag();
    uint32_t ReadColor();
    // Stored in Windows-1252, returned as UTF-8.
    std::string ReadString();
    void ReadFont(LFont& font);

    // A count of elements of at least elementSize bytes each: "Error reading" when it is
    // negative or the rest of the file cannot hold that many.
    int32_t ReadCount(int64_t elementSize);
    // Raises "Error reading" unless n more bytes are there.
    void Require(int64_t n) const;
    int64_t Remaining() const;
    // No more reads from the file; a file opened by name is closed with the reader.
    void Close();

private:
    void Attach(InputFile& file);
    bool Fill();
    template <typename T> T ReadValue();

    std::unique_ptr<InputFile> own_; // opened by name
    int handle_ = -1;                // the file's, not closed here
    int64_t size_ = 0;
    int64_t position_ = 0;
    std::unique_ptr<char[]> buffer_; // for a regular file
    const char* data_ = nullptr;     // buffer_ or the stream's bytes
    int64_t bufferStart_ = 0;
    int64_t bufferEnd_ = 0;
};
