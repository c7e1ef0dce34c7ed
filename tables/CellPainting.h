#pragma once

#include "tables/TableText.h"

#include <cstdint>

class QFontMetrics;
class QPainter;
class QRect;

// What a table's cells measure and how they are drawn, on any paint device: the screen's
// grid and the printer's pages draw the same way.

// n lines of table text: n times the height of "123456789.0" on the metrics' font.
int CalcRowHeight(const QFontMetrics& metrics, int lines);

// The sizes a layout gives its cells, measured on the grid's font. The header row and the
// first column take the default sizes where the layout sets none of their own. The Event
// layout's value column holds a value, its unit and its time ("1,234.50 WH (11/03/2024
// 09:30:00)"); in the other layouts ValueColWidth is the default width.
struct TableSizes {
    int DefaultRowHeight;
    int DefaultColWidth;
    int HeaderRowHeight;
    int FirstColWidth;
    int ValueColWidth;
};
TableSizes MeasureTable(const TableText& text, const QFontMetrics& metrics);
// The width the layout gives the column (the first, the Event value column or another).
int LayoutColWidth(const TableSizes& sizes, const TableText& text, int32_t col);

// A size of the grid on a device of another resolution: times the integer quotient of the
// resolutions (600 dpi over 96 scales by 6), but never by less than 1, so that a device
// coarser than the screen still gets cells it can draw in.
int ScaleToResolution(int size, int targetDpi, int gridDpi);

// Draws the cell's main text at the rectangle's left + 2, top + 2, clipped to it (filling the
// rectangle first when the painter has a brush), and its second line one text line below,
// in the painter's font and pen; bold for the header cells.
void DrawTableCell(QPainter& painter, const TableText& text, int32_t col, int32_t row,
                   const QRect& rect);
