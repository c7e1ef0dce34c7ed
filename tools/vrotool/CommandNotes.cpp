#include "tools/vrotool/CommandNotes.h"

#include "analysis/ExcludedRanges.h"
#include "database/LDatabase.h"
#include "tools/vrotool/JsonWriter.h"

void WriteNotesJson(JsonWriter& j, const std::vector<LNote>& notes) {
    j.BeginArray();
    for (const LNote& note : notes) {
        j.BeginObject();
        j.Key("start"), j.String(FormatIso8601(note.Start));
        j.Key("end"), j.String(FormatIso8601(note.End));
        j.Key("kind"), j.String(NoteKindName(note.Kind));
        j.Key("text"), j.String(note.Text);
        j.Key("author"), j.String(note.Author);
        j.EndObject();
    }
    j.EndArray();
}

SurveyOptions WithExcludeNotes(SurveyOptions options, const LDatabase& db) {
    options.Excluded = ExcludedRanges(db.Notes());
    return options;
}
