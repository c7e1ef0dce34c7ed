#pragma once

#include "database/LFont.h"
#include "model/DateTime.h"

#include <cstdint>
#include <memory>
#include <string>

// Typed little-endian writes to a database file, buffered. Every failure raises "Error
// writing" (creating the file: "Error occured while saving the file.").
class FileWriter {
public:
    // Creates the file, replacing any file of that name.
    explicit FileWriter(const std::string& fileName);
    // Adopts a handle the caller has opened for writing (a temporary file).
    FileWriter(int handle, std::string fileName);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void Write(const void* data, int64_t n);
    void WriteInt(int32_t value);
    void WriteFloat(float value);
    void WriteDouble(double value);
    void WriteByte(uint8_t value);
    void WriteFlag(bool value);
    void WriteColor(uint32_t value);
    // Written in Windows-1252; characters it lacks become "?".
    void WriteString(const std::string& text);
    void WriteFont(const LFont& font);

    // Writes out the buffer and makes the operating system put the file on the disk.
    void Sync();
    // Writes out the buffer and closes; a failure to do either raises "Error writing".
    void Close();
    const std::string& FileName() const { return fileName_; }

private:
    void Flush();
    void WriteAll(const char* p, int64_t n);

    int handle_ = -1;
    std::string fileName_;
    std::unique_ptr<char[]> buffer_;
    int64_t used_ = 0;
};
