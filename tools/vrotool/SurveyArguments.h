#pragma once

#include "analysis/Survey.h"

class Arguments;

// The survey's options as vrotool survey and vrotool report take them: --block-minutes,
// --rating-amps, --nominal-volts, --threshold-kw (or --threshold-watts, in W); raises
// UsageError for a value the survey does not take.
SurveyOptions SurveyArguments(Arguments& args);

// --block-minutes: 5, 10, 15, 30 or 60.
std::optional<int32_t> BlockMinutesArgument(Arguments& args);
// The tariff the load is priced by: a rate file (--tariff), or the simple tariff's three
// rates (--energy-rate, --demand-rate, --fixed-monthly); unset without any of them.
std::optional<Tariff> TariffArguments(Arguments& args);

// The battery study's inputs: --battery, --battery-efficiency, --battery-charge-limit (kW),
// --battery-charge-hours, --battery-kwh-price, --battery-kw-price and --battery-caps (kW); any
// of them asks for the study (unset without). Raises UsageError naming the option for a value
// the study does not take.
std::optional<BatteryOptions> BatteryArguments(Arguments& args);
