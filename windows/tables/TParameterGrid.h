#pragma once

#include "tables/CellPainting.h"
#include "tables/TableText.h"

#include <QTableView>

#include <cstddef>
#include <cstdint>
#include <string>

class LParameterSourceGroup;
class QPainter;

// The table of measured values. It stores no cell: the model computes a cell's texts from the
// source group when the view paints it, so that only the rows on screen cost anything. The
// layout's header row and time column are the view's own headers, which stay in place while
// the cells scroll; the top-left cell is the view's corner.
//
// Rows and columns below are the grid's: row 0 is the header row, column 0 the time column
// where the layout has one, and data row k is grid row k + FixedRows().
class TParameterGrid : public QTableView {
    Q_OBJECT

public:
    explicit TParameterGrid(QWidget* parent = nullptr);
    ~TParameterGrid() override;

    // Not owned. Call SetType (or UpdateTable) afterwards.
    void SetGroup(const LParameterSourceGroup* group);
    const LParameterSourceGroup* Group() const { return text_.Group(); }
    // Stores the layout and runs UpdateTable.
    void SetType(LTableType type);
    LTableType Type() const { return text_.Type(); }
    // Counts rows and columns again and sizes them on the grid's font; call after the
    // sources' selected flags changed.
    void UpdateTable();
    const TableText& Text() const { return text_; }

    int32_t RowCount() const { return text_.RowCount(); }
    int32_t ColCount() const { return text_.ColCount(); }
    int32_t FixedRows() const { return text_.FixedRows(); }
    int32_t FixedCols() const { return text_.FixedCols(); }
    int DefaultRowHeight() const { return sizes_.DefaultRowHeight; }
    int DefaultColWidth() const { return sizes_.DefaultColWidth; }
    int RowHeights(int32_t row) const;
    int ColWidths(int32_t col) const;
    // The extent of all rows and of all columns.
    int GridWidth() const;
    int GridHeight() const;

    int CalcRowHeight(QPainter& painter, int lines) const;
    void GetCellText(int32_t col, int32_t row, QString& text, QString& secondLine) const;
    // Draws one cell on any painter, with the painter's font and pen.
    void InternalDrawCell(QPainter& painter, int32_t col, int32_t row, const QRect& rect) const;
    // The grid's sizes on the painter's device (see ScaleToResolution).
    int GetRowHeight(QPainter& painter, int32_t row) const;
    int GetColWidth(QPainter& painter, int32_t col) const;
    // Draws the whole row with its top at y, cells from x to the right; advances y by the
    // row's height.
    void DrawRow(QPainter& painter, int32_t row, int x, int& y) const;
    // The row as the clipboard takes it (see TableText::GetRowText).
    size_t GetRowText(int32_t row, char* buffer) const { return text_.GetRowText(row, buffer); }
    std::string RowText(int32_t row) const { return text_.RowText(row); }

    // The data rows (from 0) that the selection spans; without a selection the current row.
    void SelectedRows(int32_t& top, int32_t& bottom) const;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Model;
    class Header;
    class Delegate;
    void ApplySizes();

    TableText text_;
    TableSizes sizes_{};
    Model* model_;
    Header* columns_;
    Header* rows_;
};
