#include "figures/CapacityCharts.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// The headroom chart names what it plots (the headroom with a rating, the highest current
// without), and the nights' chart its loads and the need only when one is given.
TEST(CapacityChartsTest, TitlesAndLegendsFollowTheStudy) {
    CapacityStudy s;
    for (int32_t h = 0; h < 24; ++h) {
        s.Weekday.push_back({h, 40.0 + h, "I1", 60.0 - h});
        s.Weekend.push_back({h, 30.0 + h, "I2", 70.0 - h});
    }
    s.Nights.push_back({"EV charger", {{46000, 21000}, {46001, 18000}}, {}, {}, {}, {}});
    QImage image(800, 500, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    const QRectF area(0, 0, 800, 500);
    const ChartLook look;
    const auto texts = [](const ChartLayout& layout) { return layout.Texts.join('|'); };

    EXPECT_TRUE(texts(PaintHeadroomProfile(painter, area, s, look))
                    .contains("Headroom on the tightest phase (A)"));
    EXPECT_TRUE(texts(PaintNightEnergy(painter, area, s, 25000, look)).contains("Need per night"));
    const QString nights = texts(PaintNightEnergy(painter, area, s, std::nullopt, look));
    EXPECT_TRUE(nights.contains("EV charger") && !nights.contains("Need per night"))
        << nights.toStdString();

    for (auto* hours : {&s.Weekday, &s.Weekend})
        for (HeadroomHour& h : *hours)
            h.HeadroomAmps.reset();
    EXPECT_TRUE(
        texts(PaintHeadroomProfile(painter, area, s, look)).contains("Highest block current (A)"));
    s.Nights.clear();
    EXPECT_TRUE(
        texts(PaintNightEnergy(painter, area, s, std::nullopt, look)).contains("No managed load"));
}

} // namespace
