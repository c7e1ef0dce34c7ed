#include "windows/charts/SidePicture.h"

#include "windows/charts/RasterPainter.h"

#include <QDataStream>

QImage SidePicture::Make(const QCPPainter& like, QRect band, double ratio,
                         const std::function<void(QCPPainter&)>& draw) const {
    QImage image(band.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    // Texts take their size from the device's resolution.
    image.setDotsPerMeterX(qRound(like.device()->logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(like.device()->logicalDpiY() / 0.0254));
    image.fill(Qt::transparent);
    QCPPainter painter(&image);
    painter.setRenderHints(like.renderHints());
    // The engine's painter shifts by half a pixel while antialiasing; so does this one.
    painter.setAntialiasing(like.antialiasing());
    painter.translate(-band.topLeft());
    draw(painter);
    return image;
}

void SidePicture::Draw(QCPPainter& painter, QSize size, int left, int right, const QByteArray& key,
                       const std::function<void(QCPPainter&)>& draw) {
    const double shift = painter.antialiasing() ? 0.5 : 0.0;
    if (!PaintsRaster(&painter) || painter.transform() != QTransform::fromTranslate(shift, shift) ||
        left < 0 || left > right || right > size.width()) {
        draw(painter);
        return;
    }
    const double ratio = painter.device()->devicePixelRatioF();
    QByteArray made;
    QDataStream out(&made, QIODevice::WriteOnly);
    out << key << size << left << right << ratio << painter.antialiasing()
        << static_cast<int>(painter.renderHints()) << painter.device()->logicalDpiX()
        << painter.device()->logicalDpiY();
    if (made != key_ || left_.isNull() || right_.isNull()) {
        left_ = Make(painter, QRect(0, 0, left, size.height()), ratio, draw);
        right_ = Make(painter, QRect(right, 0, size.width() - right, size.height()), ratio, draw);
        key_ = made;
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(0, 0), left_);
    painter.drawImage(QPointF(right, 0), right_);
    painter.restore();
}
