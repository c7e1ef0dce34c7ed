// The table of the largest Historic recording (127 parameters of 50 000 samples): copied to
// the clipboard against formatting the same numbers with snprintf into one buffer, and its
// window opened against the window of a 100-row table of the same parameters (nothing is
// computed for rows not on screen, so the two should open alike), and the Statistics window
// of the large table against computing its rows alone (the window should add little).
#include "bench/Offscreen.h"
#include "bench/RatioReporter.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/LParameter.h"
#include "model/ParameterTable.h"
#include "tools/RecordingGenerator.h"
#include "windows/analysis/TStatisticsForm.h"
#include "windows/tables/TParameterGrid.h"
#include "windows/tables/TTableForm.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int32_t SmallRows = 100;

LDatabase& Maximal() {
    static LDatabase db;
    static const bool made = [] {
        db.New();
        db.Parse(GenerateRecordingBytes(MaximalRecordingOptions(true)));
        for (int32_t rows : {0, SmallRows}) {
            LTableRecord* table = db.AddTable();
            for (const auto& p : db.Parameters())
                table->Sources.Add(std::make_unique<LParameterSource>(p.get()));
            if (rows)
                table->Sources.SetSubset(0, rows - 1);
        }
        return true;
    }();
    (void)made;
    return db;
}

LTableRecord& Table(int i) {
    return *Maximal().Tables()[static_cast<size_t>(i)];
}

// What the copy writes, the plain way: each row's time as date and time, then every value
// with two decimals, TAB-separated, CR LF at the end, into one buffer.
void BM_SnprintfBaseline(benchmark::State& state) {
    const LParameterCollection& parameters = Maximal().Parameters();
    const int32_t rows = parameters.Items(0)->Count();
    std::vector<char> buffer(static_cast<size_t>(rows) * (parameters.Count() + 2) * 16);
    size_t size = 0;
    for (auto _ : state) {
        char* out = buffer.data();
        for (int32_t r = 0; r < rows; ++r) {
            float value;
            TDateTime time;
            parameters.Items(0)->GetPoint(r, value, time);
            const DateTimeParts t = DecodeDateTime(time);
            out += std::snprintf(out, 64, "%d/%d/%02d %d:%02d:%02d %s", t.month, t.day,
                                 t.year % 100, (t.hour + 11) % 12 + 1, t.minute, t.second,
                                 t.hour < 12 ? "AM" : "PM");
            for (const auto& p : parameters) {
                p->GetValue(r, value);
                out += std::snprintf(out, 64, "\t%.2f", static_cast<double>(value));
            }
            *out++ = '\r';
            *out++ = '\n';
        }
        size = static_cast<size_t>(out - buffer.data());
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["MB"] = static_cast<double>(size) / 1e6;
}

void BM_CopyToClipboard(benchmark::State& state) {
    TTableForm form(Table(0));
    for (auto _ : state)
        form.CopyEntireTable();
    state.counters["MB"] = static_cast<double>(QApplication::clipboard()->text().size()) / 1e6;
    QApplication::clipboard()->clear();
}

// From making the window to its first picture on the screen.
void OpenWindow(benchmark::State& state, LTableRecord& table) {
    double milliseconds = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        TTableForm form(table);
        form.show();
        QApplication::processEvents();
        milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (form.Table()->Text().CellsComputed() == 0)
            state.SkipWithError("the window was not painted");
    }
    state.counters["ms"] = milliseconds;
}

void BM_OpenTableWindow(benchmark::State& state) {
    OpenWindow(state, Table(0));
}

void BM_OpenSmallTableWindow(benchmark::State& state) {
    OpenWindow(state, Table(1));
}

void BM_StatisticsOfTable(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(StatisticsOfGroup(Table(0).Sources, std::nullopt));
}

// From the request to the rows on the screen, the table's window already open.
void BM_OpenStatisticsWindow(benchmark::State& state) {
    TTableForm table(Table(0));
    double milliseconds = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        TStatisticsForm form(table);
        form.show();
        QApplication::processEvents();
        milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (form.Statistics().Rows.size() != static_cast<size_t>(Table(0).Sources.Count()))
            state.SkipWithError("a row is missing");
    }
    state.counters["ms"] = milliseconds;
}

BENCHMARK(BM_SnprintfBaseline)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CopyToClipboard)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenSmallTableWindow)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OpenTableWindow)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_StatisticsOfTable)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OpenStatisticsWindow)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks<QApplication>(
        argc, argv, [] { Maximal(); },
        [](RatioReporter& reporter) {
            reporter.AddRatio("BM_CopyToClipboard", "BM_SnprintfBaseline", 2);
            reporter.AddRatio("BM_OpenTableWindow", "BM_OpenSmallTableWindow", 1.5);
            // The window computes the rows and then lays out and paints a grid of them.
            reporter.AddRatio("BM_OpenStatisticsWindow", "BM_StatisticsOfTable", 3);
        });
}
