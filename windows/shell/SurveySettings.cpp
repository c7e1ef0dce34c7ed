#include "windows/shell/SurveySettings.h"

#include "analysis/TariffReader.h"
#include "model/ErrorReport.h"
#include "windows/shell/Registry.h"

#include <QFile>
#include <QLabel>
#include <QLocale>

#include <cmath>

namespace {

const QString BlockMinutesName = QStringLiteral("Block Minutes");
const QString RatingName = QStringLiteral("Rating Amps");
const QString NominalName = QStringLiteral("Nominal Volts");
const QString ThresholdName = QStringLiteral("Threshold Watts");
const QString TargetName = QStringLiteral("Target Power Factor");
const QString BankStepName = QStringLiteral("Bank Step kvar");
const QString BankPriceName = QStringLiteral("Bank Price per kvar");
const QString TariffFileName = QStringLiteral("Tariff File");
const QString EnergyRateName = QStringLiteral("Energy Rate");
const QString DemandRateName = QStringLiteral("Demand Rate");
const QString FixedMonthlyName = QStringLiteral("Fixed Monthly");
const QString BatteryEfficiencyName = QStringLiteral("Battery Efficiency");
const QString BatteryChargingLimitName = QStringLiteral("Battery Charging Limit Watts");
const QString BatteryChargingHoursName = QStringLiteral("Battery Charging Hours");
const QString BatteryKwhPriceName = QStringLiteral("Battery Price per kWh");
const QString BatteryKwPriceName = QStringLiteral("Battery Price per kW");
const QString BatteryCapsName = QStringLiteral("Battery Caps Watts");
const QString EngineerName = QStringLiteral("Report Engineer");
const QString CompanyName = QStringLiteral("Report Company");
const QString RemarksName = QStringLiteral("Report Remarks");
const QString ChargingWindowName = QStringLiteral("Charging Window");
const QString SmallestAmpsName = QStringLiteral("Smallest Amps");
const QString NightNeedName = QStringLiteral("Night Need kWh");

bool Takes(SurveySetting setting, double value) {
    if (!std::isfinite(value))
        return false;
    switch (setting) {
    case SurveySetting::Nominal:
    case SurveySetting::BankStep:
        return value > 0;
    case SurveySetting::TargetPowerFactor:
        return value >= LowestTargetPowerFactor && value <= 1;
    default:
        return value >= 0;
    }
}

std::optional<double> StoredNumber(const RegistryKey& key, const QString& name,
                                   SurveySetting setting) {
    QString text;
    if (!key.ReadString(name, text) || text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !Takes(setting, value))
        return std::nullopt;
    return value;
}

void StoreNumber(RegistryKey& key, const QString& name, const std::optional<double>& value) {
    key.WriteString(name, value ? QLocale::c().toString(*value, 'g', 17) : QString());
}

} // namespace

QString SurveySettingCaption(SurveySetting setting) {
    switch (setting) {
    case SurveySetting::BlockMinutes:
        return QStringLiteral("&Block minutes");
    case SurveySetting::Rating:
        return QStringLiteral("Service &rating (A)");
    case SurveySetting::Nominal:
        return QStringLiteral("&Nominal voltage (V)");
    case SurveySetting::Threshold:
        return QStringLiteral("&Threshold (kW)");
    case SurveySetting::Tariff:
        return QStringLiteral("Tari&ff");
    case SurveySetting::EnergyRate:
        return QStringLiteral("&Energy rate (per kWh)");
    case SurveySetting::DemandRate:
        return QStringLiteral("&Demand rate (per kW)");
    case SurveySetting::FixedMonthly:
        return QStringLiteral("Fi&xed charge (per month)");
    case SurveySetting::TargetPowerFactor:
        return QStringLiteral("T&arget power factor");
    case SurveySetting::BankStep:
        return QStringLiteral("Bank &step (kvar)");
    case SurveySetting::BankPrice:
        break;
    }
    return QStringLiteral("Bank &price (per kvar)");
}

QLabel* SurveySettingLabel(SurveySetting setting, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(SurveySettingCaption(setting), parent);
    label->setBuddy(field);
    // An underlined letter splits the text and widens it a little past its measure: the last
    // letter ("factor") would be cut.
    label->setMinimumWidth(label->sizeHint().width() + 3);
    return label;
}

QString SurveySettingPlaceholder(SurveySetting setting) {
    switch (setting) {
    case SurveySetting::Nominal:
        return QStringLiteral("guessed");
    case SurveySetting::TargetPowerFactor:
        return QLocale().toString(DefaultTargetPowerFactor, 'f', 2);
    case SurveySetting::BankStep:
        return QLocale().toString(DefaultBankStepVar / 1000, 'g', 12);
    default:
        return QStringLiteral("not set");
    }
}

