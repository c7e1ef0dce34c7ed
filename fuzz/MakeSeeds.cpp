// Writes the seed corpus of one fuzz target: small, valid inputs of many shapes.
#include "database/LDatabase.h"
#include "model/ParameterTable.h"
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

// Small database files: without windows, and with tables and charts (one with a chain).
std::vector<std::string> Databases(const std::filesystem::path& scratch) {
    std::vector<std::string> seeds;
    for (int variant = 0; variant < 3; ++variant) {
        GeneratorOptions o;
        o.entries = {6, 47, 122, 98};
        o.historicPoints = 3;
        o.eventPoints = 2;
        LDatabase db;
        db.New();
        db.Parse(GenerateRecordingBytes(o));
        db.Header().Location = "Bay é";
        if (variant > 0) {
            LTableRecord* table = db.AddTable();
            for (const auto& s : db.AllSources())
                table->Sources.Add(std::make_unique<LParameterSource>(*s));
            LChartRecord* chart = db.AddChart();
            for (const auto& s : db.ChartSources())
                chart->Sources.Add(std::make_unique<LParameterSource>(*s));
            if (variant > 1)
                chart->Sources.Items(0)->Next =
                    std::make_unique<LParameterSource>(*db.ChartSources().Items(1));
        }
        const auto file = scratch / "seed.vro";
        db.SetFileName(file.string());
        db.Save(false);
        std::ifstream in(file, std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::filesystem::remove(file);
    }
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
    std::filesystem::create_directories(argv[2]);
    InitCatalogue();
    if (target == "parser")
        seeds = Recordings();
    else if (target == "database")
        seeds = Databases(argv[2]);
    else {
        std::fprintf(stderr, "unknown target %s\n", target.c_str());
        return 2;
    }
    for (size_t i = 0; i < seeds.size(); ++i)
        std::ofstream(std::filesystem::path(argv[2]) / ("seed" + std::to_string(i)),
                      std::ios::binary)
            << seeds[i];
    return 0;
}
