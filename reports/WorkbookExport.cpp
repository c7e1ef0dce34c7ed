#include "reports/WorkbookExport.h"

#include "analysis/RangeStatistics.h"
#include "analysis/StatisticsText.h"
#include "analysis/Survey.h"
#include "analysis/SurveyFindingsText.h"
#include "analysis/SurveyTables.h"
#include "database/LDatabase.h"
#include "database/SafeFileReplace.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "model/RecordingFacts.h"
#include "reports/SheetNames.h"
#include "reports/Workbook.h"

#include "resources/StringTable.h"
#include <cmath>

#include <QFile>

#include <filesystem>
#include <functional>
#include <optional>

namespace {

constexpr int32_t RowsPerStep = 400;

struct Cancelled {};

// Counts the rows written over all sheets and asks the progress whether to go on.
class RowCounter {
public:
    explicit RowCounter(const ExportProgress& progress) : progress_(progress) {}
    void Step() {
        if (++done_ % RowsPerStep == 0 && progress_ && !progress_(done_))
            throw Cancelled();
    }

private:
    const ExportProgress& progress_;
    int32_t done_ = 0;
};

using Sheet = Workbook::Sheet;

// The table's header row and its data rows first to last; the number of rows below the
// header.
uint32_t WriteTable(Sheet& sheet, const TableText& text, int32_t first, int32_t last,
                    RowCounter& rows) {
    const auto cols = static_cast<uint16_t>(text.ColCount(RowFormat::Csv));
    const bool timeColumn = text.FixedCols() > 0;
    for (uint16_t col = 0; col < cols; ++col)
        sheet.Text(0, col, text.Cell(col, 0).text, Workbook::Bold);
    uint32_t row = 1;
    for (int32_t k = first; k <= last; ++k, ++row) {
        for (uint16_t col = 0; col < cols; ++col) {
            const TableCell cell = text.Cell(col, k + text.FixedRows());
            switch (cell.kind) {
            case TableCell::Text:
                sheet.Text(row, col, cell.text,
                           timeColumn && col == 0 ? Workbook::Bold : Workbook::Plain);
                break;
            case TableCell::Number:
                sheet.Value(row, col, static_cast<float>(cell.value));
                break;
            case TableCell::DateTime:
                sheet.DateTime(row, col, cell.value);
                break;
            case TableCell::Empty:
                break;
            }
        }
        rows.Step();
    }
    sheet.Freeze(1, timeColumn ? 1 : 0);
    sheet.Filter(0, 0, row - 1, static_cast<uint16_t>(cols - 1));
    sheet.FitColumns();
    return row - 1;
}

void WriteRecording(Workbook& book, SheetNames& names, const LSession& recording) {
    Sheet sheet = book.AddSheet(names.Take("Recording"));
    uint32_t row = 0;
    for (const RecordingFact& fact : RecordingFacts(recording)) {
        sheet.Text(row, 0, LoadStr(fact.Label), Workbook::Bold);
        if (fact.Time)
            sheet.DateTime(row, 1, *fact.Time);
        else
            sheet.Text(row, 1, fact.Text);
        ++row;
    }
    sheet.FitColumns();
}

// The header in bold at row, then a row per table row; row ends below the last. Numbers
// keep their value (shares as percentages), times are date-time cells and days date cells, and
// the texts after a column's numbers go into a column of their own, as the CSV has them.
void WriteTextTable(Sheet& sheet, uint32_t& row, const TextTable& table,
                    RowCounter* rows = nullptr) {
    uint16_t col = 0;
    for (size_t c = 0; c < table.Columns.size(); ++c) {
        sheet.Text(row, col++, table.HeaderText(c), Workbook::Bold);
        if (!table.Columns[c].SuffixColumn.empty())
            sheet.Text(row, col++, table.Columns[c].SuffixColumn, Workbook::Bold);
    }
    ++row;
    for (const std::vector<TextCell>& cells : table.Rows) {
        col = 0;
        for (size_t c = 0; c < table.Columns.size(); ++c) {
            const TextColumn& column = table.Columns[c];
            const TextCell cell = c < cells.size() ? cells[c] : TextCell{};
            const bool number = cell.kind == TextCell::Number && std::isfinite(cell.value);
            if (cell.kind == TextCell::Text)
                sheet.Text(row, col, cell.text);
            else if (cell.kind == TextCell::Time)
                sheet.DateTime(row, col, cell.value);
            else if (cell.kind == TextCell::Day)
                sheet.DateTime(row, col, cell.value, Workbook::Date);
            else if (number && column.Unit == "%")
                sheet.Number(row, col, cell.value / 100, Workbook::Percent);
            else if (number)
                sheet.Number(row, col, cell.value,
                             cell.decimals == 0   ? Workbook::Whole
                             : cell.decimals == 3 ? Workbook::Ratio
                                                  : Workbook::Number);
            ++col;
            if (!column.SuffixColumn.empty()) {
                if (number && !cell.text.empty())
                    sheet.Text(row, col, cell.text);
                ++col;
            }
        }
        ++row;
        if (rows)
            rows->Step();
    }
}

uint16_t ColumnCount(const TextTable& table) {
    size_t count = table.Columns.size();
    for (const TextColumn& column : table.Columns)
        count += !column.SuffixColumn.empty();
    return static_cast<uint16_t>(count);
}

void WriteStatistics(Workbook& book, SheetNames& names, const LParameterCollection& parameters,
                     RowCounter& rows) {
    Sheet sheet = book.AddSheet(names.Take("Statistics"));
    const TextTable table = StatisticsTable(StatisticsOfRecording(parameters).Rows);
    uint32_t row = 0;
    WriteTextTable(sheet, row, table, &rows);
    sheet.Freeze(1, 1);
    sheet.Filter(0, 0, row - 1, static_cast<uint16_t>(ColumnCount(table) - 1));
    sheet.FitColumns();
}

// The battery table on top, its header frozen with the caps, and its notes below.
void WriteBattery(Workbook& book, SheetNames& names, const BatteryStudy& battery) {
    Sheet sheet = book.AddSheet(names.Take("Battery"));
    const TextTable table = BatteryTable(battery);
    uint32_t row = 0;
    WriteTextTable(sheet, row, table);
    sheet.Freeze(1, 1);
    sheet.Filter(0, 0, row - 1, static_cast<uint16_t>(ColumnCount(table) - 1));
    ++row;
    for (const std::string& note : BatteryNotes(battery))
        sheet.Line(row++, 0, note);
    sheet.FitColumns();
}

void WriteSurvey(Workbook& book, SheetNames& names, const LParameterCollection& parameters,
                 const SurveyOptions& options) {
    Sheet sheet = book.AddSheet(names.Take("Survey"));
    const SurveyResult survey = RunSurvey(parameters, options);
    uint32_t row = 0;
    const auto heading = [&](const std::string& text) {
        if (row > 0)
            ++row;
        sheet.Text(row++, 0, text, Workbook::Bold);
    };
    const auto line = [&](const std::string& label, const std::optional<double>& value,
                          const std::string& unit = {}, Workbook::Style style = Workbook::Number) {
        sheet.Text(row, 0, label);
        if (value)
            sheet.Number(row, 1, *value, style);
        sheet.Text(row++, 2, unit);
    };
    const auto timed = [&](const std::string& label, const std::optional<TimedValue>& value,
                           const std::string& unit) {
        sheet.Text(row, 0, label);
        if (value) {
            sheet.Number(row, 1, value->Value);
            sheet.DateTime(row, 3, value->Time);
        }
        sheet.Text(row++, 2, unit);
    };
    const auto lines = [&](const std::vector<std::string>& texts) {
        for (const std::string& text : texts)
            sheet.Line(row++, 0, text);
    };

    if (survey.Power) {
        const PowerSurvey& power = *survey.Power;
        const LoadStudy& load = power.Load;
        heading("Load study");
        sheet.Text(row, 0, "Power");
        sheet.Text(row++, 1, power.Source);
        sheet.Text(row, 0, "Valid");
        sheet.Text(row++, 1, load.Valid ? "Yes" : "No");
        for (const std::string& reason : load.Reasons)
            sheet.Line(row++, 1, reason);
        timed("Peak demand", load.Peak, "W");
        line("Design load (125 %)", load.DesignWatts, "W");
        for (const PhasePeak& phase : load.Phases)
            timed("Peak current " + phase.ChannelLabel, phase.Peak, "A");
        if (load.HighestPhase) {
            sheet.Text(row, 0, "Highest phase");
            sheet.Text(row++, 1, *load.HighestPhase);
        }
        line("Design current (125 %)", load.DesignAmps, "A");

        heading("Totals");
        line("Energy", power.Totals.EnergyWh, "WH");
        timed("Peak", power.Totals.Peak, "W");
        line("Base", power.Totals.BaseWatts, "W");
        line("Average", power.Totals.AverageWatts, "W");
        line("Load factor", power.Totals.LoadFactor, {}, Workbook::Ratio);
        line("Days", power.Totals.Days);

        const CostStudy* cost = power.Cost ? &*power.Cost : nullptr;
        heading("Energy per day");
        WriteTextTable(sheet, row, EnergyDayTable(power.Days, cost));

        heading("Cost");
        if (cost) {
            sheet.Text(row, 0, "Tariff");
            sheet.Text(row++, 1, cost->Tariff);
            sheet.Text(row, 0, "Currency");
            sheet.Text(row++, 1, cost->Currency);
            lines(cost->Reasons);
            WriteTextTable(sheet, row, CostTable(*cost));
        } else {
            // Why there is none, as the summary says it.
            for (const SummaryLine& text : CostLines(survey))
                sheet.Line(row++, 0, text.Label);
        }

        heading("Power factor");
        lines(PowerFactorNotes(power));
        if (power.PowerFactor.Blocks > 0)
            WriteTextTable(sheet, row, PowerFactorTable(power.PowerFactor, &power.Correction));
    } else {
        sheet.Line(row++, 0, NoPowerText);
    }

    heading("Voltage");
    if (const auto& voltage = survey.Voltage) {
        sheet.Text(row, 0, "Verdict");
        sheet.Text(row++, 1, VerdictText(voltage->Pass));
        sheet.Text(row, 0, "Valid");
        sheet.Text(row++, 1, voltage->Valid ? "Yes" : "No");
        lines(voltage->Reasons);
        WriteTextTable(sheet, row, VoltageTable(*voltage));
    } else {
        sheet.Line(row++, 0, NoVoltageText);
    }

    heading("Unbalance");
    lines(survey.Unbalance.Reasons);
    const TextTable unbalance = UnbalanceTable(survey.Unbalance);
    if (!unbalance.Rows.empty())
        WriteTextTable(sheet, row, unbalance);
    sheet.FitColumns();
    if (survey.Power && survey.Power->Battery)
        WriteBattery(book, names, *survey.Power->Battery);
}

void WriteChart(Workbook& book, SheetNames& names, const LChartRecord& chart, RowCounter& rows) {
    TableText text;
    text.SetGroup(&chart.Sources);
    text.SetType(ttHistoric);
    Sheet data = book.AddSheet(names.Take(chart.Caption));
    const uint32_t count = WriteTable(data, text, 0, text.DataRowCount() - 1, rows);
    const auto series = static_cast<uint16_t>(text.ColCount(RowFormat::Csv) - 1);
    // The Historic layout's one empty column when nothing is shown.
    if (series > 0 && text.Cell(1, 0).kind != TableCell::Empty)
        book.AddLineChart(names.Take(chart.Caption, " chart"), chart.Title, data, count, series);
}

ExportResult WriteWorkbookFile(const QString& fileName, QString& error,
                               const std::function<void(Workbook&)>& write) {
    try {
        // The writer makes the file by name: it writes the replacement's content, and its
        // own scratch files go beside the file.
        SafeFileReplace replace(QFile::encodeName(fileName).toStdString(), false);
        const std::filesystem::path folder =
            std::filesystem::path(replace.TargetName()).parent_path();
        Workbook book(replace.ContentName(), folder.empty() ? std::string(".") : folder.string());
        write(book);
        book.Close();
        replace.Commit();
        return ExportResult::Written;
    } catch (const Cancelled&) {
        error.clear();
        return ExportResult::Cancelled;
    } catch (const std::exception& e) {
        error = QString::fromStdString(e.what());
        return ExportResult::Failed;
    }
}

} // namespace

