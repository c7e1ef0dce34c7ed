#pragma once

#include "model/DateTime.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

class LSession;
class LParameterCollection;

// Reads a recording byte stream (a download, or a 1.x export file) into a session and its
// parameters. Every failure raises VroError with "Parse error:" and the reason.
class LParser {
public:
    // The input is emptied whether the run succeeds or fails.
    void Run(std::string& input, LSession& session, LParameterCollection& parameters);
    // The same over bytes the caller keeps.
    void Run(std::span<const uint8_t> input, LSession& session, LParameterCollection& parameters);

    static constexpr int32_t HeaderSize = 49;
    static constexpr int32_t BlockHeadSize = 17;
    static constexpr int32_t EventRecordSize = 11;
    static constexpr int32_t MaxPoints = 50000;

private:
    [[noreturn]] static void Fail(const std::string& text);
    // Moves past n bytes and returns where they start; fails when that passes the end.
    const uint8_t* Advance(int64_t n);
    TDateTime ConvertTimeStamp(const uint8_t* stamp);
    void CacheDate(const uint8_t* stamp);
    // Day, month and year bytes together (read with the unused byte before them).
    static uint32_t DateKey(const uint8_t* s) {
        uint32_t word;
        std::memcpy(&word, s + 3, sizeof word);
        return word >> 8;
    }
    void ReadHeader(LSession& session);
    void ReadBlock(LSession& session, LParameterCollection& parameters);

    const uint8_t* data_ = nullptr;
    int64_t size_ = 0;
    int64_t position_ = 0;
    // The date of the last time stamp converted, by its three bytes.
    uint32_t cachedDateKey_ = 0xFFFFFFFF;
    TDateTime cachedDate_ = 0;
};
