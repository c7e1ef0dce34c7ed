// vrotool as a user runs it: exit statuses, messages and the JSON shape.
#include "database/LDatabase.h"
#include "tests/support/PdfPages.h"
#include "tests/support/PipeFile.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace {

class VrotoolTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const auto path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    ScratchFolder scratch;
    const std::filesystem::path& dir = scratch.path;
};

size_t Characters(const std::string& utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

TEST_F(VrotoolTest, GenerateThenInfo) {
    const std::string file = (dir / "r.bin").string();
    // By default as the instrument records: one value per total, one per interval.
    Result r = Vro("generate -o " + file + " --points 30 --seed 7");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(Vro("info --json " + file).out.find("\"event_point_max\": 2,"), std::string::npos);
    r = Vro("generate -o " + file + " --points 30 --event-points 4 --seed 7");
    ASSERT_EQ(r.status, 0) << r.out;
    r = Vro("info " + file);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("3Ø 4W Wye"), std::string::npos);
    EXPECT_NE(r.out.find("2026-11-30T17:45:00"), std::string::npos);
    // The parameter table's columns line up in characters, "ØA" and "3Ø" as two.
    const size_t header = r.out.find("\n   Id   #  Type");
    ASSERT_NE(header, std::string::npos);
    std::istringstream lines(r.out.substr(header + 1));
    std::string line, first;
    std::getline(lines, first);
    int rows = 0;
    for (; std::getline(lines, line) && !line.empty(); ++rows)
        EXPECT_EQ(Characters(line), Characters(first)) << line;
    EXPECT_EQ(rows, 89);

    r = Vro("info --json " + file);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("{\"format\": \"bin\", \"session\": {\"user_id\": \"\"", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"historic_point_max\": 30"), std::string::npos);
    EXPECT_EQ(r.out.find("\"values\""), std::string::npos);
}

TEST_F(VrotoolTest, JsonValuesAreExactAndNonFiniteValuesAreStrings) {
    GeneratorOptions o;
    o.entries = {6, 47};
    o.historicPoints = 3;
    GeneratedRecording rec = GenerateRecording(o);
    rec.blocks[0].values = {0.1f, std::nanf(""), -INFINITY};
    rec.blocks[1].values[0] = INFINITY;
    const std::string file = Write("v.bin", rec.Serialize());
    Result r = Vro("info --json --values " + file);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"values\": [0.1, \"NaN\", \"-Infinity\"]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"values\": [\"Infinity\""), std::string::npos);
    // Historic parameters have no times; the event parameter has its one.
    EXPECT_EQ(r.out.find("\"times\""), r.out.rfind("\"times\""));
    EXPECT_NE(r.out.find("\"minimum\": \"-Infinity\""), std::string::npos);

    // Without --json, a line per point.
    r = Vro("info --values " + file);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\nRMS Voltage - VAN (Historic), id "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(", 3 points:\n  2026-11-30T17:42:01  0.1 V\n"
                         "  2026-11-30T17:43:01  nan V\n  2026-11-30T17:44:01  -inf V\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\nRMS Voltage Max - VAN (Event), id "), std::string::npos);
}

TEST_F(VrotoolTest, EmptyParameterHasNullMinimum) {
    GeneratorOptions o;
    o.entries = {6, 7};
    o.historicPoints = 3;
    GeneratedRecording rec = GenerateRecording(o);
    rec.blocks[1].values.clear();
    Result r = Vro("info --json " + Write("e.bin", rec.Serialize()));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"count\": 0, \"header_a\": 600, \"header_b\": 1, \"minimum\": null, "
                         "\"maximum\": null"),
              std::string::npos)
        << r.out;
}

// The reader's message under a sentence that names the file and what the failure means.
TEST_F(VrotoolTest, ErrorsAreTheProgramsMessagesWithStatusOne) {
    GeneratedRecording rec = GenerateRecording({});
    rec.phaseConfig = 2;
    std::filesystem::create_directory(dir / "folder.vro");
    const std::string damaged = ": it is damaged or not an export file of the 1.x software.\n";
    const std::pair<std::string, std::string> cases[] = {
        {Write("short.bin", std::string(20, '\0')),
         "short.bin could not be opened" + damaged + "Parse error:Incremented past end\n"},
        {(dir / "missing.bin").string(),
         "missing.bin could not be opened: it does not exist.\nError opening file!\n"},
        {Write("p.bin", rec.Serialize()),
         "p.bin could not be opened" + damaged + "Parse error:PhaseConfig [2]\n"},
        {Write("week3.vro", std::string("\x03\0\0\0Vro\x0A\xD7\xA3\x3C", 11)),
         "week3.vro could not be opened: it is damaged or not a database file of this "
         "program.\nError reading\n"},
        {(dir / "folder.vro").string(),
         "folder.vro could not be opened: it is not a regular file.\nError reading\n"},
    };
    for (const auto& [file, message] : cases) {
        const Result r = Vro("info " + file);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, message);
    }
}

