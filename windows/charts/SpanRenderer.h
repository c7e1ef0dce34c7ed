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
//
// Into the plot's own layer buffer, when nothing else draws there, the image is not drawn:
// draw() keeps it, and the widget's paint puts it on the screen (Composite) instead of that
// buffer, so that the threads draw on while the layers above are drawn and the ones below are
// composited, and the image is copied once instead of twice. Whole-chart outputs (images,
// printers, files) are drawn into in place (SetInPlace).
class SpanRenderer : public QCPLayerable {
    Q_OBJECT
public:
    SpanRenderer(QCPAxisRect* rect, QCPLayer* layer, int threads = 2);
    ~SpanRenderer() override;

    bool Handles(const QCPPainter* painter) const;

    // Starts drawing the series as they stand, for a device like the one of the last draw, on
    // threads of its own. Nothing the series read may change until Finish.
    void Prepare();
    // Completes the drawing Prepare started, the caller's thread taking tiles too.
    void Finish();

    // While set, draw() paints into its painter: the painter is not one of the plot's buffers.
    void SetInPlace(bool inPlace) { inPlace_ = inPlace; }
    // Puts the series the last buffered draw kept onto the widget's painter; true when it
    // did, and the series layer's buffer then holds nothing.
    bool Composite(QPainter* painter);

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
    // Sizes image and the tile buffers for frame (the caller's thread).
    RasterTarget TargetFor(QImage& image, const Frame& frame);
    void Render(const Frame& frame, const RasterTarget& target);
    // Draws the tiles no thread has taken yet, with the tile buffer scratch.
    void RenderTiles(const Frame& frame, const RasterTarget& target, size_t scratch);
    // Whether nothing but this draws on its layer in a raster device.
    bool AloneOnLayer() const;
    // Stops the drawing Prepare started where it is.
    void Cancel();
    // image onto painter over the axis rect, on whole device pixels.
    void DrawImage(QPainter* painter, QImage& image, const QPointF& at) const;

    QCPAxisRect* rect_;
    int threads_;
    QImage image_;
    std::vector<std::vector<uint32_t>> scratch_; // one tile buffer per thread
    std::atomic<int> nextTile_ = 0;
    std::thread pending_;           // a drawing Prepare started
    std::optional<Frame> prepared_; // what image_ holds or will hold
    RasterTarget preparedTarget_;
    std::optional<std::pair<double, bool>> lastDevice_; // ratio and antialiasing drawn with
    bool inPlace_ = false;
    std::optional<QPointF> kept_; // where Composite puts image_: the last buffered draw's
};
