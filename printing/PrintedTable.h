#pragma once

#include "model/ParameterTable.h"
#include "printing/PrintedRows.h"
#include "tables/CellPainting.h"
#include "tables/TableText.h"

#include <QFont>
#include <QLocale>

#include <cstdint>
#include <vector>

class LParameterSourceGroup;
class QPainter;
class QPaintDevice;

// A table as the page layout printer draws it: the cells' texts computed again from the
// table's sources, in the grid's font and sizes, on any paint device, without a window. The
// grid hands over what the user made of it (the column widths); vrotool prints with the sizes
// the layout gives. The parameter columns of the Historic and Cumulative layouts are its strip
// columns; an Event table's two columns print whole on every page.
class PrintedTable : public PrintedRows {
public:
    // Sizes measured on the font at dpi, as the grid measures them on the screen.
    PrintedTable(LParameterSourceGroup& group, LTableType type, const QFont& font,
                 const QLocale& locale = QLocale(), int dpi = 96);

    // The widths the grid's columns have, by position from column 0; columns past the end
    // take the layout's width.
    void SetColWidths(std::vector<int> widths) { colWidths_ = std::move(widths); }

    LParameterSourceGroup& Group() const { return group_; }
    LTableType Type() const { return text_.Type(); }
    const QFont& Font() const override { return font_; }
    const TableText& Text() const { return text_; }
    int32_t RowCount() const { return text_.RowCount(); }
    int32_t ColCount() const override { return text_.ColCount(); }
    int32_t DataRowCount() const override { return text_.DataRowCount(); }
    // Counts the visible sources again.
    void UpdateTable() { text_.UpdateTable(); }

    // In the grid's pixels.
    int RowHeights(int32_t row) const;
    int ColWidths(int32_t col) const;
    // Scaled to the device's resolution (see ScaleToResolution).
    int GetRowHeight(const QPaintDevice& device, int32_t row) const override;
    int GetColWidth(const QPaintDevice& device, int32_t col) const;
    // Draws the whole row with its top at y, cells from x to the right, in the table's font
    // and the painter's pen and brush; advances y by the row's height.
    void DrawRow(QPainter& painter, int32_t row, int x, int& y) const override;

    ColumnRange StripColumns() const override;
    int StripColumnWidth(const QPaintDevice& device, int32_t col) const override {
        return GetColWidth(device, col);
    }
    int FixedWidth(const QPaintDevice& device) const override;
    void DrawStrip(QPainter& painter, int32_t row, ColumnRange strip, int x, int& y) const override;

private:
    LParameterSourceGroup& group_;
    TableText text_;
    QFont font_;
    int dpi_;
    TableSizes sizes_;
    std::vector<int> colWidths_;
};