// A FIFO is opened once: the cause of a failure comes from that open, not from a second one
// that would wait for the writer that has gone.
TEST_F(VrotoolTest, AFifoThatFailsIsOpenedOnce) {
    for (const auto& [name, bytes, reader] :
         {std::tuple{"pipe.vro", std::string("\x03\0\0\0Vro", 7), "Error reading"},
          {"pipe.bin", std::string("1234567"), "Parse error:Incremented past end"}}) {
        const FedFifo fifo((dir / name).string(), bytes);
        const Result r = Vro("info " + fifo.Path());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
                  std::string(name) + " could not be opened: it is not a regular file.");
        EXPECT_NE(r.out.find(reader), std::string::npos) << r.out;
        EXPECT_FALSE(fifo.ReopenedForReading());
    }
}

// Values no recorder can produce: counted per parameter on standard error, the output as it
// was; the survey says so above its figures.
TEST_F(VrotoolTest, ValuesNoRecorderCanProduceAreCounted) {
    GeneratorOptions o;
    o.entries = {40}; // Power Factor - 3Ø
    o.historicPoints = 4;
    GeneratedRecording rec = GenerateRecording(o);
    rec.blocks[0].values = {0.9f, 1.5f, -2, 0.8f};
    const std::string file = Write("pf.bin", rec.Serialize());
    const std::string line = "Power Factor - 3Ø: 2 values outside −1 to 1\n";
    const std::string info = std::string(VROTOOL) + " info " + file;
    Result r = RunCommand("sh -c '" + info + " 2>/dev/null'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("outside"), std::string::npos);
    r = RunCommand("sh -c '" + info + " 2>&1 >/dev/null'");
    EXPECT_EQ(r.out, line);
    r = Vro("survey " + file);
    EXPECT_NE(r.out.find("\nThe recording holds values no recorder can produce; the figures "
                         "take them as they are:\n  - " +
                         line),
              std::string::npos)
        << r.out;
}

TEST_F(VrotoolTest, UsageErrorsExitWithTwo) {
    EXPECT_EQ(Vro("").status, 2);
    EXPECT_EQ(Vro("frobnicate").status, 2);
    EXPECT_EQ(Vro("info").status, 2);
    EXPECT_EQ(Vro("generate").status, 2); // no -o
    EXPECT_EQ(Vro("generate -o x.bin --rate 9").status, 2);
    EXPECT_EQ(Vro("info a.bin --bogus").status, 2);
    EXPECT_EQ(Vro("info --help").status, 0);
}

TEST_F(VrotoolTest, VersionIsTheProjects) {
    for (const char* option : {"--version", "-v"}) {
        const Result r = Vro(option);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "vrotool " VRO_VERSION "\n");
    }
}

