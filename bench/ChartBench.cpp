// Charts of the largest Historic recording (127 parameters of 50 000 samples) and of its first
// 10 parameters, offscreen at 1920 by 1080: building the window's series, one full redraw and
// the redraw of a zoom, against the charting engine's own graphs of the same values (adaptive
// sampling, antialiased), built and drawn in the same run, and a memcpy of the values; a cursor
// moved with its readout, against the full redraw. And the
// full redraw of 10 parameters of a year of one-minute samples against a week's, with the
// memory of the year's summaries against that of its samples.
#include "bench/Offscreen.h"
#include "bench/RatioReporter.h"
#include "database/JoinRecordings.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/LParameter.h"
#include "model/ParameterTable.h"
#include "model/ValueSummary.h"
#include "tools/RecordingGenerator.h"
#include "windows/charts/TChart.h"
#include "windows/charts/TChartForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStatusBar>

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QSize Screen(1920, 1080);

LDatabase& Maximal() {
    static LDatabase db;
    static const bool made = [] {
        db.New();
        db.Parse(GenerateRecordingBytes(MaximalRecordingOptions(true)));
        for (const int n : {10, 127}) {
            LChartRecord& chart = *db.AddChart();
            for (int i = 0; i < n; ++i) {
                chart.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(i)));
                chart.Style(i).Color = static_cast<uint32_t>(i * 0x2F1B37) & 0xFFFFFF;
            }
            chart.LegendVisible = false;
        }
        return true;
    }();
    (void)made;
    return db;
}

LChartRecord& Chart(int n) {
    return *Maximal().Charts()[n == 10 ? 0 : 1];
}

// 10 Historic parameters of one-minute samples over a week, or over a year (joined from 73
// recordings of five days, as a year is made), charted.
LDatabase& Minutes(bool year) {
    static LDatabase db[2];
    static const bool made = [] {
        for (const bool y : {false, true}) {
            GeneratorOptions o = MaximalRecordingOptions(true);
            o.blockCount = 10;
            o.start = CalendarTime{2025, 1, 1, 0, 0, 0};
            LDatabase& d = db[y];
            if (y) {
                o.historicPoints = 5 * 1440;
                std::vector<JoinInput> parts;
                for (const GeneratedRecording& part : GenerateSeries(o, 73)) {
                    parts.push_back({"part.bin", std::make_unique<LDatabase>()});
                    parts.back().Recording->New();
                    parts.back().Recording->Parse(part.Serialize());
                }
                JoinRecordings(std::move(parts), JoinOverlap::Refuse, d);
            } else {
                o.historicPoints = 7 * 1440;
                d.New();
                d.Parse(GenerateRecordingBytes(o));
            }
            LChartRecord& chart = *d.AddChart();
            for (int i = 0; i < d.Parameters().Count(); ++i) {
                chart.Sources.Add(std::make_unique<LParameterSource>(d.Parameters().Items(i)));
                chart.Style(i).Color = static_cast<uint32_t>(i * 0x2F1B37) & 0xFFFFFF;
            }
            chart.LegendVisible = false;
        }
        return true;
    }();
    (void)made;
    return db[year];
}

// A window on the chart with its plot at the screen's size, shown and drawn once.
std::unique_ptr<TChartForm> ShownChart(LChartRecord& record) {
    auto form = std::make_unique<TChartForm>(record);
    form->resize(Screen.width(), Screen.height() + form->StatusBar()->sizeHint().height());
    form->show();
    QApplication::processEvents();
    form->Chart()->resize(Screen);
    form->Chart()->replot(QCustomPlot::rpImmediateRefresh);
    return form;
}

