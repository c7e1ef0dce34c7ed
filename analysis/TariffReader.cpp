#include "analysis/TariffReader.h"

#include "analysis/Survey.h"
#include "model/ErrorReport.h"
#include "model/InputFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using nlohmann::json;

// The fields of one rate object, each refused with its path.
class RateFields {
public:
    RateFields(const json& rate, std::string name, std::string prefix)
        : rate_(rate), name_(std::move(name)), prefix_(std::move(prefix)) {}

    [[noreturn]] void Refuse(const std::string& path, const std::string& what) const {
        Raise(name_ + ": " + path + ": " + what);
    }

    const json* Find(const char* key) const {
        const auto found = rate_.find(key);
        return found == rate_.end() ? nullptr : &*found;
    }
    std::string Path(const char* key) const { return prefix_ + key; }

    double Number(const json& v, const std::string& path) const {
        if (!v.is_number())
            Refuse(path, "not a number");
        const double d = v.get<double>();
        if (!std::isfinite(d))
            Refuse(path, "not a finite number");
        return d;
    }
    std::optional<double> Number(const char* key) const {
        const json* v = Find(key);
        return v ? std::optional<double>(Number(*v, Path(key))) : std::nullopt;
    }

    // A price or charge: refused below 0, which would lower the bill.
    double Charge(const json& v, const std::string& path) const {
        const double d = Number(v, path);
        if (d < 0)
            Refuse(path, "not a charge of at least 0");
        return d;
    }
    std::optional<double> Charge(const char* key) const {
        const json* v = Find(key);
        return v ? std::optional<double>(Charge(*v, Path(key))) : std::nullopt;
    }

    int64_t Whole(const json& v, const std::string& path) const {
        const double d = Number(v, path);
        if (d != std::floor(d) || std::fabs(d) > std::numeric_limits<int32_t>::max())
            Refuse(path, "not a whole number");
        return static_cast<int64_t>(d);
    }

    std::optional<std::string> Text(const char* key) const {
        const json* v = Find(key);
        if (!v)
            return std::nullopt;
        if (!v->is_string())
            Refuse(Path(key), "not a text");
        return v->get<std::string>();
    }

    const json& List(const json& v, const std::string& path) const {
        if (!v.is_array())
            Refuse(path, "not a list");
        return v;
    }

    // Periods of tiers priced per unit ("kWh" or "kW").
    std::vector<TariffTiers> Structure(const char* key, const char* unit) const {
        std::vector<TariffTiers> periods;
        const json* v = Find(key);
        if (!v)
            return periods;
        const std::string path = Path(key);
        for (size_t i = 0; i < List(*v, path).size(); ++i)
            periods.push_back(Tiers((*v)[i], path + "[" + std::to_string(i) + "]", unit));
        return periods;
    }

    TariffTiers Tiers(const json& v, const std::string& path, const char* unit) const {
        TariffTiers tiers;
        if (List(v, path).empty())
            Refuse(path, "no tiers");
        for (size_t i = 0; i < v.size(); ++i) {
            const json& tier = v[i];
            const std::string at = path + "[" + std::to_string(i) + "]";
            if (!tier.is_object())
                Refuse(at, "not an object");
            TariffTier t;
            // An adjustment may be a credit, as in the public rate database.
            double price = 0;
            if (const auto found = tier.find("rate"); found != tier.end())
                price += Charge(*found, at + ".rate");
            if (const auto found = tier.find("adj"); found != tier.end())
                price += Number(*found, at + ".adj");
            t.Price = price;
            if (const auto found = tier.find("unit"); found != tier.end()) {
                if (!found->is_string())
                    Refuse(at + ".unit", "not a text");
                if (found->get<std::string>() != unit)
                    Refuse(at + ".unit", "\"" + found->get<std::string>() +
                                             "\" is not taken here (" + unit + ")");
            }
            const auto max = tier.find("max");
            if (max != tier.end() && i + 1 < v.size()) {
                t.Max = Number(*max, at + ".max");
                const double below = tiers.empty() ? 0 : *tiers.back().Max;
                if (*t.Max <= below)
                    Refuse(at + ".max", "not above the tier below");
            } else if (i + 1 < v.size()) {
                Refuse(at, "only the last tier may have no max");
            }
            tiers.push_back(t);
        }
        return tiers;
    }

