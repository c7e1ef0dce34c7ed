// The database file: its layout, loading back exactly, damaged files, the document's states.
#include "database/LDatabase.h"
#include "database/FileWriter.h"
#include "database/RecordingFile.h"
#include "model/ErrorReport.h"
#include "model/Windows1252.h"
#include "tests/database/DatabaseTestSupport.h"
#include "tools/RecordingGenerator.h"

#include "tests/support/ErrorMessage.h"
#include "tests/support/ErrorReportSpy.h"
#include "tests/support/PipeFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <set>

namespace {

// Where the first parameter record starts in the saved file.
size_t FirstParameterOffset(const LDatabase& db) {
    const LSession& s = db.Header();
    size_t n = 11;
    for (const std::string* t :
         {&s.UserID, &s.Location, &s.Comments, &s.InstrumentText, &s.InstrumentShortText})
        n += 4 + ToWindows1252(*t).size();
    return n + 5 + 8 + 8 + 4 + 8 + 4 + 4 + 12;
}

std::string LoadError(const std::string& fileName) {
    LDatabase db;
    return ErrorMessage([&] { LoadFrom(db, fileName); });
}

TEST(LDatabaseTest, FileWithoutWindowsIsMarkVersionSessionParametersAndFourZeros) {
    ScratchFolder dir;
    GeneratorOptions options;
    options.entries = {6, 47, 98};
    options.historicPoints = 3;
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(options));
    SaveAs(db, dir / "plain");
    EXPECT_FALSE(db.Modified());
    const std::string bytes = ReadBytes(dir / "plain.vro");

    // Built by hand from the recording: every field in its place.
    const std::string expected = [&] {
        FileWriter w(dir / "expected");
        w.Write("\x03\x00\x00\x00Vro\x0A\xD7\xA3\x3C", 11);
        const LSession& s = db.Header();
        for (const std::string* t : {&s.UserID, &s.Location, &s.Comments})
            w.WriteString(*t);
        for (uint8_t b : {s.PhaseConfig, s.CTType, s.Rate, s.Interval, s.Mode})
            w.WriteByte(b);
        w.WriteDouble(s.StartTime);
        w.WriteDouble(s.EndTime);
        w.WriteInt(s.DataLength);
        w.WriteDouble(s.DateProduced);
        w.WriteInt(s.InstrumentNumber);
        w.WriteString(s.InstrumentText);
        w.WriteString(s.InstrumentShortText);
        w.WriteInt(s.InstrumentLongNumber);
        for (int32_t v : {s.ParameterCount, s.EventPointMax, s.HistoricPointMax})
            w.WriteInt(v);
        for (const auto& p : db.Parameters()) {
            w.WriteInt(p->Id());
            w.WriteInt(p->Index());
            w.WriteDouble(p->StartTime());
            w.WriteInt(p->Rate());
            for (uint8_t b : {p->TableType(), p->Quantity(), p->Unit(), p->Channel()})
                w.WriteByte(b);
            w.WriteFloat(p->HeaderA());
            w.WriteFloat(p->HeaderB());
            w.WriteInt(p->Count());
            for (int i = 0; i < p->Count(); ++i)
                w.WriteFloat(p->Values()[i]);
            if (p->TableType() != ttHistoric)
                for (int i = 0; i < p->Count(); ++i)
                    w.WriteDouble(p->Times()[i]);
        }
        for (int i = 0; i < 4; ++i)
            w.WriteInt(0);
        w.Close();
        return ReadBytes(dir / "expected");
    }();
    EXPECT_TRUE(bytes == expected) << "sizes " << bytes.size() << " and " << expected.size();
}

