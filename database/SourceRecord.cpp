#include "database/SourceRecord.h"

#include "database/FileReader.h"
#include "database/FileWriter.h"
#include "database/ParameterIndex.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "model/LParameterSource.h"
#include "model/LParameterSourceGroup.h"
#include "model/LSession.h"

#include <algorithm>
#include <limits>

namespace {

// id, has data, subset active, first, last, has next
constexpr int64_t SourceRecordSize = 4 + 1 + 1 + 4 + 4 + 1;

// What SetSubset can leave for a recording of periods sample periods: first from -1 (no point
// in the range) up, never fewer than no points, and last up to the end of a range the time
// range dialog offers. A Historic range is in sample periods and not clipped to its parameter,
// which may have fewer points than the others; 50 000 takes the older program's ranges.
// Anything else would reach the tables and charts as a view of up to four billion points, or
// overflow computing it.
bool PossibleRange(int32_t first, int32_t last, const LParameter& parameter, int32_t periods) {
    const int64_t end = std::max<int64_t>({50000, periods, parameter.Count()});
    return first >= -1 && int64_t{last} - first + 1 >= 0 && last <= end &&
           int64_t{last} - first + 1 <= std::numeric_limits<int32_t>::max();
}

std::unique_ptr<LParameterSource> LoadOne(FileReader& reader, const ParameterIndex& parameters,
                                          int32_t periods, bool& hasNext) {
    const int32_t id = reader.ReadInt();
    LParameter* parameter = parameters.Find(id);
    if (!parameter)
        ShowErrorAndRaise("LParameterSource::Load", "Invalid parameter Id");
    // Not made from the parameter: the stored flags say all, and a load touches no parameter.
    auto source = std::make_unique<LParameterSource>();
    source->Parameter = parameter;
    source->HasData = reader.ReadFlag();
    source->SubsetActive = reader.ReadFlag();
    source->First = reader.ReadInt();
    source->Last = reader.ReadInt();
    if (!PossibleRange(source->First, source->Last, *parameter, periods))
        ShowErrorAndRaise("LParameterSource::Load", "Invalid source range");
    source->Selected = true;
    hasNext = reader.ReadFlag();
    return source;
}

} // namespace

// The chain is written and read in a loop: its length comes from the file, and the stack
// must not depend on it.
void SaveSource(FileWriter& writer, const LParameterSource& source) {
    for (const LParameterSource* s = &source; s; s = s->Next.get()) {
        writer.WriteInt(s->Parameter ? s->Parameter->Id() : -1);
        writer.WriteFlag(s->HasData);
        writer.WriteFlag(s->SubsetActive);
        writer.WriteInt(s->First);
        writer.WriteInt(s->Last);
        writer.WriteFlag(s->Next != nullptr);
    }
}

std::unique_ptr<LParameterSource> LoadSource(FileReader& reader, const ParameterIndex& parameters,
                                             int32_t periods) {
    bool hasNext = false;
    auto first = LoadOne(reader, parameters, periods, hasNext);
    LParameterSource* last = first.get();
    while (hasNext) {
        last->Next = LoadOne(reader, parameters, periods, hasNext);
        last = last->Next.get();
    }
    return first;
}

void SaveGroup(FileWriter& writer, const LParameterSourceGroup& group) {
    writer.WriteInt(group.Count());
    for (const auto& source : group)
        SaveSource(writer, *source);
}

void LoadGroup(FileReader& reader, LParameterSourceGroup& group, const ParameterIndex& parameters) {
    const int32_t count = reader.ReadCount(SourceRecordSize);
    const int32_t periods = group.Session() ? group.Session()->HistoricPointMax : 0;
    for (int32_t i = 0; i < count; ++i)
        group.Add(LoadSource(reader, parameters, periods));
}
