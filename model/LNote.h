#pragma once

#include "model/DateTime.h"

#include <cstdint>
#include <string>
#include <string_view>

// What a note on the time axis asks of the recording: shown only, left out of the figures,
// the split of a before-and-after comparison, or something done to the recorder.
enum class LNoteKind : uint8_t { Remark = 0, Exclude = 1, Change = 2, Recorder = 3 };

// A note on the recording's time axis: a time (End equal to Start) or a time range, with a
// short text and who wrote it. The database keeps them with the recording.
struct LNote {
    static constexpr size_t MaxTextLength = 500; // characters, as stored

    TDateTime Start = 0;
    TDateTime End = 0;
    LNoteKind Kind = LNoteKind::Remark;
    std::string Text;
    std::string Author;

    bool IsRange() const { return End != Start; }
    bool operator==(const LNote&) const = default;
};

// "remark", "exclude", "change", "recorder": the kind's name in files for people and on the
// command line.
const char* NoteKindName(LNoteKind kind);
// The kind of that name; false for any other text.
bool NoteKindOfName(std::string_view name, LNoteKind& kind);
// Whether the byte is a kind a file may hold.
bool IsNoteKind(uint8_t code);

// Why the note cannot be kept (its times are no dates, it ends before it starts, its text is
// too long), or empty when it can.
std::string NoteProblem(const LNote& note);