// The engine as it comes: its own graphs holding every normalised value.
std::unique_ptr<QCustomPlot> StockChart(int n) {
    auto plot = std::make_unique<QCustomPlot>();
    const LParameterCollection& parameters = Maximal().Parameters();
    for (int i = 0; i < n; ++i) {
        const LParameter& p = *parameters.Items(i);
        const float range = p.Maximum() > p.Minimum() ? p.Maximum() - p.Minimum() : 1.0f;
        QVector<QCPGraphData> data(p.Count());
        for (int32_t k = 0; k < p.Count(); ++k)
            data[k] = QCPGraphData(p.StartTime() + IntervalsToDays(k, p.Rate()),
                                   (p.Values()[k] - p.Minimum()) / range);
        QCPGraph* g = plot->addGraph();
        g->data()->set(data, true);
        g->setPen(QPen(QColor::fromRgb(static_cast<QRgb>(i * 0x2F1B37)), 1));
    }
    plot->rescaleAxes();
    return plot;
}

void BM_MemcpyBaseline(benchmark::State& state) {
    const LParameterCollection& parameters = Maximal().Parameters();
    std::vector<float> copy(static_cast<size_t>(parameters.Count()) * 50000);
    for (auto _ : state) {
        float* out = copy.data();
        for (const auto& p : parameters) {
            std::memcpy(out, p->Values(), static_cast<size_t>(p->Count()) * sizeof(float));
            out += p->Count();
        }
        benchmark::DoNotOptimize(copy.data());
    }
}

