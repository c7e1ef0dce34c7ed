#pragma once

#include "database/LDatabase.h"
#include "tools/RecordingGenerator.h"

#include <QLocale>

#include <functional>
#include <initializer_list>

// The locale the tables' tests expect their texts in.
inline QLocale UsLocale() {
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

// Parses a generated recording into a fresh database: one parameter per catalogue entry, in
// order, of a single-phase recording at 60-second samples with 15-minute intervals, the last
// sample at 30 Nov 2026 17:45. Its event-type parameters hold one value each, their interval
// twins one per interval; with eventPoints, every event-type parameter holds that many points
// scattered over the recording instead. edit may change the recording first.
void ParseRecording(LDatabase& db, std::vector<int> entries, int historicPoints = 2,
                    int eventPoints = 0, const std::function<void(GeneratedRecording&)>& edit = {});

// A new table of the database showing the parameters at these positions of the collection.
LTableRecord& AddTable(LDatabase& db, std::initializer_list<int> parameters);

// Catalogue entries used by the tests.
enum Entry {
    HistoricV1 = 0,
    HistoricI1 = 9,
    HistoricRealPower = 17,
    EventVoltageMaxV1 = 41,
    CumulativeEnergy = 109,
    IntervalEnergy = 184,
    IntervalVoltageMaxV1 = 116,
};
