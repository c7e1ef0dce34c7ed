#pragma once

#include "model/DateTime.h"

#include <array>
#include <optional>
#include <string>

class LSession;

// One line of what a recording is: its label (a string table entry), and its value as text or,
// for the start and end, a time that each reader writes in its own way.
struct RecordingFact {
    int Label = 0;
    std::string Text;
    std::optional<TDateTime> Time;
};

// The recording's description and the recorder's settings, in the order every listing of them
// uses: user id, location, comments, start, end, phase, mode, rate, interval, CT.
std::array<RecordingFact, 10> RecordingFacts(const LSession& session);
