// The page layout printer's documents read back from PDF: header and footer by the options,
// the recording information, column strips and row pages in their order, a range of rows,
// Cancel, a drawing that fails, the busy test and the pages too short to print on.
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTable.h"
#include "printing/PrintedTexts.h"
#include "tests/support/PdfPages.h"
#include "tests/support/PrintInteractionSpy.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tables/TablesTestSupport.h"
#include "texts/DateTimeText.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

// The positions of these parameters in the test's recording.
enum Position {
    Voltage,
    Current,
    RealPower,
    ReactivePower,
    ApparentPower,
    PowerFactor,
    Event,
    Energy
};
const char* const Names[] = {"RMS Voltage",    "RMS Current",  "Real Power", "Reactive Power",
                             "Apparent Power", "Power Factor", "Energy"};

class LayoutPrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(UsLocale());
        ParseRecording(db,
                       {HistoricV1, HistoricI1, HistoricRealPower, 23, 29, 35, EventVoltageMaxV1,
                        CumulativeEnergy},
                       60, 1);
        db.Header().Location = "Plant 2";
        db.Header().UserID = "J. Smith";
        setup.Printer().setOutputFormat(QPrinter::PdfFormat);
        SetPage(150, 100);
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void SetPage(double width, double height) {
        setup.Printer().setPageLayout(
            QPageLayout(QPageSize(QSizeF(width, height), QPageSize::Millimeter),
                        QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    }
    void SetOptions(bool title, bool page, bool location, bool userId) {
        setup.Settings.PrintTitle = title;
        setup.Settings.PrintPageNumber = page;
        setup.Settings.PrintLocation = location;
        setup.Settings.PrintUserId = userId;
    }
    // A table of the parameters at these positions, with three parameter columns to a page of
    // 150 mm (130 mm inside the margins, 6141 pixels at 1200 dpi, 12 to a grid pixel).
    PrintedTable& Table(const std::vector<int>& positions, LTableType type = ttHistoric,
                        const QFont& font = QGuiApplication::font()) {
        LTableRecord& record = *db.AddTable();
        for (int i : positions)
            record.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(i)));
        tables.push_back(std::make_shared<PrintedTable>(record.Sources, type, font));
        tables.back()->SetColWidths({170, 110});
        return *tables.back();
    }
    std::shared_ptr<PrintedTable> Shared(PrintedTable& table) {
        for (const auto& made : tables)
            if (made.get() == &table)
                return made;
        return {};
    }
    PrintOptions Options(const QString& title) { return PrintOptionsOf(setup, &db, title); }
    // The rows first to last of the table as the printer lays them out now.
    RowsLayout LayOut(PrintedRows& rows, int32_t first = 0, int32_t last = 0) {
        return LayOutRows(rows, first, last, setup.Printer(), PrintAreaOf(setup),
                          setup.Printer().width());
    }
    Printout PrintRows(PrintedTable& table, int32_t first, int32_t last,
                       const QString& title = QStringLiteral("Table #1")) {
        std::vector<PrintedPart> parts{{.Rows = Shared(table), .FirstRow = first, .LastRow = last}};
        return printout = Print(parts, Options(title), interaction);
    }
    // Prints rowPages pages of rows from the first.
    Printout PrintPages(PrintedTable& table, int32_t rowPages) {
        layout = LayOut(table);
        return PrintRows(table, 0, rowPages * layout.RowsPerPage - 1);
    }
    Printout PrintInfo() {
        std::vector<PrintedPart> parts{RecordingInfoPart(db.Header())};
        return printout = Print(parts, Options(parts.front().Title), interaction);
    }
    Printout PrintChartTitled(const QString& title, const ChartDrawing& chart) {
        return printout = PrintChart(Options(title), chart, interaction);
    }
    bool PdfExists() const { return std::filesystem::exists(pdf); }

    LDatabase db;
    ScratchFolder scratch;
    const std::string pdf = scratch / "out.pdf";
    PrintInteractionSpy interaction{QString::fromStdString(pdf)};
    PrintSetup setup;
    std::vector<std::shared_ptr<PrintedTable>> tables;
    RowsLayout layout;
    Printout printout;
};

