#pragma once

#include "analysis/TextStyle.h"

#include <QLocale>

// Numbers and date-times of the analyses' texts as the tables show them in the locale: its
// separators, its short date and long time (see DateTimeFormatter).
TextStyle LocaleTextStyle(const QLocale& locale = QLocale());
