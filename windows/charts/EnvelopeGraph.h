#pragma once

#include "charts/SeriesEnvelope.h"
#include "charts/SeriesSamples.h"

#include <qcustomplot.h>

#include <QByteArray>
#include <QImage>
#include <QPointer>

#include <optional>
#include <span>
#include <vector>

// A series of the chart, fed straight from the recording's arrays. The engine sees normalised
// values ((value - minimum) / range) and only what a pixel column of the current view can show
// at the painter's own width (so printing and SVG get their own), rebuilt when the view
// changes: for a line the per-pixel-column envelope; for points those of a column holding
// one or two, and the lowest and highest of a column holding more, taken from the values'
// summary. On a raster those extremes are drawn as copies of one picture of the mark, the
// others by the engine as it draws every point.
class EnvelopeGraph : public QCPGraph {
    Q_OBJECT
public:
    enum class Kind { Line, Points };

    EnvelopeGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, Kind kind);

    // The arrays (and the summary) are not copied and must outlive the graph; times ascending
    // for a line.
    void SetSource(const SampleSpan& samples, double minimum, double range);

    // Makes the engine's data match the range split into columns pixel columns (and, for
    // points, the value axis's range); touches only this graph, so graphs may be prepared on
    // different threads. True when rebuilt.
    bool Prepare(const QCPRange& range, int columns);
    // The key axis's columns in device pixels of the painter (screen and export scaling
    // included); logical pixels without one.
    int ColumnsFor(const QPainter* painter) const;

    // The index into the source arrays of an index into the engine's data (as a hit test
    // reports it); -1 when out of range.
    qint64 SourceIndex(int dataIndex) const;

    Kind SeriesKind() const { return kind_; }
    const ReducedSeries& Reduced() const { return reduced_; }
    const ReducedPoints& ReducedMarks() const { return points_; }
    const SeriesEnvelope* Envelope() const { return envelope_ ? &*envelope_ : nullptr; }
    double Minimum() const { return minimum_; }
    double Range() const { return range_; }

    // A line drawn by the span renderer has no engine data until a hit test needs it.
    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;

    // With a renderer (a layerable that rasterises the lines of the whole axis rect, while it
    // is visible), raster output of a line is left to it.
    void SetRenderer(QCPLayerable* renderer);

    // A line of at least BandSamplesPerColumn samples per pixel column drawn as the band of
    // each column's lowest to highest value, a tint of its pen, with the line of the columns'
    // means over it, broken at gaps; the renderer leaves such a line to the graph. For paper,
    // where a year's envelope would print as a solid block.
    void SetBand(bool on) { band_ = on; }
    bool Band() const { return band_; }
    static constexpr size_t BandSamplesPerColumn = 8;
    static constexpr double BandAlpha = 0.3;

protected:
    void draw(QCPPainter* painter) override;

private:
    // False, drawing nothing, where the line has too few samples for a band.
    bool DrawBand(QCPPainter* painter) const;
    double Normalised(float value) const;
    void PreparePoints(const QCPRange& range, int columns, const QCPRange& values);
    // The columns' extremes, each a copy of a picture of the mark drawn where the engine
    // draws it within a step of a pixel (the phase).
    void DrawMarks(QCPPainter* painter);
    // The pictures drawn before, while the mark's style is the same.
    void KeepMarkPictures(bool antialiased);
    const QImage& MarkPicture(bool antialiased, int phaseX, int phaseY);
    // From a picture's corner to the mark's centre, in device pixels.
    int MarkHalf() const;

    Kind kind_;
    std::optional<SeriesEnvelope> envelope_;
    double minimum_ = 0;
    double range_ = 1;
    ReducedSeries reduced_;
    ReducedPoints points_;
    // Points given out of time order, sorted, and the source index of each.
    std::vector<double> sortedTimes_;
    std::vector<float> sortedValues_;
    std::vector<uint32_t> pointOrder_;
    // The points of columns kept whole, which the engine draws on a raster, and the extremes
    // of the others (time, normalised value), drawn beside them.
    QSharedPointer<QCPGraphDataContainer> whole_;
    std::vector<QPointF> marks_;
    std::vector<QImage> markPictures_; // by phase, drawn when first needed
    QByteArray markKey_;               // what they are drawn of
    QCPRange preparedRange_, preparedValues_;
    int preparedColumns_ = -1;
    QPointer<QCPLayerable> renderer_;
    bool band_ = false;
};