bool IsWorkbookFileName(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
}

ExportResult ExportTableWorkbook(const TableText& text, int32_t first, int32_t last,
                                 const std::string& caption, const QString& fileName,
                                 QString& error, const ExportProgress& progress) {
    return WriteWorkbookFile(fileName, error, [&](Workbook& book) {
        RowCounter rows(progress);
        SheetNames names;
        Sheet sheet = book.AddSheet(names.Take(caption));
        WriteTable(sheet, text, first, last, rows);
    });
}

ExportResult ExportDatabaseWorkbook(const LDatabase& db, const QString& fileName, QString& error,
                                    const ExportProgress& progress, const SurveyOptions& survey) {
    return WriteWorkbookFile(fileName, error, [&](Workbook& book) {
        RowCounter rows(progress);
        SheetNames names;
        // Taken first, so that a table or chart of one of these captions gets another name.
        for (const char* name : {"Recording", "Statistics", "Survey"})
            names.Take(name);
        if (survey.Battery)
            names.Take("Battery");
        SheetNames own;
        WriteRecording(book, own, db.Header());
        for (const auto& table : db.Tables()) {
            TableText text;
            text.SetGroup(&table->Sources);
            text.SetType(ChooseLayout(table->Sources).Type);
            Sheet sheet = book.AddSheet(names.Take(table->Caption));
            WriteTable(sheet, text, 0, text.DataRowCount() - 1, rows);
        }
        WriteStatistics(book, own, db.Parameters(), rows);
        WriteSurvey(book, own, db.Parameters(), survey);
        for (const auto& chart : db.Charts())
            WriteChart(book, names, *chart, rows);
    });
}

ExportResult ExportTextTableWorkbook(const TextTable& table, const std::string& sheetName,
                                     const QString& fileName, QString& error) {
    return ExportTextTablesWorkbook({{&table, sheetName}}, fileName, error);
}

ExportResult
ExportTextTablesWorkbook(const std::vector<std::pair<const TextTable*, std::string>>& sheets,
                         const QString& fileName, QString& error) {
    return WriteWorkbookFile(fileName, error, [&](Workbook& book) {
        for (const auto& [table, sheetName] : sheets) {
            Sheet sheet = book.AddSheet(sheetName);
            uint32_t row = 0;
            WriteTextTable(sheet, row, *table);
            sheet.Freeze(1, 1);
            sheet.Filter(0, 0, row - 1, static_cast<uint16_t>(ColumnCount(*table) - 1));
            sheet.FitColumns();
        }
    });
}
