#include "database/LChartRecord.h"

#include "database/FileReader.h"
#include "database/FileWriter.h"
#include "database/SourceRecord.h"
#include "model/LParameter.h"

namespace {

const LSeriesStyle DefaultStyle;

// A stored font is read onto a plain one: reading only ever adds styles, so reading onto the
// chart's bold default title would bring back a bold the user had switched off.
void ReadStoredFont(FileReader& reader, LFont& font) {
    font = LFont{};
    reader.ReadFont(font);
}

} // namespace

LChartRecord::LChartRecord(LSession* session) : Sources(session) {}

bool LChartRecord::IsLineSource(const LParameterSource& source) {
    return source.Parameter && source.Parameter->TableType() == ttHistoric;
}

LSeriesStyle& LChartRecord::Style(int32_t i) {
    if (i >= static_cast<int32_t>(SeriesStyles.size()))
        SeriesStyles.resize(static_cast<size_t>(i) + 1);
    return SeriesStyles[static_cast<size_t>(i)];
}

const LSeriesStyle& LChartRecord::Style(int32_t i) const {
    return i >= 0 && i < static_cast<int32_t>(SeriesStyles.size())
               ? SeriesStyles[static_cast<size_t>(i)]
               : DefaultStyle;
}

void LChartRecord::SaveToStream(FileWriter& writer) const {
    writer.WriteString(Caption);
    writer.WriteString(Title);
    writer.WriteFont(TitleFont);
    writer.WriteByte(TitleAlignment);
    writer.WriteString(BottomAxisTitle);
    writer.WriteFont(BottomAxisTitleFont);
    writer.WriteByte(XAxisLabelsTimeDate);
    writer.WriteFont(BottomAxisLabelFont);
    writer.WriteFont(LeftAxisLabelFont);
    writer.WriteFlag(ShowStartEnd);
    writer.WriteFlag(ShowLocation);
    writer.WriteFont(FooterFont);
    writer.WriteByte(FooterAlignment);
    writer.WriteColor(AxisColor);
    writer.WriteColor(BackgroundColor);
    writer.WriteFlag(BottomAxisGrid);
    writer.WriteColor(GridColor);
    writer.WriteFlag(LegendVisible);
    writer.WriteFont(LegendFont);
    writer.WriteColor(LegendColor);
    writer.WriteByte(LegendPosition);
    writer.WriteFlag(ShowMinMax);
    SaveGroup(writer, Sources);
    for (int32_t i = 0; i < Sources.Count(); ++i) {
        const LSeriesStyle& style = Style(i);
        writer.WriteColor(style.Color);
        if (IsLineSource(*Sources.Items(i))) {
            writer.WriteInt(style.LineWidth);
        } else {
            writer.WriteInt(style.PointSize);
            writer.WriteByte(style.PointStyle);
        }
    }
}

void LChartRecord::LoadFromStream(FileReader& reader, const ParameterIndex& parameters,
                                  float version) {
    Caption = reader.ReadString();
    Title = reader.ReadString();
    ReadStoredFont(reader, TitleFont);
    TitleAlignment = reader.ReadByte();
    BottomAxisTitle = reader.ReadString();
    ReadStoredFont(reader, BottomAxisTitleFont);
    XAxisLabelsTimeDate = reader.ReadByte();
    ReadStoredFont(reader, BottomAxisLabelFont);
    ReadStoredFont(reader, LeftAxisLabelFont);
    ShowStartEnd = reader.ReadFlag();
    ShowLocation = reader.ReadFlag();
    ReadStoredFont(reader, FooterFont);
    FooterAlignment = reader.ReadByte();
    AxisColor = reader.ReadColor();
    BackgroundColor = reader.ReadColor();
    BottomAxisGrid = reader.ReadFlag();
    GridColor = reader.ReadColor();
    LegendVisible = reader.ReadFlag();
    ReadStoredFont(reader, LegendFont);
    LegendColor = reader.ReadColor();
    LegendPosition = reader.ReadByte();
    ShowMinMax = version > MinMaxVersion ? reader.ReadFlag() : false;
    Sources.Clear();
    LoadGroup(reader, Sources, parameters);
    SeriesStyles.assign(static_cast<size_t>(Sources.Count()), LSeriesStyle{});
    for (int32_t i = 0; i < Sources.Count(); ++i) {
        LSeriesStyle& style = SeriesStyles[static_cast<size_t>(i)];
        style.Color = reader.ReadColor();
        if (IsLineSource(*Sources.Items(i))) {
            style.LineWidth = reader.ReadInt();
        } else {
            style.PointSize = reader.ReadInt();
            style.PointStyle = reader.ReadByte();
        }
    }
}
