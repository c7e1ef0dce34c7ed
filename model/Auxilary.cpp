#include "model/Auxilary.h"

#include "model/ErrorReport.h"
#include "model/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <iterator>
#include <limits>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <unistd.h>

bool DebugMode = false;

double IntervalsToDays(int32_t count, int32_t seconds) {
    const double step = seconds / 86400.0;
    return count * step;
}

int32_t DaysToIntervals(double days, int32_t seconds) {
    const double step = seconds / 86400.0;
    const double periods = std::trunc(days / step);
    // Damaged files can hold any time at all; keep the conversion defined for them.
    if (std::isnan(periods))
        return 0;
    if (periods >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (periods <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(periods);
}

void TuneAllocator() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

int ReadToEnd(int fd, std::string& content, int64_t limit) {
    content.clear();
    size_t done = 0;
    for (;;) {
        if (content.size() - done < 4096) {
            // One byte past the limit tells a stream of exactly limit bytes from a longer one.
            const auto most = static_cast<size_t>(limit) + 1;
            if (done >= most)
                return EFBIG;
            content.resize(std::min(most, std::max<size_t>(2 * content.size(), 1 << 16)));
        }
        const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    content.resize(done);
    if (static_cast<int64_t>(done) > limit)
        return EFBIG;
    return 0;
}

std::string ReadWholeFile(const std::string& fileName) {
    return InputFile(fileName).Contents();
}

std::string LeakReportText() {
    const std::pair<const char*, int32_t> counters[] = {
        {"ParameterCollectionCount = ", LiveInstances::ParameterCollectionCount},
        {"ParameterCount = ", LiveInstances::ParameterCount},
        {"ParameterSourceCount = ", LiveInstances::ParameterSourceCount},
        {"ParameterSourceGroupCount = ", LiveInstances::ParameterSourceGroupCount},
        {"ChartFormCount = ", LiveInstances::ChartFormCount},
        {"StatisticsFormCount = ", LiveInstances::StatisticsFormCount},
        {"TableFormCount = ", LiveInstances::TableFormCount},
    };
    std::string report;
    for (const auto& [label, value] : counters) {
        if (value == 0)
            continue;
        report += label;
        report += std::to_string(value);
        // The table window line is the last one and has no line feed of its own.
        if (&value != &std::end(counters)[-1].second)
            report += '\n';
    }
    return report;
}

void ReportLeaks() {
    if (!DebugMode)
        return;
    const std::string report = LeakReportText();
    if (!report.empty())
        ShowError("Unknown", "Memory leak\n" + report);
}
