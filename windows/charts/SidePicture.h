#pragma once

#include <qcustomplot.h>

#include <QByteArray>
#include <QImage>

#include <functional>

// A drawing kept as pictures of the two side bands of the device it draws in, [0, left) and
// [right, width), for as long as its key (everything it is drawn from) stays the same: the
// unit scales, whose texts cost more than anything else of a redraw's scales and change far
// less often than the time axis. Only a raster painter drawing unscaled uses the pictures;
// any other painter, and bands that meet, get the drawing itself.
class SidePicture {
public:
    void Draw(QCPPainter& painter, QSize size, int left, int right, const QByteArray& key,
              const std::function<void(QCPPainter&)>& draw);

private:
    QImage Make(const QCPPainter& like, QRect band, double ratio,
                const std::function<void(QCPPainter&)>& draw) const;

    QByteArray key_;
    QImage left_, right_;
};
