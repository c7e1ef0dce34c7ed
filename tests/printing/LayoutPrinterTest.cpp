// The page layout printer's documents read back from PDF: header and footer by the options,
// the recording information, column strips and row pages in their order, a range of rows,
// Cancel, the busy test and the pages too short to print on.
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTable.h"
#include "printing/PrintedTexts.h"
#include "tests/support/PdfPages.h"
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

// Answers as vrotool does, and remembers what the windows would have shown.
class TestInteraction : public PlainPrintInteraction {
public:
    using PlainPrintInteraction::PlainPrintInteraction;
    bool ExecuteOptions(TLayoutPrinter& printer) override {
        PagesShown.push_back(printer.PageCount);
        if (Choose)
            Choose(printer);
        return Confirm && PlainPrintInteraction::ExecuteOptions(printer);
    }
    QString PdfFileName(const QString& proposed) override {
        ++NamesAsked;
        return PlainPrintInteraction::PdfFileName(proposed);
    }
    void SetProgress(int32_t position) override {
        Positions.push_back(position);
        if (OnProgress)
            OnProgress(position);
    }
    bool Cancelled() const override {
        return CancelAt > 0 && !Positions.empty() && Positions.back() >= CancelAt;
    }

    bool Confirm = true;
    std::function<void(TLayoutPrinter&)> Choose;
    std::function<void(int32_t)> OnProgress;
    int32_t CancelAt = 0;
    int NamesAsked = 0;
    std::vector<int32_t> PagesShown;
    std::vector<int32_t> Positions;
};

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
        printer.Printer().setOutputFormat(QPrinter::PdfFormat);
        SetPage(150, 100);
        printer.SetInteraction(&interaction);
        printer.Database = &db;
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void SetPage(double width, double height) {
        printer.Printer().setPageLayout(
            QPageLayout(QPageSize(QSizeF(width, height), QPageSize::Millimeter),
                        QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    }
    void SetOptions(bool title, bool page, bool location, bool userId) {
        printer.PrintTitle = title;
        printer.PrintPageNumber = page;
        printer.PrintLocation = location;
        printer.PrintUserId = userId;
    }
    // A table of the parameters at these positions, with three parameter columns to a page of
    // 150 mm (130 mm inside the margins, 6141 pixels at 1200 dpi, 12 to a grid pixel).
    PrintedTable& Table(const std::vector<int>& positions, LTableType type = ttHistoric,
                        const QFont& font = QGuiApplication::font()) {
        LTableRecord& record = *db.AddTable();
        for (int i : positions)
            record.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(i)));
        tables.push_back(std::make_unique<PrintedTable>(record.Sources, type, font));
        tables.back()->SetColWidths({170, 110});
        return *tables.back();
    }
    // Prints rowPages pages of rows from the first.
    bool Print(PrintedTable& table, int32_t rowPages) {
        printer.Grid = &table;
        printer.FirstRow = printer.LastRow = 0;
        printer.PageSize();
        printer.Margins();
        printer.Paginate();
        printer.LastRow = rowPages * printer.RowsPerPage - 1;
        printer.Title = QStringLiteral("Table #1");
        return printer.PrintTable();
    }
    bool PdfExists() const { return std::filesystem::exists(pdf); }

    LDatabase db;
    ScratchFolder scratch;
    const std::string pdf = scratch / "out.pdf";
    TestInteraction interaction{QString::fromStdString(pdf)};
    TLayoutPrinter printer;
    std::vector<std::unique_ptr<PrintedTable>> tables;
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
        ASSERT_TRUE(printer.PrintRecordingInfo());
        const std::vector<std::string> pages = PdfPageTexts(pdf);
        ASSERT_EQ(pages.size(), 1u);
        const std::string& page = pages[0];
        SCOPED_TRACE(page);
        EXPECT_EQ(Occurrences(page, "Recording info"), c.title ? 1 : 0);
        EXPECT_EQ(Occurrences(page, "Page 1 of 1"), c.page ? 1 : 0);
        EXPECT_EQ(Occurrences(page, "Location: "), c.location && *c.locationText ? 1 : 0);
        EXPECT_EQ(Occurrences(page, "User Id: "), c.userId && *c.userIdText ? 1 : 0);
        // An empty text keeps its margin: only the options decide the print area.
        const int line = QFontMetrics(printer.HeaderFont, &printer.Printer()).height() * 3 / 2;
        EXPECT_EQ(printer.PrintArea.top(), c.title || c.page ? line : 0);
        EXPECT_EQ(printer.PrintArea.bottom(),
                  printer.PageHeight - 1 - (c.location || c.userId ? line : 0));
    }
}

