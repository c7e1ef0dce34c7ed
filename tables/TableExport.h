#pragma once

#include "tables/TableText.h"

#include <QString>

#include <cstdint>
#include <functional>

class QIODevice;

// The text of a table for other programs: the header row, then the data rows first to last
// (from 0, both included), exactly as the clipboard copy has them or as CSV.

// CSV for a name ending in ".csv" (any case), TAB-separated for any other.
RowFormat FormatForFileName(const QString& fileName);

// Called after every 400 rows with the number of rows written so far; false stops.
using ExportProgress = std::function<bool(int32_t rowsDone)>;

// Writes to an open device. False when the progress stopped it or a write failed.
bool WriteTableText(const TableText& text, int32_t first, int32_t last, RowFormat format,
                    QIODevice& device, const ExportProgress& progress = {});

enum class ExportResult { Written, Cancelled, Failed };

// Writes a file: into a temporary file beside it that replaces it only at the end, so that a
// cancelled or failed export leaves no partial file and a file it was to replace unchanged.
// A failure's reason goes to error.
ExportResult ExportTable(const TableText& text, int32_t first, int32_t last,
                         const QString& fileName, RowFormat format, QString& error,
                         const ExportProgress& progress = {});
