#include "texts/LocaleNumbers.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

// Every locale's numbers, written while the C library's own locale is German: the text must
// come from the locale asked for, never from printf's.
TEST(LocaleNumbersTest, WritesEachLocalesNumbers) {
    const struct {
        const char* locale;
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {"en_US", 30864.678, 2, "30,864.68"},
        {"en_US", 0.6014, 3, "0.601"},
        {"en_US", -1234567.891, 2, "-1,234,567.89"},
        {"de_DE", 30864.678, 2, "30.864,68"},
        {"de_DE", 100, 2, "100,00"},
        {"de_DE", 0.6014, 3, "0,601"},
        {"fr_FR", 30864.678, 2, "30\u202f864,68"},
        {"C", 30864.678, 2, "30864.68"},
        {"hi_IN", 123456789.5, 1, "12,34,56,789.5"},
        {"hi_IN", 12345, 0, "12,345"},
        {"es_ES", 1234.5, 2, "1234,50"},
        {"es_ES", 12345.5, 2, "12.345,50"},
        {"de_CH", 1234567, 0, "1\u2019234\u2019567"},
    };
    const char* before = std::setlocale(LC_ALL, nullptr);
    const std::string kept = before ? before : "C";
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    for (const auto& c : cases) {
        const NumberFormat numbers = LocaleNumbers(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(numbers.Fixed(c.value, c.decimals), c.text) << c.locale << " " << c.value;
        // Qt's own text of the locale agrees wherever the digits are plain.
        EXPECT_EQ(QString::fromStdString(numbers.Fixed(c.value, c.decimals)),
                  QLocale(QString::fromLatin1(c.locale)).toString(c.value, 'f', c.decimals))
            << c.locale;
    }
    std::setlocale(LC_ALL, kept.c_str());
    if (!german)
        GTEST_SKIP() << "no de_DE.UTF-8 C library locale: printf's separators were not tried";
}

} // namespace
