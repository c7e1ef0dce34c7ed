#pragma once

#include <cstdint>
#include <string>

// A font as the database file stores it. Kept exactly as read (charset, pitch, face name and
// colour code included), so that a record written back unchanged is byte-identical.
struct LFont {
    uint8_t Charset = 1; // the platform's "default" character set
    uint32_t Color = 0;  // 0x00BBGGRR, or a system-colour code with the top bit set
    std::string Name = "Arial";
    uint8_t Pitch = 0; // 0 default, 1 variable, 2 fixed
    int32_t Size = 10; // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    bool operator==(const LFont&) const = default;
};