TEST_F(LayoutPrinterTest, HeaderAndFooterShowWhatTheOptionsAndTheRecordingHave) {
    const struct {
        bool title, page, location, userId;
        const char* locationText;
        const char* userIdText;
    } cases[] = {
        {true, true, true, true, "Plant 2", "J. Smith"},
        {false, false, false, false, "Plant 2", "J. Smith"},
        {true, true, true, true, "", "J. Smith"},
        {false, true, true, true, "Plant 2", ""},
    };
    for (const auto& c : cases) {
        SetOptions(c.title, c.page, c.location, c.userId);
        db.Header().Location = c.locationText;
        db.Header().UserID = c.userIdText;
        ASSERT_TRUE(PrintInfo().Printed);
        const std::vector<std::string> pages = PdfPageTexts(pdf);
        ASSERT_EQ(pages.size(), 1u);
        const std::string& page = pages[0];
        SCOPED_TRACE(page);
        EXPECT_EQ(Occurrences(page, "Recording info"), c.title ? 1 : 0);
        EXPECT_EQ(Occurrences(page, "Page 1 of 1"), c.page ? 1 : 0);
        EXPECT_EQ(Occurrences(page, "Location: "), c.location && *c.locationText ? 1 : 0);
        EXPECT_EQ(Occurrences(page, "User Id: "), c.userId && *c.userIdText ? 1 : 0);
        // An empty text keeps its margin: only the options decide the print area.
        const int line = QFontMetrics(QGuiApplication::font(), &setup.Printer()).height() * 3 / 2;
        EXPECT_EQ(printout.Area.top(), c.title || c.page ? line : 0);
        EXPECT_EQ(printout.Area.bottom(),
                  setup.Printer().height() - 1 - (c.location || c.userId ? line : 0));
    }
}

TEST_F(LayoutPrinterTest, RecordingInformationIsTenLabelledLines) {
    db.Header().Comments = "Feeder 4";
    ASSERT_TRUE(PrintInfo().Printed);
    EXPECT_EQ(interaction.PagesShown, std::vector<int32_t>{1});
    const std::string page = PdfPageTexts(pdf).at(0);
    const LSession& r = db.Header();
    const std::string lines[10] = {"User Id:J. Smith",
                                   "Location:Plant 2",
                                   "Comments:Feeder 4",
                                   "Start:" + DateTimeToStr(r.StartTime).toStdString(),
                                   "End:" + DateTimeToStr(r.EndTime).toStdString(),
                                   "Phase:" + r.PhaseConfigName(),
                                   "Mode:" + r.ModeName(),
                                   "Rate:" + r.RateText(),
                                   "Interval:" + r.IntervalName(),
                                   "CT:" + r.CTName()};
    size_t previous = 0;
    for (const std::string& line : lines) {
        const size_t at = page.find(line);
        ASSERT_NE(at, std::string::npos) << line << " in\n" << page;
        EXPECT_GT(at, previous) << line;
        previous = at;
    }
}

