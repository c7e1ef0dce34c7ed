#pragma once

#include "charts/SeriesEnvelope.h"

#include <cstddef>
#include <cstdint>
#include <span>

// Line series drawn straight from their arrays into a 32-bit image, one vertical run per pixel
// column: the run spans the column's lowest to highest sample and the lines joining it to its
// neighbours, which paints the pixels that drawing every segment would, single-sample spikes
// included, for one scan of the visible samples.

// A premultiplied ARGB image, row-major (as QImage keeps it).
struct RasterTarget {
    uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t Stride = 0; // in pixels
};

// pixel = Offset + Scale * value
struct Affine {
    double Offset = 0.0;
    double Scale = 1.0;
    double operator()(double v) const { return Offset + Scale * v; }
};

// 64 columns of a plot 1000 rows high are 256 kB: one core's L2 cache.
inline constexpr int DefaultTileColumns = 64;

struct SpanStyle {
    uint32_t Color = 0xff000000u; // premultiplied ARGB
    int Width = 1;                // pen width in device pixels
    bool Antialias = false;
};

struct SeriesJob {
    const SeriesEnvelope* Series;
    double XMin, XMax;
    Affine ToPixelY;
    SpanStyle Style;
};

// Draws every series, in order, into the image's columns [colBegin, colEnd), a band of
// tileColumns at a time, so that the band stays in the cache while every series passes over
// it. scratch holds tileColumns * height pixels. A NaN value breaks its line.
void RenderSeries(std::span<const SeriesJob> jobs, const RasterTarget& image, uint32_t* scratch,
                  int colBegin, int colEnd, int tileColumns = DefaultTileColumns);
