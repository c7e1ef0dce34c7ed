#pragma once

#include "analysis/Tariff.h"

#include <string>
#include <string_view>

// Reads a tariff in the layout of the public US utility rate database: one rate object, or
// {"items": [rate, …]}, whose first item is taken. Fields it does not use are ignored. Raises
// VroError naming the file (as name) and, for a syntax error, its line and column, or, for a
// field of the wrong shape, the field's path: "tariff.json: energyweekdayschedule[3][7]:
// period 4 does not exist (3 periods)".
Tariff ReadTariff(std::string_view text, const std::string& name);

// The same of a file, named in the messages as given.
Tariff ReadTariffFile(const std::string& fileName);
