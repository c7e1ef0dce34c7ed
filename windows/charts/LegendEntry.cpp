#include "windows/charts/LegendEntry.h"

LegendEntry::LegendEntry(QCPLegend* legend, QCPAbstractPlottable* series)
    : QCPPlottableLegendItem(legend, series) {}

LegendEntry::Measured LegendEntry::Current() const {
    return {mPlottable ? mPlottable->name() : QString(), getFont(), mParentLegend->iconSize(),
            mParentLegend->iconTextPadding(), mMargins};
}

QSize LegendEntry::minimumOuterSizeHint() const {
    Measured now = Current();
    if (size_.isValid() && now == measured_)
        return size_;
    size_ = QCPPlottableLegendItem::minimumOuterSizeHint();
    measured_ = std::move(now);
    return size_;
}
