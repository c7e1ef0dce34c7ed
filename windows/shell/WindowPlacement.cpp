#include "windows/shell/WindowPlacement.h"

#include <algorithm>

namespace {

constexpr int Frame = 8;
constexpr int TitleBar = 32;

} // namespace

QSize LargestWindowOn(const QRect& available) {
    return {available.width() - 2 * Frame, available.height() - TitleBar - Frame};
}

QPoint WholeOnScreen(QPoint at, QSize size, const QRect& available) {
    const int right = available.x() + available.width() - Frame - size.width();
    const int bottom = available.y() + available.height() - Frame - size.height();
    return {std::max(available.x() + Frame, std::min(at.x(), right)),
            std::max(available.y() + TitleBar, std::min(at.y(), bottom))};
}
