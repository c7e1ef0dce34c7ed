#pragma once

#include "analysis/Survey.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

class QLabel;
class QWidget;

// The survey's settings, one set for the user in the settings store: the Survey window's top
// rows and the survey report's dialog show, read and keep the same ones under the same
// captions.
enum class SurveySetting {
    BlockMinutes,
    Rating,
    Nominal,
    Threshold,
    Tariff,
    EnergyRate,
    DemandRate,
    FixedMonthly,
    TargetPowerFactor,
    BankStep,
    BankPrice
};

// "&Block minutes", "Service &rating (A)", "&Nominal voltage (V)", "&Threshold (kW)",
// "Tari&ff", "&Energy rate (per kWh)", "&Demand rate (per kW)", "Fi&xed charge (per month)",
// "T&arget power factor", "Bank &step (kvar)", "Bank &price (per kvar)".
QString SurveySettingCaption(SurveySetting setting);
// A label of the caption for the field, as the Survey window and the report's dialog show it.
QLabel* SurveySettingLabel(SurveySetting setting, QWidget* field, QWidget* parent);
// What an empty field means: "guessed" for the nominal voltage, the default target power
// factor and bank step, "not set" for the others.
QString SurveySettingPlaceholder(SurveySetting setting);

// The tariff as chosen: a rate file, else the simple tariff of the rates set (none set: no
// tariff).
struct TariffChoice {
    QString File;
    std::optional<double> EnergyRate, DemandRate, FixedMonthly;
    bool operator==(const TariffChoice&) const = default;
};

// The stored settings, the defaults where the store holds nothing usable, the tariff read from
// its file (when it cannot be read: none, and TariffError says why).
SurveyOptions StoredSurveyOptions();
// Keeps the block minutes, rating, nominal voltage, threshold, target power factor, bank step
// and bank price of the options.
void StoreSurveyOptions(const SurveyOptions& options);

// The battery study's inputs as last kept (the defaults where the store holds nothing
// usable), and keeping them.
BatteryOptions StoredBatteryOptions();
void StoreBatteryOptions(const BatteryOptions& options);
// The capacity study's new loads, charging window, smallest current and need per night, kept
// apart from the options they go into (StoredSurveyOptions reads them too): a load as
// NewLoadText writes it, one a line of a list; a load that no longer reads is left out.
CapacityInputs StoredCapacityInputs();
void StoreCapacityInputs(const CapacityInputs& inputs);

TariffChoice StoredTariffChoice();
// Keeps the choice; a file goes first in the recent tariff files.
void StoreTariffChoice(const TariffChoice& choice);
// The tariff files chosen last, the latest first, at most MaxRecentTariffs.
QStringList RecentTariffFiles();
inline constexpr int MaxRecentTariffs = 8;

// The tariff of a choice: its file read (unset when it cannot be, with error saying why), or
// the simple tariff of the rates set, the others 0 (unset when none is).
std::optional<Tariff> ChosenTariff(const TariffChoice& choice, std::string& error);

// A field's text in the user's locale (or written with a point); unset when empty or when it
// is no number the setting takes (a rating, threshold and rate at least 0, a nominal voltage
// and bank step above, a target power factor from 0.80 to 1.00).
std::optional<double> ParseSurveySetting(const QString& text, SurveySetting setting);
// The value as its field shows it.
QString SurveySettingText(const std::optional<double>& value);
// The threshold's field is in kW (kVA with a tariff of kVA demand); the survey takes W.
QString ThresholdText(const std::optional<double>& watts);
std::optional<double> ParseThreshold(const QString& text);

// Who writes the survey reports and what they add in their own words: the report's dialog
// shows the last ones.
struct ReportAuthor {
    QString Engineer, Company, Remarks;
    bool operator==(const ReportAuthor&) const = default;
};
ReportAuthor StoredReportAuthor();
void StoreReportAuthor(const ReportAuthor& author);