TEST_F(LayoutPrinterTest, WideTablesPrintInStripsOfTheVisibleParametersNumberedAcrossFirst) {
    const struct {
        const char* name;
        std::vector<int> positions;
        int hidden; // a position in the table whose source is hidden, or -1
        LTableType type;
        int32_t rowPages;
        std::vector<std::vector<int>> strips; // the names each strip shows
        std::vector<int> sheets;              // page numbers in the order the sheets come
    } cases[] = {
        {"7 of 8 in strips of 3",
         {Voltage, Current, PowerFactor, RealPower, ReactivePower, ApparentPower, PowerFactor,
          Voltage},
         2,
         ttHistoric,
         1,
         {{0, 1, 2}, {3, 4, 5}, {0}},
         {1, 2, 3}},
        {"2 strips of 3 row pages",
         {Voltage, Current, RealPower, ReactivePower, ApparentPower},
         -1,
         ttHistoric,
         3,
         {{0, 1, 2}, {3, 4}},
         {1, 3, 5, 2, 4, 6}},
        {"Cumulative",
         {Energy, Energy, Energy, Energy},
         -1,
         ttCumulative,
         1,
         {{6, 6, 6}, {6}},
         {1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PrintedTable& table = Table(c.positions, c.type);
        LParameterSourceGroup& group = table.Group();
        if (c.hidden >= 0)
            group.Items(c.hidden)->Selected = false;
        table.UpdateTable();
        interaction.Positions.clear();
        ASSERT_TRUE(PrintPages(table, c.rowPages).Printed);
        const auto strips = static_cast<int32_t>(c.strips.size());
        EXPECT_EQ(layout.Strips.at(0).Last - layout.Strips.at(0).First + 1, 3);
        EXPECT_EQ(static_cast<int32_t>(layout.Strips.size()), strips);
        EXPECT_EQ(printout.Pages, strips * c.rowPages);
        std::vector<int32_t> positions(static_cast<size_t>(printout.Pages));
        std::iota(positions.begin(), positions.end(), 1);
        EXPECT_EQ(interaction.Positions, positions);

        const std::vector<std::string> pages = PdfPageTexts(pdf);
        ASSERT_EQ(pages.size(), c.sheets.size());
        for (size_t sheet = 0; sheet < pages.size(); ++sheet) {
            const std::string& page = pages[sheet];
            SCOPED_TRACE(page);
            EXPECT_EQ(Occurrences(page, "Page " + std::to_string(c.sheets[sheet]) + " of " +
                                            std::to_string(printout.Pages)),
                      1);
            const std::vector<int>& shown = c.strips[sheet / static_cast<size_t>(c.rowPages)];
            for (int name = 0; name < 7; ++name)
                EXPECT_EQ(Occurrences(page, Names[name]),
                          std::count(shown.begin(), shown.end(), name))
                    << Names[name];
        }
        for (int32_t i = 0; i < group.Count(); ++i)
            EXPECT_EQ(group.Items(i)->Selected, i != c.hidden);
    }
}

TEST_F(LayoutPrinterTest, AnEventTablePrintsBothColumnsOnEveryPage) {
    // Room for the first column and one more: the two columns are still one strip.
    PrintedTable& table = Table(std::vector<int>(30, Event), ttEvent);
    table.SetColWidths({200, 260});
    ASSERT_TRUE(PrintPages(table, 2).Printed);
    EXPECT_EQ(layout.Strips.size(), 1u);
    EXPECT_EQ(printout.Pages, 2);
    const std::vector<std::string> pages = PdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 2u);
    QString value, unused;
    table.Text().GetCellText(1, 1, value, unused);
    const std::string valueText = value.left(value.indexOf(QLatin1Char('('))).toStdString();
    for (const std::string& page : pages) {
        EXPECT_EQ(Occurrences(page, "Parameter"), 1) << page;
        EXPECT_EQ(Occurrences(page, "Value"), 1) << page;
        EXPECT_EQ(Occurrences(page, "RMS Voltage Max - V1"), layout.RowsPerPage) << page;
        EXPECT_EQ(Occurrences(page, valueText), layout.RowsPerPage) << page;
    }
}

TEST_F(LayoutPrinterTest, ASelectionPrintsTheHeaderRowAndItsRowsOnEveryPage) {
    SetPage(150, 56);
    PrintedTable& table = Table({Voltage});
    ASSERT_TRUE(PrintRows(table, 5, 9).Printed);
    layout = LayOut(table);
    ASSERT_LT(layout.RowsPerPage, 5);
    const int32_t pageCount = (5 + layout.RowsPerPage - 1) / layout.RowsPerPage;
    EXPECT_EQ(printout.Pages, pageCount);
    const std::vector<std::string> pages = PdfPageTexts(pdf);
    ASSERT_EQ(static_cast<int32_t>(pages.size()), pageCount);
    std::string all;
    for (const std::string& page : pages) {
        EXPECT_EQ(Occurrences(page, "Time"), 1) << page;
        EXPECT_EQ(Occurrences(page, "RMS Voltage"), 1) << page;
        all += page;
    }
    for (int32_t row = 4; row <= 10; ++row) {
        QString time, unused;
        table.Text().GetCellText(0, row + 1, time, unused);
        EXPECT_EQ(Occurrences(all, time.toStdString()), row >= 5 && row <= 9 ? 1 : 0) << row;
    }
}

TEST_F(LayoutPrinterTest, LayoutFollowsTheOptionsBeforeTheDialogAndDrawingThoseAfter) {
    PrintedTable& table = Table({Voltage});
    layout = LayOut(table);
    // Rows fill the print area, and only whole rows count.
    const QPaintDevice& device = setup.Printer();
    const int used =
        table.GetRowHeight(device, 0) + layout.RowsPerPage * table.GetRowHeight(device, 1);
    EXPECT_LE(used, PrintAreaOf(setup).height());
    EXPECT_GT(used + table.GetRowHeight(device, 1), PrintAreaOf(setup).height());

    // One row more than a page holds with a header and a footer.
    interaction.Choose = [this](PrintSettings&) { SetOptions(false, false, false, false); };
    ASSERT_TRUE(PrintRows(table, 0, layout.RowsPerPage).Printed);
    EXPECT_EQ(interaction.PagesShown, std::vector<int32_t>{2});
    const std::vector<std::string> pages = PdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 2u);
    for (const std::string& page : pages)
        for (const char* text : {"Table #1", "Page ", "Location: ", "User Id: "})
            EXPECT_EQ(Occurrences(page, text), 0) << text;

    // Without them the same rows fit on one page.
    interaction.Choose = {};
    ASSERT_TRUE(PrintRows(table, 0, layout.RowsPerPage).Printed);
    EXPECT_EQ(printout.Pages, 1);
    EXPECT_EQ(PdfPageCount(pdf), 1);
}

