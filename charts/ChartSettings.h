#pragma once

#include "database/LChartRecord.h"

#include <string>
#include <vector>

// Everything of a chart record that the property editor can change and the database file
// stores: compared before and after an edit, it tells whether the database was modified.
struct ChartSettings {
    std::string Title;
    LFont TitleFont;
    uint8_t TitleAlignment = 0;
    std::string BottomAxisTitle;
    LFont BottomAxisTitleFont;
    uint8_t XAxisLabelsTimeDate = 0;
    LFont BottomAxisLabelFont;
    LFont LeftAxisLabelFont;
    bool ShowStartEnd = false;
    bool ShowLocation = false;
    LFont FooterFont;
    uint8_t FooterAlignment = 0;
    uint32_t AxisColor = 0;
    uint32_t BackgroundColor = 0;
    bool BottomAxisGrid = false;
    uint32_t GridColor = 0;
    bool LegendVisible = false;
    LFont LegendFont;
    uint32_t LegendColor = 0;
    uint8_t LegendPosition = 0;
    bool ShowMinMax = false;
    std::vector<LSeriesStyle> SeriesStyles;

    bool operator==(const ChartSettings&) const = default;
};

ChartSettings SettingsOf(const LChartRecord& record);
