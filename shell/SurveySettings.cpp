#include "shell/SurveySettings.h"

#include "shell/Registry.h"

#include <QLocale>

#include <cmath>

namespace {

const QString BlockMinutesName = QStringLiteral("Block Minutes");
const QString RatingName = QStringLiteral("Rating Amps");
const QString NominalName = QStringLiteral("Nominal Volts");
const QString ThresholdName = QStringLiteral("Threshold Watts");

bool Takes(SurveySetting setting, double value) {
    return std::isfinite(value) && (setting == SurveySetting::Nominal ? value > 0 : value >= 0);
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
    default:
        return QStringLiteral("&Threshold (W)");
    }
}

QString SurveySettingPlaceholder(SurveySetting setting) {
    return setting == SurveySetting::Nominal ? QStringLiteral("guessed")
                                             : QStringLiteral("not set");
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
    return o;
}

void StoreSurveyOptions(const SurveyOptions& options) {
    RegistryKey key(SurveyKey);
    key.WriteInteger(BlockMinutesName, options.BlockMinutes);
    StoreNumber(key, RatingName, options.RatingAmps);
    StoreNumber(key, NominalName, options.NominalVolts);
    StoreNumber(key, ThresholdName, options.ThresholdWatts);
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