TEST(LDatabaseTest, TablesAndChartsLoadAndSaveBackByteIdentical) {
    ScratchFolder dir;
    LDatabase original;
    FillDatabase(original);
    SaveAs(original, dir / "first");

    LDatabase loaded;
    LoadFrom(loaded, dir / "first.vro");
    EXPECT_FALSE(loaded.Modified());
    EXPECT_TRUE(loaded.HasFileName());
    ExpectSameContent(original, loaded);
    EXPECT_EQ(loaded.TableCounter(), 2);
    EXPECT_EQ(loaded.Charts()[0]->Title, "Voltage é");
    EXPECT_EQ(loaded.Charts()[0]->BackgroundColor, 0x80000005u);
    EXPECT_EQ(loaded.Charts()[0]->SeriesStyles, original.Charts()[0]->SeriesStyles);
    EXPECT_TRUE(loaded.Charts()[0]->LegendFont.Underline);
    const LParameterSource* chained = loaded.Charts()[0]->Sources.Items(0);
    ASSERT_TRUE(chained->Next && chained->Next->Next);
    EXPECT_EQ(chained->Next->Parameter->TableType(), ttEvent);
    EXPECT_TRUE(loaded.Tables()[0]->Sources.Items(0)->SubsetActive);
    const LParameterSourceGroup& events = loaded.Tables()[1]->Sources;
    ASSERT_NE(events.Items(0)->Next, nullptr);
    EXPECT_EQ(events.Items(0)->Next->Parameter->TableType(), ttIntervalEvent);
    EXPECT_EQ(events.Items(1)->Next, nullptr);

    SaveAs(loaded, dir / "second");
    EXPECT_TRUE(ReadBytes(dir / "second.vro") == ReadBytes(dir / "first.vro"));
}

TEST(LDatabaseTest, LoadingKeepsTheStoredIdsAndSourcesFindTheirParameters) {
    ScratchFolder dir;
    LDatabase original;
    FillDatabase(original);
    SaveAs(original, dir / "ids");

    LDatabase loaded;
    LoadFrom(loaded, dir / "ids.vro");
    std::set<int32_t> ids;
    for (int i = 0; i < loaded.Parameters().Count(); ++i) {
        EXPECT_EQ(loaded.Parameters().Items(i)->Id(), original.Parameters().Items(i)->Id());
        ids.insert(loaded.Parameters().Items(i)->Id());
    }
    EXPECT_EQ(static_cast<int>(ids.size()), loaded.Parameters().Count());
    for (const auto& table : loaded.Tables())
        for (const auto& s : table->Sources)
            EXPECT_EQ(loaded.Parameters().FindById(s->Parameter->Id()), s->Parameter);
    // The shared groups are built again: all sources, and for charts the Historic, Event and
    // Interval event ones.
    EXPECT_EQ(loaded.AllSources().Count(), 4);
    std::vector<int> chartTypes;
    for (const auto& s : loaded.ChartSources())
        chartTypes.push_back(s->Parameter->TableType());
    EXPECT_EQ(chartTypes, (std::vector<int>{ttHistoric, ttEvent, ttIntervalEvent}));
}

TEST(LDatabaseTest, WrongMarkIsRefusedAndReported) {
    ScratchFolder dir;
    WriteBytes(dir / "lower.vro", std::string("\x03\x00\x00\x00vro\x0A\xD7\xA3\x3C", 11));
    ErrorReportSpy spy;
    EXPECT_EQ(LoadError(dir / "lower.vro"), "Wrong file format");
    ASSERT_EQ(spy.reports.size(), 1u);
    EXPECT_EQ(spy.reports[0].context, "LDatabase::Load");
    EXPECT_EQ(LoadError(dir / "missing.vro"), "Error occured while loading the file.");
}

TEST(LDatabaseTest, OldChartRecordWithoutMinMaxSwitchLoads) {
    ScratchFolder dir;
    LDatabase db;
    FillDatabase(db);
    db.Charts()[0]->LegendColor = 0x00A1B2C3; // marks the place of the switch
    std::string bytes = ReadBytes(SaveAs(db, dir / "new"));

    // Version 0.01: no switch after the legend's colour and position.
    const std::string before("\xC3\xB2\xA1\x00\x03\x01", 6);
    const size_t at = bytes.find(before);
    ASSERT_NE(at, std::string::npos);
    bytes.erase(at + 5, 1);
    const float old = 0.01f;
    std::memcpy(&bytes[7], &old, 4);
    WriteBytes(dir / "old.vro", bytes);

    LDatabase loaded;
    LoadFrom(loaded, dir / "old.vro");
    EXPECT_FLOAT_EQ(loaded.Version(), 0.01f);
    EXPECT_FALSE(loaded.Charts()[0]->ShowMinMax);
    EXPECT_EQ(loaded.Charts()[0]->Sources.Count(), db.Charts()[0]->Sources.Count());
    EXPECT_EQ(loaded.Charts()[0]->SeriesStyles, db.Charts()[0]->SeriesStyles);
    EXPECT_EQ(loaded.Charts().size(), 2u);
}

