// vrotool: the command-line companion of VroView.
#include "model/ErrorReport.h"
#include "model/ParameterTable.h"
#include "shell/Auxilary.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/Commands.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

struct Command {
    const char* name;
    int (*run)(Arguments&);
    const char* summary;
    const char* usage;
};

const Command Commands[] = {
    {"generate", GenerateCommand, "write a generated recording in the 1.x export layout",
     "vrotool generate -o FILE.bin [options]\n"
     "  --phase N         phase configuration 0, 1, 3 or 4 (default 3, 3-phase wye)\n"
     "  --ct N            current clamp 0-2 (default 0)\n"
     "  --rate N          rate code 0-7 (default 4, 60 s)\n"
     "  --interval N      interval code 0-4 (default 1, 15 min.)\n"
     "  --mode N          0 normal, 1 loop\n"
     "  --end T           end of the recording, YYYY-MM-DDTHH:MM:SS (default 2026-11-30T17:45:00)\n"
     "  --entries LIST    catalogue indices, comma-separated (default: all the phase can record)\n"
     "  --blocks N        repeat the entries to make N parameter blocks (1-127)\n"
     "  --points N        points per Historic parameter (default 1440)\n"
     "  --event-points N  points per event-type parameter (default 200)\n"
     "  --seed N          seed of the values (default 1)\n"
     "  --maximal         127 blocks of 50000 points, Historic and event blocks alternating\n"
     "  --historic-only   with --maximal: Historic blocks only\n"},
    {"info", InfoCommand, "print a recording or a database file",
     "vrotool info FILE [--json] [--values]\n"
     "  FILE       a database file (*.vro) or a recording byte stream (1.x export file, *.bin)\n"
     "  --json     machine-readable output\n"
     "  --values   with --json: every value, and every time stamp of event-type parameters\n"},
    {"import", ImportCommand, "make a database file from a 1.x export file",
     "vrotool import FILE.bin [-o OUT.vro] [--user-id S] [--location S] [--comments S] [--backup]\n"
     "  -o, --output OUT  where to save (default: FILE without .bin, with .vro)\n"
     "  --user-id S       who made the recording\n"
     "  --location S      where it was made\n"
     "  --comments S      anything else worth knowing\n"
     "  --backup          keep a file already there as OUT.backup\n"},
    {"edit", EditCommand, "change a database file's recording information",
     "vrotool edit FILE.vro [--user-id S] [--location S] [--comments S] [--backup]\n"
     "  --user-id S       who made the recording\n"
     "  --location S      where it was made\n"
     "  --comments S      anything else worth knowing\n"
     "  --backup          keep the former file as FILE.vro.backup\n"},
};

void PrintOverview() {
    std::printf("usage: vrotool COMMAND [options]   (vrotool COMMAND --help for its options)\n\n");
    for (const Command& c : Commands)
        std::printf("  %-10s %s\n", c.name, c.summary);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        PrintOverview();
        return argc < 2 ? 2 : 0;
    }
    const Command* command = nullptr;
    for (const Command& c : Commands)
        if (!std::strcmp(argv[1], c.name))
            command = &c;
    if (!command) {
        std::fprintf(stderr, "vrotool: unknown command '%s'\n\n", argv[1]);
        PrintOverview();
        return 2;
    }

    InitCatalogue();
    TuneAllocator();
    SetErrorReportHandler([](const std::string& context, const std::string& message) {
        std::fprintf(stderr, "Program error in %s: %s\n", context.c_str(), message.c_str());
    });
    try {
        Arguments args(argc, argv, 2);
        if (args.WantsHelp()) {
            std::printf("usage: %s", command->usage);
            return 0;
        }
        return command->run(args);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "vrotool %s: %s\nusage: %s", command->name, e.what(), command->usage);
        return 2;
    } catch (const VroError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "Out of memory\n");
        return 1;
    }
}
