#include "charts/ChartSettings.h"

ChartSettings SettingsOf(const LChartRecord& r) {
    ChartSettings s;
    s.Title = r.Title;
    s.TitleFont = r.TitleFont;
    s.TitleAlignment = r.TitleAlignment;
    s.BottomAxisTitle = r.BottomAxisTitle;
    s.BottomAxisTitleFont = r.BottomAxisTitleFont;
    s.XAxisLabelsTimeDate = r.XAxisLabelsTimeDate;
    s.BottomAxisLabelFont = r.BottomAxisLabelFont;
    s.LeftAxisLabelFont = r.LeftAxisLabelFont;
    s.ShowStartEnd = r.ShowStartEnd;
    s.ShowLocation = r.ShowLocation;
    s.FooterFont = r.FooterFont;
    s.FooterAlignment = r.FooterAlignment;
    s.AxisColor = r.AxisColor;
    s.BackgroundColor = r.BackgroundColor;
    s.BottomAxisGrid = r.BottomAxisGrid;
    s.GridColor = r.GridColor;
    s.LegendVisible = r.LegendVisible;
    s.LegendFont = r.LegendFont;
    s.LegendColor = r.LegendColor;
    s.LegendPosition = r.LegendPosition;
    s.ShowMinMax = r.ShowMinMax;
    // As stored: one style per source.
    for (int32_t i = 0; i < r.Sources.Count(); ++i)
        s.SeriesStyles.push_back(r.Style(i));
    return s;
}