TEST_F(LayoutPrinterTest, RecordingInformationIsTenLabelledLines) {
    db.Header().Comments = "Feeder 4";
    ASSERT_TRUE(printer.PrintRecordingInfo());
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
        ASSERT_TRUE(Print(table, c.rowPages));
        const auto strips = static_cast<int32_t>(c.strips.size());
        EXPECT_EQ(printer.ColumnsPerPage, 3);
        EXPECT_EQ(printer.ColumnStrips, strips);
        EXPECT_EQ(printer.PageCount, strips * c.rowPages);
        std::vector<int32_t> positions(static_cast<size_t>(printer.PageCount));
        std::iota(positions.begin(), positions.end(), 1);
        EXPECT_EQ(interaction.Positions, positions);

        const std::vector<std::string> pages = PdfPageTexts(pdf);
        ASSERT_EQ(pages.size(), c.sheets.size());
        for (size_t sheet = 0; sheet < pages.size(); ++sheet) {
            const std::string& page = pages[sheet];
            SCOPED_TRACE(page);
            EXPECT_EQ(Occurrences(page, "Page " + std::to_string(c.sheets[sheet]) + " of " +
                                            std::to_string(printer.PageCount)),
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
    ASSERT_TRUE(Print(table, 2));
    EXPECT_EQ(printer.ColumnStrips, 1);
    EXPECT_EQ(printer.PageCount, 2);
    const std::vector<std::string> pages = PdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 2u);
    QString value, unused;
    table.Text().GetCellText(1, 1, value, unused);
    const std::string valueText = value.left(value.indexOf(QLatin1Char('('))).toStdString();
    for (const std::string& page : pages) {
        EXPECT_EQ(Occurrences(page, "Parameter"), 1) << page;
        EXPECT_EQ(Occurrences(page, "Value"), 1) << page;
        EXPECT_EQ(Occurrences(page, "RMS Voltage Max - V1"), printer.RowsPerPage) << page;
        EXPECT_EQ(Occurrences(page, valueText), printer.RowsPerPage) << page;
    }
}

TEST_F(LayoutPrinterTest, ASelectionPrintsTheHeaderRowAndItsRowsOnEveryPage) {
    SetPage(150, 56);
    PrintedTable& table = Table({Voltage});
    printer.Grid = &table;
    printer.FirstRow = 5;
    printer.LastRow = 9;
    ASSERT_TRUE(printer.PrintTable());
    ASSERT_LT(printer.RowsPerPage, 5);
    const int32_t pageCount = (5 + printer.RowsPerPage - 1) / printer.RowsPerPage;
    EXPECT_EQ(printer.PageCount, pageCount);
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
    printer.Grid = &table;
    printer.PageSize();
    printer.Margins();
    printer.Paginate();
    // Rows fill the print area, and only whole rows count.
    const QPaintDevice& device = printer.Printer();
    const int used =
        table.GetRowHeight(device, 0) + printer.RowsPerPage * table.GetRowHeight(device, 1);
    EXPECT_LE(used, printer.PrintArea.height());
    EXPECT_GT(used + table.GetRowHeight(device, 1), printer.PrintArea.height());

    // One row more than a page holds with a header and a footer.
    printer.Grid = &table;
    printer.FirstRow = 0;
    printer.LastRow = printer.RowsPerPage;
    printer.Title = QStringLiteral("Table #1");
    interaction.Choose = [this](TLayoutPrinter&) { SetOptions(false, false, false, false); };
    ASSERT_TRUE(printer.PrintTable());
    EXPECT_EQ(interaction.PagesShown, std::vector<int32_t>{2});
    const std::vector<std::string> pages = PdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 2u);
    for (const std::string& page : pages)
        for (const char* text : {"Table #1", "Page ", "Location: ", "User Id: "})
            EXPECT_EQ(Occurrences(page, text), 0) << text;

    // Without them the same rows fit on one page.
    interaction.Choose = {};
    printer.Grid = &table;
    ASSERT_TRUE(printer.PrintTable());
    EXPECT_EQ(printer.PageCount, 1);
    EXPECT_EQ(PdfPageCount(pdf), 1);
}

