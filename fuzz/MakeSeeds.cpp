// Writes the seed corpus of one fuzz target: small, valid inputs of many shapes. The corpora
// are kept in fuzz/corpus; run this after a change of a format to make them again.
#include "database/LDatabase.h"
#include "model/ParameterTable.h"
#include "tools/RecordingGenerator.h"
#include "tools/simulator/InstrumentSimulator.h"

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
        o.scatteredEvents = true;
        o.eventPoints = 2;
        o.seed = phase;
        seeds.push_back(GenerateRecordingBytes(o));
    }
    GeneratorOptions o;
    o.entries = {6, 47, 114, 115, 190};
    o.historicPoints = 4;
    o.scatteredEvents = true;
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

// Small database files: without windows, with tables and charts (one with a chain), and with
// notes of every kind (a point and ranges).
std::vector<std::string> Databases(const std::filesystem::path& scratch) {
    std::vector<std::string> seeds;
    for (int variant = 0; variant < 4; ++variant) {
        GeneratorOptions o;
        o.entries = {6, 47, 122, 98};
        o.historicPoints = 3;
        o.scatteredEvents = true;
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
        if (variant > 2) {
            const TDateTime start = db.Header().StartTime, minute = 60 / SecsPerDay;
            for (uint8_t kind = 0; kind < 4; ++kind) {
                const TDateTime at = start + kind * minute;
                db.AddNote({at, at + (kind % 2) * minute, static_cast<LNoteKind>(kind),
                            "Note é " + std::to_string(kind), kind % 2 ? "" : "Jürgen"});
            }
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

// The instrument's answers in a download, each a length byte and its bytes (FuzzDownload).
std::string Answers(const std::vector<std::string>& answers) {
    std::string script;
    for (const std::string& a : answers) {
        script += static_cast<char>(a.size());
        script += a;
    }
    return script;
}

std::string Block(const std::string& recording, int number, int sumOffset = 0) {
    std::string data = recording.substr(static_cast<size_t>(number - 1) * 128, 128);
    data.resize(128, static_cast<char>(InstrumentSimulator::Padding));
    uint8_t sum = 0;
    for (char c : data)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    std::string block(1, static_cast<char>(InstrumentSimulator::SOH));
    block += static_cast<char>(number & 0xFF);
    block += static_cast<char>(0xFF - (number & 0xFF));
    return block + data + static_cast<char>(sumOffset == -1 ? 0 : sum + sumOffset);
}

// A clean download, and downloads with a bad checksum, a block sent again with checksum 0,
// a cut block, stray bytes, an early end, and no answer at all.
std::vector<std::string> Downloads() {
    GeneratorOptions o;
    o.entries = {6, 47};
    o.historicPoints = 100;
    o.scatteredEvents = true;
    o.eventPoints = 5;
    const std::string recording = GenerateRecordingBytes(o);
    const int blocks = static_cast<int>((recording.size() + 127) / 128);
    const std::string eot(1, static_cast<char>(InstrumentSimulator::EOT));
    std::vector<std::string> seeds;
    for (int variant = 0; variant < 6; ++variant) {
        std::vector<std::string> answers{"000"};
        for (int n = 1; n <= blocks; ++n) {
            if (n == 2 && variant == 1)
                answers.push_back(Block(recording, n, 1));
            if (n == 2 && variant == 2) {
                answers.push_back(Block(recording, n, 1));
                answers.push_back(Block(recording, n, -1));
                continue;
            }
            if (n == 2 && variant == 3)
                answers.push_back(Block(recording, n).substr(0, 60));
            answers.push_back(Block(recording, n) + (variant == 4 ? "\x13\x11" : ""));
            if (n == 2 && variant == 5)
                break;
        }
        answers.push_back(eot);
        seeds.push_back(Answers(answers));
    }
    seeds.push_back("");
    return seeds;
}

std::vector<std::string> Texts() {
    return {"Plant \xC3\x98, \xC2\xB5-grid",
            "\xE2\x82\xAC 12 \xE2\x80\x93 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x84\xA2",
            "\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80", "line one\r\nline two\t\x01",
            std::string("\x80\x9F\xFF\x00\xC0\x80", 6)};
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
    if (target == "parser") {
        seeds = Recordings();
    } else if (target == "database") {
        seeds = Databases(argv[2]);
    } else if (target == "pipe") {
        seeds = Databases(argv[2]);
        for (const std::string& r : Recordings())
            seeds.push_back(r);
    } else if (target == "download") {
        seeds = Downloads();
    } else if (target == "windows1252") {
        seeds = Texts();
    } else {
        std::fprintf(stderr, "unknown target %s\n", target.c_str());
        return 2;
    }
    for (size_t i = 0; i < seeds.size(); ++i)
        std::ofstream(std::filesystem::path(argv[2]) / ("seed" + std::to_string(i)),
                      std::ios::binary)
            << seeds[i];
    return 0;
}
