#include "database/LTableRecord.h"

#include "database/FileReader.h"
#include "database/FileWriter.h"
#include "database/SourceRecord.h"

LTableRecord::LTableRecord(LSession* session) : Sources(session) {}

void LTableRecord::SaveToStream(FileWriter& writer) const {
    writer.WriteString(Caption);
    SaveGroup(writer, Sources);
}

void LTableRecord::LoadFromStream(FileReader& reader, const ParameterIndex& parameters) {
    Caption = reader.ReadString();
    Sources.Clear();
    LoadGroup(reader, Sources, parameters);
}
