#pragma once

#include <atomic>
#include <cstdint>
#include <string>

// Conversions between a count of sample periods and a span in days. Both compute the step
// seconds / 86400 as a double first; the division truncates toward zero, so a span that comes
// out a hair below a whole number of steps counts one interval less.
double IntervalsToDays(int32_t count, int32_t seconds);
int32_t DaysToIntervals(double days, int32_t seconds);

// The whole file as one byte string (InputFile::Contents); raises "Error opening file!" or
// "Error reading file!", and "File too large" beyond WholeFileLimit. Pipes, FIFOs and devices
// are read to their end.
std::string ReadWholeFile(const std::string& fileName);

// The most the program reads of one file into memory: far beyond any recording or database,
// and short of what a stream of endless bytes could make it allocate.
constexpr int64_t WholeFileLimit = int64_t{512} << 20;

// Reads fd to its end into content. Returns 0, the errno of a failed read, or EFBIG when more
// than limit bytes come.
int ReadToEnd(int fd, std::string& content, int64_t limit = WholeFileLimit);

// Recordings are parsed into up to 127 arrays of up to 550 kB each. glibc hands blocks of
// that size straight back to the kernel when they are freed, so every recording opened after
// the first would pay a page fault per 4 kB to get them back; keep them in the heap instead.
// Called once at the start of each program.
void TuneAllocator();

// Live instances of the model classes and the windows, for the debug leak report. Atomic, as
// recordings may be read on several threads at once (vrotool survey of several files).
struct LiveInstances {
    static inline std::atomic<int32_t> ParameterCollectionCount = 0;
    static inline std::atomic<int32_t> ParameterCount = 0;
    static inline std::atomic<int32_t> ParameterSourceCount = 0;
    static inline std::atomic<int32_t> ParameterSourceGroupCount = 0;
    static inline std::atomic<int32_t> ChartFormCount = 0;
    static inline std::atomic<int32_t> StatisticsFormCount = 0;
    static inline std::atomic<int32_t> TableFormCount = 0;
};

// Set by the "/debug" switch of the windowed program.
extern bool DebugMode;

// The report's lines for every counter that is not zero; empty when nothing is alive.
std::string LeakReportText();

// In debug mode, shows a non-empty leak report through the error report (context "Unknown").
void ReportLeaks();
