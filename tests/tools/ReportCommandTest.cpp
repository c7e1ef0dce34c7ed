// vrotool report: the sections of the report read back with pdftotext, the page count and
// size, and the exit statuses.
#include "model/NumberFormat.h"
#include "model/ParameterTable.h"
#include "tests/support/CsvReader.h"
#include "tests/support/PdfPages.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tools/JsonReader.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace {

class ReportCommandTest : public ::testing::Test {
protected:
    std::string Recording(std::vector<int> entries, const std::string& name = "r.bin") {
        GeneratorOptions o;
        o.entries = std::move(entries);
        o.historicPoints = 2880;
        const std::string path = (scratch.path / name).string();
        std::ofstream(path, std::ios::binary) << GenerateRecordingBytes(o);
        return path;
    }
    std::string All(const std::string& pdf) {
        std::string text;
        for (const std::string& page : PdfPageTexts(pdf))
            text += page;
        return text;
    }
    std::string Out() { return (scratch.path / "out.pdf").string(); }
    // A month of one-minute samples of everything a 3-phase recorder records, as the demo has.
    std::string Month(int32_t days = 30) {
        GeneratorOptions o;
        o.historicPoints = days * 1440;
        const std::string path =
            (scratch.path / ("month" + std::to_string(days) + ".bin")).string();
        if (!std::filesystem::exists(path))
            std::ofstream(path, std::ios::binary) << GenerateRecordingBytes(o);
        return path;
    }
    // Four weeks of 5-minute power from Monday 2024-03-04, two weeks on each side.
    std::string FourWeeks() {
        GeneratorOptions o;
        o.entries = {22};
        o.rate = 5;
        o.historicPoints = 28 * 288;
        o.start = CalendarTime{2024, 3, 4, 0, 0, 0};
        const std::string file = (scratch.path / "four-weeks.bin").string();
        std::ofstream(file, std::ios::binary) << GenerateRecordingBytes(o);
        return file;
    }
    static constexpr char TwoWeeksEach[] =
        " --before-range 2024-03-04T00:00:00..2024-03-17T23:55:00"
        " --after-range 2024-03-18T00:00:00..2024-03-31T23:55:00";
    // "fi" and "ff" as pdftotext may give them, as single ligatures.
    static std::string Plain(std::string text) {
        for (const auto& [ligature, letters] :
             {std::pair<std::string, std::string>{"\uFB01", "fi"}, {"\uFB00", "ff"}})
            for (size_t i; (i = text.find(ligature)) != std::string::npos;)
                text.replace(i, ligature.size(), letters);
        return text;
    }
    ScratchFolder scratch;
};

