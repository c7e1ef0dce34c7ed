#pragma once

#include "analysis/TextStyle.h"

#include <QLocale>

// Numbers and date-times of the analyses' texts as the tables show them in the locale: its
// numbers (LocaleNumbers), its short date and long time (see DateTimeFormatter), the time shown
// even at midnight.
TextStyle LocaleTextStyle(const QLocale& locale = QLocale());
