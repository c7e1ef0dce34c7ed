#pragma once

#include "analysis/Survey.h"

class Arguments;
class JsonWriter;

// The capacity study's options as vrotool survey and vrotool report take them: --new-load
// (repeated), --charging-window, --smallest-amps, --night-need-kwh; raises UsageError naming
// what is wrong.
CapacityInputs CapacityArguments(Arguments& args);

// The survey's "capacity" object: the inputs echoed, per phase the existing, new and design
// currents, the verdict (true, false or null), the kVA form, the set point, the managed loads'
// nights, the continuous check and the headroom profile; null without new loads.
void WriteCapacityJson(JsonWriter& j, const SurveyResult& survey);
