#include "tests/support/PictureColours.h"

#include <QImage>

#include <unordered_set>

int PictureColours(const QString& file, int atMost) {
    const QImage image = QImage(file).convertToFormat(QImage::Format_ARGB32);
    std::unordered_set<QRgb> seen;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seen.insert(line[x]);
            if (static_cast<int>(seen.size()) >= atMost)
                return atMost;
        }
    }
    return static_cast<int>(seen.size());
}
