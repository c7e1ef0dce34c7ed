#include "tables/LocaleTextStyle.h"

#include "tables/DateTimeText.h"

#include <memory>

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
