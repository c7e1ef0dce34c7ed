#include "tools/vrotool/LocaleStyle.h"

#include "tables/DateTimeText.h"
#include "tools/vrotool/Arguments.h"

#include <memory>

QLocale LocaleNamed(const std::string& name) {
    const QLocale locale(QString::fromStdString(name));
    if (locale.language() == QLocale::C && name != "C" && name != "POSIX")
        throw UsageError("unknown locale '" + name + "'");
    return locale;
}

TextStyle LocaleTextStyle(const QLocale& locale) {
    TextStyle style;
    style.DecimalPoint = locale.decimalPoint().toStdString();
    style.GroupSeparator = locale.groupSeparator().toStdString();
    auto formatter = std::make_shared<DateTimeFormatter>(locale);
    style.DateTime = [formatter](TDateTime time) {
        return formatter->DateTimeToStr(time).toStdString();
    };
    return style;
}
