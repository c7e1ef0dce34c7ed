// The table of the largest Historic recording (127 parameters of 50 000 samples) exported as a
// workbook against its CSV export in the same run, and the peak memory of vrotool export of
// the database holding it against twice the database file and 100 MB.
#include "bench/RatioReporter.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/ParameterTable.h"
#include "reports/WorkbookExport.h"
#include "tables/TableExport.h"
#include "tables/TableText.h"
#include "tools/RecordingGenerator.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        std::string name =
            (std::filesystem::temp_directory_path() / "workbook_bench.XXXXXX").string();
        return std::filesystem::path(mkdtemp(name.data()));
    }();
    return folder;
}

LDatabase& Maximal() {
    static LDatabase db;
    static const bool made = [] {
        db.New();
        db.Parse(GenerateRecordingBytes(MaximalRecordingOptions(true)));
        LTableRecord* table = db.AddTable();
        for (const auto& p : db.Parameters())
            table->Sources.Add(std::make_unique<LParameterSource>(p.get()));
        db.SetFileName((Folder() / "maximal.vro").string());
        db.Save(false);
        return true;
    }();
    (void)made;
    return db;
}

TableText& Text() {
    static TableText text = [] {
        TableText t;
        t.SetGroup(&Maximal().Tables()[0]->Sources);
        t.SetType(ttHistoric);
        return t;
    }();
    return text;
}

void BM_CsvExport(benchmark::State& state) {
    const QString file = QString::fromStdString((Folder() / "table.csv").string());
    QString error;
    for (auto _ : state)
        if (ExportTable(Text(), 0, Text().DataRowCount() - 1, file, RowFormat::Csv, error) !=
            ExportResult::Written)
            state.SkipWithError(error.toStdString().c_str());
    state.counters["MB"] =
        static_cast<double>(std::filesystem::file_size(file.toStdString())) / 1e6;
}

void BM_WorkbookExport(benchmark::State& state) {
    const QString file = QString::fromStdString((Folder() / "table.xlsx").string());
    QString error;
    for (auto _ : state)
        if (ExportTableWorkbook(Text(), 0, Text().DataRowCount() - 1, "Table #1", file, error) !=
            ExportResult::Written)
            state.SkipWithError(error.toStdString().c_str());
    state.counters["MB"] =
        static_cast<double>(std::filesystem::file_size(file.toStdString())) / 1e6;
}

BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WorkbookExport)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// vrotool export of the saved database in a child: its largest resident set.
void PeakMemoryOfExport() {
    const std::string database = Maximal().FileName();
    const std::string book = (Folder() / "database.xlsx").string();
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout))
            _exit(126);
        execl(VROTOOL, VROTOOL, "export", database.c_str(), "-o", book.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double fileMb = static_cast<double>(std::filesystem::file_size(database)) / 1e6;
    const double peakMb = static_cast<double>(usage.ru_maxrss) / 1e3;
    const double target = 2 * fileMb + 100;
    std::printf("vrotool export of the %.1f MB database: exit %d, peak memory %.1f MB, workbook "
                "%.1f MB  (target at most 2 x %.1f + 100 = %.1f MB: %s)\n",
                fileMb, WIFEXITED(status) ? WEXITSTATUS(status) : -1, peakMb,
                std::filesystem::exists(book)
                    ? static_cast<double>(std::filesystem::file_size(book)) / 1e6
                    : 0.0,
                fileMb, target, peakMb <= target ? "met" : "NOT MET");
}

} // namespace

int main(int argc, char** argv) {
    InitCatalogue();
    TuneAllocator();
    benchmark::Initialize(&argc, argv);
    Text();
    RatioReporter reporter;
    reporter.AddRatio("BM_WorkbookExport", "BM_CsvExport", 3);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PeakMemoryOfExport();
    std::filesystem::remove_all(Folder());
    return 0;
}
