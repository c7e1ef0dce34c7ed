#pragma once

#include "analysis/Survey.h"
#include "model/LNote.h"

#include <vector>

class JsonWriter;
class LDatabase;

// The notes as a JSON array of {start, end, kind, text, author}; times as ISO 8601 texts of
// the recording's own clock, the end equal to the start for a point.
void WriteNotesJson(JsonWriter& j, const std::vector<LNote>& notes);

// The options with the database's exclude notes as the ranges whose samples count as not
// measured.
SurveyOptions WithExcludeNotes(SurveyOptions options, const LDatabase& db);
