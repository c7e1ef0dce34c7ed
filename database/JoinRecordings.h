#pragma once

#include "model/DateTime.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class LDatabase;

// What becomes of a later recording's samples that fall before an earlier one ends.
enum class JoinOverlap {
    Refuse,  // the join is refused, naming the overlap
    Earlier, // the later recording's samples before the earlier's end are dropped
    Later,   // the later recording's samples replace the earlier's from its first sample on
};

// One recording to join: the file it came from, named in every message by its last part, and
// what was read from it.
struct JoinInput {
    std::string FileName;
    std::unique_ptr<LDatabase> Recording;
};

// Reads a database file or a 1.x export file through the program's own loaders; a failure
// raises the loader's message after the file's name.
JoinInput ReadJoinInput(const std::string& fileName);

// One input in the order of the join. Times are counted in sample periods of the first
// recording from its start: the time base every historic sample is put on.
struct JoinStep {
    size_t Input = 0;
    int64_t Position = 0; // where its first sample lands, the nearest grid point
    int64_t Periods = 0;  // its length: its longest Historic parameter, else its span
    // How far its start moved onto the grid, in whole seconds (negative: earlier).
    int64_t MovedSeconds = 0;
    // Between the end of the recordings before it (a period after their last sample) and its
    // start: in periods (the NaN samples put between; negative where it overlaps) and in
    // whole seconds. Zero for the first.
    int64_t GapPeriods = 0;
    int64_t GapSeconds = 0;
    // The recording before it that ends last (the first names itself).
    size_t Before = 0;
    // How many of its periods the joined recording keeps of it (the overlap's choice).
    int64_t KeptPeriods = 0;
    // Its own start, and the end of its last period; interval points are kept by these.
    TDateTime Start = 0;
    TDateTime End = 0;
};

struct JoinPlan {
    // By start; of equal starts, the one ending later is later. Laid out also when the join
    // is refused (unless a start or a rate is unknown), in periods of the first's rate.
    std::vector<JoinStep> Steps;
    // Why they cannot be joined, naming the files; empty when they can.
    std::string Refusal;
    // Starts moved by more than a tenth of a period: "week3.vro: start moved by 20 s onto the
    // 60 s grid".
    std::vector<std::string> Moves;
    int64_t Periods = 0; // the length of the joined Historic parameters
};

// How the inputs would be joined, or why not; reads only their headers and counts.
JoinPlan PlanJoin(const std::vector<JoinInput>& inputs, JoinOverlap overlap);

// Makes database a new database of the inputs joined (no tables or charts, no file name,
// modified; every input's notes, and a recorder note where each input starts, "Recording
// started: week2.vro") and returns the plan it followed; raises the plan's refusal with
// database left as it was. Historic parameters run on the first recording's time base with
// NaN values over the gaps; interval points keep their times; Event parameters take the
// extreme over the inputs, Cumulative ones the total (energy) or the mean weighted by the
// time each input adds (averages). The inputs' values are released as they are copied.
JoinPlan JoinRecordings(std::vector<JoinInput> inputs, JoinOverlap overlap, LDatabase& database);

// The last part of a path: the name messages give a file by.
std::string FileBaseName(const std::string& fileName);

// "3 h 10 min": whole seconds in days, hours, minutes and seconds, the zero ones left out.
std::string SpanText(int64_t seconds);

// What lies between a step and the recordings before it: "gap of 2 d 3 h", "overlap of
// 3 h 10 min" or "back to back"; empty for the first.
std::string NeighbourText(const JoinStep& step, bool first);
