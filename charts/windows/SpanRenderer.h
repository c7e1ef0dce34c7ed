#pragma once

#include "charts/SpanRaster.h"

#include <qcustomplot.h>

#include <QImage>

#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

// Paints every line series of the axis rect in one pass on raster devices, straight from the
// recording's arrays (charts/SpanRaster), with the pixel columns split between threads: each
// thread draws every series into its own columns, so the series stay in their order without
// any compositing. Vector devices (printer, PDF, SVG) are left to the series' own drawing.
//
// A redraw may start the drawing early (Prepare), once the layout is known, so that it runs
// while the layers below are drawn; draw() takes that image only when everything it was
// drawn for (size, device scale, antialiasing, each series' view and style) is unchanged.
class SpanRenderer : public QCPLayerable {
    Q_OBJECT
public:
    SpanRenderer(QCPAxisRect* rect, QCPLayer* layer, int threads = 2);
    ~SpanRenderer() override;

    bool Handles(const QCPPainter* painter) const;

    // Starts drawing the series as they stand, for a device like the one of the last draw, on
    // threads of its own. Nothing the series read may change until Finish.
    void Prepare();
    // Waits for the drawing Prepare started.
    void Finish();

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    void draw(QCPPainter* painter) override;

private:
    // What one drawing of the series depends on.
    struct Frame {
        QSize Size;
        double Ratio = 1.0;          // device pixels per logical one
        std::vector<SeriesJob> Jobs; // antialiasing is in each job's style
        bool operator==(const Frame& other) const;
    };

    Frame FrameFor(double ratio, bool antialias) const;
    // Sizes the image and the tile buffers for frame (the caller's thread).
    RasterTarget TargetFor(const Frame& frame);
    void Render(const Frame& frame, const RasterTarget& target);
    // Draws the tiles no thread has taken yet, with the tile buffer scratch.
    void RenderTiles(const Frame& frame, const RasterTarget& target, size_t scratch);

    QCPAxisRect* rect_;
    int threads_;
    QImage image_;
    std::vector<std::vector<uint32_t>> scratch_; // one tile buffer per thread
    std::atomic<int> nextTile_ = 0;
    std::thread pending_;           // a drawing Prepare started
    std::optional<Frame> prepared_; // what image_ holds or will hold
    RasterTarget preparedTarget_;
    std::optional<std::pair<double, bool>> lastDevice_; // ratio and antialiasing drawn with
};
