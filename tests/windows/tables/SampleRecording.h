#pragma once

#include "database/LDatabase.h"
#include "tools/RecordingGenerator.h"

#include <QLocale>

#include <vector>

// An open database over a generated 3Ø 4W Wye recording of the given catalogue entries.
inline void OpenRecording(LDatabase& db, const std::vector<int>& entries) {
    GeneratorOptions options;
    options.entries = entries;
    options.historicPoints = 20;
    db.New();
    db.Parse(GenerateRecordingBytes(options));
}

// Texts and collation as an English (US) desktop has them.
inline void UseEnglishLocale() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}
