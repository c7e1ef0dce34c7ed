#include "analysis/SurveyTables.h"

namespace {

TextCell Optional(const std::optional<double>& value, int decimals = 2) {
    return value ? TextCell::Of(*value, decimals) : TextCell{};
}

TextCell Share(const std::optional<double>& share) {
    return share ? TextCell::Of(*share * 100) : TextCell{};
}

TextCell ValueOf(const std::optional<TimedValue>& value) {
    return value ? TextCell::Of(value->Value) : TextCell{};
}

TextCell TimeOf(const std::optional<TimedValue>& value) {
    return value ? TextCell::At(value->Time) : TextCell{};
}

} // namespace

const char* VerdictText(const std::optional<bool>& pass) {
    return !pass ? "no result" : *pass ? "pass" : "fail";
}

TextTable EnergyDayTable(const std::vector<EnergyDay>& days) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Date"),        C::Texts("Day"),       C::Figures("Energy", "WH"),
                     C::Figures("Peak", "W"), C::Texts("Peak time"), C::Figures("Base", "W"),
                     C::Shares("Coverage")};
    for (const EnergyDay& day : days)
        table.Rows.push_back({TextCell::OfDay(day.Date),
                              TextCell::Of(day.Full() ? "full" : "partial"),
                              TextCell::Of(day.EnergyWh), ValueOf(day.Peak), TimeOf(day.Peak),
                              Optional(day.BaseWatts), TextCell::Of(day.Coverage * 100)});
    return table;
}

TextTable VoltageTable(const VoltageVariation& voltage) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {
        C::Texts("Channel"),       C::Figures("Nominal", "V"),        C::Figures("Blocks"),
        C::Shares("Within ±10 %"), C::Shares("Within +10 % / −15 %"), C::Figures("Highest", "V"),
        C::Texts("Highest time"),  C::Figures("Lowest", "V"),         C::Texts("Lowest time"),
        C::Texts("Verdict")};
    table.Columns[1].SuffixColumn = "Nominal source";
    for (const VoltageChannel& c : voltage.Channels) {
        TextCell nominal = Optional(c.NominalVolts, 0);
        if (c.NominalVolts && c.NominalGuessed)
            nominal.text = "(guessed)";
        table.Rows.push_back(
            {TextCell::Of(c.ChannelLabel), nominal, TextCell::Of(c.Blocks.Complete, 0),
             Share(c.Within10), Share(c.Within10To15), ValueOf(c.Maximum), TimeOf(c.Maximum),
             ValueOf(c.Minimum), TimeOf(c.Minimum), TextCell::Of(VerdictText(c.Pass))});
    }
    return table;
}
