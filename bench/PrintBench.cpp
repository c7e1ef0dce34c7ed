// A table of 10 Historic parameters and 50 000 samples printed to a PDF file, as the table
// window prints it (column strips, row pages, header and footer), against formatting the
// same rows' texts for the clipboard: what drawing the pages adds to computing their texts.
#include "bench/Offscreen.h"
#include "bench/RatioReporter.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/ParameterTable.h"
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTable.h"
#include "tables/TableText.h"
#include "tools/RecordingGenerator.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int32_t Rows = 50000;

LTableRecord& Table() {
    static LDatabase db;
    static LTableRecord* table = [] {
        GeneratorOptions options;
        // The voltages, currents and real powers of a 3Ø 4W Wye recording.
        options.entries = {6, 7, 8, 13, 14, 15, 16, 19, 20, 21};
        options.historicPoints = Rows;
        db.New();
        db.Parse(GenerateRecordingBytes(options));
        db.Header().Location = "Plant 2";
        db.Header().UserID = "J. Smith";
        LTableRecord* made = db.AddTable();
        for (const auto& p : db.Parameters())
            made->Sources.Add(std::make_unique<LParameterSource>(p.get()));
        return made;
    }();
    return *table;
}

void BM_FormatRowTexts(benchmark::State& state) {
    TableText text;
    text.SetGroup(&Table().Sources);
    text.SetType(ttHistoric);
    std::vector<char> row(4096);
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = text.GetRowText(0, row.data());
        for (int32_t r = 1; r <= Rows; ++r)
            bytes += text.GetRowText(r, row.data());
        benchmark::DoNotOptimize(row.data());
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_PrintTableToPdf(benchmark::State& state) {
    QTemporaryDir dir;
    PlainPrintInteraction interaction(dir.filePath(QStringLiteral("table.pdf")));
    PrintSetup printer;
    printer.Printer().setOutputFormat(QPrinter::PdfFormat);
    int32_t pages = 0;
    for (auto _ : state) {
        std::vector<PrintedPart> parts{{.Rows = std::make_shared<PrintedTable>(
                                            Table().Sources, ttHistoric, QGuiApplication::font()),
                                        .LastRow = Rows - 1}};
        const Printout printout =
            Print(parts, PrintOptionsOf(printer, nullptr, QStringLiteral("Table #1")), interaction);
        if (!printout.Printed)
            state.SkipWithError("nothing was printed");
        pages = printout.Pages;
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages),
                                                   benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB"] =
        static_cast<double>(QFileInfo(dir.filePath(QStringLiteral("table.pdf"))).size()) / 1e6;
}

BENCHMARK(BM_FormatRowTexts)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PrintTableToPdf)->Unit(benchmark::kMillisecond)->MinTime(5.0);

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks<QGuiApplication>(
        argc, argv, [] { Table(); },
        [](RatioReporter& reporter) {
            reporter.AddRatio("BM_PrintTableToPdf", "BM_FormatRowTexts", 60);
        });
}
