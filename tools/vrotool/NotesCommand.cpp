// vrotool notes: the notes on a database file's time axis, listed, added and deleted.
#include "analysis/TextStyle.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "model/PlainText.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/CommandNotes.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/JsonWriter.h"
#include "tools/vrotool/TimeArgument.h"

#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

// Tabs and line breaks would cut a cell of the listing.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::string ListingText(const std::vector<LNote>& notes) {
    std::string text;
    AppendRow(text, {"No.", "Start", "End", "Kind", "Text", "Author"}, CellFormat::Tab);
    for (size_t i = 0; i < notes.size(); ++i) {
        const LNote& n = notes[i];
        AppendRow(text,
                  {std::to_string(i + 1), PlainDateTime(n.Start),
                   n.IsRange() ? PlainDateTime(n.End) : std::string(), NoteKindName(n.Kind),
                   OneLine(n.Text), OneLine(n.Author)},
                  CellFormat::Tab);
    }
    return text;
}

LNote NoteArguments(const std::string& at, const std::optional<std::string>& to,
                    const std::optional<std::string>& kind,
                    const std::optional<std::string>& text) {
    LNote note;
    note.Start = ParseTimeArgument("--add", at);
    note.End = to ? ParseTimeArgument("--to", *to) : note.Start;
    if (note.End < note.Start)
        throw UsageError("the note ends (--to " + *to + ") before it starts (--add " + at + ")");
    if (!kind)
        throw UsageError("--add needs --kind remark, exclude, change or recorder");
    if (!NoteKindOfName(*kind, note.Kind))
        throw UsageError("option --kind takes remark, exclude, change or recorder, not '" + *kind +
                         "'");
    if (!text)
        throw UsageError("--add needs --text TEXT");
    note.Text = *text;
    return note;
}

} // namespace

int NotesCommand(Arguments& args) {
    const auto add = args.Value("--add");
    const auto to = args.Value("--to");
    const auto kind = args.Value("--kind");
    const auto text = args.Value("--text");
    const auto author = args.Value("--author");
    const auto remove = args.Integer("--delete", 1, std::numeric_limits<int32_t>::max());
    const bool json = args.Flag("--json");
    const bool backup = args.Flag("--backup");
    const std::string file = args.OnlyFile("FILE.vro");
    if (add && remove)
        throw UsageError("give --add or --delete, not both");
    if (!add && (to || kind || text || author))
        throw UsageError("--to, --kind, --text and --author go with --add");
    if ((add || remove) && json)
        throw UsageError("--json goes with the listing, not with --add or --delete");
    if (!add && !remove && backup)
        throw UsageError("--backup goes with --add or --delete");

    LDatabase db;
    if (!add && !remove) {
        OpenDatabaseOrRecording(db, file);
        WriteOutput(json ? JsonText([&](JsonWriter& j) { WriteNotesJson(j, db.Notes()); })
                         : ListingText(db.Notes()),
                    std::nullopt);
        return 0;
    }

    LoadDatabaseFile(db, file);
    if (add) {
        LNote note = NoteArguments(*add, to, kind, text);
        note.Author = author.value_or(db.Header().UserID);
        const size_t at = db.AddNote(std::move(note));
        std::printf("Added note %zu\n", at + 1);
    } else {
        const size_t count = db.Notes().size();
        if (static_cast<size_t>(*remove) > count)
            Raise("No note " + std::to_string(*remove) + ": the file has " + std::to_string(count) +
                  " note" + (count == 1 ? "" : "s"));
        const size_t at = static_cast<size_t>(*remove - 1);
        const std::string gone = OneLine(db.Notes()[at].Text);
        db.DeleteNote(at);
        std::printf("Deleted note %lld: %s\n", *remove, gone.c_str());
    }
    db.Save(backup);
    std::printf("Wrote %s\n", db.FileName().c_str());
    return 0;
}
