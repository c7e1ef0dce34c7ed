#pragma once

#include <qcustomplot.h>

#include <QFont>
#include <QMargins>
#include <QSize>
#include <QString>

// A series' legend entry that keeps its size: the engine measures every entry's text at each
// layout, which is every redraw, hidden legend included (it is parked in the plot's layout).
class LegendEntry : public QCPPlottableLegendItem {
    Q_OBJECT
public:
    LegendEntry(QCPLegend* legend, QCPAbstractPlottable* series);

    QSize minimumOuterSizeHint() const override;

private:
    // What the size was measured for.
    struct Measured {
        QString Name;
        QFont Font;
        QSize Icon;
        int Padding = 0;
        QMargins Margins;
        bool operator==(const Measured&) const = default;
    };

    Measured Current() const;

    mutable Measured measured_;
    mutable QSize size_;
};
