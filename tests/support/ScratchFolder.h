#pragma once

#include <filesystem>
#include <string>

// A fresh folder for one test, removed with everything in it afterwards (also what a test
// made unreadable or read-only).
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The path of name inside the folder.
    std::string operator/(const std::string& name) const { return (path / name).string(); }

    std::filesystem::path path;
};

// A file's bytes, and a file made of bytes.
std::string ReadBytes(const std::string& fileName);
void WriteBytes(const std::string& fileName, const std::string& bytes);
