#include "reports/WorkbookExport.h"

#include "analysis/RangeStatistics.h"
#include "analysis/StatisticsText.h"
#include "analysis/Survey.h"
#include "analysis/SurveyTables.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "reports/SheetNames.h"
#include "reports/Workbook.h"
#include "resources/StringTable.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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
    const int labels[] = {StrUserId, StrLocation, StrComments, StrStart,    StrEnd,
                          StrPhase,  StrMode,     StrRate,     StrInterval, StrCT};
    const std::string texts[] = {recording.UserID,
                                 recording.Location,
                                 recording.Comments,
                                 {},
                                 {},
                                 recording.PhaseConfigName(),
                                 recording.ModeName(),
                                 recording.RateText(),
                                 recording.IntervalName(),
                                 recording.CTName()};
    for (uint32_t row = 0; row < std::size(labels); ++row) {
        sheet.Text(row, 0, LoadStr(labels[row]), Workbook::Bold);
        if (labels[row] == StrStart || labels[row] == StrEnd)
            sheet.DateTime(row, 1,
                           labels[row] == StrStart ? recording.StartTime : recording.EndTime);
        else
            sheet.Text(row, 1, texts[row]);
    }
    sheet.FitColumns();
}

void WriteStatistics(Workbook& book, SheetNames& names, const LParameterCollection& parameters,
                     RowCounter& rows) {
    Sheet sheet = book.AddSheet(names.Take("Statistics"));
    std::vector<std::string> header = StatisticsHeader();
    header.insert(header.begin() + 12, "Integral unit");
    for (uint16_t col = 0; col < header.size(); ++col)
        sheet.Text(0, col, header[col], Workbook::Bold);
    const RangeStatistics stats = StatisticsOfRecording(parameters);
    uint32_t row = 1;
    for (const SourceStatistics& s : stats.Rows) {
        const auto figure = [&](uint16_t col, const std::optional<double>& value,
                                Workbook::Style style = Workbook::Number) {
            if (value)
                sheet.Number(row, col, *value, style);
        };
        if (const LParameter* p = s.Parameter) {
            sheet.Text(row, 0, p->Name());
            sheet.Text(row, 1, p->ChannelLabel());
            sheet.Text(row, 2, p->ShortUnit());
        }
        sheet.Number(row, 3, static_cast<double>(s.Count), Workbook::Whole);
        figure(4, s.Coverage, Workbook::Percent);
        figure(5, s.Minimum);
        if (s.Minimum)
            sheet.DateTime(row, 6, s.MinimumTime);
        figure(7, s.Maximum);
        if (s.Maximum)
            sheet.DateTime(row, 8, s.MaximumTime);
        figure(9, s.Mean);
        figure(10, s.StdDev);
        figure(11, s.Integral);
        if (s.Integral)
            sheet.Text(row, 12, s.IntegralUnit);
        figure(13, s.LoadFactor, Workbook::Ratio);
        ++row;
        rows.Step();
    }
    sheet.Freeze(1, 1);
    sheet.Filter(0, 0, row - 1, static_cast<uint16_t>(header.size() - 1));
    sheet.FitColumns();
}

// The header in bold at row, then a row per day; row ends below the last.
void WriteEnergyDays(Sheet& sheet, uint32_t& row, const std::vector<EnergyDay>& days) {
    const std::vector<std::string> header = EnergyDayHeader();
    for (uint16_t col = 0; col < header.size(); ++col)
        sheet.Text(row, col, header[col], Workbook::Bold);
    ++row;
    for (const EnergyDay& day : days) {
        sheet.DateTime(row, 0, day.Date, Workbook::Date);
        sheet.Number(row, 1, day.EnergyWh);
        if (day.Peak) {
            sheet.Number(row, 2, day.Peak->Value);
            sheet.DateTime(row, 3, day.Peak->Time);
        }
        if (day.BaseWatts)
            sheet.Number(row, 4, *day.BaseWatts);
        sheet.Number(row++, 5, day.Coverage, Workbook::Percent);
    }
}

