#pragma once

#include "model/NumberFormat.h"

#include <QLocale>

// The locale's way of writing numbers, read once: its decimal point, group separator and
// grouping (three digits, or India's two above the first three, and Spain's whole thousands).
// The C locale groups nothing.
NumberFormat LocaleNumbers(const QLocale& locale = QLocale());
// The same, kept for the locale asked last on this thread, for callers that write a few numbers
// at a time in many calls (titles, scale labels).
const NumberFormat& KeptLocaleNumbers(const QLocale& locale = QLocale());
