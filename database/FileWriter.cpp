#include "database/FileWriter.h"

#include "model/ErrorReport.h"
#include "model/Windows1252.h"
#include "resources/StringTable.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int64_t BufferSize = 1 << 20;
}

FileWriter::FileWriter(const std::string& fileName)
    : FileWriter(::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666),
                 fileName) {}

FileWriter::FileWriter(int handle, std::string fileName)
    : handle_(handle), fileName_(std::move(fileName)) {
    if (handle_ < 0)
        Raise(LoadStr(StrSaveFailed));
    buffer_ = std::make_unique<char[]>(BufferSize);
}

FileWriter::~FileWriter() {
    if (handle_ >= 0)
        ::close(handle_);
}

void FileWriter::WriteAll(const char* p, int64_t n) {
    while (n > 0) {
        if (handle_ < 0)
            Raise("Error writing");
        const ssize_t put = ::write(handle_, p, static_cast<size_t>(n));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            Raise("Error writing");
        p += put;
        n -= put;
    }
}

void FileWriter::Flush() {
    const int64_t n = used_;
    used_ = 0;
    WriteAll(buffer_.get(), n);
}

void FileWriter::Write(const void* data, int64_t n) {
    const auto* in = static_cast<const char*>(data);
    if (used_ + n > BufferSize) {
        Flush();
        if (n >= BufferSize) {
            // The point arrays: no detour through the buffer.
            WriteAll(in, n);
            return;
        }
    }
    std::memcpy(buffer_.get() + used_, in, static_cast<size_t>(n));
    used_ += n;
}

void FileWriter::WriteInt(int32_t value) {
    Write(&value, 4);
}
void FileWriter::WriteFloat(float value) {
    Write(&value, 4);
}
void FileWriter::WriteDouble(double value) {
    Write(&value, 8);
}
void FileWriter::WriteByte(uint8_t value) {
    Write(&value, 1);
}
void FileWriter::WriteFlag(bool value) {
    WriteByte(value ? 1 : 0);
}
void FileWriter::WriteColor(uint32_t value) {
    Write(&value, 4);
}

void FileWriter::WriteString(const std::string& text) {
    const std::string bytes = ToWindows1252(text);
    WriteInt(static_cast<int32_t>(bytes.size()));
    Write(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void FileWriter::WriteFont(const LFont& font) {
    WriteByte(font.Charset);
    WriteColor(font.Color);
    WriteString(font.Name);
    WriteByte(font.Pitch);
    WriteInt(font.Size);
    WriteFlag(font.Bold);
    WriteFlag(font.Italic);
    WriteFlag(font.Underline);
    WriteFlag(font.StrikeOut);
}

void FileWriter::Sync() {
    Flush();
    if (handle_ < 0 || ::fsync(handle_) != 0)
        Raise("Error writing");
}

void FileWriter::Close() {
    if (handle_ < 0)
        return;
    try {
        Flush();
    } catch (...) {
        ::close(handle_);
        handle_ = -1;
        throw;
    }
    const int result = ::close(handle_);
    handle_ = -1;
    if (result != 0)
        Raise("Error writing");
}
