#pragma once

#include "model/DateTime.h"

class LParameterCollection;

// The recording as if the instrument had measured nothing from one time to another: every
// value whose time's whole second lies from from to to, both included, becomes NaN, in every
// parameter. What an exclude note over that range must be to the figures.
void SetNotMeasured(LParameterCollection& parameters, TDateTime from, TDateTime to);
