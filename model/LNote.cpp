#include "model/LNote.h"

#include "model/Windows1252.h"

#include <cmath>

namespace {

constexpr const char* KindNames[] = {"remark", "exclude", "change", "recorder"};

// Days 1-01-01 to 9999-12-31.
bool IsDate(TDateTime t) {
    return std::isfinite(t) && t > -693594.0 && t < 2958466.0;
}

} // namespace

const char* NoteKindName(LNoteKind kind) {
    return IsNoteKind(static_cast<uint8_t>(kind)) ? KindNames[static_cast<uint8_t>(kind)] : "";
}

bool NoteKindOfName(std::string_view name, LNoteKind& kind) {
    for (uint8_t k = 0; k < 4; ++k)
        if (name == KindNames[k]) {
            kind = static_cast<LNoteKind>(k);
            return true;
        }
    return false;
}

bool IsNoteKind(uint8_t code) {
    return code <= static_cast<uint8_t>(LNoteKind::Recorder);
}

std::string NoteProblem(const LNote& note) {
    if (!IsDate(note.Start) || !IsDate(note.End))
        return "A note's times must be dates from the years 1 to 9999.";
    if (note.End < note.Start)
        return "A note cannot end before it starts.";
    if (!IsNoteKind(static_cast<uint8_t>(note.Kind)))
        return "A note is a remark, an exclude, a change or a recorder note.";
    // Stored one byte a character, so the stored length is the count of characters.
    const size_t length = Windows1252Length(note.Text);
    if (length > LNote::MaxTextLength)
        return "A note's text holds at most " + std::to_string(LNote::MaxTextLength) +
               " characters, not " + std::to_string(length) + ".";
    return {};
}
