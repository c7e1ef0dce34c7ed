#include "texts/LocaleTextStyle.h"

#include "texts/DateTimeText.h"
#include "texts/LocaleNumbers.h"

#include <memory>

TextStyle LocaleTextStyle(const QLocale& locale) {
    TextStyle style;
    style.Numbers = LocaleNumbers(locale);
    auto formatter = std::make_shared<DateTimeFormatter>(locale);
    style.DateTime = [formatter](TDateTime time) {
        return formatter->FullDateTimeToStr(time).toStdString();
    };
    return style;
}
