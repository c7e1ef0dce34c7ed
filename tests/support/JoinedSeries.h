#pragma once

#include "database/JoinRecordings.h"
#include "tools/RecordingGenerator.h"

#include <functional>
#include <vector>

class LDatabase;

// The recordings parsed as the join reads them, named week1.bin, week2.bin, ... in order.
std::vector<JoinInput> ParsedInputs(const std::vector<GeneratedRecording>& recordings);

// Makes db the recordings joined.
JoinPlan JoinSeries(LDatabase& db, const std::vector<GeneratedRecording>& recordings,
                    JoinOverlap overlap = JoinOverlap::Refuse);

// The year 2025 in one-minute samples (525 600 of them) of every parameter a 3Ø 4W Wye
// recording with 15-minute intervals has, joined from 73 recordings of five days, each the
// first one's samples again. edit may change the recordings first.
void JoinedYear(LDatabase& db,
                const std::function<void(std::vector<GeneratedRecording>&)>& edit = {});
