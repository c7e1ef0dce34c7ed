#pragma once

#include "analysis/TextStyle.h"

#include <optional>
#include <string>

// The numbers and times a command's text for a person is written in: those of the locale
// --locale names, else of the user's (plain "1,234.50" and "2024-03-11 09:30:00" in a build
// without Qt, which refuses --locale).
TextStyle TextStyleOption(const std::optional<std::string>& localeName);
