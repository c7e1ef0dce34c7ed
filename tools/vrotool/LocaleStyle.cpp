#include "tools/vrotool/LocaleStyle.h"

#include "tools/vrotool/Arguments.h"

QLocale LocaleNamed(const std::string& name) {
    const QLocale locale(QString::fromStdString(name));
    if (locale.language() == QLocale::C && name != "C" && name != "POSIX")
        throw UsageError("unknown locale '" + name + "'");
    return locale;
}
