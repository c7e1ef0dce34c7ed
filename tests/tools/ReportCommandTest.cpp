// vrotool report: the sections of the report read back with pdftotext, the page count and
// size, and the exit statuses.
#include "tests/support/PdfPages.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
    ScratchFolder scratch;
};

// Each section is there by its heading, or left out with the line that says why.
TEST_F(ReportCommandTest, SectionsPresentOrLeftOutWithTheReason) {
    const struct {
        std::vector<int> entries;
        std::vector<std::string> present, absent;
    } cases[] = {
        {{22, 13, 14, 15, 6},
         {"Survey report", "Summary", "Energy per day", "Historic parameters in W",
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
    GeneratorOptions o;
    o.entries = {22};
    o.rate = 5;
    o.historicPoints = 28 * 288;
    o.start = CalendarTime{2024, 3, 4, 0, 0, 0};
    const std::string file = (scratch.path / "four-weeks.bin").string();
    std::ofstream(file, std::ios::binary) << GenerateRecordingBytes(o);
    const Result r = Vro("report --compare " + file +
                         " --before-range 2024-03-04T00:00:00..2024-03-17T23:55:00"
                         " --after-range 2024-03-18T00:00:00..2024-03-31T23:55:00 -o " +
                         Out());
    ASSERT_EQ(r.status, 0) << r.out;
    const std::vector<std::string> pages = PdfPageTexts(Out());
    ASSERT_EQ(pages.size(), 5u);
    // The findings first: the yearly saving with its interval.
    for (const char* text : {"Before and after", "How much does the change save?",
                             "a year, 95 % interval", "What changed?"})
        EXPECT_NE(pages[0].find(text), std::string::npos) << text << " in\n" << pages[0];
    for (const char* text : {"Summary", "Energy per full weekday (WH)", "Saving", "A year (WH)",
                             "day-to-day scatter", "Weather and production are not normalised"})
        EXPECT_NE(pages[1].find(text), std::string::npos) << text;
    EXPECT_NE(pages[2].find("Daily pro"), std::string::npos); // "fi" may be a ligature
    EXPECT_NE(pages[3].find("Energy per full day"), std::string::npos);
    EXPECT_NE(pages[4].find("Load duration"), std::string::npos);
    EXPECT_EQ(Vro("report --compare " + file + " -o " + Out()).status, 2);
}

} // namespace
