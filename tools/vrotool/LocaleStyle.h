#pragma once

#include "analysis/TextStyle.h"

#include <QLocale>

#include <string>

// The locale a --locale option names; an unknown name is a command-line mistake.
QLocale LocaleNamed(const std::string& name);

// Numbers and date-times as the tables show them in the locale: its separators, its short
// date and long time.
TextStyle LocaleTextStyle(const QLocale& locale);
