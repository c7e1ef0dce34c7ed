#pragma once

#include "analysis/TextStyle.h"
#include "model/DateTime.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A cell of a text table as what it holds, not as a text: a person reads it in the style's
// numbers and times, a spreadsheet gets it plain.
struct TextCell {
    enum Kind : uint8_t { Empty, Text, Number, Time, Day };
    Kind kind = Empty;
    double value = 0; // the number, the date-time, or a day's midnight
    int decimals = 2;
    // A Text's text; after a Number, its own unit ("WH"), where the column's differs by row.
    std::string text;

    static TextCell Of(std::string text);
    static TextCell Of(double number, int decimals = 2, std::string unit = {});
    static TextCell At(TDateTime time);
    // A calendar day, "2024-03-11" for everyone.
    static TextCell OfDay(TDateTime midnight);
};

struct TextColumn {
    std::string Title;
    // The column's unit. Shown after every number of it ("99.98 %") when InCells, else in the
    // header ("Energy (WH)"); a spreadsheet gets it in the header either way.
    std::string Unit;
    bool InCells = false;
    // Figures, aligned to the right.
    bool Right = false;
    // When set, each number carries a text of its own (its unit, or a note) shown after it; a
    // spreadsheet gets those texts in a column of their own after this one, of this title.
    std::string SuffixColumn;
    // A person reads the figures in the unit NumberFormat::Scaled gives the column's largest
    // ("Energy (kWh)"), or each figure with a unit of its own in its scaled unit; files and the
    // workbook keep the base unit.
    bool Scaled = false;
    // The figures are in the unit their row names in the table's UnitColumn; a person reads
    // them, and that unit, scaled by the row's largest of them.
    bool InRowUnit = false;

    // A column of texts or times; of figures with their unit in the header; of figures of a
    // power or energy, scaled for a person; of shares in %.
    static TextColumn Texts(std::string title);
    static TextColumn Figures(std::string title, std::string unit = {});
    static TextColumn ScaledFigures(std::string title, std::string unit);
    static TextColumn Shares(std::string title);
};

// A header row and rows of cells: what the analyses' grids, pictures, printouts, copies and
// files show. Texts for a person come in the style's numbers and times, Missing for a cell that
// holds nothing; CSV is the same whatever the locale: numbers with a point and no grouping at
// their decimals (shares in %, as shown), date-times "YYYY-MM-DD hh:mm:ss", an empty field where
// there is no number, and the texts after a column's numbers in a column of their own.
struct TextTable {
    std::vector<TextColumn> Columns;
    std::vector<std::vector<TextCell>> Rows;
    // What a person reads in a cell that holds nothing.
    std::string Missing = "-";
    // The column whose texts name each row's unit ("W", "VAR"), for the InRowUnit columns.
    std::optional<size_t> UnitColumn;

    // The header with the column's base unit, as files and the workbook take it; as a person
    // reads it, with the unit scaled.
    std::string HeaderText(size_t column) const;
    std::string ShownHeaderText(size_t column) const;
    // The unit a person reads the column's figures in, and what they are divided by.
    ScaledUnit ColumnScale(size_t column) const;
    // The unit a person reads a row's InRowUnit figures in.
    ScaledUnit RowScale(size_t row) const;
    std::string CellText(size_t row, size_t column, const TextStyle& style) const;
    // Every row as a person reads it, the header first.
    std::vector<std::vector<std::string>> Texts(const TextStyle& style) const;
    // The header and every row as the clipboard takes them (TAB) or as CSV.
    std::string Text(const TextStyle& style, CellFormat format) const;
    std::string Csv() const;
    // The table of only these columns, in this order.
    TextTable Only(const std::vector<size_t>& columns) const;
    // The columns before the first figure column: what names a row.
    size_t LeadingColumns() const;
    // As a person reads it on a terminal: the columns padded with blanks to their widest
    // text, figures to the right, two blanks between; lines ending in "\n".
    std::string AlignedText(const TextStyle& style) const;
};

// Columns of these widths, leading of them naming the rows, in groups that each fit width
// with gap between two columns: the leading columns begin every group, the others follow in
// order, a group taking as many as fit (one at least). How a table too wide for a page prints,
// one group below the other rather than in type too small to read.
std::vector<std::vector<size_t>> ColumnGroups(const std::vector<double>& widths, size_t leading,
                                              double width, double gap = 0);