SurveyOptions StoredSurveyOptions() {
    const RegistryKey key(SurveyKey);
    SurveyOptions o;
    int32_t minutes = 0;
    if (key.ReadInteger(BlockMinutesName, minutes) && IsDemandInterval(minutes))
        o.BlockMinutes = minutes;
    o.RatingAmps = StoredNumber(key, RatingName, SurveySetting::Rating);
    o.NominalVolts = StoredNumber(key, NominalName, SurveySetting::Nominal);
    o.ThresholdWatts = StoredNumber(key, ThresholdName, SurveySetting::Threshold);
    o.TargetPowerFactor = StoredNumber(key, TargetName, SurveySetting::TargetPowerFactor)
                              .value_or(DefaultTargetPowerFactor);
    if (const auto step = StoredNumber(key, BankStepName, SurveySetting::BankStep))
        o.BankStepVar = *step * 1000;
    o.BankPricePerKvar = StoredNumber(key, BankPriceName, SurveySetting::BankPrice);
    o.CostTariff = ChosenTariff(StoredTariffChoice(), o.TariffError);
    o.Capacity = StoredCapacityInputs();
    return o;
}

CapacityInputs StoredCapacityInputs() {
    CapacityInputs inputs;
    QStringList loads;
    LoadStringList(NewLoadsKey, loads);
    for (const QString& given : loads) {
        try {
            inputs.Loads.push_back(ParseNewLoad(given.toStdString()));
        } catch (const VroError&) {
        }
    }
    const RegistryKey key(SurveyKey);
    QString window;
    if (key.ReadString(ChargingWindowName, window)) {
        try {
            ParseChargingWindow(window.toStdString(), inputs.WindowFrom, inputs.WindowTo);
        } catch (const VroError&) {
        }
    }
    // Both above 0, as the bank step.
    inputs.SmallestAmps =
        StoredNumber(key, SmallestAmpsName, SurveySetting::BankStep).value_or(inputs.SmallestAmps);
    if (const auto need = StoredNumber(key, NightNeedName, SurveySetting::BankStep))
        inputs.NightNeedWh = *need * 1000;
    return inputs;
}

void StoreCapacityInputs(const CapacityInputs& inputs) {
    QStringList loads;
    for (const NewLoad& load : inputs.Loads)
        loads << QString::fromStdString(NewLoadText(load));
    SaveStringList(NewLoadsKey, loads);
    RegistryKey key(SurveyKey);
    key.WriteString(ChargingWindowName,
                    QString::fromStdString(ChargingWindowText(inputs.WindowFrom, inputs.WindowTo)));
    StoreNumber(key, SmallestAmpsName, inputs.SmallestAmps);
    StoreNumber(key, NightNeedName,
                inputs.NightNeedWh ? std::optional<double>(*inputs.NightNeedWh / 1000)
                                   : std::nullopt);
}

void StoreSurveyOptions(const SurveyOptions& options) {
    RegistryKey key(SurveyKey);
    key.WriteInteger(BlockMinutesName, options.BlockMinutes);
    StoreNumber(key, RatingName, options.RatingAmps);
    StoreNumber(key, NominalName, options.NominalVolts);
    StoreNumber(key, ThresholdName, options.ThresholdWatts);
    StoreNumber(key, TargetName, options.TargetPowerFactor);
    StoreNumber(key, BankStepName, options.BankStepVar / 1000);
    StoreNumber(key, BankPriceName, options.BankPricePerKvar);
}

BatteryOptions StoredBatteryOptions() {
    const RegistryKey key(SurveyKey);
    BatteryOptions o;
    const auto number = [&](const QString& name, bool (*takes)(double)) -> std::optional<double> {
        QString text;
        bool ok = false;
        const double value = key.ReadString(name, text) ? QLocale::c().toDouble(text, &ok) : 0;
        return ok && std::isfinite(value) && takes(value) ? std::optional<double>(value)
                                                          : std::nullopt;
    };
    const auto aboveZero = [](double v) { return v > 0; };
    const auto atLeastZero = [](double v) { return v >= 0; };
    o.Efficiency = number(BatteryEfficiencyName, [](double v) {
                       return v > 0 && v <= 1;
                   }).value_or(DefaultBatteryEfficiency);
    o.ChargingLimitWatts = number(BatteryChargingLimitName, aboveZero);
    QString hours;
    if (key.ReadString(BatteryChargingHoursName, hours))
        o.ChargingHours = ParseChargingHours(hours.toStdString()).value_or(AllChargingHours);
    o.PricePerKwh = number(BatteryKwhPriceName, atLeastZero);
    o.PricePerKw = number(BatteryKwPriceName, atLeastZero);
    QString caps;
    key.ReadString(BatteryCapsName, caps);
    for (const QString& item : caps.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double watts = QLocale::c().toDouble(item, &ok);
        if (!ok || !std::isfinite(watts) || watts <= 0) {
            o.CapsWatts.clear(); // a damaged list: the default caps
            break;
        }
        o.CapsWatts.push_back(watts);
    }
    return o;
}

