#pragma once

#include <cstdint>
#include <limits>

class QFont;
class QPaintDevice;
class QPainter;

// Columns First to Last, by position.
struct ColumnRange {
    int32_t First = 0;
    int32_t Last = std::numeric_limits<int32_t>::max();
};

// What the page layout printer prints in row pages: a header row (row 0) on top of every
// page, then data rows 1 to DataRowCount(), each drawn whole on any paint device. A table's
// printout (PrintedTable) is one; rows of plain texts (PrintedTexts) are another. Rows wider
// than the page may have strip columns, which the printer cuts into strips of the page's
// width; the other columns print on every page.
class PrintedRows {
public:
    virtual ~PrintedRows() = default;

    virtual int32_t DataRowCount() const = 0;
    virtual int32_t ColCount() const = 0;
    // The font the printer sets before drawing rows.
    virtual const QFont& Font() const = 0;
    // Before the rows are measured for pages: the device and the width they print in.
    virtual void FitWidth(const QPaintDevice& device, int width) {
        (void)device;
        (void)width;
    }
    // The height of a row on the device.
    virtual int GetRowHeight(const QPaintDevice& device, int32_t row) const = 0;
    // Draws the whole row with its top at y, cells from x to the right, in the rows' font and
    // the painter's pen and brush; advances y by the row's height.
    virtual void DrawRow(QPainter& painter, int32_t row, int x, int& y) const = 0;

    // The strip columns (none: First past Last), their widths on the device and the width of
    // the columns on every page.
    virtual ColumnRange StripColumns() const { return {0, -1}; }
    virtual int StripColumnWidth(const QPaintDevice& device, int32_t col) const {
        (void)device;
        (void)col;
        return 0;
    }
    virtual int FixedWidth(const QPaintDevice& device) const {
        (void)device;
        return 0;
    }
    // DrawRow showing of the strip columns only those of strip.
    virtual void DrawStrip(QPainter& painter, int32_t row, ColumnRange strip, int x, int& y) const {
        (void)strip;
        DrawRow(painter, row, x, y);
    }
};
