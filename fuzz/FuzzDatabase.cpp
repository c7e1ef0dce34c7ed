// Database files come from colleagues, old versions and damaged USB sticks: any bytes at all.
// Whatever loads must also survive what the windows will do with it, save, and load back to
// the same bytes.
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "model/ParameterTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

int ScratchInput() {
    static const int fd = [] {
        InitCatalogue();
        SetErrorReportHandler([](const std::string&, const std::string&) {});
        return ::memfd_create("fuzz.vro", 0);
    }();
    return fd;
}

// Saves go to memory where there is a tmpfs: a save puts its file on the disk.
const std::string& SaveFolder() {
    static const std::string folder = [] {
        std::string name = (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        name += "/vro-fuzz-XXXXXX";
        if (!::mkdtemp(name.data()))
            std::abort();
        return name;
    }();
    static const bool cleanUp = [] {
        return std::atexit([] { std::filesystem::remove_all(SaveFolder()); }) == 0;
    }();
    (void)cleanUp;
    return folder;
}

std::string Bytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The points a table or chart shows: the first and the last thousand of every view, where
// indices meet the ends of the range and of the parameter.
void ShowPoints(const LParameterSource& source) {
    float v;
    TDateTime t;
    const int32_t n = source.GetCount();
    for (int32_t i = 0; i < n; i = (i == 999 && n > 2000) ? n - 1000 : i + 1) {
        source.GetPoint(i, v, t);
        source.GetValue(i, v);
    }
    source.GetFirst(v, t);
    source.GetLast(v, t);
    (void)source.Label();
}

void ShowGroup(LParameterSourceGroup& group) {
    for (const auto& source : group)
        for (const LParameterSource* s = source.get(); s; s = s->Next.get())
            ShowPoints(*s);
    group.Sort();
    (void)group.Selected(group.SelectedCount() - 1);
}

// A time range over a copy of each source, as the time range dialog sets it.
void SetRanges(const LParameterSourceGroup& group) {
    for (const auto& source : group) {
        LParameterSource copy(*source);
        try {
            copy.SetSubset(std::max(source->First, 0), source->Last);
        } catch (const VroError&) {
            continue;
        }
        ShowPoints(copy);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = ScratchInput();
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    LDatabase db;
    db.New();
    try {
        db.Load("/proc/self/fd/" + std::to_string(fd));
    } catch (const VroError&) {
        return 0;
    }
    for (const auto& table : db.Tables()) {
        ShowGroup(table->Sources);
        SetRanges(table->Sources);
    }
    for (const auto& chart : db.Charts()) {
        ShowGroup(chart->Sources);
        SetRanges(chart->Sources);
    }
    ShowGroup(db.ChartSources());
    try {
        LTableRecord* table = db.AddTable();
        for (const auto& s : db.AllSources())
            table->Sources.Add(std::make_unique<LParameterSource>(*s));
        db.AddChart();
    } catch (const VroError&) {
        // A counter at its largest refuses the new item.
    }

    const std::string first = SaveFolder() + "/first.vro";
    const std::string second = SaveFolder() + "/second.vro";
    db.SetFileName(first);
    db.Save(true);
    LDatabase again;
    again.New();
    again.Load(first);
    again.SetFileName(second);
    again.Save(false);
    if (Bytes(first) != Bytes(second)) {
        std::fprintf(stderr, "a saved database loads back differently\n");
        std::abort();
    }
    return 0;
}
