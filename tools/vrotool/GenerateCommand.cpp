#include "model/ErrorReport.h"
#include "tools/RecordingGenerator.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/Commands.h"

#include <cstdio>
#include <sstream>

namespace {

CalendarTime ParseCalendarTime(const std::string& text) {
    CalendarTime t;
    char sep = 0;
    const int n = std::sscanf(text.c_str(), "%d-%d-%d%c%d:%d:%d", &t.year, &t.month, &t.day, &sep,
                              &t.hour, &t.minute, &t.second);
    if ((n != 3 && n != 7) || (n == 7 && sep != 'T' && sep != ' ') || t.year < 1997 ||
        t.year > 2096)
        throw UsageError("--end needs YYYY-MM-DD[THH:MM:SS] between 1997 and 2096, not '" + text +
                         "'");
    if (n == 3)
        t.hour = t.minute = t.second = 0;
    return t;
}

std::vector<int> ParseEntries(const std::string& text) {
    std::vector<int> entries;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        size_t end = 0;
        int v = -1;
        try {
            v = std::stoi(item, &end);
        } catch (const std::exception&) {
        }
        if (end != item.size() || v < 0 || v > 190)
            throw UsageError("--entries needs catalogue indices 0-190 separated by commas");
        entries.push_back(v);
    }
    return entries;
}

} // namespace

int GenerateCommand(Arguments& args) {
    GeneratorOptions o = args.Flag("--maximal")
                             ? MaximalRecordingOptions(args.Flag("--historic-only"))
                             : GeneratorOptions{};
    const auto out = args.Value("--output", "-o");
    if (auto v = args.Integer("--phase", 0, 4))
        o.phaseConfig = static_cast<uint8_t>(*v);
    if (auto v = args.Integer("--ct", 0, 2))
        o.ct = static_cast<uint8_t>(*v);
    if (auto v = args.Integer("--rate", 0, 7))
        o.rate = static_cast<uint8_t>(*v);
    if (auto v = args.Integer("--interval", 0, 4))
        o.interval = static_cast<uint8_t>(*v);
    if (auto v = args.Integer("--mode", 0, 1))
        o.mode = static_cast<uint8_t>(*v);
    if (auto v = args.Value("--end"))
        o.end = ParseCalendarTime(*v);
    if (auto v = args.Value("--entries"))
        o.entries = ParseEntries(*v);
    if (auto v = args.Integer("--blocks", 1, 127))
        o.blockCount = static_cast<int>(*v);
    if (auto v = args.Integer("--points", 0, 50000))
        o.historicPoints = static_cast<int32_t>(*v);
    if (auto v = args.Integer("--event-points", 0, 50000)) {
        o.scatteredEvents = true;
        o.eventPoints = static_cast<int32_t>(*v);
    }
    if (auto v = args.Integer("--seed", 0, 0xFFFFFFFFll))
        o.seed = static_cast<uint32_t>(*v);
    args.Finish();
    if (!out)
        throw UsageError("missing -o FILE");
    if (o.phaseConfig == 2)
        throw UsageError("phase configuration 2 does not exist (0, 1, 3 or 4)");

    const std::string bytes = GenerateRecordingBytes(o);
    std::FILE* f = std::fopen(out->c_str(), "wb");
    if (!f)
        Raise("Error occured while saving the file.");
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok)
        Raise("Error writing");
    std::printf("Wrote %s (%zu bytes)\n", out->c_str(), bytes.size());
    return 0;
}
