#pragma once

#include <cstdint>

class QFont;
class QPaintDevice;
class QPainter;

// What the page layout printer prints in row pages: a header row (row 0) on top of every
// page, then data rows 1 to DataRowCount(), each drawn whole on any paint device. A table's
// printout (PrintedTable) is one; rows of plain texts (PrintedTexts) are another.
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
};