void StoreBatteryOptions(const BatteryOptions& options) {
    RegistryKey key(SurveyKey);
    StoreNumber(key, BatteryEfficiencyName, options.Efficiency);
    StoreNumber(key, BatteryChargingLimitName, options.ChargingLimitWatts);
    key.WriteString(BatteryChargingHoursName,
                    QString::fromStdString(ChargingHoursText(options.ChargingHours)));
    StoreNumber(key, BatteryKwhPriceName, options.PricePerKwh);
    StoreNumber(key, BatteryKwPriceName, options.PricePerKw);
    QStringList caps;
    for (const double watts : options.CapsWatts)
        caps << QLocale::c().toString(watts, 'g', 17);
    key.WriteString(BatteryCapsName, caps.join(QLatin1Char(';')));
}

TariffChoice StoredTariffChoice() {
    const RegistryKey key(SurveyKey);
    TariffChoice choice;
    key.ReadString(TariffFileName, choice.File);
    choice.EnergyRate = StoredNumber(key, EnergyRateName, SurveySetting::EnergyRate);
    choice.DemandRate = StoredNumber(key, DemandRateName, SurveySetting::DemandRate);
    choice.FixedMonthly = StoredNumber(key, FixedMonthlyName, SurveySetting::FixedMonthly);
    return choice;
}

void StoreTariffChoice(const TariffChoice& choice) {
    {
        RegistryKey key(SurveyKey);
        key.WriteString(TariffFileName, choice.File);
        StoreNumber(key, EnergyRateName, choice.EnergyRate);
        StoreNumber(key, DemandRateName, choice.DemandRate);
        StoreNumber(key, FixedMonthlyName, choice.FixedMonthly);
    }
    if (choice.File.isEmpty())
        return;
    QStringList recent = RecentTariffFiles();
    recent.removeAll(choice.File);
    recent.prepend(choice.File);
    while (recent.size() > MaxRecentTariffs)
        recent.removeLast();
    SaveStringList(RecentTariffsKey, recent);
}

QStringList RecentTariffFiles() {
    QStringList recent;
    LoadStringList(RecentTariffsKey, recent);
    recent.removeAll(QString());
    while (recent.size() > MaxRecentTariffs)
        recent.removeLast();
    return recent;
}

std::optional<Tariff> ChosenTariff(const TariffChoice& choice, std::string& error) {
    error.clear();
    if (!choice.File.isEmpty()) {
        try {
            return ReadTariffFile(QFile::encodeName(choice.File).toStdString());
        } catch (const VroError& e) {
            error = e.what();
            return std::nullopt;
        }
    }
    if (!choice.EnergyRate && !choice.DemandRate && !choice.FixedMonthly)
        return std::nullopt;
    return SimpleTariff(choice.EnergyRate.value_or(0), choice.DemandRate.value_or(0),
                        choice.FixedMonthly.value_or(0));
}

std::optional<double> ParseSurveySetting(const QString& text, SurveySetting setting) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !Takes(setting, value))
        return std::nullopt;
    return value;
}

QString SurveySettingText(const std::optional<double>& value) {
    return value ? QLocale().toString(*value, 'g', 12) : QString();
}

QString ThresholdText(const std::optional<double>& watts) {
    return SurveySettingText(watts ? std::optional<double>(*watts / 1000) : std::nullopt);
}

std::optional<double> ParseThreshold(const QString& text) {
    const auto kilowatts = ParseSurveySetting(text, SurveySetting::Threshold);
    return kilowatts ? std::optional<double>(*kilowatts * 1000) : std::nullopt;
}

ReportAuthor StoredReportAuthor() {
    const RegistryKey key(SurveyKey);
    ReportAuthor author;
    key.ReadString(EngineerName, author.Engineer);
    key.ReadString(CompanyName, author.Company);
    key.ReadString(RemarksName, author.Remarks);
    return author;
}

void StoreReportAuthor(const ReportAuthor& author) {
    RegistryKey key(SurveyKey);
    key.WriteString(EngineerName, author.Engineer);
    key.WriteString(CompanyName, author.Company);
    key.WriteString(RemarksName, author.Remarks);
}
