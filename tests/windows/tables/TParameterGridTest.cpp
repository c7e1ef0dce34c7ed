#include "windows/tables/TParameterGrid.h"
#include "tests/tables/TablesTestSupport.h"
#include "texts/DateTimeText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

class TParameterGridTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(UsLocale()); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void Show(std::initializer_list<int> parameters) {
        const LParameterSourceGroup& group = AddTable(db, parameters).Sources;
        grid.SetGroup(&group);
        grid.SetType(ChooseLayout(group).Type);
    }

    LDatabase db;
    TParameterGrid grid;
};

std::optional<QFont> FontOfHeight(int height) {
    for (int pixels = 6; pixels < 30; ++pixels) {
        QFont font;
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() == height)
            return font;
    }
    return std::nullopt;
}

TEST_F(TParameterGridTest, RowHeightsFromTheFont) {
    const std::optional<QFont> font = FontOfHeight(13);
    if (!font)
        GTEST_SKIP() << "no font of 13 pixels text height here";
    grid.setFont(*font);
    ParseRecording(db, {HistoricV1, EventVoltageMaxV1}, 3);
    Show({0});
    EXPECT_EQ(grid.DefaultRowHeight(), 17);
    EXPECT_EQ(grid.RowHeights(0), 34);
    EXPECT_EQ(grid.RowHeights(3), 17);
    EXPECT_EQ(grid.GridHeight(), 34 + 3 * 17);
    Show({1});
    EXPECT_EQ(grid.RowHeights(0), 17);
    EXPECT_TRUE(grid.verticalHeader()->isHidden());
}

TEST_F(TParameterGridTest, PrinterSizesScaleByTheWholeRatioOfResolutions) {
    ParseRecording(db, {HistoricV1, HistoricI1});
    Show({0, 1});
    ASSERT_EQ(grid.logicalDpiY(), 96);
    const struct { int dpi, factor; } cases[] = {{300, 3}, {600, 6}, {96, 1}, {72, 1}};
    for (const auto& c : cases) {
        QImage page(2000, 400, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(qRound(c.dpi / 0.0254));
        page.setDotsPerMeterY(qRound(c.dpi / 0.0254));
        QPainter painter(&page);
        EXPECT_EQ(grid.GetRowHeight(painter, 0), grid.RowHeights(0) * c.factor) << c.dpi;
        EXPECT_EQ(grid.GetColWidth(painter, 1), grid.ColWidths(1) * c.factor) << c.dpi;
        int y = 5;
        grid.DrawRow(painter, 0, 0, y);
        EXPECT_EQ(y, 5 + grid.RowHeights(0) * c.factor);
        const int secondLine = 5 + 2 + grid.CalcRowHeight(painter, 1) * 3 / 2;
        painter.end();
        // The header's second line is drawn too.
        int inked = 0;
        for (int x = 0; x < page.width(); ++x)
            inked += page.pixel(x, secondLine) != qRgb(255, 255, 255);
        EXPECT_GT(inked, 0) << c.dpi;
    }
}

// The value column of the Event layout is wide enough for a value with its unit and time.
TEST_F(TParameterGridTest, EventValuesFitTheirColumn) {
    TDateTime date = 0, time = 0;
    TryEncodeDate(2024, 3, 11, date);
    TryEncodeTime(9, 30, 0, 0, time);
    ParseRecording(db, {EventVoltageMaxV1, CumulativeEnergy}, 2, 0, [](GeneratedRecording& r) {
        r.blocks[0].values = {-12345.75f};
        r.blocks[1].values = {98765432.0f};
    });
    for (const QLocale& locale : {UsLocale(), QLocale(QLocale::English, QLocale::UnitedKingdom),
                                  QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        TParameterGrid events;
        const LParameterSourceGroup& group = AddTable(db, {0, 1}).Sources;
        events.SetGroup(&group);
        events.SetType(ttEvent);
        const QFontMetrics metrics(events.font());
        // "1,234.50 WH (11/03/2024 09:30:00)" in the locale, and the table's own cells.
        QStringList texts = {QString::fromStdString(events.Text().FormatValue(1234.5f)) +
                             QStringLiteral(" WH (") +
                             DateTimeToStr(date + time, events.Text().Locale()) + ')'};
        for (int32_t row : {1, 2}) {
            QString main, second;
            events.GetCellText(1, row, main, second);
            texts << main;
        }
        for (const QString& text : texts)
            EXPECT_LE(2 + metrics.horizontalAdvance(text) + 2, events.ColWidths(1))
                << text.toStdString();
        EXPECT_EQ(events.GridWidth(), events.ColWidths(0) + events.ColWidths(1));
    }
}

// The last column takes the room the grid has to spare, whether it is scrolled or not; the
// widths a printout takes stay the layout's.
TEST_F(TParameterGridTest, NoEmptyColumnPastTheLast) {
    ParseRecording(db, std::vector<int>(8, HistoricV1), 50);
    for (const int width : {1400, 500}) {
        TParameterGrid shown;
        shown.SetGroup(&AddTable(db, {0, 1, 2, 3, 4, 5, 6, 7}).Sources);
        shown.SetType(ttHistoric);
        shown.resize(width, 300);
        shown.show();
        QApplication::processEvents();
        shown.horizontalScrollBar()->setValue(shown.horizontalScrollBar()->maximum());
        QApplication::processEvents();
        const QHeaderView& columns = *shown.horizontalHeader();
        const int last = columns.count() - 1;
        EXPECT_EQ(columns.sectionViewportPosition(last) + columns.sectionSize(last),
                  shown.viewport()->width())
            << width;
        EXPECT_EQ(shown.ColWidths(last + 1), shown.DefaultColWidth());
    }
}

TEST_F(TParameterGridTest, ClickingATimeSelectsItsRow) {
    ParseRecording(db, {HistoricV1, HistoricI1}, 10);
    Show({0, 1});
    grid.show();
    QApplication::processEvents();
    QHeaderView& times = *grid.verticalHeader();
    QTest::mouseClick(times.viewport(), Qt::LeftButton, {},
                      QPoint(4, times.sectionViewportPosition(3) + times.sectionSize(3) / 2));
    const QModelIndexList rows = grid.selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row(), 3);
    int32_t top = -1, bottom = -1;
    grid.SelectedRows(top, bottom);
    EXPECT_EQ(top, 3);
    EXPECT_EQ(bottom, 3);
}

TEST_F(TParameterGridTest, OnlyTheRowsOnScreenAreComputed) {
    std::vector<int> entries(20, HistoricV1);
    ParseRecording(db, entries, 5000);
    LTableRecord& table = *db.AddTable();
    for (const auto& p : db.Parameters())
        table.Sources.Add(std::make_unique<LParameterSource>(p.get()));
    grid.SetGroup(&table.Sources);
    grid.SetType(ttHistoric);
    grid.resize(640, 400);
    const uint64_t onScreen = (400 / grid.DefaultRowHeight() + 2) * (640 / grid.ColWidths(1) + 2);
    grid.show();
    QApplication::processEvents();
    const uint64_t opening = grid.Text().CellsComputed();
    EXPECT_GT(opening, 0u);
    EXPECT_LE(opening, 2 * onScreen);

    grid.scrollTo(grid.model()->index(2500, 0), QAbstractItemView::PositionAtTop);
    (void)grid.grab();
    const uint64_t scrolling = grid.Text().CellsComputed() - opening;
    EXPECT_GT(scrolling, 0u);
    EXPECT_LE(scrolling, 2 * onScreen);
}

} // namespace
