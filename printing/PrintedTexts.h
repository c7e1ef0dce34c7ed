#pragma once

#include "analysis/TextTable.h"
#include "printing/PrintedRows.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// Rows of plain texts as the page layout printer prints them: the first row is the header, in
// bold, and every column is as wide as its widest text. Rows too wide for the page print in a
// smaller font, down to MinimumPointSize or the size set; a column may be aligned to the right
// (numbers). A caption (what the rows cover) may stand on a line of its own above the header, on
// every page.
class PrintedTexts : public PrintedRows {
public:
    static constexpr double MinimumPointSize = 5;

    PrintedTexts(std::vector<QStringList> rows, const QFont& font,
                 std::vector<bool> alignRight = {});
    // A text table as a person reads it in the style, its figures aligned to the right.
    PrintedTexts(const TextTable& table, const TextStyle& style, const QFont& font);

    void SetCaption(const QString& caption) { caption_ = caption; }
    // The smallest the font is made to fit the width (MinimumPointSize unless set).
    void SetSmallestPointSize(double points) { smallest_ = points; }
    const QString& Caption() const { return caption_; }

    int32_t DataRowCount() const override { return static_cast<int32_t>(rows_.size()) - 1; }
    int32_t ColCount() const override { return columns_; }
    const QFont& Font() const override { return font_; }
    // Measures the columns on the device, in a font made smaller if the rows are wider than
    // width.
    void FitWidth(const QPaintDevice& device, int width) override;
    int GetRowHeight(const QPaintDevice& device, int32_t row) const override;
    void DrawRow(QPainter& painter, int32_t row, int x, int& y) const override;

    // The widths of the columns on the device last measured, and of all of them together.
    const std::vector<int>& ColWidths() const { return widths_; }
    int RowWidth() const;

private:
    std::vector<int> Measure(const QPaintDevice& device) const;
    QFont CellFont(int32_t row) const;

    std::vector<QStringList> rows_;
    QString caption_;
    QFont font_;
    std::vector<bool> alignRight_;
    int32_t columns_ = 0;
    std::vector<int> widths_;
    double smallest_ = MinimumPointSize;
};
