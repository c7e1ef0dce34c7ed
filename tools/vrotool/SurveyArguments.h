#pragma once

#include "analysis/Survey.h"

class Arguments;

// The survey's options as vrotool survey and vrotool report take them: --block-minutes,
// --rating-amps, --nominal-volts, --threshold-watts; raises UsageError for a value the survey
// does not take.
SurveyOptions SurveyArguments(Arguments& args);
