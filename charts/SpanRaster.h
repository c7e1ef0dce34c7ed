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

// The columns [FirstColumn, FirstColumn + ColumnCount) of a view, stored column by column:
// the vertical runs are contiguous there, where in a row-major image each pixel of a run is a
// cache line of its own.
struct ColumnBuffer {
    uint32_t* Bits = nullptr;
    int FirstColumn = 0;
    int ColumnCount = 0;
    int Height = 0;
    uint32_t* Column(int c) const { return Bits + std::ptrdiff_t(c - FirstColumn) * Height; }
    int EndColumn() const { return FirstColumn + ColumnCount; }
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

// Draws the series into the buffer's band of the view's columns; [xMin, xMax] spans
// viewColumns columns. Threads and tiles each draw their own band. NaN breaks the line.
void RasterizeEnvelope(const ColumnBuffer& target, int viewColumns, const SeriesEnvelope& series,
                       double xMin, double xMax, Affine toPixelY, const SpanStyle& style);

struct SeriesJob {
    const SeriesEnvelope* Series;
    double XMin, XMax;
    Affine ToPixelY;
    SpanStyle Style;
};

// Draws every series, in order, into the image's columns [colBegin, colEnd), a band of
// tileColumns at a time, so that the band stays in the cache while every series passes over
// it. scratch holds tileColumns * height pixels.
void RenderSeries(std::span<const SeriesJob> jobs, const RasterTarget& image, uint32_t* scratch,
                  int colBegin, int colEnd, int tileColumns = DefaultTileColumns);

// The band into the same columns of the row-major image.
void CopyColumns(const ColumnBuffer& from, const RasterTarget& to);
