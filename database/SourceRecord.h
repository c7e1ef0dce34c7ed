#pragma once

#include <memory>

class FileReader;
class FileWriter;
class LParameterSource;
class ParameterIndex;
class LParameterSourceGroup;

// A source and its chained next sources, as tables and charts store them. The selected flag
// and the chart series are not stored: a loaded source is selected.
void SaveSource(FileWriter& writer, const LParameterSource& source);
// Binds the source to the parameter with the stored id; raises "Invalid parameter Id" (after
// reporting it) when the collection has none, and "Invalid source range" for a range no
// subset of a recording of periods sample periods can have.
std::unique_ptr<LParameterSource> LoadSource(FileReader& reader, const ParameterIndex& parameters,
                                             int32_t periods);

// The count of sources, then each source; the group's recording gives the sample periods.
void SaveGroup(FileWriter& writer, const LParameterSourceGroup& group);
void LoadGroup(FileReader& reader, LParameterSourceGroup& group, const ParameterIndex& parameters);