void Build(benchmark::State& state, int n) {
    for (auto _ : state) {
        auto form = std::make_unique<TChartForm>(Chart(n));
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

void StockBuild(benchmark::State& state, int n) {
    for (auto _ : state) {
        auto plot = StockChart(n);
        state.PauseTiming();
        plot.reset();
        state.ResumeTiming();
    }
}

// Every redraw shows a slightly different time range, so that the series are drawn anew.
void Redraw(benchmark::State& state, QCustomPlot& plot, const std::function<void()>& draw) {
    const QCPRange whole = plot.xAxis->range();
    bool nudge = false;
    for (auto _ : state) {
        const double d = nudge ? whole.size() * 0.002 : 0;
        nudge = !nudge;
        plot.xAxis->setRange(whole.lower + d, whole.upper - d);
        draw();
    }
    plot.xAxis->setRange(whole);
}

void FullRedraw(benchmark::State& state, int n) {
    const auto form = ShownChart(Chart(n));
    TChart& chart = *form->Chart();
    Redraw(state, chart, [&] { chart.replot(QCustomPlot::rpImmediateRefresh); });
}

void ZoomRedraw(benchmark::State& state, int n) {
    const auto form = ShownChart(Chart(n));
    TChart& chart = *form->Chart();
    Redraw(state, chart, [&] {
        chart.ReplotView();
        chart.repaint();
    });
}

// Cursor A moved to and fro over the chart with B at a quarter of it (or A alone, B not set),
// and what the event loop does then: the readout brought up to date and the window's changed
// parts painted. What one mouse move costs.
void MoveCursor(benchmark::State& state, bool both) {
    const auto form = ShownChart(Chart(127));
    const double from = form->Start(), span = form->End() - form->Start();
    const std::optional<TDateTime> fixed =
        both ? std::optional(form->SnapCursor(from + span / 4)) : std::nullopt;
    form->SetCursors(form->SnapCursor(from + span / 2), fixed);
    form->RefreshReadout();
    QApplication::processEvents();
    bool nudge = false;
    for (auto _ : state) {
        nudge = !nudge;
        form->SetCursors(form->SnapCursor(from + span * (nudge ? 0.7 : 0.69)), fixed);
        form->RefreshReadout();
        QApplication::processEvents();
    }
}

// A year's samples or a week's (year 1 or 0).
void MinutesRedraw(benchmark::State& state, int year) {
    const auto form = ShownChart(*Minutes(year != 0).Charts()[0]);
    TChart& chart = *form->Chart();
    Redraw(state, chart, [&] { chart.replot(QCustomPlot::rpImmediateRefresh); });
}

// The summaries of the year's parameters against their samples, in bytes.
double SummaryMemoryRatio() {
    double summaries = 0, samples = 0;
    for (const auto& p : Minutes(true).Parameters()) {
        summaries += static_cast<double>(p->Summary().Bytes());
        samples += static_cast<double>(p->Count()) * sizeof(float);
    }
    return summaries / samples;
}

void StockRedraw(benchmark::State& state, int n) {
    const auto plot = StockChart(n);
    plot->resize(Screen);
    plot->show();
    QApplication::processEvents();
    Redraw(state, *plot, [&] { plot->replot(QCustomPlot::rpImmediateRefresh); });
}

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks<QApplication>(
        argc, argv,
        [] {
            Maximal();
            Minutes(true);
            auto add = [](const char* name, void (*fn)(benchmark::State&, int), int n) {
                // The CPU column counts the raster's threads too: on a busy machine it shows
                // the work a frame costs when the times do not.
                benchmark::RegisterBenchmark(name, fn, n)
                    ->Unit(benchmark::kMillisecond)
                    ->MinTime(2.0)
                    ->UseRealTime()
                    ->MeasureProcessCPUTime();
            };
            benchmark::RegisterBenchmark("BM_MemcpyBaseline", BM_MemcpyBaseline)
                ->Unit(benchmark::kMillisecond);
            add("BM_StockBuild127", StockBuild, 127);
            add("BM_Build10", Build, 10);
            add("BM_Build127", Build, 127);
            add("BM_StockRedraw10", StockRedraw, 10);
            add("BM_StockRedraw127", StockRedraw, 127);
            add("BM_FullRedraw10", FullRedraw, 10);
            add("BM_FullRedraw127", FullRedraw, 127);
            add("BM_ZoomRedraw10", ZoomRedraw, 10);
            add("BM_ZoomRedraw127", ZoomRedraw, 127);
            for (const bool both : {true, false})
                benchmark::RegisterBenchmark(both ? "BM_MoveCursor127" : "BM_MoveOneCursor127",
                                             MoveCursor, both)
                    ->Unit(benchmark::kMillisecond)
                    ->MinTime(2.0)
                    ->UseRealTime()
                    ->MeasureProcessCPUTime();
            add("BM_WeekRedraw10", MinutesRedraw, 0);
            add("BM_YearRedraw10", MinutesRedraw, 1);
        },
        [](RatioReporter& reporter) {
            // Building reads the recording's arrays in place; the engine copies every value.
            reporter.AddRatio("BM_Build127", "BM_StockBuild127", 1.0);
            reporter.AddRatio("BM_Build127", "BM_MemcpyBaseline", 200);
            // Half of what the engine takes alone, or better.
            reporter.AddRatio("BM_FullRedraw10", "BM_StockRedraw10", 1.0);
            reporter.AddRatio("BM_FullRedraw127", "BM_StockRedraw127", 0.5);
            reporter.AddRatio("BM_ZoomRedraw127", "BM_StockRedraw127", 0.5);
            // A series' raster should cost little beside the work a frame has whatever its
            // series. At this zoom a column holds some 26 samples, so the summaries save little:
            // what each series costs is its runs, column by column.
            reporter.AddRatio("BM_FullRedraw127", "BM_FullRedraw10", 1.25);
            // Within one full redraw, readout included; a cursor alone, whose move changes one
            // figure a row, within a quarter of one.
            reporter.AddRatio("BM_MoveCursor127", "BM_FullRedraw127", 1.0);
            reporter.AddRatio("BM_MoveOneCursor127", "BM_FullRedraw127", 0.25);
            // A column's extremes come from the summaries' blocks, not from every sample in it.
            reporter.AddRatio("BM_YearRedraw10", "BM_WeekRedraw10", 1.5);
            reporter.AddMeasuredRatio("summaries' memory (year)", "its samples' memory",
                                      SummaryMemoryRatio(), 0.25);
        });
}