// Each section is there by its heading, or left out with the line that says why.
TEST_F(ReportCommandTest, SectionsPresentOrLeftOutWithTheReason) {
    const struct {
        std::vector<int> entries;
        std::vector<std::string> present, absent;
    } cases[] = {
        {{22, 13, 14, 15, 6},
         {"Survey report", "Summary", "Energy per day", "Historic parameters in kW",
          "Historic parameters in V", "Daily pro", "Heat map", "Load duration",
          "Voltage block means", "Statistics", "Page 1 of "},
         {"left out:"}},
        {{13, 6},
         {"Summary", "Historic parameters in A", "Voltage block means", "Statistics", "left out:"},
         {"Heat map", "Load duration"}},
        {{22}, {"Energy per day", "left out:"}, {"Historic parameters in V"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.present[1]);
        Result r = Vro("report " + Recording(c.entries) + " -o " + Out());
        ASSERT_EQ(r.status, 0) << r.out;
        const std::string text = All(Out());
        for (const std::string& s : c.present)
            EXPECT_NE(text.find(s), std::string::npos) << s;
        for (const std::string& s : c.absent)
            EXPECT_EQ(text.find(s), std::string::npos) << s;
    }
}

// In the user's language the report writes the numbers the survey's text writes, never the
// C library's printf separators run together with the locale's.
TEST_F(ReportCommandTest, NumbersInTheUsersLocale) {
    const std::string recording = Recording({22, 13, 14, 15, 6});
    for (const char* locale : {"en_US.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "C", "hi_IN.UTF-8"}) {
        SCOPED_TRACE(locale);
        const std::string env = std::string("LC_ALL=") + locale + " LANG=" + locale + " ";
        const Result survey = RunCommand(env + VROTOOL + " survey " + recording);
        const size_t at = survey.out.find("Peak demand");
        ASSERT_NE(at, std::string::npos) << survey.out;
        const std::string peak = survey.out.substr(at, survey.out.find('\n', at) - at);
        // pdftotext may give the narrow no-break space of French groups as a plain one.
        const auto plain = [](std::string t) {
            for (const std::string blank : {"\u202f", "\u00a0"})
                for (size_t i; (i = t.find(blank)) != std::string::npos;)
                    t.replace(i, blank.size(), " ");
            return t;
        };
        const std::string figure = plain(peak.substr(peak.find_first_of("0123456789"), 8));
        ASSERT_EQ(RunCommand(env + VROTOOL + " report " + recording + " -o " + Out()).status, 0);
        const std::string text = plain(All(Out()));
        EXPECT_NE(text.find(figure), std::string::npos) << figure;
        for (const char* garbled : {",,", ".,", ",."})
            EXPECT_EQ(text.find(garbled), std::string::npos) << garbled;
    }
}

// --locale NAME: the report's numbers as vrotool survey --locale NAME writes them, whatever
// the user's own; an unknown name is a usage error.
TEST_F(ReportCommandTest, LocaleOption) {
    const std::string recording = Recording({22, 13, 14, 15, 6});
    const std::string env = "LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 ";
    const Result survey = RunCommand(env + VROTOOL + " survey " + recording + " --locale de_DE");
    const size_t at = survey.out.find("Peak demand");
    ASSERT_NE(at, std::string::npos) << survey.out;
    const std::string peak = survey.out.substr(at, survey.out.find('\n', at) - at);
    const std::string figure = peak.substr(peak.find_first_of("0123456789"), 8);
    ASSERT_NE(figure.find(','), std::string::npos) << figure;
    ASSERT_EQ(
        RunCommand(env + VROTOOL + " report " + recording + " --locale de_DE -o " + Out()).status,
        0);
    EXPECT_NE(All(Out()).find(figure), std::string::npos) << figure;
    EXPECT_EQ(Vro("report " + recording + " --locale xx_Nowhere -o " + Out()).status, 2);
}

// The figures are those vrotool survey prints; the items add pages; Letter is Letter.
TEST_F(ReportCommandTest, FiguresItemsAndPage) {
    const std::string recording = Recording({22, 13, 14, 15, 6});
    Result survey = Vro("survey " + recording);
    const size_t at = survey.out.find("Peak demand");
    ASSERT_NE(at, std::string::npos);
    const std::string peak = survey.out.substr(at, survey.out.find('\n', at) - at);
    const std::string figure = peak.substr(peak.find_first_of("0123456789"));
    ASSERT_EQ(Vro("report " + recording + " -o " + Out() + " --title Feeder").status, 0);
    const std::string text = All(Out());
    EXPECT_NE(text.find(figure), std::string::npos) << figure;
    EXPECT_NE(text.find("Feeder"), std::string::npos);
    const int pages = PdfPageCount(Out());

    const std::string vro = (scratch.path / "d.vro").string();
    ASSERT_EQ(Vro("import " + recording + " -o " + vro).status, 0);
    ASSERT_EQ(Vro("report " + vro + " -o " + Out() + " --with-items --page Letter").status, 0);
    EXPECT_GE(PdfPageCount(Out()), pages); // an imported recording has no tables or charts
    Result info = RunCommand("pdfinfo " + Out());
    EXPECT_NE(info.out.find("612 x 792"), std::string::npos) << info.out;
}

// The cost (with a tariff), the power factor and the unbalance follow the voltage block means,
// each on pages of its own with the figures vrotool survey gives, before the statistics;
// without a tariff the summary says so and the cost's pages are left out.
TEST_F(ReportCommandTest, CostPowerFactorAndUnbalanceAfterTheVoltage) {
    GeneratorOptions o;
    o.historicPoints = 2880;
    const std::string recording = (scratch.path / "all.bin").string();
    std::ofstream(recording, std::ios::binary) << GenerateRecordingBytes(o);
    const std::string options = " --tariff " VRO_TARIFF_EXAMPLE " --bank-step 2.5";
    const Result survey = Vro("survey " + recording + options);
    const auto figure = [&](const std::string& label) {
        const size_t at = survey.out.find("  " + label + " ");
        const size_t from = survey.out.find_first_of("0123456789", at);
        return survey.out.substr(from, survey.out.find(' ', from) - from);
    };
    ASSERT_EQ(Vro("report " + recording + " -o " + Out() + options).status, 0);
    const std::vector<std::string> pages = PdfPageTexts(Out());
    // Each heading on a page after the one before, with what that page must show.
    const struct {
        const char* heading;
        std::string shows;
    } order[] = {
        {"Voltage block means", "Un "},      {"Cost: Example three-period", "month total"},
        {"Energy cost per day", "Period 2"}, {"Power factor of 15-minute blocks", figure("Bank")},
        {"Unbalance (%)", "VAN, VBN, VCN"},  {"Statistics", "Real Power"},
    };
    size_t page = 2; // after the findings, the contents and the summary's start
    for (const auto& o2 : order) {
        SCOPED_TRACE(o2.heading);
        while (page < pages.size() && pages[page].find(o2.heading) == std::string::npos)
            ++page;
        ASSERT_LT(page, pages.size());
        EXPECT_NE(pages[page].find(o2.shows), std::string::npos) << o2.shows << " in\n"
                                                                 << pages[page];
    }
    EXPECT_NE(pages[0].find(figure("Typical month") + " $ a typical month"), std::string::npos)
        << pages[0];

    ASSERT_EQ(Vro("report " + recording + " -o " + Out()).status, 0);
    const std::string text = All(Out());
    EXPECT_NE(text.find("Cost: no tari"), std::string::npos); // "ff" may print as one letter
    EXPECT_EQ(text.find("Energy cost per day"), std::string::npos);
    EXPECT_NE(text.find("Power factor of 15-minute blocks"), std::string::npos);
}

// The demo month on at most 10 pages: the findings first with the engineer's words and figures
// as vrotool survey's JSON has them, the contents naming the page of every section of the
// report, and the PDF's title, author and subject.
TEST_F(ReportCommandTest, FindingsContentsAndMetadataOfTheMonth) {
    const std::string month = Month();
    const std::string remarks = (scratch.path / "remarks.txt").string();
    std::ofstream(remarks) << "Meter room locked.\nKey at the reception.\n";
    const std::string options = " --rating-amps 100";
    ASSERT_EQ(Vro("report " + month + options + " -o " + Out() +
                  " --engineer 'Ann Smith' --company 'Volt and Co' --remarks " + remarks)
                  .status,
              0);
    std::vector<std::string> pages = PdfPageTexts(Out());
    for (std::string& page : pages)
        page = Plain(page);
    ASSERT_LE(pages.size(), 10u); // its tables in 8-point type at the least

    const Json survey = Json::Parse(Vro("survey --json " + month + options).out);
    const NumberFormat numbers;
    const double design = survey["load_study"]["design_a"].number;
    for (const std::string& figure : std::vector<std::string>{
             "Ann Smith", "Volt and Co", "Can the service take more load?",
             "Yes: " + numbers.Fixed(100 - design) +
                 " A of 100.00 A left at 125 % of the highest 15-minute demand",
             "Peak demand " + numbers.Scaled(survey["totals"]["peak_w"].number, "W"),
             numbers.Scaled(survey["totals"]["energy_wh"].number, "Wh") + " over 30.00 days",
             "load factor " + numbers.Fixed(survey["totals"]["load_factor"].number, 3),
             "Average power factor " + numbers.Fixed(survey["power_factor"]["average"].number, 3),
             "Remarks", "Meter room locked.\n", "Key at the reception."})
        EXPECT_NE(pages[0].find(figure), std::string::npos) << figure << " in\n" << pages[0];

    // Every section of the report under its heading, on the page the contents give.
    const std::vector<std::string> sections = {"Summary",
                                               "Energy per day",
                                               "Historic parameters in V",
                                               "Historic parameters in A",
                                               "Historic parameters in kW",
                                               "Historic parameters in kvar",
                                               "Historic parameters in kVA",
                                               "Historic parameters in [PF]",
                                               "Daily profile",
                                               "Load duration",
                                               "Heat map",
                                               "Voltage block means",
                                               "Power factor",
                                               "Unbalance",
                                               "Statistics"};
    const std::regex entry(R"(^(\S.*\S)\s{2,}(\d+)\s*$)");
    std::vector<std::string> listed;
    std::istringstream contents(pages[0].substr(pages[0].find("Contents")));
    for (std::string line; std::getline(contents, line);) {
        std::smatch m;
        if (!std::regex_match(line, m, entry))
            continue;
        listed.push_back(m[1]);
        const size_t page = std::stoul(m[2]);
        ASSERT_TRUE(page >= 2 && page <= pages.size()) << line;
        EXPECT_NE(pages[page - 1].find(m[1]), std::string::npos) << line;
    }
    EXPECT_EQ(listed, sections);

    const std::string info = RunCommand("pdfinfo " + Out()).out;
    for (const char* field : {"Title:           Survey report\n", "Author:          Ann Smith\n",
                              "Subject:         Survey report\n", "Creator:         VroView\n"})
        EXPECT_NE(info.find(field), std::string::npos) << field << info;
}

// A split-phase month and an EV charger on both legs, managed: the findings answer, the
// report has the capacity section, and --capacity-sheet prints only the sheet, on one page.
TEST_F(ReportCommandTest, NewLoadsFindingSectionAndTheOnePageSheet) {
    GeneratorOptions o;
    o.phaseConfig = 1; // 1Ø 3W
    o.historicPoints = 31 * 1440;
    for (const int e : EntriesForPhase(o.phaseConfig, false))
        if (CatalogueEntry(e).tableType == ttHistoric)
            o.entries.push_back(e);
    SteadyLoad load;
    load.volts = {120, 120, 120};
    load.amps = {60, 45, 0};
    o.steady = load;
    const std::string month = (scratch.path / "split.bin").string();
    std::ofstream(month, std::ios::binary) << GenerateRecordingBytes(o);
    const std::string loads =
        " --rating-amps 200 --new-load 'EV charger,48,L1+L2,continuous,managed' -o " + Out();

    ASSERT_EQ(Vro("report " + month + loads).status, 0);
    const std::vector<std::string> pages = PdfPageTexts(Out());
    ASSERT_FALSE(pages.empty());
    EXPECT_NE(pages[0].find("Can the service take the new loads?"), std::string::npos);
    EXPECT_NE(pages[0].find("Yes, with load management:"), std::string::npos) << pages[0];
    EXPECT_NE(All(Out()).find("Capacity for the new loads: Yes, with load management"),
              std::string::npos);

    const Result sheet =
        Vro("report " + month + loads + " --capacity-sheet --engineer 'Ann Smith'");
    ASSERT_EQ(sheet.status, 0) << sheet.out;
    EXPECT_EQ(sheet.out, "Wrote " + Out() + ", 1 page\n");
    EXPECT_EQ(PdfPageCount(Out()), 1);
    const std::string text = All(Out());
    for (const char* words :
         {"Capacity sheet", "Validity", "Peak 15-minute blocks", "EV charger", "Design current",
          "Capacity for the new loads: Yes, with load management", "Ann Smith", "Signature"})
        EXPECT_NE(text.find(words), std::string::npos) << words << " in\n" << text;
    EXPECT_EQ(text.find("Contents"), std::string::npos);

    EXPECT_EQ(Vro("report " + month + " --capacity-sheet -o " + Out()).status, 2);
    EXPECT_EQ(Vro("report " + month + loads + " --capacity-sheet --with-items").status, 2);
}

// The verdict words of a service that has room, one that has not, and one the recording cannot
// decide; never "No" where nothing was measured.
TEST_F(ReportCommandTest, VerdictWordsFollowTheRecording) {
    const struct {
        int32_t days;
        const char* rating;
        std::string verdict;
    } cases[] = {
        {30, "100", "Yes: "},
        {30, "50", "No: "},
        {7, "100", "Not decided: the recording covers 7.00 days of the 30 the rule asks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verdict);
        ASSERT_EQ(
            Vro("report " + Month(c.days) + " --rating-amps " + c.rating + " -o " + Out()).status,
            0);
        const std::string first = PdfPageTexts(Out()).at(0);
        const size_t question = first.find("Can the service take more load?");
        ASSERT_NE(question, std::string::npos) << first;
        EXPECT_EQ(first.find(c.verdict, question), first.find_first_not_of(" \n", question + 31))
            << first;
    }
}

// A recorder at 15 minutes makes no 10-minute voltage block: nothing was measured, and no
// output of the survey says "fail" for it.
TEST_F(ReportCommandTest, FifteenMinuteSamplesGiveNoResultNeverFail) {
    GeneratorOptions o;
    o.entries = {22, 13, 14, 15, 6, 7, 8};
    o.rate = 6; // 900 s
    o.historicPoints = 14 * 96;
    const std::string file = (scratch.path / "quarter.bin").string();
    std::ofstream(file, std::ios::binary) << GenerateRecordingBytes(o);
    const std::regex fail(R"(\bfail\b)");
    const std::string book = (scratch.path / "quarter.xlsx").string();
    ASSERT_EQ(Vro("report " + file + " -o " + Out()).status, 0);
    ASSERT_EQ(Vro("export " + file + " -o " + book).status, 0);
    const struct {
        std::string output, text, says;
    } outputs[] = {
        {"survey text", Vro("survey " + file).out, "Voltage test: no result, not valid"},
        {"report", All(Out()), "VAN no result"},
        {"workbook", RunCommand("unzip -p " + book + " xl/worksheets/sheet3.xml").out, "no result"},
    };
    for (const auto& out : outputs) {
        EXPECT_FALSE(std::regex_search(out.text, fail)) << out.output << "\n" << out.text;
        EXPECT_NE(out.text.find(out.says), std::string::npos) << out.output << "\n" << out.text;
    }
    for (const std::string& files : {file, file + " " + file}) {
        const CsvRows rows = ReadCsv(Vro("survey --csv " + files).out);
        ASSERT_GE(rows.size(), 2u);
        EXPECT_EQ(rows[0][12], "voltage_pass");
        EXPECT_EQ(rows[1][12], "") << files;
    }
    const Json one = Json::Parse(Vro("survey --json " + file).out);
    EXPECT_TRUE(one["voltage"]["pass"].IsNull());
    EXPECT_TRUE(one["voltage"]["channels"][0]["pass"].IsNull());
    const std::string two = Vro("survey --json " + file + " " + file).out;
    EXPECT_TRUE(Json::Parse(two.substr(0, two.find('\n')))["voltage_pass"].IsNull());
}

// Four months of 15-minute samples: the contents share the first page with the findings, the
// days go to the appendix and their section shows the months and the chart of the days; no
// word is set below 8 points and no two touch (the time axes' first labels and the value
// axes' "0" among them).
TEST_F(ReportCommandTest, ALongStudysPages) {
    GeneratorOptions o;
    o.entries = {22, 13, 14, 15, 6};
    o.rate = 6;
    o.historicPoints = 120 * 96;
    o.start = CalendarTime{2026, 1, 1, 0, 0, 0};
    const std::string file = (scratch.path / "months.bin").string();
    std::ofstream(file, std::ios::binary) << GenerateRecordingBytes(o);
    ASSERT_EQ(Vro("report " + file + " -o " + Out()).status, 0);
    const std::vector<std::string> pages = PdfPageTexts(Out());
    const size_t contents = pages[0].find("Contents");
    ASSERT_NE(contents, std::string::npos) << pages[0];
    const std::regex entry(R"(\n(Energy per day|Appendix: Energy per day)\s{2,}(\d+)\s*\n)");
    std::map<std::string, size_t> listed;
    const std::string list = pages[0].substr(contents);
    for (auto m = std::sregex_iterator(list.begin(), list.end(), entry);
         m != std::sregex_iterator(); ++m)
        listed[(*m)[1]] = std::stoul((*m)[2]);
    ASSERT_EQ(listed.size(), 2u) << list;
    const std::string& section = pages.at(listed["Energy per day"] - 1);
    for (const char* shows : {"Full days", "2026-01 ", "2026-04 ", "Energy per day (kWh)"})
        EXPECT_NE(section.find(shows), std::string::npos) << shows << " in\n" << section;
    const std::string& appendix = pages.at(listed["Appendix: Energy per day"] - 1);
    EXPECT_NE(appendix.find("Appendix: Energy per day"), std::string::npos) << appendix;
    EXPECT_NE(appendix.find("2026-01-01"), std::string::npos) << appendix;
    EXPECT_NE(pages.back().find("2026-04-30"), std::string::npos) << pages.back();

    const std::string boxes = RunCommand("pdftotext -bbox " + Out() + " -").out;
    const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)")re"
                          R"re( yMax="([0-9.]+)">([^<]*)</word>)re");
    struct Box {
        double left, top, right, bottom;
        std::string text;
    };
    std::vector<Box> words;
    const std::regex time(R"(\d\d:\d\d(:\d\d)?|\d{4}-\d\d-\d\d|\d{1,2})");
    int zeros = 0;
    // pdftotext's box of 8-point type is 9.2 points high and more; the recording charts' axes
    // have a type of their own, that of their unit's symbol ("kW").
    double axis = 0;
    const auto check = [&] {
        for (const Box& a : words)
            if (a.text == "kW" && a.bottom - a.top < 9)
                axis = a.bottom - a.top;
        for (const Box& a : words) {
            EXPECT_TRUE(a.bottom - a.top >= 9.2 || std::abs(a.bottom - a.top - axis) < 0.01)
                << a.text << " " << a.bottom - a.top;
            if (a.text != "0")
                continue;
            ++zeros;
            for (const Box& b : words)
                EXPECT_FALSE(&a != &b && std::regex_match(b.text, time) && a.left < b.right &&
                             b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                    << "0 touches " << b.text;
        }
        words.clear();
    };
    std::istringstream lines(boxes);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (line.find("<page ") != std::string::npos)
            check();
        else if (std::regex_search(line, m, word))
            words.push_back(
                {std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
    }
    check();
    EXPECT_GT(zeros, 3); // the charts' value axes were read
}

// No word of any page, the charts' first and last time labels among them, lies outside the
// page's drawn area, on A4 and on Letter.
TEST_F(ReportCommandTest, EveryTextInsideThePrintArea) {
    const std::string month = Month();
    for (const char* page : {"A4", "Letter"}) {
        SCOPED_TRACE(page);
        ASSERT_EQ(Vro("report " + month + " --page " + page + " -o " + Out()).status, 0);
        const std::string boxes = RunCommand("pdftotext -bbox " + Out() + " -").out;
        const std::regex pageTag(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
        const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)")re"
                              R"re( yMax="([0-9.]+)">([^<]*)</word>)re");
        const double margin = 10 / 25.4 * 72 - 0.5; // 10 mm, less rounding
        double width = 0, height = 0;
        int times = 0;
        std::istringstream lines(boxes);
        for (std::string line; std::getline(lines, line);) {
            std::smatch m;
            if (std::regex_search(line, m, pageTag)) {
                width = std::stod(m[1]);
                height = std::stod(m[2]);
            } else if (std::regex_search(line, m, word)) {
                const std::string text = m[5];
                times += std::regex_match(text, std::regex(R"(\d\d:\d\d(:\d\d)?)"));
                EXPECT_GE(std::stod(m[1]), margin) << text;
                EXPECT_GE(std::stod(m[2]), margin) << text;
                EXPECT_LE(std::stod(m[3]), width - margin) << text;
                EXPECT_LE(std::stod(m[4]), height - margin) << text;
            }
        }
        EXPECT_GT(times, 20); // the time axes' labels were read
    }
}

// A joined recording's report names its downloads and the gap between them; its site heads
// every page, and without an engineer the PDF's author is the recording's user id.
TEST_F(ReportCommandTest, JoinedDownloadsSiteAndUserIdAsAuthor) {
    std::vector<std::string> files;
    for (const int day : {10, 14}) {
        GeneratorOptions o;
        o.end = CalendarTime{2026, 11, day, 0, 0, 0};
        files.push_back((scratch.path / ("d" + std::to_string(day % 10) + ".bin")).string());
        std::ofstream(files.back(), std::ios::binary) << GenerateRecordingBytes(o);
    }
    const std::string joined = (scratch.path / "joined.vro").string();
    ASSERT_EQ(Vro("join " + files[0] + " " + files[1] + " -o " + joined).status, 0);
    ASSERT_EQ(Vro("edit " + joined + " --location 'Plant 7' --user-id u42").status, 0);
    ASSERT_EQ(Vro("report " + joined + " -o " + Out()).status, 0);
    const std::vector<std::string> pages = PdfPageTexts(Out());
    ASSERT_GE(pages.size(), 2u);
    for (const char* text :
         {"Plant 7", "Download", "d0.bin", "d4.bin", "3.00 days after the one before"})
        EXPECT_NE(pages[0].find(text), std::string::npos) << text << " in\n" << pages[0];
    EXPECT_NE(pages[1].find("Survey report \u2013 Plant 7"), std::string::npos) << pages[1];
    EXPECT_NE(RunCommand("pdfinfo " + Out()).out.find("Author:          u42\n"), std::string::npos);
}

// Remarks longer than a page go on over the next pages of the survey and the compare report,
// every line printed once; the page number stands in the footer, below the page's last line.
TEST_F(ReportCommandTest, LongRemarksGoOnOverThePagesNumberedInTheFooter) {
    const std::string remarks = (scratch.path / "remarks.txt").string();
    {
        std::ofstream out(remarks);
        for (int i = 1; i <= 90; ++i)
            out << "Remark " << i << " of the engineer.\n";
    }
    for (const std::string& command :
         {"report " + Recording({22, 6}), "report --compare " + FourWeeks() + TwoWeeksEach}) {
        SCOPED_TRACE(command);
        ASSERT_EQ(Vro(command + " --remarks " + remarks + " -o " + Out()).status, 0);
        const std::vector<std::string> pages = PdfPageTexts(Out());
        const std::string text = All(Out());
        for (int i = 1; i <= 90; ++i) {
            const std::string line = "Remark " + std::to_string(i) + " of the engineer.";
            EXPECT_NE(text.find(line), std::string::npos) << line;
            EXPECT_EQ(text.find(line), text.rfind(line)) << line;
        }
        for (size_t p = 0; p < pages.size(); ++p) {
            const std::string number =
                "Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size());
            const size_t at = pages[p].rfind(number);
            ASSERT_NE(at, std::string::npos) << number << " in\n" << pages[p];
            EXPECT_EQ(pages[p].find_first_not_of(" \n\f", at + number.size()), std::string::npos)
                << pages[p];
        }
    }
}

TEST_F(ReportCommandTest, BadOptionsExit2DamagedFileExit1WithoutOutput) {
    const std::string recording = Recording({22, 6});
    for (const std::string& options : std::initializer_list<std::string>{
             "--page A3", "--block-minutes 7", "--rating-amps -1", "", "--nominal-volts 0",
             "--what", "--target-pf 0.5", "--tariff " + recording}) {
        SCOPED_TRACE(options);
        EXPECT_EQ(
            Vro("report " + recording + " " + options + (options.empty() ? "" : " -o " + Out()))
                .status,
            2);
    }
    const std::string damaged = (scratch.path / "bad.vro").string();
    std::ofstream(damaged, std::ios::binary) << "not a database";
    EXPECT_EQ(Vro("report " + damaged + " -o " + Out()).status, 1);
    EXPECT_FALSE(std::filesystem::exists(Out()));
}

// The compare report: the Summary with the verdict first, then a page per chart.
TEST_F(ReportCommandTest, CompareReportSummaryFirstThenTheCharts) {
    const std::string file = FourWeeks();
    const Result r = Vro("report --compare " + file + TwoWeeksEach + " -o " + Out());
    ASSERT_EQ(r.status, 0) << r.out;
    const std::vector<std::string> pages = PdfPageTexts(Out());
    ASSERT_EQ(pages.size(), 4u);
    // The findings first: the yearly saving with its interval.
    for (const char* text : {"Before and after", "Did the change save energy?",
                             "Not decided: ", "a year, 95 % interval", "What changed?"})
        EXPECT_NE(pages[0].find(text), std::string::npos) << text << " in\n" << pages[0];
    // Energies and powers for a person, each in its unit.
    const std::regex kwh(R"(Energy per full weekday +[0-9.,]+ kWh +[0-9.,]+ kWh)");
    EXPECT_TRUE(std::regex_search(pages[0], kwh)) << pages[0];
    EXPECT_TRUE(std::regex_search(pages[0], std::regex(R"(A year +-?[0-9.,]+ [kM]?Wh)")));
    for (const char* text :
         {"Summary", "Saving", "day-to-day scatter", "Weather and production are not normalised"})
        EXPECT_NE(pages[0].find(text), std::string::npos) << text;
    EXPECT_NE(pages[1].find("Daily pro"), std::string::npos); // "fi" may be a ligature
    EXPECT_NE(pages[2].find("Energy per full day"), std::string::npos);
    EXPECT_NE(pages[3].find("Load duration"), std::string::npos);
    EXPECT_EQ(Vro("report --compare " + file + " -o " + Out()).status, 2);
}

} // namespace
