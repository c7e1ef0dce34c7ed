// The survey report of the largest recording (127 parameters of 50 000 samples, Historic and
// event blocks alternating) printed to a PDF file, against printing its recording information
// and one chart of it (the Historic parameters of its first unit, drawn at the printer's
// resolution as the report draws its charts) in the same run.
#include "bench/Offscreen.h"
#include "bench/RatioReporter.h"
#include "database/LChartRecord.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "printing/LayoutPrinter.h"
#include "tools/RecordingGenerator.h"
#include "windows/charts/ChartView.h"
#include "windows/reports/SurveyReport.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <memory>

namespace {

LDatabase& Maximal() {
    static LDatabase db;
    static const bool made = [] {
        db.New();
        db.Parse(GenerateRecordingBytes(MaximalRecordingOptions()));
        db.Header().Location = "Plant 2";
        return true;
    }();
    (void)made;
    return db;
}

// The Historic parameters of the recording's first unit, as the report charts each unit.
LChartRecord& FirstUnitChart() {
    static LChartRecord record(&Maximal().Header());
    static const bool made = [] {
        const LParameterCollection& parameters = Maximal().Parameters();
        std::string unit;
        for (int32_t i = 0; i < parameters.Count(); ++i) {
            LParameter* p = parameters.Items(i);
            if (p->TableType() != ttHistoric || p->Count() <= 0)
                continue;
            if (unit.empty())
                unit = p->ShortUnit();
            if (p->ShortUnit() == unit)
                record.Sources.Add(std::make_unique<LParameterSource>(p));
        }
        return true;
    }();
    (void)made;
    return record;
}

struct PdfPrinter {
    QTemporaryDir dir;
    PlainPrintInteraction interaction{dir.filePath(QStringLiteral("out.pdf"))};
    PrintSetup printer;
    PdfPrinter() { printer.Printer().setOutputFormat(QPrinter::PdfFormat); }
    double Megabytes() const {
        return static_cast<double>(QFileInfo(dir.filePath(QStringLiteral("out.pdf"))).size()) / 1e6;
    }
};

void BM_PrintInfoAndOneChart(benchmark::State& state) {
    PdfPrinter pdf;
    ChartView view(FirstUnitChart());
    for (auto _ : state) {
        std::vector<PrintedPart> info{RecordingInfoPart(Maximal().Header())};
        if (!Print(info,
                   PrintOptionsOf(pdf.printer, &Maximal(), QStringLiteral("Recording information")),
                   pdf.interaction)
                 .Printed)
            state.SkipWithError("the recording information was not printed");
        const ChartDrawing chart = [&](QPainter& painter, const QRect& area, int) {
            view.DrawChart(painter, area, painter.device()->logicalDpiX());
        };
        if (!PrintChart(PrintOptionsOf(pdf.printer, &Maximal(), QStringLiteral("Chart #1")), chart,
                        pdf.interaction)
                 .Printed)
            state.SkipWithError("the chart was not printed");
    }
    state.counters["MB"] = pdf.Megabytes();
}

void BM_SurveyReport(benchmark::State& state) {
    PdfPrinter pdf;
    int32_t pages = 0;
    for (auto _ : state) {
        const Printout printout = PrintSurveyReport(pdf.printer, pdf.interaction, Maximal(), {});
        if (!printout.Printed)
            state.SkipWithError("the report was not printed");
        pages = printout.Pages;
    }
    state.counters["pages"] = pages;
    state.counters["MB"] = pdf.Megabytes();
}

BENCHMARK(BM_PrintInfoAndOneChart)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SurveyReport)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks<QApplication>(
        argc, argv, [] { FirstUnitChart(); },
        [](RatioReporter& reporter) {
            // The report of 13 pages, six of them charts as dense as the baseline's: no page
            // should cost more than a chart page.
            reporter.AddRatio("BM_SurveyReport", "BM_PrintInfoAndOneChart", 13);
        });
}
