#pragma once

#include "model/DateTime.h"

#include <string>
#include <string_view>

// The texts of files meant for other programs, the same in every locale.

// "YYYY-MM-DD hh:mm:ss" to the nearest second (half a second up); empty for a value that is
// no time or lies outside the years 1 to 9999.
std::string PlainDateTime(TDateTime value);

// A CSV field after RFC 4180: quoted when it holds a comma, a quote or a line break, its
// quotes doubled.
void AppendCsvField(std::string& out, std::string_view field);