TEST_F(VrotoolTest, ImportEditAndInfoOfADatabase) {
    GeneratorOptions o;
    o.entries = {6, 47};
    o.historicPoints = 5;
    const std::string bin = Write("Site 4.BIN", GenerateRecordingBytes(o));
    Result r = Vro("import \"" + bin + "\" --user-id JK --location \"Feeder Ø\"");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string vro = (dir / "Site 4.vro").string();
    EXPECT_EQ(r.out, "Wrote " + vro + "\n");

    r = Vro("info --json \"" + vro + "\"");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("{\"format\": \"vro\", \"version\": 0.02, \"session\": "
                          "{\"user_id\": \"JK\", \"location\": \"Feeder Ø\"",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("\"table_counter\": 0, \"tables\": [], \"chart_counter\": 0, "
                         "\"charts\": []}"),
              std::string::npos)
        << r.out;

    // Editing with nothing to change writes the same bytes; a change keeps a backup.
    auto bytes = [](const std::string& f) {
        std::string content;
        if (FILE* in = std::fopen(f.c_str(), "rb")) {
            char buf[4096];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, in)) > 0)
                content.append(buf, n);
            std::fclose(in);
        }
        return content;
    };
    const std::string before = bytes(vro);
    ASSERT_EQ(Vro("edit \"" + vro + "\"").status, 0);
    EXPECT_TRUE(bytes(vro) == before);
    EXPECT_FALSE(std::filesystem::exists(vro + ".backup")); // only when asked for
    ASSERT_EQ(Vro("edit \"" + vro + "\" --location Bay --backup").status, 0);
    EXPECT_TRUE(bytes(vro + ".backup") == before);
    EXPECT_NE(Vro("info \"" + vro + "\"").out.find("Location:      Bay"), std::string::npos);
    // An import over a database keeps the one it replaces when asked to.
    const std::string edited = bytes(vro);
    ASSERT_EQ(Vro("import \"" + bin + "\" --backup").status, 0);
    EXPECT_TRUE(bytes(vro + ".backup") == edited);

    r = Vro("import \"" + bin + "\" -o " + (dir / "other").string());
    EXPECT_EQ(r.out, "Wrote " + (dir / "other.vro").string() + "\n");
}

TEST_F(VrotoolTest, DatabaseFilesAreKnownByNameOrMark) {
    // A .vro name with a wrong mark is a database that fails, not a recording.
    Result r = Vro("info " + Write("bad.VRO", std::string("\x03\0\0\0vro\x0A\xD7\xA3\x3C", 11)));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Program error in LDatabase::Load: Wrong file format\nbad.VRO could not be "
                     "opened: it is damaged or not a database file of this program.\nWrong file "
                     "format\n");
    // The mark without the name: loaded as a database all the same.
    r = Vro("info " + Write("noname", std::string("\x03\0\0\0Vro\x0A\xD7\xA3\x3C", 11)));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\nError reading\n"), std::string::npos);
    r = Vro("import " + Write("empty.bin", ""));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "empty.bin could not be imported: it is damaged or not an export file of "
                     "the 1.x software.\nParse error:Incremented past end\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.vro"));
}

#ifdef VRO_TABLES
TEST_F(VrotoolTest, TableAsTheWindowCopiesIt) {
    GeneratorOptions o;
    o.phaseConfig = 0;
    o.entries = {0, 9}; // RMS Voltage V1, RMS Current I1
    o.historicPoints = 3;
    GeneratedRecording rec = GenerateRecording(o);
    rec.blocks[0].values = {1234.5f, 2.0f, 3.0f};
    rec.blocks[1].values = {0.5f, 0.25f, 7.0f};
    LDatabase db;
    db.New();
    db.Parse(rec.Serialize());
    db.AddTable()->Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(0)));
    LTableRecord& feeder = *db.AddTable();
    feeder.Caption = "Feeder \"B\"";
    for (const auto& p : db.Parameters())
        feeder.Sources.Add(std::make_unique<LParameterSource>(p.get()));
    db.SetFileName((dir / "t.vro").string());
    db.Save(false);
    const std::string vro = db.FileName();

    Result r = Vro("table " + vro + " --index 1 --locale en_US");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Time\tRMS Voltage V1 (V)\r\n11/30/2026 5:42:01 PM\t1,234.50\r\n"
                     "11/30/2026 5:43:01 PM\t2.00\r\n11/30/2026 5:44:01 PM\t3.00\r\n");
    r = Vro("table " + vro + " --caption 'Feeder \"B\"' --first 1 --last 1 --csv --locale de_DE");
    ASSERT_EQ(r.status, 0) << r.out;
    // CSV is the spreadsheet's, whatever the locale.
    EXPECT_EQ(r.out,
              "Time,RMS Voltage V1 (V),RMS Current I1 (A)\r\n2026-11-30 17:43:01,2,0.25\r\n");
    const std::string out = (dir / "t.csv").string();
    r = Vro("table " + vro + " --index 2 --first 2 --csv --locale C -o " + out);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Wrote " + out + "\n");
    EXPECT_EQ(ReadBytes(out).substr(ReadBytes(out).find('\n') + 1), "2026-11-30 17:44:01,3,7\r\n");

    const struct {
        std::string args;
        int status;
        std::string message;
    } failures[] = {
        {"--index 3", 1, "No table 3: the file has 2 tables\n"},
        {"--caption Feeder", 1, "No table captioned \"Feeder\"\n"},
        {"--index 1 --first 3", 1, "Rows 3 to 2 are not in the table: its data rows are 0 to 2\n"},
        {"--index 1 --last 3", 1, "Rows 0 to 3 are not in the table: its data rows are 0 to 2\n"},
        {"--index 1 --caption x", 2, ""},
        {"--index 1 --locale xx_Nowhere", 2, ""},
        {"--index 0", 2, ""},
        {"--index -1", 2, ""},
    };
    for (const auto& f : failures) {
        r = Vro("table " + vro + " " + f.args);
        EXPECT_EQ(r.status, f.status) << f.args;
        if (!f.message.empty()) {
            EXPECT_EQ(r.out, f.message);
        }
    }
    r = Vro("table " + Write("bad.vro", "Vro") + " --index 1");
    EXPECT_EQ(r.status, 1);
}

