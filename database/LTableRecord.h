#pragma once

#include "model/LParameterSourceGroup.h"

#include <string>

class FileReader;
class FileWriter;
class ParameterIndex;
class LSession;

// A table the user made: its caption and the sources it shows. The table window shows and
// edits one of these; the database owns it and stores it.
class LTableRecord {
public:
    explicit LTableRecord(LSession* session);

    void SaveToStream(FileWriter& writer) const;
    void LoadFromStream(FileReader& reader, const ParameterIndex& parameters);

    std::string Caption;
    LParameterSourceGroup Sources;
};