TEST(LDatabaseTest, EveryTruncationIsAnErrorNeverACrash) {
    ScratchFolder dir;
    LDatabase db;
    FillDatabase(db, 3, 2);
    const std::string bytes = ReadBytes(SaveAs(db, dir / "whole"));
    ErrorReportSpy quiet;
    for (size_t n = 0; n < bytes.size(); ++n) {
        WriteBytes(dir / "cut.vro", bytes.substr(0, n));
        ASSERT_EQ(LoadError(dir / "cut.vro"), "Error reading") << "cut at " << n;
    }
}

TEST(LDatabaseTest, DamagedCountsAreRefusedBeforeAllocating) {
    ScratchFolder dir;
    LDatabase db;
    FillDatabase(db, 3, 2);
    const std::string bytes = ReadBytes(SaveAs(db, dir / "whole"));
    // The first parameter's point count.
    const size_t at = FirstParameterOffset(db) + 4 + 4 + 8 + 4 + 4 + 8;
    for (int32_t bad : {-1, INT32_MAX, 400000000}) {
        std::string damaged = bytes;
        std::memcpy(&damaged[at], &bad, 4);
        WriteBytes(dir / "damaged.vro", damaged);
        EXPECT_EQ(LoadError(dir / "damaged.vro"), "Error reading") << bad;
    }
}

TEST(LDatabaseTest, SourceOfAMissingParameterIsReported) {
    ScratchFolder dir;
    LDatabase db;
    FillDatabase(db);
    std::string bytes = ReadBytes(SaveAs(db, dir / "orphan"));
    // Give the first parameter another id: the tables' sources lose it.
    const int32_t other = 40000;
    std::memcpy(&bytes[FirstParameterOffset(db)], &other, 4);
    WriteBytes(dir / "orphan.vro", bytes);
    ErrorReportSpy spy;
    EXPECT_EQ(LoadError(dir / "orphan.vro"), "Invalid parameter Id");
    ASSERT_FALSE(spy.reports.empty());
    EXPECT_EQ(spy.reports[0].context, "LParameterSource::Load");
}

TEST(LDatabaseTest, StoredSourceRangesNoSubsetCanMakeAreRefused) {
    struct Case {
        int32_t first, last, periods;
        bool loads;
    };
    // Subsets make first from -1 up, never a negative count, and a range in sample periods
    // that may reach past a parameter with fewer points (2 here) up to the recording's
    // periods, or 50 000 for a shorter recording.
    for (const Case c : {Case{-1, -1, 3, true},
                         {0, -1, 3, true},
                         {-1, 2, 3, true},
                         {3, 2, 3, true},
                         {0, 3, 3, true},
                         {0, 50000, 3, true},
                         {0, 60000, 60000, true},
                         {-2, 5, 3, false},
                         {0, 50001, 3, false},
                         {0, 60001, 60000, false},
                         {10, 8, 3, false},
                         {INT32_MIN, INT32_MAX, 3, false},
                         {INT32_MAX, INT32_MIN, 3, false},
                         {1, INT32_MIN, 3, false}}) {
        ScratchFolder dir;
        LDatabase db;
        FillDatabase(db, 3, 2);
        db.Header().HistoricPointMax = c.periods;
        // In a chained source: every source of a record is checked.
        LParameterSource* chained = db.Charts()[0]->Sources.Items(0)->Next.get();
        ASSERT_EQ(chained->Parameter->Count(), 2);
        chained->SubsetActive = true;
        chained->First = c.first;
        chained->Last = c.last;
        SaveAs(db, dir / "range");
        ErrorReportSpy spy;
        if (c.loads) {
            EXPECT_EQ(LoadError(dir / "range.vro"), "") << c.first << ".." << c.last;
            continue;
        }
        EXPECT_EQ(LoadError(dir / "range.vro"), "Invalid source range")
            << c.first << ".." << c.last;
        EXPECT_EQ(spy.reports, (std::vector<ErrorReportSpy::Report>{
                                   {"LParameterSource::Load", "Invalid source range"}}));
    }
}

