#include "windows/tables/TTableForm.h"
#include "model/Auxilary.h"
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTable.h"
#include "tests/support/JoinedSeries.h"
#include "tests/support/PdfPages.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tables/TablesTestSupport.h"
#include "windows/shell/SaveFileDialog.h"
#include "windows/shell/TCopyProgressForm.h"
#include "windows/tables/TParameterGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class TTableFormTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(UsLocale()); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    static std::string Clipboard() { return QApplication::clipboard()->text().toStdString(); }

    LDatabase db;
};

TEST_F(TTableFormTest, CopiesTheEntireTableOrTheSelectedRows) {
    ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower}, 2);
    LTableRecord& table = AddTable(db, {0, 1, 2});
    const int32_t windows = LiveInstances::TableFormCount;
    TTableForm form(table);
    EXPECT_EQ(LiveInstances::TableFormCount, windows + 1);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Table #1"));
    const TParameterGrid& grid = *form.Table();

    form.CopyEntireTable();
    const std::string all = Clipboard();
    EXPECT_EQ(all, grid.RowText(0) + grid.RowText(1) + grid.RowText(2));
    EXPECT_EQ(std::count(all.begin(), all.end(), '\t'), 3 * 3);
    EXPECT_FALSE(CopyProgressForm().isVisible());

    form.Table()->selectRow(1);
    form.CopySelectedRange();
    EXPECT_EQ(Clipboard(), grid.RowText(0) + grid.RowText(2));

    // Export writes what the copy copies.
    ScratchFolder scratch;
    static QString written;
    SetWrittenFileHandler([](const QString& fileName) { written = fileName; });
    ASSERT_TRUE(form.ExportTo(QString::fromStdString(scratch / "t.tsv"), 0, 1));
    SetWrittenFileHandler(nullptr);
    EXPECT_EQ(ReadBytes(scratch / "t.tsv"), all);
    EXPECT_EQ(written.toStdString(), scratch / "t.tsv") << "said where it wrote";
    // A workbook for a name ending in ".xlsx": a zip.
    ASSERT_TRUE(form.ExportTo(QString::fromStdString(scratch / "t.xlsx"), 0, 1));
    EXPECT_EQ(ReadBytes(scratch / "t.xlsx").substr(0, 4), std::string("PK\3\4"));
}

// A year of one-minute samples opens and scrolls to its last row, computing only the cells it
// shows.
TEST_F(TTableFormTest, AYearScrollsToItsLastRow) {
    JoinedYear(db);
    LTableRecord& table = *db.AddTable();
    for (const auto& p : db.Parameters())
        if (p->TableType() == ttHistoric)
            table.Sources.Add(std::make_unique<LParameterSource>(p.get()));
    TTableForm form(table);
    form.resize(900, 500);
    form.show();
    QApplication::processEvents();
    TParameterGrid& grid = *form.Table();
    grid.scrollToBottom();
    (void)grid.grab();
    const QModelIndex bottom = grid.indexAt(QPoint(1, grid.viewport()->height() - 2));
    EXPECT_EQ(bottom.row(), 525599);
    EXPECT_EQ(grid.RowText(525600).substr(0, 23), "12/31/2025 11:59:00 PM\t");
    EXPECT_LT(grid.Text().CellsComputed(), 5000u);
}

