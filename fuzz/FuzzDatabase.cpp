// Database files come from colleagues, old versions and damaged USB sticks: any bytes at all.
#include "database/FileWriter.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "model/ParameterTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

int InputFile() {
    static const int fd = [] {
        InitCatalogue();
        SetErrorReportHandler([](const std::string&, const std::string&) {});
        return ::memfd_create("fuzz.vro", 0);
    }();
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = InputFile();
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    LDatabase db;
    db.New();
    try {
        db.Load("/proc/self/fd/" + std::to_string(fd));
    } catch (const VroError&) {
        return 0;
    }
    // Whatever loaded must be viewable through its sources and write out again.
    float v;
    TDateTime t;
    for (const auto& table : db.Tables())
        for (const auto& source : table->Sources)
            for (const LParameterSource* s = source.get(); s; s = s->Next.get()) {
                s->GetFirst(v, t);
                s->GetLast(v, t);
            }
    FileWriter out("/dev/null");
    db.WriteTo(out);
    out.Close();
    return 0;
}