// A time range to the recording's end over a parameter with fewer points than the other, as
// the program makes it: the file opens, and the rows past its data have empty cells.
TEST_F(VrotoolTest, ATableOverATimeRangeOfAShorterParameterOpens) {
    GeneratorOptions o;
    o.phaseConfig = 0;
    o.entries = {0, 9}; // RMS Voltage V1, RMS Current I1
    o.historicPoints = 4;
    GeneratedRecording rec = GenerateRecording(o);
    rec.blocks[0].values = {1, 2, 3, 4};
    rec.blocks[1].values = {5, 6};
    LDatabase db;
    db.New();
    db.Parse(rec.Serialize());
    LTableRecord& table = *db.AddTable();
    for (const auto& p : db.Parameters())
        table.Sources.Add(std::make_unique<LParameterSource>(p.get()));
    table.Sources.SetSubset(1, 3);
    db.SetFileName((dir / "range.vro").string());
    db.Save(false);

    const Result r = Vro("table " + db.FileName() + " --index 1 --csv");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Time,RMS Voltage V1 (V),RMS Current I1 (A)\r\n"
                     "2026-11-30 17:42:01,2,6\r\n2026-11-30 17:43:01,3,\r\n"
                     "2026-11-30 17:44:01,4,\r\n");
}
TEST_F(VrotoolTest, PrintMakesThePagesOfTheWindowsAsAPdfWithoutADisplay) {
    GeneratorOptions o;
    o.phaseConfig = 0;
    o.entries = {0, 9, 17, 23, 29, 35};
    o.historicPoints = 150;
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(o));
    db.Header().Location = "Plant 2";
    db.Header().UserID = "J. Smith";
    LTableRecord& table = *db.AddTable();
    for (const auto& p : db.Parameters())
        table.Sources.Add(std::make_unique<LParameterSource>(p.get()));
    db.SetFileName((dir / "p.vro").string());
    db.Save(false);
    const std::string vro = db.FileName();
    const std::string pdf = (dir / "p.pdf").string();
    const std::string print = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                              std::string(VROTOOL) + " print " + vro + " -o " + pdf + " ";

    const struct {
        std::string args;
        std::vector<std::string> shown, hidden;
        int times; // data rows on the first page: every time stamp's seconds are :01
        std::string pageSize;
    } prints[] = {
        {"--info",
         {"Recording info", "Page 1 of 1", "Location: Plant 2", "User Id: J. Smith"},
         {},
         -1,
         "A4"},
        {"--table 1",
         {"Table #1", "Page 1 of 6", "Location: Plant 2", "RMS Voltage"},
         {"Power Factor"},
         -1,
         "A4"},
        {"--table 1 --first 2 --last 3 --no-title --no-page-number --no-location --no-user-id "
         "--page Letter --landscape",
         {"RMS Voltage", "Power Factor"},
         {"Table #1", "Page ", "Location: ", "User Id: "},
         2,
         "792 x 612 pts (letter)"},
    };
    for (const auto& p : prints) {
        const Result r = RunCommand(print + p.args);
        ASSERT_EQ(r.status, 0) << p.args << "\n" << r.out;
        const int pages = PdfPageCount(pdf);
        EXPECT_NE(r.out.find("Wrote " + pdf + ", " + std::to_string(pages) +
                             (pages == 1 ? " page\n" : " pages\n")),
                  std::string::npos)
            << r.out;
        const std::vector<std::string> texts = PdfPageTexts(pdf);
        ASSERT_FALSE(texts.empty());
        for (const std::string& text : p.shown)
            EXPECT_EQ(Occurrences(texts[0], text), 1) << text << " in\n" << texts[0];
        for (const std::string& text : p.hidden)
            EXPECT_EQ(Occurrences(texts[0], text), 0) << text << " in\n" << texts[0];
        if (p.times >= 0) {
            EXPECT_EQ(Occurrences(texts[0], ":01"), p.times) << texts[0];
        }
        const Result info = RunCommand("pdfinfo " + pdf);
        EXPECT_NE(info.out.find(p.pageSize), std::string::npos) << info.out;
    }

    const struct {
        std::string args;
        int status;
        std::string message;
    } failures[] = {
        {"--table 2", 1, "No table 2: the file has 1 table\n"},
        {"--table 1 --first 150", 1,
         "Rows 150 to 149 are not in the table: its data rows are 0 to 149\n"},
        {"--info --table 1", 2, ""},
        {"--info --first 1", 2, ""},
        {"--table 1 --page B5", 2, ""},
    };
    for (const auto& f : failures) {
        std::filesystem::remove(pdf);
        const Result r = RunCommand(print + f.args);
        EXPECT_EQ(r.status, f.status) << f.args;
        EXPECT_NE(r.out.find(f.message), std::string::npos) << r.out;
        EXPECT_FALSE(std::filesystem::exists(pdf)) << f.args;
    }
}