    int32_t Period(const json& v, const std::string& path, size_t periods) const {
        const int64_t p = Whole(v, path);
        if (p < 0 || static_cast<size_t>(p) >= periods)
            Refuse(path, "period " + std::to_string(p) + " does not exist (" +
                             std::to_string(periods) + (periods == 1 ? " period)" : " periods)"));
        return static_cast<int32_t>(p);
    }

    // A 12 × 24 schedule of periods; needed when what it schedules has periods.
    TariffSchedule Schedule(const char* key, size_t periods, const char* structure) const {
        TariffSchedule schedule{};
        const json* v = Find(key);
        const std::string path = Path(key);
        if (!v) {
            if (periods > 0)
                Refuse(path, std::string("missing (") + structure + " needs it)");
            return schedule;
        }
        if (List(*v, path).size() != 12)
            Refuse(path, std::to_string(v->size()) + " months, not 12");
        for (size_t m = 0; m < 12; ++m) {
            const std::string month = path + "[" + std::to_string(m) + "]";
            if (List((*v)[m], month).size() != 24)
                Refuse(month, std::to_string((*v)[m].size()) + " hours, not 24");
            for (size_t h = 0; h < 24; ++h)
                schedule[m][h] = Period((*v)[m][h], month + "[" + std::to_string(h) + "]", periods);
        }
        return schedule;
    }

private:
    const json& rate_;
    std::string name_, prefix_;
};

Tariff ReadRate(const RateFields& f) {
    Tariff t;
    t.Name = f.Text("name").value_or("");
    t.Utility = f.Text("utility").value_or("");
    t.Currency = f.Text("currency").value_or("$");

    t.EnergyPeriods = f.Structure("energyratestructure", "kWh");
    t.EnergyWeekday =
        f.Schedule("energyweekdayschedule", t.EnergyPeriods.size(), "energyratestructure");
    t.EnergyWeekend =
        f.Schedule("energyweekendschedule", t.EnergyPeriods.size(), "energyratestructure");

    t.DemandPeriods = f.Structure("demandratestructure", "kW");
    t.DemandWeekday =
        f.Schedule("demandweekdayschedule", t.DemandPeriods.size(), "demandratestructure");
    t.DemandWeekend =
        f.Schedule("demandweekendschedule", t.DemandPeriods.size(), "demandratestructure");

    t.FlatDemandPeriods = f.Structure("flatdemandstructure", "kW");
    if (const json* months = f.Find("flatdemandmonths")) {
        const std::string path = f.Path("flatdemandmonths");
        if (f.List(*months, path).size() != 12)
            f.Refuse(path, std::to_string(months->size()) + " months, not 12");
        for (size_t m = 0; m < 12; ++m)
            t.FlatDemandMonths[m] = f.Period((*months)[m], path + "[" + std::to_string(m) + "]",
                                             t.FlatDemandPeriods.size());
    } else if (!t.FlatDemandPeriods.empty()) {
        f.Refuse(f.Path("flatdemandmonths"), "missing (flatdemandstructure needs it)");
    }

    if (const auto units = f.Text("demandunits")) {
        if (*units != "kW" && *units != "kVA")
            f.Refuse(f.Path("demandunits"), "\"" + *units + "\" is not taken (kW or kVA)");
        t.DemandInKva = *units == "kVA";
    }
    t.DemandWindowMinutes = 15;
    if (const json* window = f.Find("demandwindow")) {
        const int64_t minutes = f.Whole(*window, f.Path("demandwindow"));
        if (!IsDemandInterval(static_cast<int32_t>(minutes)))
            f.Refuse(f.Path("demandwindow"),
                     std::to_string(minutes) +
                         " minutes is not a demand window the survey takes (5, 10, 15, 30 or 60)");
        t.DemandWindowMinutes = static_cast<int32_t>(minutes);
    }

    if (const auto fixed = f.Charge("fixedchargefirstmeter")) {
        t.FixedCharge = *fixed;
        const std::string units = f.Text("fixedchargeunits").value_or("$/month");
        if (units == "$/day")
            t.FixedUnit = FixedChargeUnit::PerDay;
        else if (units == "$/year")
            t.FixedUnit = FixedChargeUnit::PerYear;
        else if (units != "$/month")
            f.Refuse(f.Path("fixedchargeunits"),
                     "\"" + units + "\" is not taken ($/month, $/day or $/year)");
    } else if (const auto monthly = f.Charge("fixedmonthlycharge")) {
        t.FixedCharge = *monthly;
    }
    t.ReactivePrice = f.Charge("demandreactivepowercharge").value_or(0);
    return t;
}

