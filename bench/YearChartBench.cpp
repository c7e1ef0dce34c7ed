// A chart of a year of one-minute samples (525 600 per parameter, joined from 73 recordings of
// five days) against the same chart of one week's recording, offscreen at 1920 by 1080: a
// full redraw of the 23 Historic parameters, and of every parameter a chart can show (the
// interval types as points as well); and a cursor dragged across the year's chart of every
// parameter, against its full redraw.
#include "bench/Offscreen.h"
#include "database/JoinRecordings.h"
#include "database/LDatabase.h"
#include "model/LParameter.h"
#include "tools/RecordingGenerator.h"
#include "windows/charts/TChart.h"
#include "windows/charts/TChartForm.h"

#include <QApplication>
#include <QStatusBar>

#include <memory>
#include <vector>

namespace {

const QSize Screen(1920, 1080);
LDatabase Year, Week;

// The chart of the database's chart sources: its Historic ones, or all.
LChartRecord& AddChart(LDatabase& db, bool all) {
    LChartRecord& chart = *db.AddChart();
    int32_t i = 0;
    for (const auto& source : db.ChartSources()) {
        if (!all && source->Parameter->TableType() != ttHistoric)
            continue;
        chart.Sources.Add(std::make_unique<LParameterSource>(*source));
        chart.Style(i).Color = static_cast<uint32_t>(i * 0x2F1B37) & 0xFFFFFF;
        ++i;
    }
    chart.LegendVisible = false;
    return chart;
}

void Prepare() {
    GeneratorOptions o;
    o.start = CalendarTime{2025, 1, 1, 0, 0, 0};
    o.historicPoints = 5 * 1440;
    std::vector<JoinInput> parts;
    for (const GeneratedRecording& part : GenerateSeries(o, 73)) {
        parts.push_back({"part.bin", std::make_unique<LDatabase>()});
        parts.back().Recording->New();
        parts.back().Recording->Parse(part.Serialize());
    }
    JoinRecordings(std::move(parts), JoinOverlap::Refuse, Year);
    o.historicPoints = 7 * 1440;
    Week.New();
    Week.Parse(GenerateRecordingBytes(o));
    for (LDatabase* db : {&Year, &Week})
        for (const bool all : {false, true})
            AddChart(*db, all);
}

// A window on the chart with its plot at the screen's size, shown and drawn once.
void Show(TChartForm& form) {
    form.resize(Screen.width(), Screen.height() + form.StatusBar()->sizeHint().height());
    form.show();
    QApplication::processEvents();
    form.Chart()->resize(Screen);
    form.Chart()->replot(QCustomPlot::rpImmediateRefresh);
}

// Every redraw shows a slightly different time range, so that the series are drawn anew.
void FullRedraw(benchmark::State& state, LDatabase* db, bool all) {
    TChartForm form(*db->Charts()[all ? 1 : 0]);
    Show(form);
    TChart& chart = *form.Chart();
    const QCPRange whole = chart.xAxis->range();
    bool nudge = false;
    for (auto _ : state) {
        const double d = nudge ? whole.size() * 0.002 : 0;
        nudge = !nudge;
        chart.xAxis->setRange(whole.lower + d, whole.upper - d);
        chart.replot(QCustomPlot::rpImmediateRefresh);
    }
}

// Cursor A at a tenth of the year, B dragged across it in 20 steps (there and back on the next
// iteration), each step as the event loop takes it: the readout brought up to date and the
// window's changed parts painted.
void DragCursor(benchmark::State& state) {
    TChartForm form(*Year.Charts()[1]);
    Show(form);
    constexpr int Steps = 20;
    const double from = form.Start(), span = form.End() - form.Start();
    const auto at = [&](int k) { return form.SnapCursor(from + span * (0.15 + 0.8 * k / Steps)); };
    form.SetCursors(form.SnapCursor(from + span / 10), at(0));
    QApplication::processEvents();
    bool back = false;
    for (auto _ : state) {
        for (int k = 1; k <= Steps; ++k) {
            form.SetCursors(form.CursorA(), at(back ? Steps - k : k));
            form.RefreshReadout();
            QApplication::processEvents();
        }
        back = !back;
    }
}

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks<QApplication>(
        argc, argv,
        [] {
            Prepare();
            const auto add = [](const char* name, LDatabase* db, bool all) {
                benchmark::RegisterBenchmark(name, FullRedraw, db, all)
                    ->Unit(benchmark::kMillisecond)
                    ->MinTime(2.0)
                    ->UseRealTime();
            };
            add("BM_WeekHistoric", &Week, false);
            add("BM_YearHistoric", &Year, false);
            add("BM_WeekAll", &Week, true);
            add("BM_YearAll", &Year, true);
            benchmark::RegisterBenchmark("BM_DragCursorYearAll", DragCursor)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(2.0)
                ->UseRealTime();
        },
        [](RatioReporter& reporter) {
            // A line's columns take their extremes from the summaries' blocks, reading samples
            // only at their ends: 52 times the samples cost little more. Points are drawn one
            // by one.
            reporter.AddRatio("BM_YearHistoric", "BM_WeekHistoric", 1.5);
            reporter.AddRatio("BM_YearAll", "BM_WeekAll", 2.0);
            // 20 moves of a cursor, readout included, within two full redraws.
            reporter.AddRatio("BM_DragCursorYearAll", "BM_YearAll", 2.0);
        });
}
