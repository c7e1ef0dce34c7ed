#include "analysis/StatisticsText.h"

#include "model/LParameter.h"

namespace {

TextCell Optional(const std::optional<double>& value, int decimals = 2) {
    return value ? TextCell::Of(*value, decimals) : TextCell{};
}

} // namespace

TextTable StatisticsTable(const std::vector<SourceStatistics>& rows) {
    TextTable table;
    table.Missing.clear();
    using C = TextColumn;
    table.Columns = {
        C::Texts("Parameter"),       C::Texts("Channel"),   C::Texts("Unit"),
        C::Figures("Count"),         C::Shares("Coverage"), C::Figures("Minimum"),
        C::Texts("Time of minimum"), C::Figures("Maximum"), C::Texts("Time of maximum"),
        C::Figures("Mean"),          C::Figures("Std dev"), C::Figures("Integral"),
        C::Figures("Load factor")};
    table.Columns[11].SuffixColumn = "Integral unit";
    // A person reads powers and energies in kW, kWh and their kin; files keep the base unit.
    table.UnitColumn = 2;
    for (const size_t figures : {5, 7, 9, 10})
        table.Columns[figures].InRowUnit = true;
    table.Columns[11].Scaled = true;
    for (const SourceStatistics& row : rows) {
        const LParameter* p = row.Parameter;
        const auto text = [&](const std::string& s) { return p ? TextCell::Of(s) : TextCell{}; };
        table.Rows.push_back(
            {text(p ? p->Name() : ""), text(p ? p->ChannelLabel() : ""),
             text(p ? p->ShortUnit() : ""), TextCell::Of(row.Count, 0),
             row.Coverage ? TextCell::Of(*row.Coverage * 100) : TextCell{}, Optional(row.Minimum),
             row.Minimum ? TextCell::At(row.MinimumTime) : TextCell{}, Optional(row.Maximum),
             row.Maximum ? TextCell::At(row.MaximumTime) : TextCell{}, Optional(row.Mean),
             Optional(row.StdDev),
             row.Integral ? TextCell::Of(*row.Integral, 2, row.IntegralUnit) : TextCell{},
             Optional(row.LoadFactor, 3)});
    }
    return table;
}
