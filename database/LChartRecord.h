#pragma once

#include "database/LFont.h"
#include "model/LParameterSourceGroup.h"

#include <cstdint>
#include <string>
#include <vector>

class FileReader;
class FileWriter;
class ParameterIndex;
class LSession;

// How one source of a chart is drawn. A Historic parameter is drawn as a line (colour and
// width are stored), the event types as points (colour, size and style are stored).
struct LSeriesStyle {
    uint32_t Color = 0;
    int32_t LineWidth = 1;
    int32_t PointSize = 3;
    uint8_t PointStyle = 0;

    bool operator==(const LSeriesStyle&) const = default;
};

// A chart the user made: everything the chart window shows besides the points themselves.
// The chart window shows and edits one of these; the database owns it and stores it.
class LChartRecord {
public:
    enum Alignment : uint8_t { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };
    enum LegendAlignment : uint8_t {
        LegendLeft = 0,
        LegendRight = 1,
        LegendTop = 2,
        LegendBottom = 3
    };

    explicit LChartRecord(LSession* session);

    // The first version with the legend's minimum and maximum switch.
    static constexpr float MinMaxVersion = 0.01f;

    void SaveToStream(FileWriter& writer) const;
    // version: the format version of the file being read.
    void LoadFromStream(FileReader& reader, const ParameterIndex& parameters, float version);

    // Whether the source is drawn as a line (Historic) rather than as points.
    static bool IsLineSource(const LParameterSource& source);
    // The style of source i; sources added without one get the default style.
    LSeriesStyle& Style(int32_t i);
    const LSeriesStyle& Style(int32_t i) const;

    std::string Caption;
    std::string Title = "Chart";
    LFont TitleFont{1, 0xFF0000, "Times New Roman", 0, 14, true};
    uint8_t TitleAlignment = AlignCenter;
    std::string BottomAxisTitle;
    LFont BottomAxisTitleFont{1, 0x000000, "Arial", 0, 8};
    uint8_t XAxisLabelsTimeDate = 1; // 1: date and time, 0: time only
    LFont BottomAxisLabelFont{1, 0x000000, "Lucida Console", 0, 7};
    LFont LeftAxisLabelFont{1, 0x000000, "Lucida Console", 0, 7};
    bool ShowStartEnd = true;
    bool ShowLocation = true;
    LFont FooterFont{1, 0x800000, "Tahoma", 0, 8};
    uint8_t FooterAlignment = AlignLeft;
    uint32_t AxisColor = 0x000000;
    uint32_t BackgroundColor = 0xFFFFFF;
    bool BottomAxisGrid = true;
    uint32_t GridColor = 0x808080;
    bool LegendVisible = true;
    LFont LegendFont{1, 0x000000, "Tahoma", 0, 7};
    uint32_t LegendColor = 0xFFFFFF;
    uint8_t LegendPosition = LegendBottom;
    bool ShowMinMax = false;
    LParameterSourceGroup Sources;
    // In the order of Sources.
    std::vector<LSeriesStyle> SeriesStyles;
};