// Cancel in the window's own progress dialog: the export reports failure, leaves no file and
// an earlier file of that name as it was.
TEST_F(TTableFormTest, AnExportCancelledFromItsProgressLeavesNoFile) {
    ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower}, 50000);
    TTableForm form(AddTable(db, {0, 1, 2}));
    form.show();
    ScratchFolder scratch;
    const std::string earlier = scratch / "earlier.tsv";
    WriteBytes(earlier, "kept");
    for (const std::string& file : {scratch / "new.tsv", earlier, scratch / "new.xlsx"}) {
        SCOPED_TRACE(file);
        bool cancelled = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (auto* progress : form.findChildren<QProgressDialog*>())
                if (!cancelled) { // as its Cancel button does
                    progress->cancel();
                    cancelled = true;
                }
        });
        poll.start(0);
        EXPECT_FALSE(form.ExportTo(QString::fromStdString(file), 0, 49999));
        EXPECT_TRUE(cancelled);
        EXPECT_EQ(std::filesystem::exists(file), file == earlier);
        if (file == earlier) {
            EXPECT_EQ(ReadBytes(file), "kept");
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

TEST_F(TTableFormTest, ACopyLetsEventsInButNothingTakesTheTableMeanwhile) {
    ParseRecording(db, {HistoricV1}, 1000);
    TTableForm form(AddTable(db, {0}));
    int copies = -1;
    bool copying = false, menu = true;
    QTimer::singleShot(0, [&] {
        copies = TTableForm::CopiesInProgress();
        copying = form.Copying();
        menu = form.Table()->contextMenuPolicy() != Qt::NoContextMenu;
    });
    form.CopyEntireTable();
    EXPECT_EQ(copies, 1);
    EXPECT_TRUE(copying);
    EXPECT_FALSE(menu);
    EXPECT_EQ(TTableForm::CopiesInProgress(), 0);
    EXPECT_EQ(form.Table()->contextMenuPolicy(), Qt::CustomContextMenu);
    const std::string text = Clipboard();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1001);
}

TEST_F(TTableFormTest, OpensAsLargeAsItsGridUpTo640By400) {
    ParseRecording(db, {HistoricV1, HistoricI1}, 3);
    TTableForm small(AddTable(db, {0, 1}));
    EXPECT_EQ(small.size(), QSize(small.Table()->GridWidth(), small.Table()->GridHeight()));
    small.show();
    QApplication::processEvents();
    EXPECT_FALSE(small.Table()->verticalScrollBar()->isVisible());
    EXPECT_FALSE(small.Table()->horizontalScrollBar()->isVisible());

    LDatabase large;
    ParseRecording(large, std::vector<int>(12, HistoricV1), 500);
    TTableForm big(AddTable(large, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(big.size(), QSize(640, 400));

    // Taller than 400 but not than 640, and narrow: as wide as the grid and its vertical
    // scroll bar.
    int rows = 4;
    for (; rows < 60; ++rows) {
        LDatabase probe;
        ParseRecording(probe, {HistoricV1, HistoricI1}, rows);
        if (TTableForm(AddTable(probe, {0, 1})).Table()->GridHeight() > 450)
            break;
    }
    LDatabase middle;
    ParseRecording(middle, {HistoricV1, HistoricI1}, rows);
    TTableForm tall(AddTable(middle, {0, 1}));
    ASSERT_GT(tall.Table()->GridHeight(), 400);
    ASSERT_LT(tall.Table()->GridHeight(), 640);
    EXPECT_EQ(tall.size(), QSize(tall.Table()->GridWidth() +
                                     tall.style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                                 400));
}

// No layout makes a window larger than the room its screen has.
TEST_F(TTableFormTest, NeverLargerThanTheScreenHasRoomFor) {
    ParseRecording(
        db, {HistoricV1, HistoricI1, EventVoltageMaxV1, CumulativeEnergy, IntervalEnergy}, 600);
    LTableRecord& intervals = AddTable(db, {3});
    intervals.Sources.ChainIntervalTwins(db.AllSources());
    LTableRecord* tables[] = {&AddTable(db, {0, 1, 0, 1, 0, 1, 0, 1}), &AddTable(db, {2, 3}),
                              &intervals, &AddTable(db, {2, 0})};
    for (LTableRecord* table : tables) {
        TTableForm form(*table);
        const QSize screen = form.screen()->availableGeometry().size();
        EXPECT_LE(form.width(), screen.width());
        EXPECT_LE(form.height(), screen.height());
        for (const QSize available : {QSize(320, 200), QSize(200, 120)}) {
            form.ShowGroup(available);
            EXPECT_LE(form.width(), available.width()) << table->Caption;
            EXPECT_LE(form.height(), available.height()) << table->Caption;
            EXPECT_LE(form.minimumSizeHint().width(), available.width()) << table->Caption;
            EXPECT_LE(form.minimumSizeHint().height(), available.height()) << table->Caption;
        }
    }
}

TEST_F(TTableFormTest, ATableSavedAndLoadedShowsAllItsParameters) {
    ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower});
    LTableRecord& table = AddTable(db, {0, 1, 2});
    {
        TTableForm form(table);
        table.Sources.Items(1)->Selected = false;
        form.UpdateTable();
        EXPECT_EQ(form.Table()->ColCount(), 3);
    }
    ScratchFolder scratch;
    db.SetFileName(scratch / "hidden");
    db.Save(false);
    LDatabase loaded;
    loaded.New();
    loaded.Load(db.FileName());
    TTableForm form(*loaded.Tables()[0]);
    EXPECT_EQ(form.Table()->ColCount(), 4);
}

