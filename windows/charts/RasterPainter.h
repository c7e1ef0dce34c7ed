#pragma once

#include <qcustomplot.h>

#include <QPaintEngine>

// Whether a painter draws pixels (a window, a bitmap) rather than vector output (printer, PDF,
// SVG): the lines of a chart are rasterised by the chart itself only for the former.
inline bool PaintsRaster(const QCPPainter* painter) {
    const QPaintEngine* engine = painter->paintEngine();
    return engine && engine->type() == QPaintEngine::Raster &&
           !painter->modes().testFlag(QCPPainter::pmVectorized);
}