// A Historic table over a time range that takes in a parameter with fewer points than the
// others, to the recording's end, as the time range dialog makes it: it opens again with the
// same rows, empty cells past the short parameter's data.
TEST(LDatabaseTest, ATimeRangeOverAShorterParameterOpensAgain) {
    ScratchFolder dir;
    GeneratorOptions options;
    options.entries = {6, 7};
    options.historicPoints = 60;
    GeneratedRecording recording = GenerateRecording(options);
    recording.blocks[1].values.resize(40);
    LDatabase db;
    db.New();
    db.Parse(recording.Serialize());
    ASSERT_EQ(db.Header().HistoricPointMax, 60);
    LTableRecord* table = db.AddTable();
    for (const auto& s : db.AllSources())
        table->Sources.Add(std::make_unique<LParameterSource>(*s));
    table->Sources.SetSubset(30, 59);
    SaveAs(db, dir / "range");

    LDatabase loaded;
    ASSERT_EQ(LoadError(dir / "range.vro"), "");
    LoadFrom(loaded, dir / "range.vro");
    const LParameterSourceGroup& sources = loaded.Tables().at(0)->Sources;
    ASSERT_EQ(sources.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const LParameterSource& s = *sources.Items(i);
        EXPECT_EQ(s.GetCount(), 30);
        float value;
        EXPECT_TRUE(s.GetValue(9, value));
        EXPECT_EQ(s.GetValue(10, value), s.Parameter->Count() == 60) << "past the 40 points";
    }
}

TEST(LDatabaseTest, SourcesBindToTheFirstParameterWithTheirId) {
    // Ids as the program draws them, and scattered over the whole range as a damaged file may
    // have them. A damaged file may give two parameters one id: a search from the front
    // finds the first.
    for (const std::vector<int32_t>& ids :
         {std::vector<int32_t>{17, 32766, 32766, 0}, {INT32_MAX, INT32_MIN, INT32_MIN, -5}}) {
        ScratchFolder dir;
        LDatabase db;
        FillDatabase(db, 3, 2);
        for (int i = 0; i < 4; ++i)
            db.Parameters().Items(i)->SetId(ids[static_cast<size_t>(i)]);
        SaveAs(db, dir / "ids");
        LDatabase loaded;
        LoadFrom(loaded, dir / "ids.vro");
        const auto& sources = loaded.Tables()[0]->Sources;
        for (int i : {0, 1, 3})
            EXPECT_EQ(sources.Items(i)->Parameter, loaded.Parameters().Items(i)) << ids[0];
        EXPECT_EQ(sources.Items(2)->Parameter, loaded.Parameters().Items(1)) << ids[0];
    }
}

TEST(LDatabaseTest, CountersAtTheirLargestRefuseANewItem) {
    ScratchFolder dir;
    LDatabase db;
    FillDatabase(db, 3, 2);
    db.SetTableCounter(INT32_MAX);
    db.SetChartCounter(INT32_MAX);
    SaveAs(db, dir / "counters");
    LDatabase loaded;
    LoadFrom(loaded, dir / "counters.vro");
    EXPECT_EQ(ErrorMessage([&] { loaded.AddTable(); }),
              "No more tables can be created in this database.");
    EXPECT_EQ(ErrorMessage([&] { loaded.AddChart(); }),
              "No more charts can be created in this database.");
    EXPECT_EQ(loaded.Tables().size(), 2u);
    EXPECT_EQ(loaded.Charts().size(), 2u);
    EXPECT_FALSE(loaded.Modified());
    loaded.SetTableCounter(INT32_MAX - 1);
    EXPECT_EQ(loaded.AddTable()->Caption, "Table #2147483647");
}

TEST(LDatabaseTest, PipesLoadAndTheirLengthsAreCheckedAgainstTheirBytes) {
    ScratchFolder dir;
    LDatabase db;
    FillDatabase(db, 3, 2);
    PipeFile pipe(ReadBytes(SaveAs(db, dir / "piped")));
    LDatabase loaded;
    LoadFrom(loaded, pipe.Path());
    ExpectSameContent(db, loaded);
    // A mark of 2 GB that would be allocated before the pipe ran dry.
    PipeFile damaged(std::string("\xFF\xFF\xFF\x7F"
                                 "Vro",
                                 7));
    EXPECT_EQ(LoadError(damaged.Path()), "Error reading");
}

TEST(LDatabaseTest, LongSourceChainsNeitherOverflowTheStackNorLeak) {
    ScratchFolder dir;
    LDatabase db;
    FillDatabase(db);
    LParameterSource* last = db.Tables()[1]->Sources.Items(0);
    for (int i = 0; i < 200000; ++i) {
        last->Next = std::make_unique<LParameterSource>(*db.AllSources().Items(i % 4));
        last = last->Next.get();
    }
    SaveAs(db, dir / "chain");
    LDatabase loaded;
    LoadFrom(loaded, dir / "chain.vro");
    int length = 0;
    for (const LParameterSource* s = loaded.Tables()[1]->Sources.Items(0); s; s = s->Next.get())
        ++length;
    EXPECT_EQ(length, 200001);
}

