#pragma once

#include "model/DateTime.h"

#include <string>

// "YYYY-MM-DD hh:mm:ss" (or with a T between) in the recording's own clock; raises UsageError
// naming the option for any other text.
TDateTime ParseTimeArgument(const std::string& option, const std::string& text);
