#include "tests/support/JoinedSeries.h"

#include "database/LDatabase.h"

#include <string>

std::vector<JoinInput> ParsedInputs(const std::vector<GeneratedRecording>& recordings) {
    std::vector<JoinInput> inputs;
    for (size_t k = 0; k < recordings.size(); ++k) {
        JoinInput input{"week" + std::to_string(k + 1) + ".bin", std::make_unique<LDatabase>()};
        input.Recording->New();
        input.Recording->Parse(recordings[k].Serialize());
        inputs.push_back(std::move(input));
    }
    return inputs;
}

JoinPlan JoinSeries(LDatabase& db, const std::vector<GeneratedRecording>& recordings,
                    JoinOverlap overlap) {
    return JoinRecordings(ParsedInputs(recordings), overlap, db);
}

void JoinedYear(LDatabase& db, const std::function<void(std::vector<GeneratedRecording>&)>& edit) {
    GeneratorOptions options;
    options.start = CalendarTime{2025, 1, 1, 0, 0, 0};
    options.historicPoints = 5 * 1440;
    std::vector<GeneratedRecording> parts = GenerateSeries(options, 73);
    if (edit)
        edit(parts);
    JoinSeries(db, parts);
}
