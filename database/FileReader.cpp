#include "database/FileReader.h"

#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "model/InputFile.h"
#include "model/Windows1252.h"
#include "resources/StringTable.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <unistd.h>

static_assert(std::endian::native == std::endian::little,
              "the file format is little-endian; values are copied as they are");

namespace {
constexpr int64_t BufferSize = 1 << 16;
}

FileReader::FileReader(const std::string& fileName, int mode) {
    if (mode != ReadOnly && mode != ReadWrite)
        Raise("Invalid mode for reading!");
    own_ = std::make_unique<InputFile>(fileName, mode == ReadWrite);
    if (own_->Handle() < 0)
        Raise(LoadStr(StrLoadFailed));
    Attach(*own_);
}

FileReader::FileReader(InputFile& file) {
    if (file.Handle() < 0)
        Raise(LoadStr(StrLoadFailed));
    Attach(file);
}

void FileReader::Attach(InputFile& file) {
    if (file.Regular()) {
        handle_ = file.Handle();
        // From the start, whatever was read of it before.
        if (::lseek(handle_, 0, SEEK_SET) != 0)
            Raise("Error reading");
        size_ = file.Size();
        buffer_ = std::make_unique<char[]>(BufferSize);
        data_ = buffer_.get();
        return;
    }
    // A pipe, FIFO or device tells no size, and every length read from it must be checked
    // against the bytes that are really there: take them all first.
    const int error = file.ReadStream();
    if (error == EFBIG)
        Raise("File too large");
    if (error != 0)
        Raise("Error reading");
    size_ = static_cast<int64_t>(file.Stream().size());
    data_ = file.Stream().data();
    bufferEnd_ = size_;
}

FileReader::~FileReader() = default;

void FileReader::Close() {
    handle_ = -1;
}

int64_t FileReader::Remaining() const {
    return std::max<int64_t>(0, size_ - position_);
}

void FileReader::Require(int64_t n) const {
    if (n < 0 || n > Remaining())
        Raise("Error reading");
}

bool FileReader::Fill() {
    if (handle_ < 0 || !buffer_)
        return false;
    ssize_t got;
    do
        got = ::read(handle_, buffer_.get(), BufferSize);
    while (got < 0 && errno == EINTR);
    if (got <= 0)
        return false;
    bufferStart_ = 0;
    bufferEnd_ = got;
    return true;
}

void FileReader::Read(void* buffer, int64_t n) {
    Require(n);
    auto* out = static_cast<char*>(buffer);
    while (n > 0) {
        if (bufferStart_ == bufferEnd_) {
            // Large reads (the point arrays) go straight into the caller's memory.
            if (n >= BufferSize) {
                if (handle_ < 0)
                    Raise("Error reading");
                const ssize_t got = ::read(handle_, out, static_cast<size_t>(n));
                if (got < 0 && errno == EINTR)
                    continue;
                if (got <= 0)
                    Raise("Error reading");
                out += got;
                n -= got;
                position_ += got;
                continue;
            }
            if (!Fill())
                Raise("Error reading");
        }
        const int64_t take = std::min(n, bufferEnd_ - bufferStart_);
        std::memcpy(out, data_ + bufferStart_, static_cast<size_t>(take));
        bufferStart_ += take;
        out += take;
        n -= take;
        position_ += take;
    }
}

// Every fixed-width value is stored as it lies in memory (little-endian).
template <typename T> T FileReader::ReadValue() {
    T v;
    Read(&v, sizeof v);
    return v;
}

int32_t FileReader::ReadInt() {
    return ReadValue<int32_t>();
}
float FileReader::ReadFloat() {
    return ReadValue<float>();
}
double FileReader::ReadDouble() {
    return ReadValue<double>();
}
uint8_t FileReader::ReadByte() {
    return ReadValue<uint8_t>();
}
bool FileReader::ReadFlag() {
    return ReadValue<int8_t>() != 0;
}
uint32_t FileReader::ReadColor() {
    return ReadValue<uint32_t>();
}

int32_t FileReader::ReadCount(int64_t elementSize) {
    const int32_t n = ReadInt();
    Require(static_cast<int64_t>(n) * std::max<int64_t>(elementSize, 1));
    return n;
}

std::string FileReader::ReadString() {
    const int32_t length = ReadCount(1);
    std::string bytes(static_cast<size_t>(length), '\0');
    Read(bytes.data(), length);
    return FromWindows1252(bytes);
}

void FileReader::ReadFont(LFont& font) {
    font.Charset = ReadByte();
    font.Color = ReadColor();
    font.Name = ReadString();
    font.Pitch = ReadByte();
    font.Size = ReadInt();
    // A clear flag leaves the style as the font already had it.
    if (ReadFlag())
        font.Bold = true;
    if (ReadFlag())
        font.Italic = true;
    if (ReadFlag())
        font.Underline = true;
    if (ReadFlag())
        font.StrikeOut = true;
}
