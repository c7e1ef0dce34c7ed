#include "database/LDatabase.h"

#include "database/FileReader.h"
#include "database/FileWriter.h"
#include "database/ParameterIndex.h"
#include "database/SafeFileReplace.h"
#include "model/ErrorReport.h"
#include "model/InputFile.h"
#include "model/LParser.h"
#include "resources/StringTable.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

// id, index, start, rate, table type, three codes, header A and B, count
constexpr int64_t ParameterRecordSize = 4 + 4 + 8 + 4 + 1 + 3 + 4 + 4 + 4;

void WriteSession(FileWriter& w, const LSession& s, int32_t parameterCount) {
    w.WriteString(s.UserID);
    w.WriteString(s.Location);
    w.WriteString(s.Comments);
    w.WriteByte(s.PhaseConfig);
    w.WriteByte(s.CTType);
    w.WriteByte(s.Rate);
    w.WriteByte(s.Interval);
    w.WriteByte(s.Mode);
    w.WriteDouble(s.StartTime);
    w.WriteDouble(s.EndTime);
    w.WriteInt(s.DataLength);
    w.WriteDouble(s.DateProduced);
    w.WriteInt(s.InstrumentNumber);
    w.WriteString(s.InstrumentText);
    w.WriteString(s.InstrumentShortText);
    w.WriteInt(s.InstrumentLongNumber);
    w.WriteInt(parameterCount);
    w.WriteInt(s.EventPointMax);
    w.WriteInt(s.HistoricPointMax);
}

void ReadSession(FileReader& r, LSession& s) {
    s.UserID = r.ReadString();
    s.Location = r.ReadString();
    s.Comments = r.ReadString();
    s.PhaseConfig = r.ReadByte();
    s.CTType = r.ReadByte();
    s.Rate = r.ReadByte();
    s.Interval = r.ReadByte();
    s.Mode = r.ReadByte();
    s.StartTime = r.ReadDouble();
    s.EndTime = r.ReadDouble();
    s.DataLength = r.ReadInt();
    s.DateProduced = r.ReadDouble();
    s.InstrumentNumber = r.ReadInt();
    s.InstrumentText = r.ReadString();
    s.InstrumentShortText = r.ReadString();
    s.InstrumentLongNumber = r.ReadInt();
    s.ParameterCount = r.ReadCount(ParameterRecordSize);
    s.EventPointMax = r.ReadInt();
    s.HistoricPointMax = r.ReadInt();
}

void WriteParameter(FileWriter& w, const LParameter& p) {
    const LParameter::Record r = p.GetRecord();
    w.WriteInt(r.id);
    w.WriteInt(r.index);
    w.WriteDouble(r.startTime);
    w.WriteInt(r.rate);
    w.WriteByte(r.tableType);
    w.WriteByte(r.quantity);
    w.WriteByte(r.unit);
    w.WriteByte(r.channel);
    w.WriteFloat(r.headerA);
    w.WriteFloat(r.headerB);
    w.WriteInt(r.count);
    w.Write(p.Values(), int64_t{4} * r.count);
    if (r.tableType != ttHistoric)
        w.Write(p.Times(), int64_t{8} * r.count);
}

std::unique_ptr<LParameter> ReadParameter(FileReader& reader) {
    LParameter::Record r{};
    r.id = reader.ReadInt();
    r.index = reader.ReadInt();
    r.startTime = reader.ReadDouble();
    r.rate = reader.ReadInt();
    r.tableType = reader.ReadByte();
    r.quantity = reader.ReadByte();
    r.unit = reader.ReadByte();
    r.channel = reader.ReadByte();
    r.headerA = reader.ReadFloat();
    r.headerB = reader.ReadFloat();
    const bool timed = r.tableType != ttHistoric;
    // Both arrays must be in the file before either is allocated.
    r.count = reader.ReadCount(timed ? 12 : 4);
    const auto n = static_cast<size_t>(r.count);
    auto values = std::make_unique_for_overwrite<float[]>(n);
    reader.Read(values.get(), int64_t{4} * r.count);
    std::unique_ptr<TDateTime[]> times;
    if (timed) {
        times = std::make_unique_for_overwrite<TDateTime[]>(n);
        reader.Read(times.get(), int64_t{8} * r.count);
    }
    auto parameter = std::make_unique<LParameter>();
    parameter->SetRecord(r, std::move(values), std::move(times));
    return parameter;
}

