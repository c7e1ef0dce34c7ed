#pragma once

#include "analysis/Survey.h"

#include <QString>

#include <optional>

// The survey's settings, one set for the user in the settings store: the Survey window's top
// row and the survey report's dialog show, read and keep the same ones under the same captions.
enum class SurveySetting { BlockMinutes, Rating, Nominal, Threshold };

// "&Block minutes", "Service &rating (A)", "&Nominal voltage (V)", "&Threshold (W)".
QString SurveySettingCaption(SurveySetting setting);
// What an empty field means: "guessed" for the nominal voltage, "not set" for the others.
QString SurveySettingPlaceholder(SurveySetting setting);

// The stored settings, the defaults where the store holds nothing usable.
SurveyOptions StoredSurveyOptions();
// Keeps the block minutes, rating, nominal voltage and threshold of the options.
void StoreSurveyOptions(const SurveyOptions& options);

// A field's text in the user's locale (or written with a point); unset when empty or when it
// is no number the setting takes (a rating and threshold at least 0, a nominal voltage above).
std::optional<double> ParseSurveySetting(const QString& text, SurveySetting setting);
// The value as its field shows it.
QString SurveySettingText(const std::optional<double>& value);
