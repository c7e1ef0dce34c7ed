#pragma once

#include "analysis/SurveyText.h"
#include "printing/PrintedRows.h"

#include <QFont>
#include <QString>

#include <vector>

// The survey's summary lines as rows in a proportional font: a heading (a line of its own at
// the left) in bold, a note across the width, a figure's label at its indent in the first
// column and its value in the second, so that no figure has to be read off a fixed-width
// column ("3Ø" never looks like "30"). A note or value longer than a page is wide goes on over
// the rows after it, so that every row is one line high. The page layout printer prints them
// in row pages, row 0 being the caption (none: no height); the Survey window paints the same
// rows on screen.
class SummaryRows : public PrintedRows {
public:
    static constexpr double MinimumPointSize = 5;

    SummaryRows(const std::vector<SummaryLine>& lines, const QFont& font);

    void SetCaption(const QString& caption) { caption_ = caption; }

    int32_t DataRowCount() const override { return static_cast<int32_t>(rows_.size()); }
    int32_t ColCount() const override { return 2; }
    const QFont& Font() const override { return font_; }
    // Measures the columns on the device, in a font made smaller if the rows are wider than
    // width.
    void FitWidth(const QPaintDevice& device, int width) override;
    int GetRowHeight(const QPaintDevice& device, int32_t row) const override;
    void DrawRow(QPainter& painter, int32_t row, int x, int& y) const override;

    // The data rows (from 1) in runs of at most most rows, each ending at an empty row (left
    // out) or where it has most: paragraphs to flow onto pages, a run that goes on from the
    // one before without an empty row between marked so.
    struct Run {
        int32_t First = 1, Last = 0;
        bool Continues = false;
    };
    std::vector<Run> Runs(int32_t most) const;

    // On the device as last measured: the widest row, and the left of the values.
    int Width() const { return width_; }
    int ValueLeft() const { return valueLeft_; }

private:
    struct Row {
        int Indent = 0;
        QString Label, Value;
        bool Heading = false;
        bool Figure = false;
    };
    void Measure(const QPaintDevice& device);

    std::vector<Row> rows_;
    QString caption_;
    QFont font_;
    int indentWidth_ = 0, valueLeft_ = 0, width_ = 0;
};
