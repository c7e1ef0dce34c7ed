#include "windows/tables/TParameterListView.h"
#include "tests/windows/tables/SampleRecording.h"

#include <QHeaderView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TParameterListViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseEnglishLocale(); }

    void SetUp() override {
        // Kinds 0, 0, 1, 1, 2, 3, 6, 10 and 20, in another order than the kinds'.
        OpenRecording(db, {115, 19, 98, 63, 47, 16, 13, 7, 6});
        list.SetGroup(&db.AllSources());
    }

    QStringList Column(int column) const {
        QStringList texts;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            texts << list.topLevelItem(i)->text(column);
        return texts;
    }

    void ClickHeader(int column) {
        const QHeaderView* header = list.header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }

    LDatabase db;
    TParameterListView list;
};

TEST_F(TParameterListViewTest, HeaderClicksSortAndSetGroupReturnsToKindOrder) {
    const QStringList kindOrder = {"RMS Voltage",     "RMS Voltage",     "RMS Current",
                                   "RMS Current",     "RMS Voltage Max", "RMS Current Max",
                                   "RMS Voltage Avg", "Real Power",      "Demand"};
    EXPECT_EQ(Column(0), kindOrder);
    EXPECT_EQ(list.SortColumnIndex(), -1);

    list.resize(400, 300);
    list.show();
    ClickHeader(0);
    // The locale's collation puts "Real" before "RMS", as a byte order would not.
    const QStringList byName = {"Demand",      "Real Power",      "RMS Current",
                                "RMS Current", "RMS Current Max", "RMS Voltage",
                                "RMS Voltage", "RMS Voltage Avg", "RMS Voltage Max"};
    EXPECT_EQ(Column(0), byName);
    ClickHeader(0);
    QStringList reversed = byName;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(Column(0), reversed);
    EXPECT_FALSE(list.Ascending());

    ClickHeader(1);
    EXPECT_TRUE(list.Ascending());
    EXPECT_EQ(Column(1), QStringList({"3Ø", "IA", "IA", "IN", "ØA", "VAN", "VAN", "VAN", "VBN"}));

    ClickHeader(1);
    list.SetGroup(&db.AllSources());
    EXPECT_EQ(list.SortColumnIndex(), -1);
    EXPECT_FALSE(list.Ascending());
    reversed = kindOrder;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(Column(0), reversed);
}

TEST_F(TParameterListViewTest, SetColumnKeepsToTheListsColumns) {
    const struct {
        int columns, index, expected;
    } cases[] = {{3, -1, 0}, {3, 2, 2}, {3, 3, 0}, {2, 2, 0}};
    for (const auto& c : cases) {
        list.setColumnCount(c.columns);
        list.SetColumn(c.index);
        EXPECT_EQ(list.SortColumnIndex(), c.expected) << c.columns << " " << c.index;
    }
}

// Every new group opens at the top, and the longest type shows whole.
TEST_F(TParameterListViewTest, ANewGroupOpensAtTheTopWithItsTypesWhole) {
    list.resize(list.minimumSize());
    list.show();
    list.scrollToItem(list.topLevelItem(list.topLevelItemCount() - 1));
    list.SetGroup(&db.AllSources());
    EXPECT_EQ(list.itemAt(QPoint(5, 5)), list.topLevelItem(0));
    EXPECT_GE(list.columnWidth(2),
              list.fontMetrics().horizontalAdvance(QStringLiteral("Interval cumulative")));
}
} // namespace
