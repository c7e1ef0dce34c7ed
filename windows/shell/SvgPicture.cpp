#include "windows/shell/SvgPicture.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QRect>
#include <QSvgGenerator>

void WriteSvg(QIODevice& device, const QSize& size, const QString& title,
              const std::function<void(QPaintDevice&)>& draw) {
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(title);
    draw(generator);
}

QByteArray SvgBytes(const QSize& size, const QString& title,
                    const std::function<void(QPaintDevice&)>& draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteSvg(buffer, size, title, draw);
    return bytes;
}

void CopyToClipboard(const QString& text, const QByteArray& svg, const QImage& image) {
    auto* mime = new QMimeData;
    if (!text.isNull())
        mime->setText(text);
    if (!svg.isEmpty())
        mime->setData(QStringLiteral("image/svg+xml"), svg);
    if (!image.isNull())
        mime->setImageData(image);
    QApplication::clipboard()->setMimeData(mime);
}
