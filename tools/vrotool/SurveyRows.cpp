#include "tools/vrotool/SurveyRows.h"

#include "analysis/ParallelLoop.h"
#include "analysis/TextStyle.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/CommandNotes.h"
#include "tools/vrotool/JsonWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <new>

namespace {

using Cell = SurveyRows::Cell;

Cell Of(const std::optional<double>& value) {
    return value ? Cell(*value) : Cell();
}
Cell Of(const std::optional<bool>& value) {
    return value ? Cell(*value) : Cell();
}
Cell TimeOf(const std::optional<TDateTime>& time) {
    return time ? Cell(FormatIso8601(*time)) : Cell();
}

std::vector<Cell> Row(const std::string& file, const std::string& location, const SurveyResult& s) {
    const PowerSurvey* p = s.Power ? &*s.Power : nullptr;
    const TimedValue* peak = p && p->Totals.Peak ? &*p->Totals.Peak : nullptr;
    return {
        file,
        location,
        TimeOf(s.From),
        TimeOf(s.To),
        p ? Cell(p->Totals.Days) : Cell(),
        p ? Cell(p->Totals.EnergyWh) : Cell(),
        peak ? Cell(peak->Value) : Cell(),
        peak ? Cell(FormatIso8601(peak->Time)) : Cell(),
        Of(p ? p->Totals.BaseWatts : std::nullopt),
        Of(p ? p->Totals.LoadFactor : std::nullopt),
        Of(p ? p->Load.DesignWatts : std::nullopt),
        Of(p ? p->Load.HeadroomAmps : std::nullopt),
        Of(s.Voltage ? s.Voltage->Pass : std::nullopt),
        Of(s.Unbalance.Voltage ? s.Unbalance.Voltage->Pass : std::nullopt),
        Of(p ? p->PowerFactor.Average : std::nullopt),
        Of(p ? p->PowerFactor.BankVar : std::nullopt),
        Of(p && p->Cost ? p->Cost->TypicalMonth : std::nullopt),
        Cell(),
    };
}

std::vector<Cell> ErrorRow(const std::string& file, const std::string& error) {
    std::vector<Cell> row(SurveyRows::Columns().size());
    row.front() = file;
    // One line a row: the sentence and the reader's message joined by a blank.
    std::string line = error;
    std::replace(line.begin(), line.end(), '\n', ' ');
    row.back() = line;
    return row;
}

std::string CsvText(const Cell& cell) {
    if (const double* d = std::get_if<double>(&cell)) {
        if (!std::isfinite(*d))
            return {};
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, *d).ptr);
    }
    if (const bool* b = std::get_if<bool>(&cell))
        return *b ? "true" : "false";
    if (const std::string* s = std::get_if<std::string>(&cell))
        return *s;
    return {};
}

} // namespace

const std::vector<const char*>& SurveyRows::Columns() {
    static const std::vector<const char*> columns = {"file",
                                                     "location",
                                                     "from",
                                                     "to",
                                                     "days",
                                                     "energy_wh",
                                                     "peak_w",
                                                     "peak_time",
                                                     "base_w",
                                                     "load_factor",
                                                     "design_w",
                                                     "headroom_a",
                                                     "voltage_pass",
                                                     "unbalance_pass",
                                                     "average_pf",
                                                     "bank_var",
                                                     "typical_month_cost",
                                                     "error"};
    return columns;
}

bool SurveyRows::Failed() const {
    for (const auto& row : Rows)
        if (!std::holds_alternative<std::monostate>(row.back()))
            return true;
    return false;
}

std::string SurveyRows::Csv() const {
    std::string out;
    AppendRow(out, std::vector<std::string>(Columns().begin(), Columns().end()), CellFormat::Csv);
    for (const auto& row : Rows) {
        std::vector<std::string> cells;
        for (const Cell& cell : row)
            cells.push_back(CsvText(cell));
        AppendRow(out, cells, CellFormat::Csv);
    }
    return out;
}

std::string SurveyRows::JsonLines() const {
    std::string out;
    for (const auto& row : Rows)
        out += JsonText([&](JsonWriter& j) {
            j.BeginObject();
            for (size_t i = 0; i < row.size(); ++i) {
                j.Key(Columns()[i]);
                const Cell& cell = row[i];
                if (const double* d = std::get_if<double>(&cell))
                    j.Double(*d);
                else if (const bool* b = std::get_if<bool>(&cell))
                    j.Bool(*b);
                else if (const std::string* s = std::get_if<std::string>(&cell))
                    j.String(*s);
                else
                    j.Null();
            }
            j.EndObject();
        });
    return out;
}

SurveyRows SurveyFiles(const std::vector<std::string>& files, const SurveyOptions& options,
                       int threads) {
    SurveyRows rows;
    rows.Rows.resize(files.size());
    ParallelLoop(static_cast<int>(files.size()), threads, [&](int i) {
        const std::string& file = files[static_cast<size_t>(i)];
        auto& row = rows.Rows[static_cast<size_t>(i)];
        try {
            LDatabase db;
            OpenDatabaseOrRecording(db, file);
            row = Row(file, db.Header().Location,
                      RunSurvey(db.Parameters(), WithExcludeNotes(options, db)));
        } catch (const std::bad_alloc&) {
            row = ErrorRow(file, "Out of memory");
        } catch (const std::exception& e) {
            row = ErrorRow(file, e.what());
        }
    });
    return rows;
}