TEST_F(TTableFormTest, AMixedTableShowsItsHistoricParametersAndSaysSo) {
    ParseRecording(db, {EventVoltageMaxV1, HistoricV1, HistoricI1});
    TTableForm mixed(AddTable(db, {0, 1, 2}));
    EXPECT_EQ(mixed.Table()->Type(), ttHistoric);
    EXPECT_EQ(mixed.Table()->RowText(0), "Time\tRMS Voltage V1 (V)\tRMS Current I1 (A)\r\n");
    EXPECT_FALSE(mixed.NoteLabel()->isHidden());
    TTableForm plain(AddTable(db, {1}));
    EXPECT_TRUE(plain.NoteLabel()->isHidden());
}

TEST_F(TTableFormTest, PrintsTheEntireTableOrTheSelectedRowsInTheColumnsShown) {
    ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower}, 6);
    TTableForm form(AddTable(db, {0, 1, 2}));
    ScratchFolder scratch;
    PlainPrintInteraction interaction(QString::fromStdString(scratch / "table.pdf"));
    ProgramPrintSetup().Printer().setOutputFormat(QPrinter::PdfFormat);
    SetProgramInteraction(&interaction);
    SetProgramDatabase(&db);
    // The strips of the window's printout as the printer lays them out.
    const auto strips = [&] {
        return LayOutRows(*std::make_shared<PrintedTable>(form.Printout()), 0, 0,
                          ProgramPrintSetup().Printer(), PrintAreaOf(ProgramPrintSetup()),
                          ProgramPrintSetup().Printer().width())
            .Strips;
    };
    const auto times = [&](int32_t first, int32_t last) {
        std::vector<int> printed;
        const std::string all = PdfPageTexts(scratch / "table.pdf").at(0);
        for (int32_t k = first; k <= last; ++k) {
            QString time, unused;
            form.Table()->GetCellText(0, k + 1, time, unused);
            printed.push_back(Occurrences(all, time.toStdString()));
        }
        return printed;
    };

    EXPECT_TRUE(form.PrintRows(0, 5));
    EXPECT_EQ(Occurrences(PdfPageTexts(scratch / "table.pdf").at(0), "Table #1"), 1);
    EXPECT_EQ(PdfPageCount(scratch / "table.pdf"), 1);
    EXPECT_EQ(times(0, 5), std::vector<int>(6, 1));

    form.Table()->selectRow(2);
    form.Table()->selectionModel()->select(
        QItemSelection(form.Table()->model()->index(2, 0), form.Table()->model()->index(3, 0)),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    form.PrintSelectedRange();
    EXPECT_EQ(times(0, 5), (std::vector<int>{0, 0, 1, 1, 0, 0}));

    // A column the user widened leaves room for fewer parameters on a page.
    const ColumnRange columns = strips().at(0);
    form.Table()->horizontalHeader()->resizeSection(0, 500);
    form.PrintEntireTable();
    EXPECT_LT(strips().at(0).Last - strips().at(0).First, columns.Last - columns.First);
    EXPECT_EQ(strips().size(), 3u);
    EXPECT_EQ(PdfPageCount(scratch / "table.pdf"), 3);
    SetProgramInteraction(nullptr);
    SetProgramDatabase(nullptr);
}

} // namespace
