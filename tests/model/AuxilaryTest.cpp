#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "tests/support/ErrorReportSpy.h"
#include "tests/support/PipeFile.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <tuple>

#include <fcntl.h>
#include <unistd.h>

namespace {

TEST(ConversionsTest, IntervalsToDays) {
    EXPECT_EQ(IntervalsToDays(1, 86400), 1.0);
    EXPECT_EQ(IntervalsToDays(0, 15), 0.0);
    EXPECT_EQ(IntervalsToDays(3, 60), 3 * (60 / 86400.0));
    EXPECT_EQ(IntervalsToDays(-2, 3600), -2 / 24.0);
}

TEST(ConversionsTest, DaysToIntervalsTruncatesTowardZero) {
    EXPECT_EQ(DaysToIntervals(1.0, 3600), 24);
    EXPECT_EQ(DaysToIntervals(0.5 / 24, 3600), 0);
    EXPECT_EQ(DaysToIntervals(-0.5 / 24, 3600), 0);
    EXPECT_EQ(DaysToIntervals(-1.5 / 24, 3600), -1);
    EXPECT_EQ(DaysToIntervals(2.99 * 60 / 86400.0, 60), 2);
    // A span that should be exactly 7 steps but lands a hair below counts 6.
    const double step = 900 / 86400.0;
    EXPECT_EQ(DaysToIntervals(std::nextafter(7 * step, 0.0), 900), 6);
}

TEST(ConversionsTest, DaysToIntervalsStaysDefinedForDamagedTimes) {
    EXPECT_EQ(DaysToIntervals(1e300, 1), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(DaysToIntervals(-1e300, 1), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(DaysToIntervals(std::nan(""), 60), 0);
    EXPECT_EQ(DaysToIntervals(1.0, 0), std::numeric_limits<int32_t>::max());
}

class ReadWholeFileTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    const std::filesystem::path& dir = scratch.path;
};

TEST_F(ReadWholeFileTest, ReadsEveryByte) {
    std::string content;
    for (int i = 0; i < 70000; ++i)
        content += static_cast<char>(i % 256);
    std::ofstream(dir / "f.bin", std::ios::binary) << content;
    EXPECT_EQ(ReadWholeFile((dir / "f.bin").string()), content);
    std::ofstream(dir / "empty.bin", std::ios::binary).close();
    EXPECT_EQ(ReadWholeFile((dir / "empty.bin").string()), "");
}

TEST_F(ReadWholeFileTest, Failures) {
    auto message = [](const std::string& name) {
        try {
            ReadWholeFile(name);
        } catch (const VroError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message((dir / "missing.bin").string()), "Error opening file!");
    EXPECT_EQ(message(dir.string()), "Error opening file!");
}

TEST_F(ReadWholeFileTest, PipesAreReadToTheirEndWithinALimit) {
    std::string content(70000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i % 251);
    PipeFile pipe(content);
    EXPECT_TRUE(ReadWholeFile(pipe.Path()) == content);

    for (auto [size, result] : {std::pair{1000, 0}, {1001, EFBIG}, {0, 0}}) {
        PipeFile limited(std::string(static_cast<size_t>(size), 'x'));
        const int fd = ::open(limited.Path().c_str(), O_RDONLY | O_CLOEXEC);
        std::string read;
        EXPECT_EQ(ReadToEnd(fd, read, 1000), result) << size;
        if (result == 0) {
            EXPECT_EQ(read.size(), static_cast<size_t>(size));
        }
        ::close(fd);
    }
}

TEST(LeakReportTest, ListsOnlyLiveCountersLastLineWithoutLineFeed) {
    const auto keep = std::make_tuple(
        LiveInstances::ParameterCollectionCount.load(), LiveInstances::ParameterCount.load(),
        LiveInstances::ParameterSourceCount.load(), LiveInstances::ParameterSourceGroupCount.load(),
        LiveInstances::ChartFormCount.load(), LiveInstances::TableFormCount.load());
    LiveInstances::ParameterCollectionCount = LiveInstances::ParameterCount = 0;
    LiveInstances::ParameterSourceCount = LiveInstances::ParameterSourceGroupCount = 0;
    LiveInstances::ChartFormCount = 0;
    LiveInstances::TableFormCount = 1;
    EXPECT_EQ(LeakReportText(), "TableFormCount = 1");
    // A Statistics window's line comes before the table windows'.
    LiveInstances::StatisticsFormCount = 2;
    EXPECT_EQ(LeakReportText(), "StatisticsFormCount = 2\nTableFormCount = 1");
    LiveInstances::StatisticsFormCount = 0;
    LiveInstances::ParameterCount = 3;
    LiveInstances::TableFormCount = 0;
    EXPECT_EQ(LeakReportText(), "ParameterCount = 3\n");

    {
        ErrorReportSpy spy;
        DebugMode = false;
        ReportLeaks();
        EXPECT_TRUE(spy.reports.empty());
        DebugMode = true;
        LiveInstances::TableFormCount = 1;
        ReportLeaks();
        EXPECT_EQ(spy.reports,
                  (std::vector<ErrorReportSpy::Report>{
                      {"Unknown", "Memory leak\nParameterCount = 3\nTableFormCount = 1"}}));
        DebugMode = false;
    }

    std::tie(LiveInstances::ParameterCollectionCount, LiveInstances::ParameterCount,
             LiveInstances::ParameterSourceCount, LiveInstances::ParameterSourceGroupCount,
             LiveInstances::ChartFormCount, LiveInstances::TableFormCount) = keep;
}

} // namespace
