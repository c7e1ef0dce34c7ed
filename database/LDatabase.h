#pragma once

#include "database/LChartRecord.h"
#include "database/LTableRecord.h"
#include "model/LNote.h"
#include "model/LParameterCollection.h"
#include "model/LParameterSourceGroup.h"
#include "model/LSession.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class FileReader;
class FileWriter;
class InputFile;

// The open document: one recording, the source groups built from it, and the tables and
// charts the user made of it. Saved as one *.vro file and loaded from one.
class LDatabase {
public:
    // The mark every database file starts with, and the version this program writes: a file
    // with notes is written with NotesVersion and its notes after the charts, a file without
    // them exactly as before notes were known, so that older programs read both.
    static constexpr std::string_view FileMark = "Vro";
    static constexpr float FileVersion = 0.02f;
    static constexpr float NotesVersion = 0.03f;

    LDatabase();
    ~LDatabase();
    LDatabase(const LDatabase&) = delete;
    LDatabase& operator=(const LDatabase&) = delete;

    // An empty open database named "New Database" (closing the current one first).
    void New();
    void Close();
    // Appends ".vro" unless the name already ends in it (in any case).
    void SetFileName(const std::string& name);
    // Builds the recording from the instrument's byte stream.
    void Parse(std::string_view bytes);
    void CreateSourceGroups();
    // Writes a temporary file beside the database file, puts it on the disk, then moves it
    // into place (with backup, the former file becomes NAME.backup). A failure leaves the
    // former file and its backup as they were, and the database modified.
    void Save(bool backup);
    // Call on a freshly New database; on a failure the caller closes it.
    void Load(const std::string& fileName);
    void Load(InputFile& file);

    // A new table or chart, captioned "Table #n" / "Chart #n" from its counter, appended to
    // its list. Sets modified. Refused, with nothing changed, when the counter is at its
    // largest value.
    LTableRecord* AddTable();
    LChartRecord* AddChart();
    // Removes and destroys it; sets modified.
    void DeleteTable(const LTableRecord* table);
    void DeleteChart(const LChartRecord* chart);

    // The notes on the recording's time axis, by start time (notes of one start in the order
    // they were added). Each change sets modified; a note NoteProblem refuses raises its
    // reason with nothing changed. Add and edit return the note's place after the change.
    const std::vector<LNote>& Notes() const { return notes_; }
    size_t AddNote(LNote note);
    size_t EditNote(size_t index, LNote note);
    void DeleteNote(size_t index);

    bool Open() const { return open_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    bool HasFileName() const { return hasFileName_; }
    const std::string& FileName() const { return fileName_; }
    float Version() const { return version_; }
    int32_t ChartCounter() const { return chartCounter_; }
    int32_t TableCounter() const { return tableCounter_; }
    void SetChartCounter(int32_t n) { chartCounter_ = n; }
    void SetTableCounter(int32_t n) { tableCounter_ = n; }

    // Valid while the database is open.
    LSession& Header() { return *header_; }
    const LSession& Header() const { return *header_; }
    LParameterCollection& Parameters() { return *parameters_; }
    const LParameterCollection& Parameters() const { return *parameters_; }
    LParameterSourceGroup& AllSources() { return *allSources_; }
    LParameterSourceGroup& ChartSources() { return *chartSources_; }
    const std::vector<std::unique_ptr<LTableRecord>>& Tables() const { return tables_; }
    const std::vector<std::unique_ptr<LChartRecord>>& Charts() const { return charts_; }

    // The whole file as it would be saved, to a writer of the caller's.
    void WriteTo(FileWriter& writer) const;

private:
    void ReadFrom(FileReader& reader);

    float version_ = FileVersion;
    int32_t chartCounter_ = 0;
    int32_t tableCounter_ = 0;
    bool open_ = false;
    bool modified_ = false;
    bool hasFileName_ = false;
    std::string fileName_;
    std::unique_ptr<LSession> header_;
    std::unique_ptr<LParameterCollection> parameters_;
    std::unique_ptr<LParameterSourceGroup> allSources_;
    std::unique_ptr<LParameterSourceGroup> chartSources_;
    std::vector<std::unique_ptr<LTableRecord>> tables_;
    std::vector<std::unique_ptr<LChartRecord>> charts_;
    std::vector<LNote> notes_;
};
