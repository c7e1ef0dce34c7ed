#pragma once

#include <qcustomplot.h>

#include <QImage>

#include <cstdint>
#include <vector>

// Paints every line series of the axis rect in one pass on raster devices, straight from the
// recording's arrays (charts/SpanRaster), with the pixel columns split between threads: each
// thread draws every series into its own columns, so the series stay in their order without
// any compositing. Vector devices (printer, PDF, SVG) are left to the series' own drawing.
class SpanRenderer : public QCPLayerable {
    Q_OBJECT
public:
    SpanRenderer(QCPAxisRect* rect, QCPLayer* layer, int threads = 2);

    bool Handles(const QCPPainter* painter) const;

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    void draw(QCPPainter* painter) override;

private:
    QCPAxisRect* rect_;
    int threads_;
    QImage image_;
    std::vector<std::vector<uint32_t>> scratch_; // one tile buffer per thread
};