// Where reading stopped: a second reading of text that failed, which only notes the position
// (a number too large for a double fails without one).
struct ErrorPosition {
    size_t Position = 0;
    bool null() { return true; }
    bool boolean(bool) { return true; }
    bool number_integer(json::number_integer_t) { return true; }
    bool number_unsigned(json::number_unsigned_t) { return true; }
    bool number_float(json::number_float_t, const json::string_t&) { return true; }
    bool string(json::string_t&) { return true; }
    bool binary(json::binary_t&) { return true; }
    bool start_object(size_t) { return true; }
    bool key(json::string_t&) { return true; }
    bool end_object() { return true; }
    bool start_array(size_t) { return true; }
    bool end_array() { return true; }
    template <class Exception>
    bool parse_error(size_t position, const std::string&, const Exception&) {
        Position = position;
        return false;
    }
};

// "line 3, column 7: syntax error while parsing value - unexpected '}'; …": the line and column
// of the character reading stopped at, and what the reader says, without its own prefix.
std::string SyntaxError(std::string_view text, const std::string& what) {
    ErrorPosition at;
    json::sax_parse(text.begin(), text.end(), &at);
    const size_t stop = std::min(at.Position, text.size());
    size_t line = 1, lineStart = 0;
    for (size_t i = 0; i + 1 < stop; ++i)
        if (text[i] == '\n')
            ++line, lineStart = i + 1;
    std::string reason = what;
    if (const size_t column = reason.find("column "); column != std::string::npos)
        reason.erase(0, reason.find(": ", column) + 2);
    else if (const size_t bracket = reason.find("] "); bracket != std::string::npos)
        reason.erase(0, bracket + 2);
    return "line " + std::to_string(line) + ", column " +
           std::to_string(stop > lineStart ? stop - lineStart : 1) + ": " + reason;
}

} // namespace

Tariff ReadTariff(std::string_view text, const std::string& name) {
    json document;
    try {
        document = json::parse(text.begin(), text.end());
    } catch (const json::exception& e) {
        Raise(name + ": " + SyntaxError(text, e.what()));
    }
    if (!document.is_object())
        Raise(name + ": not a rate object");
    if (const auto items = document.find("items"); items != document.end()) {
        if (!items->is_array() || items->empty())
            Raise(name + ": items: no rate in it");
        if (!items->front().is_object())
            Raise(name + ": items[0]: not a rate object");
        return ReadRate(RateFields(items->front(), name, "items[0]."));
    }
    return ReadRate(RateFields(document, name, ""));
}

Tariff ReadTariffFile(const std::string& fileName) {
    std::string text;
    InputFile file(fileName);
    try {
        text = file.Contents();
    } catch (const VroError& e) {
        const std::string cause = file.Unreadable();
        Raise(fileName + ": " + (cause.empty() ? e.what() : cause));
    }
    return ReadTariff(text, fileName);
}
