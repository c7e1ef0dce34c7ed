#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QIODevice;
class QPaintDevice;

// A drawing of size pixels, titled, written as SVG onto device: draw paints it on the
// generator it is given.
void WriteSvg(QIODevice& device, const QSize& size, const QString& title,
              const std::function<void(QPaintDevice&)>& draw);
// The same drawing as the bytes of an SVG file.
QByteArray SvgBytes(const QSize& size, const QString& title,
                    const std::function<void(QPaintDevice&)>& draw);
// Onto the clipboard in one go: the text, the SVG drawing and the image, each when given,
// so that every program takes the richest form it reads.
void CopyToClipboard(const QString& text, const QByteArray& svg, const QImage& image);
