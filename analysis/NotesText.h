#pragma once

#include "analysis/TextStyle.h"
#include "model/LNote.h"

#include <cstdint>
#include <string>
#include <vector>

// "2026-03-11 09:30:00, change: Capacitor bank switched on (Jürgen)"; a range as "FROM to
// TO", no brackets without an author.
std::string NoteLine(const LNote& note, const TextStyle& style = {});

// The heading ("Notes") and a line per note, then what the exclude notes left out of the
// figures, each line ending in a line break; empty without notes.
std::string NotesText(const std::vector<LNote>& notes, int64_t excludedSamples,
                      const TextStyle& style = {}, const std::string& heading = "Notes");
