#pragma once

#include "model/DateTime.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// An Excel workbook (.xlsx) being written, in the writer's constant-memory mode: each sheet
// keeps only the row being written, so its rows go in order, top to bottom, and a sheet's
// rows are all written before the next sheet starts. Nothing reaches the file before Close;
// destroyed without Close, it writes nothing. Every failure raises VroError with the writer's
// reason.
class Workbook {
public:
    // How a cell looks: bold (headers), a number "#,##0.00", a whole number "#,##0", a ratio
    // "0.000", a percentage "0.00%", a date-time "yyyy-mm-dd hh:mm:ss", a date "yyyy-mm-dd".
    enum Style { Plain, Bold, Number, Whole, Ratio, Percent, DateTime, Date, StyleCount };

    // A sheet of the workbook; it measures what is written to each column, so that FitColumns
    // makes every column as wide as its widest cell.
    class Sheet {
    public:
        void Text(uint32_t row, uint16_t col, const std::string& text, Style style = Plain);
        // A line of text that may run over the empty cells to its right: it leaves the
        // column's width alone.
        void Line(uint32_t row, uint16_t col, const std::string& text);
        // Nothing for a value that is not finite: the cell stays empty.
        void Number(uint32_t row, uint16_t col, double value, Style style = Workbook::Number);
        // A recorded value as the decimal its CSV text reads as (230.1, not 230.100006...).
        void Value(uint32_t row, uint16_t col, float value, Style style = Workbook::Number);
        // A day count since 1899-12-30 (the program's and the spreadsheet's), to the nearest
        // second; empty for a value that is not finite or not a date a spreadsheet shows.
        void DateTime(uint32_t row, uint16_t col, TDateTime value,
                      Style style = Workbook::DateTime);
        // The rows above row and the columns left of col stay in view.
        void Freeze(uint32_t row, uint16_t col);
        void Filter(uint32_t firstRow, uint16_t firstCol, uint32_t lastRow, uint16_t lastCol);
        void FitColumns();
        const std::string& Name() const { return name_; }

    private:
        friend class Workbook;
        Sheet(Workbook& book, lxw_worksheet* sheet, std::string name)
            : book_(&book), sheet_(sheet), name_(std::move(name)) {}
        void Measure(uint16_t col, double width);

        Workbook* book_;
        lxw_worksheet* sheet_;
        std::string name_;
        std::vector<double> widths_;
    };

    // The writer's temporary files go to tmpDir (empty: the system's).
    Workbook(const std::string& fileName, const std::string& tmpDir = {});
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // name must be a valid sheet name (SheetNames makes them).
    Sheet AddSheet(const std::string& name);
    // A sheet of its own (named name) holding a line chart of the series in columns 1 to
    // seriesCount of data against its column 0, rows 1 to rows (row 0 names them), with
    // date-times along the bottom axis.
    void AddLineChart(const std::string& name, const std::string& title, const Sheet& data,
                      uint32_t rows, uint16_t seriesCount);
    // Writes the file.
    void Close();

    // Raises unless error is 0 (no error).
    void Check(int error) const;

private:
    std::string fileName_;
    std::string tmpDir_;
    lxw_workbook* book_ = nullptr;
    lxw_format* styles_[StyleCount] = {};
};