// start, end, kind, and the lengths of text and author
constexpr int64_t NoteRecordSize = 8 + 8 + 1 + 4 + 4;

void WriteNote(FileWriter& w, const LNote& note) {
    w.WriteDouble(note.Start);
    w.WriteDouble(note.End);
    w.WriteByte(static_cast<uint8_t>(note.Kind));
    w.WriteString(note.Text);
    w.WriteString(note.Author);
}

LNote ReadNote(FileReader& r) {
    LNote note;
    note.Start = r.ReadDouble();
    note.End = r.ReadDouble();
    note.Kind = static_cast<LNoteKind>(r.ReadByte());
    note.Text = r.ReadString();
    note.Author = r.ReadString();
    // What no program writes: the notes' readers count on it.
    if (!NoteProblem(note).empty())
        ShowErrorAndRaise("LDatabase::Load", "Invalid note");
    return note;
}

void RefuseBadNote(const LNote& note) {
    if (const std::string problem = NoteProblem(note); !problem.empty())
        Raise(problem);
}

} // namespace

LDatabase::LDatabase() = default;

LDatabase::~LDatabase() {
    Close();
}

void LDatabase::New() {
    if (open_)
        Close();
    header_ = std::make_unique<LSession>();
    parameters_ = std::make_unique<LParameterCollection>();
    allSources_ = std::make_unique<LParameterSourceGroup>(header_.get());
    chartSources_ = std::make_unique<LParameterSourceGroup>(header_.get());
    tables_.clear();
    charts_.clear();
    notes_.clear();
    chartCounter_ = 0;
    tableCounter_ = 0;
    open_ = true;
    modified_ = false;
    hasFileName_ = false;
    fileName_ = LoadStr(StrNewDatabase);
}

void LDatabase::Close() {
    if (!open_)
        return;
    header_.reset();
    parameters_.reset();
    allSources_.reset();
    chartSources_.reset();
    tables_.clear();
    charts_.clear();
    notes_.clear();
    open_ = false;
    modified_ = false;
}

void LDatabase::SetFileName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const size_t at = lower.find(".vro");
    fileName_ = (at != std::string::npos && at + 4 == lower.size()) ? name : name + ".vro";
    hasFileName_ = true;
}

void LDatabase::Parse(std::string_view bytes) {
    if (!open_)
        ShowErrorAndRaise("LDatabase::Parse", "Database not open");
    {
        LParser parser;
        parser.Run(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                   *header_, *parameters_);
    }
    CreateSourceGroups();
    modified_ = true;
}

void LDatabase::CreateSourceGroups() {
    if (!open_)
        ShowErrorAndRaise("LDatabase::CreateSourceGroups", "Database not open");
    for (const auto& parameter : *parameters_) {
        auto source = std::make_unique<LParameterSource>(parameter.get());
        const LTableType type = parameter->TableType();
        if (type == ttHistoric || type == ttEvent || type == ttIntervalEvent)
            chartSources_->Add(std::make_unique<LParameterSource>(*source));
        allSources_->Add(std::move(source));
    }
}

LTableRecord* LDatabase::AddTable() {
    // The next caption number must exist; a counter read from a file may stand at the last.
    if (tableCounter_ == INT32_MAX)
        Raise("No more tables can be created in this database.");
    auto table = std::make_unique<LTableRecord>(header_.get());
    table->Caption = LoadStr(StrTableCaption) + std::to_string(++tableCounter_);
    tables_.push_back(std::move(table));
    modified_ = true;
    return tables_.back().get();
}

LChartRecord* LDatabase::AddChart() {
    if (chartCounter_ == INT32_MAX)
        Raise("No more charts can be created in this database.");
    auto chart = std::make_unique<LChartRecord>(header_.get());
    chart->Caption = LoadStr(StrChartCaption) + std::to_string(++chartCounter_);
    charts_.push_back(std::move(chart));
    modified_ = true;
    return charts_.back().get();
}

void LDatabase::DeleteTable(const LTableRecord* table) {
    std::erase_if(tables_, [table](const auto& t) { return t.get() == table; });
    modified_ = true;
}

void LDatabase::DeleteChart(const LChartRecord* chart) {
    std::erase_if(charts_, [chart](const auto& c) { return c.get() == chart; });
    modified_ = true;
}

