#pragma once

#include "model/NumberFormat.h"
#include "model/ParameterTable.h"
#include "texts/DateTimeText.h"

#include <QLocale>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class LParameterSource;
class LParameterSourceGroup;

// How the cells of a row are written. Tab: the window's texts, TAB between cells, as the
// clipboard takes them. Csv: for spreadsheets, comma-separated with fields quoted as RFC 4180
// asks, whatever the locale: numbers as plain decimals (the shortest text that reads back as
// the stored value), date-times as "YYYY-MM-DD hh:mm:ss", an empty field for a value that is
// no number, a header cell's two lines joined by a blank; the Event layout in four columns
// Parameter, Value, Unit, Time. Either way a row ends in CR LF.
enum class RowFormat { Tab, Csv };

// A cell as a spreadsheet stores it: a text, a number (the stored value), a date-time (the day
// count) or nothing.
struct TableCell {
    enum Kind : uint8_t { Empty, Text, Number, DateTime };
    Kind kind = Empty;
    double value = 0;
    std::string text;
};

// What an Event parameter's one value is, by its quantity code: "Maximum", "Minimum", "Peak"
// or "Demand".
const char* ExtremeName(uint8_t quantity);

// The layout a table window gives a group, from the kinds of its parameters: Historic when it
// has Historic parameters, Event for Event or Cumulative parameters, Cumulative when these
// have chained next sources, no layout when it has none of these kinds. A Historic table
// cannot show Event or Cumulative parameters; LeavesOut says the group has some.
struct TableLayout {
    LTableType Type;
    bool LeavesOut;
};
TableLayout ChooseLayout(const LParameterSourceGroup& group);

// The texts of a table's cells, computed from a source group whenever they are asked for:
// nothing is stored but the list of visible sources. Row 0 is the header; column 0 the time
// (Historic and Cumulative layouts); a value cell of a NaN sample (not taken: the gap between
// joined recordings) is empty. The grid paints these texts, and the clipboard copy, the export
// and vrotool write them; none of them needs a window or a font.
class TableText {
public:
    // The layout of a Type without one: every text empty, one cell.
    static constexpr LTableType NoLayout = 0xFF;

    explicit TableText(const QLocale& locale = QLocale());

    // Not owned; the counts stay until UpdateTable.
    void SetGroup(const LParameterSourceGroup* group);
    const LParameterSourceGroup* Group() const { return group_; }
    // Stores the layout and runs UpdateTable.
    void SetType(LTableType type);
    LTableType Type() const { return type_; }
    // Counts the visible sources and rows again; call after selected flags changed.
    void UpdateTable();

    int32_t RowCount() const { return rowCount_; }
    int32_t ColCount() const { return colCount_; }
    int32_t FixedRows() const { return fixedRows_; }
    int32_t FixedCols() const { return fixedCols_; }
    int32_t DataRowCount() const { return rowCount_ - fixedRows_; }

    // Both texts of a cell; empty where the cell has none.
    void GetCellText(int32_t col, int32_t row, QString& text, QString& secondLine) const;
    // The header cells, drawn bold.
    bool IsFixedCell(int32_t col, int32_t row) const;

    // Writes the row's text (each cell's main text and second line, the cells joined as the
    // format says, CR LF at the end) and a NUL after it into buffer, and returns its length
    // without the NUL. With a null buffer only the length is returned.
    size_t GetRowText(int32_t row, char* buffer, RowFormat format = RowFormat::Tab) const;
    std::string RowText(int32_t row, RowFormat format = RowFormat::Tab) const;
    // The columns of a row in the format: the grid's, but four for the Event layout in CSV.
    int32_t ColCount(RowFormat format) const;
    // A cell of the CSV layout (ColCount(RowFormat::Csv) columns) as its value: the header
    // row's texts with their two lines joined by a blank, numbers and date-times as they are
    // stored (a value that is not finite is no number), empty where the CSV field is.
    TableCell Cell(int32_t col, int32_t row) const;

    // "#,##0.00" with the locale's separators; "???" for a value that is not a number.
    std::string FormatValue(float value) const;
    // 0.01 formatted as a Time cell: a stand-in for the widest time text.
    QString TimeSampleText() const;
    const QLocale& Locale() const { return dateTimes_.Locale(); }

    // How many cells had their texts computed, for checking that only what is seen is.
    uint64_t CellsComputed() const { return cellsComputed_; }

private:
    class TextOut;
    void WriteCell(int32_t col, int32_t row, TextOut& text, TextOut& secondLine) const;
    void WriteHeader(const LParameterSource& source, TextOut& text, TextOut& secondLine) const;
    void WriteValue(const LParameterSource* source, int32_t i, TextOut& text) const;
    void WriteDateTime(TDateTime value, TextOut& text) const;
    void WriteCsvCell(int32_t col, int32_t row, std::string& field) const;
    size_t FormatValue(float value, char* out) const;
    const LParameterSource* Visible(int32_t k) const;
    void FindVisible();

    DateTimeFormatter dateTimes_;
    NumberFormat numbers_;
    const LParameterSourceGroup* group_ = nullptr;
    LTableType type_ = ttHistoric;
    std::vector<const LParameterSource*> visible_;
    const LParameterSource* timeSource_ = nullptr;
    bool visibleEvents_ = false; // among the visible sources
    int32_t rowCount_ = 1;
    int32_t colCount_ = 1;
    int32_t fixedRows_ = 0;
    int32_t fixedCols_ = 0;
    mutable uint64_t cellsComputed_ = 0;
};
