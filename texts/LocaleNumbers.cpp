#include "texts/LocaleNumbers.h"

#include <QStringList>

NumberFormat LocaleNumbers(const QLocale& locale) {
    NumberFormat format;
    format.DecimalPoint = locale.decimalPoint().toStdString();
    format.GroupSeparator = locale.groupSeparator().toStdString();
    const QString separator = locale.groupSeparator();
    // The grouping is read off the locale's own texts of whole numbers rather than its data,
    // which Qt does not publish.
    const QStringList groups = locale.toString(Q_INT64_C(1234567890)).split(separator);
    if (separator.isEmpty() || groups.size() < 3) {
        format.Group = 0;
        return format;
    }
    format.Group = static_cast<int>(groups[groups.size() - 1].size());
    format.HigherGroups = static_cast<int>(groups[groups.size() - 2].size());
    format.GroupFrom = format.Group + 1;
    while (format.GroupFrom < 10 &&
           !locale.toString(QString(format.GroupFrom, QLatin1Char('1')).toLongLong())
                .contains(separator))
        ++format.GroupFrom;
    return format;
}

const NumberFormat& KeptLocaleNumbers(const QLocale& locale) {
    thread_local QLocale kept = QLocale::c();
    thread_local NumberFormat numbers = LocaleNumbers(kept);
    if (!(locale == kept) || locale.numberOptions() != kept.numberOptions()) {
        kept = locale;
        numbers = LocaleNumbers(locale);
    }
    return numbers;
}
