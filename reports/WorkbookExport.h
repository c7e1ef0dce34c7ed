#pragma once

#include "analysis/Survey.h"
#include "tables/TableExport.h"
#include "tables/TableText.h"

#include <QString>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class LDatabase;
struct TextTable;

// Excel workbooks (.xlsx) of a table or of a whole database. Cells hold what the table's CSV
// export writes, typed: date-times as date cells ("yyyy-mm-dd hh:mm:ss"), values as numbers
// ("#,##0.00"), an empty cell for a value that is not a number. A table's sheet has its
// layout (Historic: the time and a column per parameter; Event: Parameter, Value, Unit, Time;
// Cumulative: the interval start, a Total row, then a row per interval), its header row bold
// and frozen with the time column, an autofilter over it all and columns as wide as their
// cells. Files are written as ExportTable writes them: into a temporary file beside the file,
// which replaces it only when complete, so that a cancelled or failed export leaves no file
// and a file it was to replace unchanged; the progress counts the rows written over all
// sheets.

// For a name ending in ".xlsx" (any case).
bool IsWorkbookFileName(const QString& fileName);

// A workbook of one sheet, the table's data rows first to last (from 0, both included), the
// sheet named after the caption.
ExportResult ExportTableWorkbook(const TableText& text, int32_t first, int32_t last,
                                 const std::string& caption, const QString& fileName,
                                 QString& error, const ExportProgress& progress = {});

// The workbook of a database, its sheets in this order: "Recording" (the recording
// information, a label and a value a row), a sheet per table named after its caption,
// "Statistics" (every parameter over the whole recording, the columns of the Statistics
// window with the integral's unit apart), "Survey" (with the survey's options: the load study
// and totals, energy per day, the cost (without a tariff, a line why), the power factor and
// the unbalance, each with its reasons; without power, one line why, then the unbalance),
// "Battery" when the survey's options ask for the battery study (its table, then its notes), and
// for every chart a sheet of its data named after it (the time and its visible Historic
// parameters) followed by a sheet "CAPTION chart" of a line chart over them.
ExportResult ExportDatabaseWorkbook(const LDatabase& db, const QString& fileName, QString& error,
                                    const ExportProgress& progress = {},
                                    const SurveyOptions& survey = {});

// A text table of the Survey or Statistics window as a workbook of one sheet of that name: its
// header bold and frozen with the first column, an autofilter over it all; numbers as numbers
// (shares as percentages, whole counts and ratios in their formats), times as date-time cells,
// days as date cells, texts as texts, the texts after a column's numbers (units, notes) in a
// column of their own.
ExportResult ExportTextTableWorkbook(const TextTable& table, const std::string& sheetName,
                                     const QString& fileName, QString& error);
// Several text tables as a workbook of a sheet each, in order, each laid out as above.
ExportResult
ExportTextTablesWorkbook(const std::vector<std::pair<const TextTable*, std::string>>& sheets,
                         const QString& fileName, QString& error);