TEST_F(VrotoolTest, ChartAsSvgPngOrPdfWithoutADisplay) {
    GeneratorOptions o;
    o.phaseConfig = 0;
    o.entries = {0, 41, 109}; // RMS Voltage V1, its maxima, energy (Cumulative)
    o.historicPoints = 600;
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(o));
    LChartRecord& chart = *db.AddChart();
    chart.Caption = "Week 48";
    for (int i : {0, 1})
        chart.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(i)));
    db.AddChart()->Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(2)));
    db.SetFileName((dir / "c.vro").string());
    db.Save(false);
    const std::string vro = db.FileName();

    const std::string svg = (dir / "c.svg").string(), png = (dir / "c.png").string();
    const std::string pdf = (dir / "c.pdf").string();
    Result r = Vro("chart " + vro + " --caption 'Week 48' -o " + svg);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Wrote " + svg + "\n");
    EXPECT_NE(ReadBytes(svg).find("<svg"), std::string::npos);
    EXPECT_NE(ReadBytes(svg).find("RMS Voltage - V1 (V)"), std::string::npos);
    r = Vro("chart " + vro + " --index 1 --size 640x480 -o " + png);
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string image = ReadBytes(png);
    ASSERT_GT(image.size(), 24u);
    EXPECT_EQ(image.substr(1, 3), "PNG");
    EXPECT_EQ(image.substr(16, 8), std::string("\0\0\x02\x80\0\0\x01\xE0", 8)); // 640 by 480
    r = Vro("chart " + vro + " --index 1 -o " + pdf);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(ReadBytes(pdf).substr(0, 5), "%PDF-");
    // Printed as VroView prints it: the caption in the header, the chart's own title below.
    r = Vro("print " + vro + " --chart 1 -o " + pdf);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Wrote " + pdf + ", 1 page\n");
    EXPECT_EQ(Occurrences(PdfPageTexts(pdf).at(0), "Week 48"), 1);
    EXPECT_EQ(Occurrences(PdfPageTexts(pdf).at(0), "RMS Voltage - V1 (V)"), 1);

    const struct {
        std::string args;
        int status;
        std::string ending;
    } failures[] = {
        {"--index 2 -o " + svg, 1, "Wrong parameter type for chart\n"},
        {"--index 3 -o " + svg, 1, "No chart 3: the file has 2 charts\n"},
        {"--caption x -o " + svg, 1, "No chart captioned \"x\"\n"},
        {"--index 1 -o c.gif", 2, ""},
        {"--index 1 --size 10x10 -o " + png, 2, ""},
        {"--index 1", 2, ""},
        {"--index 0 -o " + svg, 2, ""},
    };
    for (const auto& f : failures) {
        r = Vro("chart " + vro + " " + f.args);
        EXPECT_EQ(r.status, f.status) << f.args;
        EXPECT_TRUE(r.out.ends_with(f.ending)) << r.out;
    }
}
#endif

} // namespace
