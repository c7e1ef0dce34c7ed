#include "tests/tables/TablesTestSupport.h"

void ParseRecording(LDatabase& db, std::vector<int> entries, int historicPoints, int eventPoints,
                    const std::function<void(GeneratedRecording&)>& edit) {
    GeneratorOptions o;
    o.phaseConfig = 0;
    o.entries = std::move(entries);
    o.historicPoints = historicPoints;
    o.scatteredEvents = eventPoints > 0;
    o.eventPoints = eventPoints;
    GeneratedRecording recording = GenerateRecording(o);
    if (edit)
        edit(recording);
    db.New();
    db.Parse(recording.Serialize());
}

LTableRecord& AddTable(LDatabase& db, std::initializer_list<int> parameters) {
    LTableRecord& table = *db.AddTable();
    for (int i : parameters)
        table.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(i)));
    return table;
}