TEST(LDatabaseTest, StatesAndNames) {
    LDatabase db;
    EXPECT_FALSE(db.Open());
    ErrorReportSpy spy;
    EXPECT_EQ(ErrorMessage([&] { db.Parse(""); }), "Database not open");
    EXPECT_EQ(ErrorMessage([&] { db.CreateSourceGroups(); }), "Database not open");
    ASSERT_EQ(spy.reports.size(), 2u);
    EXPECT_EQ(spy.reports[0].context, "LDatabase::Parse");
    EXPECT_EQ(spy.reports[1].context, "LDatabase::CreateSourceGroups");

    db.New();
    EXPECT_TRUE(db.Open());
    EXPECT_FALSE(db.Modified());
    EXPECT_FALSE(db.HasFileName());
    EXPECT_EQ(db.FileName(), "New Database");
    for (auto [given, stored] : {std::pair{"test", "test.vro"},
                                 {"TEST.VRO", "TEST.VRO"},
                                 {"a.vro.txt", "a.vro.txt.vro"},
                                 {"a.vro.vro", "a.vro.vro.vro"},
                                 {"/x/.vro", "/x/.vro"}}) {
        db.SetFileName(given);
        EXPECT_EQ(db.FileName(), stored) << given;
    }
    EXPECT_TRUE(db.HasFileName());

    EXPECT_EQ(db.AddTable()->Caption, "Table #1");
    EXPECT_EQ(db.AddChart()->Caption, "Chart #1");
    EXPECT_EQ(db.AddTable()->Caption, "Table #2");
    db.SetModified(false);
    db.DeleteTable(db.Tables()[0].get());
    EXPECT_TRUE(db.Modified());
    EXPECT_EQ(db.Tables()[0]->Caption, "Table #2");

    // The name outlives Close; New resets it.
    db.Close();
    EXPECT_FALSE(db.Open());
    EXPECT_FALSE(db.Modified());
    EXPECT_EQ(db.FileName(), "/x/.vro");
    db.New();
    EXPECT_EQ(db.FileName(), "New Database");
    EXPECT_EQ(db.TableCounter(), 0);
}

// The notes' block as the format lays it out: a count, then start, end, kind, text, author.
std::string NoteBlock(const std::string& scratch, int32_t count, const std::vector<LNote>& notes) {
    FileWriter w(scratch);
    w.WriteInt(count);
    for (const LNote& n : notes) {
        w.WriteDouble(n.Start);
        w.WriteDouble(n.End);
        w.WriteByte(static_cast<uint8_t>(n.Kind));
        w.WriteString(n.Text);
        w.WriteString(n.Author);
    }
    w.Close();
    return ReadBytes(scratch);
}

std::string WithVersion(std::string bytes, float version) {
    std::memcpy(&bytes[7], &version, 4);
    return bytes;
}

TEST(LDatabaseTest, NotesFollowTheChartsInVersion003AndLoadBack) {
    ScratchFolder dir;
    LDatabase db;
    FillDatabase(db);
    const std::string without = ReadBytes(SaveAs(db, dir / "without"));
    const TDateTime start = db.Header().StartTime;
    const LNote change{start + 0.5, start + 0.5, LNoteKind::Change, "Bank on é", "Jürgen"};
    const LNote holiday{start, start + 0.25, LNoteKind::Exclude, "", ""};
    db.AddNote(change);
    db.AddNote(holiday);
    const std::string with = ReadBytes(SaveAs(db, dir / "with"));
    EXPECT_TRUE(with ==
                WithVersion(without, 0.03f) + NoteBlock(dir / "block", 2, {holiday, change}));

    LDatabase loaded;
    LoadFrom(loaded, dir / "with.vro");
    EXPECT_EQ(loaded.Notes(), (std::vector<LNote>{holiday, change}));
    EXPECT_FALSE(loaded.Modified());
    EXPECT_TRUE(ReadBytes(SaveAs(loaded, dir / "again")) == with);

    // An older reader stops after the charts: read so, the file is all there but its notes.
    WriteBytes(dir / "older.vro", WithVersion(with, 0.02f));
    LDatabase older;
    LoadFrom(older, dir / "older.vro");
    ExpectSameContent(db, older);
    EXPECT_EQ(older.Charts().size(), 2u);
    EXPECT_TRUE(older.Notes().empty());

    // Without its notes the database is written as before notes were known.
    loaded.DeleteNote(1);
    loaded.DeleteNote(0);
    EXPECT_TRUE(ReadBytes(SaveAs(loaded, dir / "again")) == without);
}