// The Survey window's voltage columns, a row per channel, the header in bold.
void WriteVoltage(Sheet& sheet, uint32_t& row, const VoltageVariation& voltage) {
    const std::vector<std::string> header = VoltageHeader();
    for (uint16_t col = 0; col < header.size(); ++col)
        sheet.Text(row, col, header[col], Workbook::Bold);
    ++row;
    const auto timed = [&](uint16_t col, const std::optional<TimedValue>& value) {
        if (value) {
            sheet.Number(row, col, value->Value);
            sheet.DateTime(row, col + 1, value->Time);
        }
    };
    for (const VoltageChannel& channel : voltage.Channels) {
        sheet.Text(row, 0, channel.ChannelLabel);
        if (channel.NominalVolts)
            sheet.Number(row, 1, *channel.NominalVolts, Workbook::Whole);
        sheet.Number(row, 2, channel.Blocks.Complete, Workbook::Whole);
        if (channel.Within10)
            sheet.Number(row, 3, *channel.Within10, Workbook::Percent);
        if (channel.Within10To15)
            sheet.Number(row, 4, *channel.Within10To15, Workbook::Percent);
        timed(5, channel.Maximum);
        timed(7, channel.Minimum);
        if (channel.Within10)
            sheet.Text(row, 9, channel.Pass ? "pass" : "fail");
        ++row;
    }
}

void WriteSurvey(Workbook& book, SheetNames& names, const LParameterCollection& parameters) {
    Sheet sheet = book.AddSheet(names.Take("Survey"));
    const SurveyResult survey = RunSurvey(parameters, SurveyOptions());
    if (!survey.Power) {
        sheet.Line(0, 0, NoPowerText);
        return;
    }
    const PowerSurvey& power = *survey.Power;
    const LoadStudy& load = power.Load;
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

    heading("Energy per day");
    WriteEnergyDays(sheet, row, power.Days);
    sheet.FitColumns();
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

// A file made only for this process, beside fileName, with the mode a new file gets.
std::string TemporaryBeside(const std::string& fileName) {
    std::string name = fileName + ".XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0)
        Raise(std::strerror(errno));
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    return name;
}

ExportResult WriteWorkbookFile(const QString& fileName, QString& error,
                               const std::function<void(Workbook&)>& write) {
    const std::string target = QFile::encodeName(fileName).toStdString();
    std::string temporary;
    try {
        temporary = TemporaryBeside(target);
        const std::filesystem::path folder = std::filesystem::path(target).parent_path();
        Workbook book(temporary, folder.empty() ? std::string(".") : folder.string());
        write(book);
        book.Close();
        std::filesystem::rename(temporary, target);
        return ExportResult::Written;
    } catch (const Cancelled&) {
        error.clear();
        std::remove(temporary.c_str());
        return ExportResult::Cancelled;
    } catch (const std::exception& e) {
        error = QString::fromStdString(e.what());
        if (!temporary.empty())
            std::remove(temporary.c_str());
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
                                    const ExportProgress& progress) {
    return WriteWorkbookFile(fileName, error, [&](Workbook& book) {
        RowCounter rows(progress);
        SheetNames names;
        // Taken first, so that a table or chart of one of these captions gets another name.
        for (const char* name : {"Recording", "Statistics", "Survey"})
            names.Take(name);
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
        WriteSurvey(book, own, db.Parameters());
        for (const auto& chart : db.Charts())
            WriteChart(book, names, *chart, rows);
    });
}

ExportResult ExportEnergyDaysWorkbook(const std::vector<EnergyDay>& days, const QString& fileName,
                                      QString& error) {
    return WriteWorkbookFile(fileName, error, [&](Workbook& book) {
        Sheet sheet = book.AddSheet("Energy per day");
        uint32_t row = 0;
        WriteEnergyDays(sheet, row, days);
        sheet.Freeze(1, 1);
        sheet.Filter(0, 0, row - 1, static_cast<uint16_t>(EnergyDayHeader().size() - 1));
        sheet.FitColumns();
    });
}

ExportResult ExportVoltageWorkbook(const VoltageVariation& voltage, const QString& fileName,
                                   QString& error) {
    return WriteWorkbookFile(fileName, error, [&](Workbook& book) {
        Sheet sheet = book.AddSheet("Voltage");
        uint32_t row = 0;
        WriteVoltage(sheet, row, voltage);
        sheet.Freeze(1, 1);
        sheet.FitColumns();
    });
}
