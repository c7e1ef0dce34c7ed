#include "tools/vrotool/TextStyleOption.h"

#include "tools/vrotool/Arguments.h"
#ifdef VRO_TABLES
#include "texts/LocaleTextStyle.h"
#include "tools/vrotool/LocaleStyle.h"
#endif

TextStyle TextStyleOption(const std::optional<std::string>& localeName) {
#ifdef VRO_TABLES
    return LocaleTextStyle(localeName ? LocaleNamed(*localeName) : QLocale::system());
#else
    if (localeName)
        throw UsageError("--locale needs a build with the tables (Qt)");
    return {};
#endif
}