size_t LDatabase::AddNote(LNote note) {
    RefuseBadNote(note);
    const auto at =
        std::upper_bound(notes_.begin(), notes_.end(), note.Start,
                         [](TDateTime start, const LNote& other) { return start < other.Start; });
    const auto index = static_cast<size_t>(at - notes_.begin());
    notes_.insert(at, std::move(note));
    modified_ = true;
    return index;
}

size_t LDatabase::EditNote(size_t index, LNote note) {
    if (index >= notes_.size())
        ShowErrorAndRaise("LDatabase::EditNote", "Invalid index");
    RefuseBadNote(note);
    notes_.erase(notes_.begin() + static_cast<ptrdiff_t>(index));
    return AddNote(std::move(note));
}

void LDatabase::DeleteNote(size_t index) {
    if (index >= notes_.size())
        ShowErrorAndRaise("LDatabase::DeleteNote", "Invalid index");
    notes_.erase(notes_.begin() + static_cast<ptrdiff_t>(index));
    modified_ = true;
}

void LDatabase::WriteTo(FileWriter& w) const {
    w.WriteString(std::string(FileMark));
    w.WriteFloat(notes_.empty() ? FileVersion : NotesVersion);
    // The record's count is the number of parameter records that follow, whatever the
    // header was told.
    WriteSession(w, *header_, parameters_->Count());
    for (const auto& parameter : *parameters_)
        WriteParameter(w, *parameter);
    w.WriteInt(tableCounter_);
    w.WriteInt(static_cast<int32_t>(tables_.size()));
    for (const auto& table : tables_)
        table->SaveToStream(w);
    w.WriteInt(chartCounter_);
    w.WriteInt(static_cast<int32_t>(charts_.size()));
    for (const auto& chart : charts_)
        chart->SaveToStream(w);
    if (notes_.empty())
        return;
    w.WriteInt(static_cast<int32_t>(notes_.size()));
    for (const LNote& note : notes_)
        WriteNote(w, note);
}

void LDatabase::Save(bool backup) {
    SafeFileReplace replace(fileName_, backup && hasFileName_);
    WriteTo(replace.Writer());
    replace.Commit();
    modified_ = false;
}

void LDatabase::Load(const std::string& fileName) {
    InputFile file(fileName);
    Load(file);
}

void LDatabase::Load(InputFile& file) {
    SetFileName(file.Name());
    // The file chosen is read even when its name lacks the ending (a backup, a renamed copy);
    // it is saved under the name with ".vro", so the file read is never overwritten unasked.
    FileReader reader(file);
    if (reader.ReadString() != FileMark) {
        reader.Close();
        ShowErrorAndRaise("LDatabase::Load", "Wrong file format");
    }
    version_ = reader.ReadFloat();
    ReadFrom(reader);
    reader.Close();
}

void LDatabase::ReadFrom(FileReader& reader) {
    ReadSession(reader, *header_);
    for (int32_t i = 0; i < header_->ParameterCount; ++i)
        parameters_->Add(ReadParameter(reader));
    CreateSourceGroups();
    const ParameterIndex byId(*parameters_);

    tableCounter_ = reader.ReadInt();
    // A table record is at least its caption's length and its source count.
    const int32_t tableCount = reader.ReadCount(8);
    for (int32_t i = 0; i < tableCount; ++i) {
        auto table = std::make_unique<LTableRecord>(header_.get());
        table->LoadFromStream(reader, byId);
        tables_.push_back(std::move(table));
    }

    chartCounter_ = reader.ReadInt();
    const int32_t chartCount = reader.ReadCount(8);
    for (int32_t i = 0; i < chartCount; ++i) {
        auto chart = std::make_unique<LChartRecord>(header_.get());
        chart->LoadFromStream(reader, byId, version_);
        charts_.push_back(std::move(chart));
    }

    // Earlier versions end here; a reader of those stops here in any file.
    if (version_ > FileVersion) {
        const int32_t noteCount = reader.ReadCount(NoteRecordSize);
        notes_.reserve(static_cast<size_t>(noteCount));
        for (int32_t i = 0; i < noteCount; ++i)
            notes_.push_back(ReadNote(reader));
        // This program writes them in order; another file's order is not kept.
        const auto byStart = [](const LNote& a, const LNote& b) { return a.Start < b.Start; };
        if (!std::is_sorted(notes_.begin(), notes_.end(), byStart))
            std::stable_sort(notes_.begin(), notes_.end(), byStart);
    }
}
