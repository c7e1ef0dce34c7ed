#include "model/ParameterTable.h"
#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

constexpr uint8_t Wye = 3, Delta = 4, SinglePhase2W = 0;

TEST(ParameterTableTest, EntriesFollowTheFileOrder) {
    // Spot checks at the start and end of every block: a shifted row would corrupt files.
    struct Row {
        int index;
        LTableType type;
        uint8_t quantity, unit, channel;
        int32_t kind;
        const char* name;
    };
    const Row rows[] = {
        {0, ttHistoric, 0, 0, 1, 0, "RMS Voltage"},
        {8, ttHistoric, 0, 0, 17, 0, "RMS Voltage"},
        {9, ttHistoric, 0, 1, 4, 1, "RMS Current"},
        {16, ttHistoric, 0, 1, 21, 1, "RMS Current"},
        {17, ttHistoric, 1, 2, 8, 10, "Real Power"},
        {22, ttHistoric, 1, 2, 25, 15, "Real Power"},
        {29, ttHistoric, 3, 4, 8, 12, "Apparent Power"},
        {40, ttHistoric, 4, 5, 25, 18, "Power Factor"},
        {41, ttEvent, 5, 0, 1, 2, "RMS Voltage Max"},
        {91, ttEvent, 7, 1, 21, 9, "Peak Current Max"},
        {92, ttCumulative, 8, 0, 1, 6, "RMS Voltage Avg"},
        {114, ttCumulative, 9, 6, 25, 19, "Energy"},
        {115, ttEvent, 10, 2, 25, 20, "Demand"},
        {116, ttIntervalEvent, 5, 0, 1, 2, "RMS Voltage Max"},
        {167, ttIntervalCumulative, 8, 0, 1, 6, "RMS Voltage Avg"},
        {189, ttIntervalCumulative, 9, 6, 25, 19, "Energy"},
        {190, ttIntervalEvent, 10, 2, 25, 20, "Demand"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        EXPECT_EQ(ParameterTableType(r.index), r.type);
        EXPECT_EQ(ParameterQuantity(r.index), r.quantity);
        EXPECT_EQ(ParameterUnit(r.index), r.unit);
        EXPECT_EQ(ParameterChannel(r.index), r.channel);
        EXPECT_EQ(ParameterKind(r.index), r.kind);
        EXPECT_EQ(ParameterName(r.index), r.name);
    }
    EXPECT_EQ(ParameterChannelLabel(114), "3Ø");
    EXPECT_EQ(ParameterShortUnit(114), "WH");
    EXPECT_EQ(ParameterLongUnit(17), "Watts");
    EXPECT_EQ(ParameterTableTypeName(167), "Interval cumulative");
}

TEST(ParameterTableTest, NoTwoEntriesShareTheirCodes) {
    std::set<std::tuple<int, int, int, int>> seen;
    for (int i = 0; i < ParameterTableSize; ++i) {
        const ParameterEntry& e = CatalogueEntry(i);
        EXPECT_TRUE(seen.insert({e.tableType, e.quantity, e.unit, e.channel}).second) << i;
    }
    EXPECT_EQ(seen.size(), 191u);
}

TEST(ParameterTableTest, IndicesOutsideTheTableAreHarmless) {
    EXPECT_EQ(ParameterName(191), "");
    EXPECT_EQ(ParameterName(-1), "");
    EXPECT_EQ(ParameterChannelLabel(1000), "");
    EXPECT_EQ(ParameterTableType(-5), 0);
}

TEST(FindParameterTest, HonoursThePhaseConfiguration) {
    EXPECT_EQ(FindParameter(SinglePhase2W, 0, ttHistoric, 0, 0, 1), 0);
    EXPECT_EQ(FindParameter(Wye, 0, ttHistoric, 0, 0, 1), -1); // V1 is no wye channel
    EXPECT_EQ(FindParameter(Wye, 0, ttHistoric, 0, 0, 15), 6);
    EXPECT_EQ(FindParameter(Delta, 0, ttHistoric, 0, 0, 15), -1); // no line-to-neutral
    EXPECT_EQ(FindParameter(Delta, 0, ttHistoric, 0, 0, 12), 3);
    EXPECT_EQ(FindParameter(Delta, 0, ttHistoric, 1, 2, 25), 22);
    EXPECT_EQ(FindParameter(1, 0, ttHistoric, 0, 0, 2), 1);
    EXPECT_EQ(FindParameter(1, 0, ttHistoric, 0, 0, 3), -1);
    for (uint8_t invalid : {2, 5, 255})
        EXPECT_EQ(FindParameter(invalid, 0, ttHistoric, 0, 0, 1), -1);
}

TEST(FindParameterTest, DemandOnlyUnderTheEventTypes) {
    EXPECT_EQ(FindParameter(Wye, 0, ttEvent, 10, 2, 25), 115);
    EXPECT_EQ(FindParameter(Wye, 0, ttIntervalEvent, 10, 2, 25), 190);
    EXPECT_EQ(FindParameter(Wye, 0, ttCumulative, 10, 2, 25), -1);
    EXPECT_EQ(FindParameter(Wye, 0, ttIntervalCumulative, 10, 2, 25), -1);
}

TEST(FindParameterTest, IgnoresTheInterval) {
    for (int i = 0; i < ParameterTableSize; ++i) {
        const ParameterEntry& e = CatalogueEntry(i);
        const int base = FindParameter(Wye, 0, e.tableType, e.quantity, e.unit, e.channel);
        for (uint8_t interval : {1, 2, 3, 4, 200})
            ASSERT_EQ(FindParameter(Wye, interval, e.tableType, e.quantity, e.unit, e.channel),
                      base);
    }
}

TEST(RecordingTextsTest, ByCode) {
    EXPECT_EQ(RateText(7), "1800 sec.");
    EXPECT_EQ(RateText(4), "60 sec.");
    EXPECT_EQ(RateSeconds(0), 1);
    EXPECT_EQ(IntervalMinutes(0), 0);
    EXPECT_EQ(IntervalMinutes(2), 30);
    EXPECT_EQ(IntervalName(1), "15 min.");
    EXPECT_FALSE(IntervalName(3).empty()); // accepted by the parser, so it needs some text
    EXPECT_EQ(PhaseConfigName(2), "");
    EXPECT_EQ(PhaseConfigName(3), "3Ø 4W Wye");
    EXPECT_EQ(CTName(2), "FPX 7000 3000");
    EXPECT_EQ(ModeName(1), "Loop");
}

TEST(StringTableTest, MissingIdsAreEmpty) {
    EXPECT_EQ(LoadStr(102), "");
    EXPECT_EQ(LoadStr(128), "");
    EXPECT_EQ(LoadStr(5000), "");
    EXPECT_EQ(LoadStr(119), "The current file was not saved.  Do you want to save changes?");
    EXPECT_EQ(LoadStr(1000), "Error occured while loading the file.");
}

} // namespace