TEST_F(LayoutPrinterTest, CancelOrAFailureLeavesNoPdfAndTheParametersAsTheyWere) {
    WriteBytes(pdf, "an earlier printout");
    PrintedTable& table = Table({Voltage, Current, RealPower, ReactivePower, ApparentPower});
    table.Group().Items(1)->Selected = false;
    table.UpdateTable();
    interaction.CancelAt = 2;
    EXPECT_FALSE(PrintPages(table, 2).Printed);
    EXPECT_EQ(interaction.Positions, (std::vector<int32_t>{1, 2}));
    EXPECT_FALSE(Printing());
    for (int32_t i = 0; i < table.Group().Count(); ++i)
        EXPECT_EQ(table.Group().Items(i)->Selected, i != 1);

    // A one-page document sees Cancel after its page; a drawing that fails ends it the same.
    interaction.CancelAt = 1;
    EXPECT_FALSE(PrintInfo().Printed);
    interaction.CancelAt = 0;
    EXPECT_FALSE(PrintChartTitled(QStringLiteral("Chart #1"), [](QPainter&, const QRect&, int) {
                     throw std::runtime_error("no memory");
                 }).Printed);
    EXPECT_EQ(ReadBytes(pdf), "an earlier printout");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path),
                            std::filesystem::directory_iterator()),
              1);

    // Cancelling the options asks for no file.
    interaction.Confirm = false;
    interaction.NamesAsked = 0;
    interaction.Errors.clear();
    EXPECT_FALSE(PrintInfo().Printed);
    EXPECT_EQ(interaction.NamesAsked, 0);
    EXPECT_TRUE(interaction.Errors.isEmpty());

    // A PDF that cannot be written says so.
    const QString nowhere = QString::fromStdString(scratch / "missing/out.pdf");
    PlainPrintInteraction unwritable(nowhere);
    std::vector<PrintedPart> info{RecordingInfoPart(db.Header())};
    EXPECT_FALSE(Print(info, Options(info.front().Title), unwritable).Printed);
    ASSERT_EQ(unwritable.Errors.size(), 1);
    EXPECT_TRUE(unwritable.Errors[0].startsWith(
        QStringLiteral("The printout could not be written to %1.").arg(nowhere)));
}

