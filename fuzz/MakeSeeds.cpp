// Writes the seed corpus of one fuzz target: small, valid inputs of many shapes.
#include "tools/RecordingGenerator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Recordings() {
    std::vector<std::string> seeds;
    for (uint8_t phase : {0, 1, 3, 4}) {
        GeneratorOptions o;
        o.phaseConfig = phase;
        o.historicPoints = 3;
        o.eventPoints = 2;
        o.seed = phase;
        seeds.push_back(GenerateRecordingBytes(o));
    }
    GeneratorOptions o;
    o.entries = {6, 47, 114, 115, 190};
    o.historicPoints = 4;
    o.eventPoints = 3;
    o.rate = 7;
    o.end = {1999, 12, 31, 23, 59, 59};
    GeneratedRecording r = GenerateRecording(o);
    r.blocks[2].unit = 2;             // three-phase energy sent in watts
    r.blocks[3].tableType = 2;        // demand sent as cumulative
    r.blocks[4].tableType = 4;        // and as interval cumulative
    r.end = {0x8C, 0, 0, 0, 1, 1, 0}; // midnight written as 24:00
    seeds.push_back(r.Serialize());
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_fuzz_seeds TARGET DIR\n");
        return 2;
    }
    const std::string target = argv[1];
    std::vector<std::string> seeds;
    if (target == "parser")
        seeds = Recordings();
    else {
        std::fprintf(stderr, "unknown target %s\n", target.c_str());
        return 2;
    }
    std::filesystem::create_directories(argv[2]);
    for (size_t i = 0; i < seeds.size(); ++i)
        std::ofstream(std::filesystem::path(argv[2]) / ("seed" + std::to_string(i)),
                      std::ios::binary)
            << seeds[i];
    return 0;
}