TEST(LDatabaseTest, DamagedNoteBlocksAreRefusedNamingTheFile) {
    ScratchFolder dir;
    LDatabase db;
    FillDatabase(db);
    const std::string charts = WithVersion(ReadBytes(SaveAs(db, dir / "plain")), 0.03f);
    const double day = db.Header().StartTime;
    const std::string nan = "Invalid note", cut = "Error reading";
    const auto note = [&](double start, double end, uint8_t kind, size_t length = 4) {
        return LNote{start, end, static_cast<LNoteKind>(kind), std::string(length, 'x'), "me"};
    };
    struct Case {
        const char* what;
        std::string block;
        std::string message;
    } cases[] = {
        {"no count", "", cut},
        {"negative count", NoteBlock(dir / "b", -1, {}), cut},
        {"more than there are", NoteBlock(dir / "b", 2, {note(day, day, 0)}), cut},
        {"count beyond the file", NoteBlock(dir / "b", 1 << 30, {note(day, day, 0)}), cut},
        {"kind 4", NoteBlock(dir / "b", 1, {note(day, day, 4)}), nan},
        {"no time", NoteBlock(dir / "b", 1, {note(NAN, day, 1)}), nan},
        {"end before start", NoteBlock(dir / "b", 1, {note(day, day - 1, 1)}), nan},
        {"text of 501", NoteBlock(dir / "b", 1, {note(day, day, 2, 501)}), nan},
    };
    ErrorReportSpy quiet;
    for (const Case& c : cases) {
        WriteBytes(dir / "damaged.vro", charts + c.block);
        LDatabase loaded;
        EXPECT_EQ(ErrorMessage([&] { LoadDatabaseFile(loaded, dir / "damaged.vro"); }),
                  "damaged.vro could not be opened: it is damaged or not a database file of "
                  "this program.\n" +
                      c.message)
            << c.what;
    }
    // The longest text there may be, and nothing else, loads.
    WriteBytes(dir / "fine.vro", charts + NoteBlock(dir / "b", 1, {note(day, day + 1, 3, 500)}));
    LDatabase loaded;
    LoadDatabaseFile(loaded, dir / "fine.vro");
    EXPECT_EQ(loaded.Notes().size(), 1u);
}

TEST(LDatabaseTest, NotesStayByStartTimeAndEachChangeMarksTheDatabaseModified) {
    LDatabase db;
    db.New();
    const auto note = [](double start, const char* text) {
        return LNote{start, start, LNoteKind::Remark, text, ""};
    };
    const auto texts = [&] {
        std::string all;
        for (const LNote& n : db.Notes())
            all += n.Text;
        return all;
    };
    struct Step {
        std::function<size_t()> change;
        size_t place;
        std::string texts;
    } steps[] = {
        {[&] { return db.AddNote(note(46000, "b")); }, 0, "b"},
        {[&] { return db.AddNote(note(45000, "a")); }, 0, "ab"},
        // Of one start, the later added comes later.
        {[&] { return db.AddNote(note(46000, "c")); }, 2, "abc"},
        {[&] { return db.EditNote(0, note(47000, "d")); }, 2, "bcd"},
        {[&] { return db.EditNote(1, note(46000, "e")); }, 1, "bed"},
        {[&] { return (db.DeleteNote(0), size_t{0}); }, 0, "ed"},
    };
    for (const Step& step : steps) {
        db.SetModified(false);
        EXPECT_EQ(step.change(), step.place) << step.texts;
        EXPECT_EQ(texts(), step.texts);
        EXPECT_TRUE(db.Modified());
    }
    // A note no file may hold is refused with its reason and nothing changed.
    db.SetModified(false);
    EXPECT_EQ(ErrorMessage([&] { db.AddNote(note(NAN, "x")); }),
              "A note's times must be dates from the years 1 to 9999.");
    EXPECT_EQ(ErrorMessage([&] {
                  db.EditNote(0, LNote{2, 1, LNoteKind::Remark, "x", ""});
              }),
              "A note cannot end before it starts.");
    ErrorReportSpy spy;
    EXPECT_EQ(ErrorMessage([&] { db.DeleteNote(2); }), "Invalid index");
    EXPECT_EQ(texts(), "ed");
    EXPECT_FALSE(db.Modified());
    db.New();
    EXPECT_TRUE(db.Notes().empty());
}

} // namespace