TEST_F(LayoutPrinterTest, ADrawingThatFailsEndsThePrintWithItsMessage) {
    WriteBytes(pdf, "an earlier printout");
    std::vector<PrintedPart> parts(1);
    parts[0].Pages = 3;
    parts[0].Draw = [](QPainter&, const QRect&, int32_t page) {
        if (page == 1)
            throw std::runtime_error("The chart has no samples.");
    };
    EXPECT_FALSE(Print(parts, Options(QStringLiteral("Chart #1")), interaction).Printed);
    EXPECT_EQ(interaction.Positions, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(interaction.Errors, QStringList{QStringLiteral("The chart has no samples.")});
    EXPECT_FALSE(Printing());
    EXPECT_EQ(ReadBytes(pdf), "an earlier printout");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path),
                            std::filesystem::directory_iterator()),
              1);
}

// A PDF printed over an earlier one through a link replaces the file the link names, with its
// mode, as the database's save does.
TEST_F(LayoutPrinterTest, APdfPrintedAgainKeepsTheFilesIdentity) {
    const std::string target = scratch / "kept.pdf";
    WriteBytes(target, "an earlier printout");
    std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_read);
    std::filesystem::create_symlink(target, pdf);
    ASSERT_TRUE(PrintInfo().Printed);
    EXPECT_TRUE(std::filesystem::is_symlink(pdf));
    EXPECT_EQ(ReadBytes(target).substr(0, 5), "%PDF-");
    EXPECT_EQ(std::filesystem::status(target).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

TEST_F(LayoutPrinterTest, ASecondJobIsRefusedWhileTheFirstPrints) {
    bool busy = false, second = true;
    interaction.OnProgress = [&](int32_t) {
        busy = Printing();
        std::vector<PrintedPart> info{RecordingInfoPart(db.Header())};
        second = Print(info, Options(info.front().Title), interaction).Printed;
    };
    ASSERT_TRUE(PrintInfo().Printed);
    EXPECT_TRUE(busy);
    EXPECT_FALSE(second);
    EXPECT_EQ(interaction.Errors, QStringList{QString::fromLatin1(BusyMessage)});
    EXPECT_FALSE(Printing());
    EXPECT_EQ(PdfPageCount(pdf), 1);
}

TEST_F(LayoutPrinterTest, PagesTooShortAreRefusedBeforeAnythingStarts) {
    QFont large = QGuiApplication::font();
    large.setPointSize(40);
    const struct {
        const char* name;
        double height;
        QFont font;
        std::vector<int> widths;
        bool table;
    } cases[] = {
        {"no room between header and footer", 25, QGuiApplication::font(), {140, 110}, false},
        {"no room between header and footer", 25, QGuiApplication::font(), {140, 110}, true},
        {"no row below the header row", 50, large, {140, 110}, true},
        {"no parameter column beside the time", 100, QGuiApplication::font(), {140, 1000}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetPage(150, c.height);
        interaction.Errors.clear();
        interaction.PagesShown.clear();
        bool printed;
        if (c.table) {
            PrintedTable& table = Table({Voltage, Current}, ttHistoric, c.font);
            table.SetColWidths(c.widths);
            printed = PrintRows(table, 0, 3).Printed;
        } else {
            printed = PrintInfo().Printed;
        }
        EXPECT_FALSE(printed);
        EXPECT_EQ(interaction.Errors, QStringList{QString::fromLatin1(TooShortMessage)});
        EXPECT_TRUE(interaction.PagesShown.empty());
        EXPECT_FALSE(PdfExists());
    }
}

TEST_F(LayoutPrinterTest, AChartDrawsItselfIntoThePrintAreaAtTheResolutionBeforeTheOptions) {
    std::vector<int> resolutions;
    QRect area;
    const ChartDrawing chart = [&](QPainter& painter, const QRect& into, int resolution) {
        resolutions.push_back(resolution);
        area = into;
        painter.drawRect(into.adjusted(0, 0, -1, -1));
        painter.drawText(into.center(), QStringLiteral("Sample chart"));
    };
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(PrintChartTitled(QStringLiteral("Chart #1"), chart).Printed);
    EXPECT_EQ(resolutions, (std::vector<int>{0, -100}));
    EXPECT_EQ(area, printout.Area);
    // A tall page turns to landscape for a chart, and back for what prints next; the page
    // chosen in Print Setup stays as it is.
    SetPage(100, 150);
    for (const bool chosen : {false, true}) {
        setup.PageChosen = chosen;
        ASSERT_TRUE(PrintChartTitled(QStringLiteral("Chart #1"), chart).Printed);
        EXPECT_EQ(area.width() > area.height(), !chosen);
        EXPECT_LT(setup.Printer().width(), setup.Printer().height());
    }
    setup.PageChosen = false;
    SetPage(150, 100);
    const std::string page = PdfPageTexts(pdf).at(0);
    for (const char* text : {"Sample chart", "Chart #1", "Page 1 of 1", "Location: Plant 2"})
        EXPECT_EQ(Occurrences(page, text), 1) << text << " in\n" << page;

    // A PDF is proposed beside the database, named after the title.
    db.SetFileName(scratch / "site.vro");
    EXPECT_EQ(DefaultPdfName(Options(QStringLiteral("Chart #1"))).toStdString(),
              scratch / "Chart #1.pdf");
    EXPECT_EQ(DefaultPdfName(Options(QStringLiteral("Feeders 1/2"))).toStdString(),
              scratch / "Feeders 1_2.pdf");
}

// Rows of texts (the statistics) print as a table does, their caption and header on every
// page; a row wider than the page prints in a smaller font, nothing cut off.
TEST_F(LayoutPrinterTest, RowsOfTextsPrintInRowPagesWithTheHeaderAndShrinkToThePage) {
    std::vector<QStringList> rows = {{"Parameter", "Count", "Remark"}};
    for (int i = 1; i <= 40; ++i)
        rows.push_back({QStringLiteral("Row %1").arg(i), QString::number(i * 1000),
                        i == 7 ? QString(QLatin1Char('W')).repeated(60) : QString()});
    QFont font = QGuiApplication::font();
    font.setPointSizeF(10);
    auto shared = std::make_shared<PrintedTexts>(rows, font, std::vector<bool>{false, true, false});
    PrintedTexts& texts = *shared;
    texts.SetCaption(QStringLiteral("From noon to midnight"));
    std::vector<PrintedPart> parts{{.Rows = shared, .FirstRow = 0, .LastRow = 39}};
    printout = Print(parts, Options(QStringLiteral("Statistics of Table #1")), interaction);
    ASSERT_TRUE(printout.Printed);
    EXPECT_LT(texts.Font().pointSizeF(), 10);
    EXPECT_LE(texts.RowWidth(), printout.Area.width());
    ASSERT_GT(printout.Pages, 1);
    layout = LayOut(texts, 0, 39);
    EXPECT_EQ(printout.Pages, (40 + layout.RowsPerPage - 1) / layout.RowsPerPage);
    const std::vector<std::string> pages = PdfPageTexts(pdf);
    ASSERT_EQ(static_cast<int32_t>(pages.size()), printout.Pages);
    std::string all;
    for (size_t i = 0; i < pages.size(); ++i) {
        const std::string& page = pages[i];
        SCOPED_TRACE(page);
        for (const std::string& text :
             {std::string("Parameter"), std::string("Statistics of Table #1"),
              std::string("From noon to midnight"),
              "Page " + std::to_string(i + 1) + " of " + std::to_string(pages.size()),
              std::string("Location: Plant 2")})
            EXPECT_EQ(Occurrences(page, text), 1) << text;
        all += page;
    }
    for (int i = 1; i <= 40; ++i)
        EXPECT_EQ(Occurrences(all, "Row " + std::to_string(i) + " "), 1) << i;
    EXPECT_EQ(Occurrences(all, std::string(60, 'W')), 1);
}

} // namespace
