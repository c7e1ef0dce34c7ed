#pragma once

#include "charts/SeriesEnvelope.h"
#include "charts/SeriesSamples.h"

#include <qcustomplot.h>

#include <QPointer>

#include <optional>
#include <span>
#include <vector>

// A series of the chart, fed straight from the recording's arrays. The engine sees normalised
// values ((value - minimum) / range) and, for a line, only the per-pixel-column envelope of
// the current time range at the painter's own width (so printing and SVG get one of their
// own); it is rebuilt when either changes. A point series hands the engine its points once.
class EnvelopeGraph : public QCPGraph {
    Q_OBJECT
public:
    enum class Kind { Line, Points };

    EnvelopeGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, Kind kind);

    // The arrays (and the summary) are not copied and must outlive the graph; times ascending
    // for a line.
    void SetSource(const SampleSpan& samples, double minimum, double range);

    // Makes the engine's data match the range split into columns pixel columns; touches only
    // this graph, so graphs may be prepared on different threads. True when rebuilt.
    bool Prepare(const QCPRange& range, int columns);
    // The key axis's columns in device pixels of the painter (screen and export scaling
    // included); logical pixels without one.
    int ColumnsFor(const QPainter* painter) const;

    // The index into the source arrays of an index into the engine's data (as a hit test
    // reports it); -1 when out of range.
    qint64 SourceIndex(int dataIndex) const;

    Kind SeriesKind() const { return kind_; }
    const ReducedSeries& Reduced() const { return reduced_; }
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

    Kind kind_;
    std::optional<SeriesEnvelope> envelope_;
    std::span<const float> values_;
    double minimum_ = 0;
    double range_ = 1;
    ReducedSeries reduced_;
    // For points given out of time order: the source index of each engine point.
    std::vector<uint32_t> pointOrder_;
    QCPRange preparedRange_;
    int preparedColumns_ = -1;
    QPointer<QCPLayerable> renderer_;
    bool band_ = false;
};