TEST_F(LayoutPrinterTest, CancelOrAFailureLeavesNoPdfAndTheParametersAsTheyWere) {
    WriteBytes(pdf, "an earlier printout");
    PrintedTable& table = Table({Voltage, Current, RealPower, ReactivePower, ApparentPower});
    table.Group().Items(1)->Selected = false;
    table.UpdateTable();
    interaction.CancelAt = 2;
    EXPECT_FALSE(Print(table, 2));
    EXPECT_EQ(interaction.Positions, (std::vector<int32_t>{1, 2}));
    EXPECT_FALSE(printer.Printing());
    for (int32_t i = 0; i < table.Group().Count(); ++i)
        EXPECT_EQ(table.Group().Items(i)->Selected, i != 1);

    // A one-page document sees Cancel after its page; a drawing that fails ends it the same.
    interaction.CancelAt = 1;
    EXPECT_FALSE(printer.PrintRecordingInfo());
    interaction.CancelAt = 0;
    printer.Title = QStringLiteral("Chart #1");
    printer.Chart = [](QPainter&, const QRect&, int) { throw std::runtime_error("no memory"); };
    EXPECT_FALSE(printer.PrintChart());
    EXPECT_EQ(ReadBytes(pdf), "an earlier printout");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path),
                            std::filesystem::directory_iterator()),
              1);

    // Cancelling the options asks for no file.
    interaction.Confirm = false;
    interaction.NamesAsked = 0;
    EXPECT_FALSE(printer.PrintRecordingInfo());
    EXPECT_EQ(interaction.NamesAsked, 0);
    EXPECT_TRUE(interaction.Errors.isEmpty());

    // A PDF that cannot be written says so.
    const QString nowhere = QString::fromStdString(scratch / "missing/out.pdf");
    PlainPrintInteraction unwritable(nowhere);
    printer.SetInteraction(&unwritable);
    EXPECT_FALSE(printer.PrintRecordingInfo());
    ASSERT_EQ(unwritable.Errors.size(), 1);
    EXPECT_TRUE(unwritable.Errors[0].startsWith(
        QStringLiteral("The printout could not be written to %1.").arg(nowhere)));
}

TEST_F(LayoutPrinterTest, ASecondJobIsRefusedWhileTheFirstPrints) {
    bool busy = false, second = true;
    interaction.OnProgress = [&](int32_t) {
        busy = printer.Printing();
        second = printer.PrintRecordingInfo();
    };
    ASSERT_TRUE(printer.PrintRecordingInfo());
    EXPECT_TRUE(busy);
    EXPECT_FALSE(second);
    EXPECT_EQ(interaction.Errors, QStringList{QString::fromLatin1(TLayoutPrinter::BusyMessage)});
    EXPECT_FALSE(printer.Printing());
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
            printer.Grid = &table;
            printer.FirstRow = 0;
            printer.LastRow = 3;
            printed = printer.PrintTable();
        } else {
            printed = printer.PrintRecordingInfo();
        }
        EXPECT_FALSE(printed);
        EXPECT_EQ(interaction.Errors,
                  QStringList{QString::fromLatin1(TLayoutPrinter::TooShortMessage)});
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
    for (int i = 0; i < 2; ++i) {
        printer.Title = QStringLiteral("Chart #1");
        printer.Chart = chart;
        ASSERT_TRUE(printer.PrintChart());
    }
    EXPECT_EQ(resolutions, (std::vector<int>{0, -100}));
    EXPECT_EQ(area, printer.PrintArea);
    // A tall page turns to landscape for a chart, and back for what prints next; the page
    // chosen in Print Setup stays as it is.
    SetPage(100, 150);
    for (const bool chosen : {false, true}) {
        printer.PageChosen = chosen;
        printer.Chart = chart;
        ASSERT_TRUE(printer.PrintChart());
        EXPECT_EQ(area.width() > area.height(), !chosen);
        EXPECT_LT(printer.Printer().width(), printer.Printer().height());
    }
    printer.PageChosen = false;
    SetPage(150, 100);
    const std::string page = PdfPageTexts(pdf).at(0);
    for (const char* text : {"Sample chart", "Chart #1", "Page 1 of 1", "Location: Plant 2"})
        EXPECT_EQ(Occurrences(page, text), 1) << text << " in\n" << page;

    // A PDF is proposed beside the database, named after the title.
    db.SetFileName(scratch / "site.vro");
    EXPECT_EQ(printer.DefaultPdfName().toStdString(), scratch / "Chart #1.pdf");
    printer.Title = QStringLiteral("Feeders 1/2");
    EXPECT_EQ(printer.DefaultPdfName().toStdString(), scratch / "Feeders 1_2.pdf");
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
    PrintedTexts texts(rows, font, {false, true, false});
    texts.SetCaption(QStringLiteral("From noon to midnight"));
    printer.Rows = &texts;
    printer.FirstRow = 0;
    printer.LastRow = 39;
    printer.Title = QStringLiteral("Statistics of Table #1");
    ASSERT_TRUE(printer.PrintTable());
    EXPECT_EQ(printer.Rows, nullptr);
    EXPECT_LT(texts.Font().pointSizeF(), 10);
    EXPECT_LE(texts.RowWidth(), printer.PrintArea.width());
    ASSERT_GT(printer.PageCount, 1);
    EXPECT_EQ(printer.PageCount, (40 + printer.RowsPerPage - 1) / printer.RowsPerPage);
    const std::vector<std::string> pages = PdfPageTexts(pdf);
    ASSERT_EQ(static_cast<int32_t>(pages.size()), printer.PageCount);
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
