#include "analysis/SurveyTables.h"

namespace {

std::string Share(const std::optional<double>& share, const TextStyle& style) {
    return share ? style.Number(*share * 100) + " %" : "-";
}

std::string Value(const std::optional<double>& value, const TextStyle& style) {
    return value ? style.Number(*value) : "-";
}

std::string Figure(const std::optional<TimedValue>& value, const TextStyle& style) {
    return value ? style.Number(value->Value) : "-";
}

std::string TimeOf(const std::optional<TimedValue>& value, const TextStyle& style) {
    return value ? style.Time(value->Time) : "-";
}

template <class Row, class Cells>
std::string Rows(const std::vector<std::string>& header, const std::vector<Row>& rows,
                 const Cells& cells, const TextStyle& style, CellFormat format) {
    std::string out;
    AppendRow(out, header, format);
    for (const Row& row : rows)
        AppendRow(out, cells(row, style), format);
    return out;
}

} // namespace

std::vector<std::string> EnergyDayHeader() {
    return {"Date", "Energy (WH)", "Peak (W)", "Peak time", "Base (W)", "Coverage"};
}

std::vector<std::string> EnergyDayCells(const EnergyDay& day, const TextStyle& style) {
    return {FormatIso8601(day.Date).substr(0, 10),
            style.Number(day.EnergyWh),
            Figure(day.Peak, style),
            TimeOf(day.Peak, style),
            Value(day.BaseWatts, style),
            Share(day.Coverage, style)};
}

std::vector<std::string> VoltageHeader() {
    return {"Channel",     "Nominal (V)",  "Blocks",     "Within ±10 %", "Within +10 % / −15 %",
            "Highest (V)", "Highest time", "Lowest (V)", "Lowest time",  "Verdict"};
}

std::vector<std::string> VoltageCells(const VoltageChannel& c, const TextStyle& style) {
    std::string nominal = c.NominalVolts ? style.Number(*c.NominalVolts, 0) : "-";
    if (c.NominalVolts && c.NominalGuessed)
        nominal += " (guessed)";
    return {c.ChannelLabel,
            nominal,
            style.Whole(c.Blocks.Complete),
            Share(c.Within10, style),
            Share(c.Within10To15, style),
            Figure(c.Maximum, style),
            TimeOf(c.Maximum, style),
            Figure(c.Minimum, style),
            TimeOf(c.Minimum, style),
            c.Within10 ? (c.Pass ? "pass" : "fail") : "-"};
}

bool IsEnergyDayNumberColumn(size_t column) {
    return column == 1 || column == 2 || column == 4 || column == 5;
}

bool IsVoltageNumberColumn(size_t column) {
    return column == 2 || column == 3 || column == 4 || column == 5 || column == 7;
}

std::string EnergyDaysText(const std::vector<EnergyDay>& days, const TextStyle& style,
                           CellFormat format) {
    return Rows(EnergyDayHeader(), days, EnergyDayCells, style, format);
}

std::string VoltageText(const VoltageVariation& voltage, const TextStyle& style,
                        CellFormat format) {
    return Rows(VoltageHeader(), voltage.Channels, VoltageCells, style, format);
}
