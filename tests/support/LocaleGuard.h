#pragma once

#include <QLocale>

#include <clocale>
#include <string>

// For a test's scope, the program's locale and the C library's as a user of it has them (the
// C library's only where it is installed: Debian's locales-all), both restored afterwards.
class LocaleGuard {
public:
    explicit LocaleGuard(const char* name) {
        const char* kept = std::setlocale(LC_ALL, nullptr);
        kept_ = kept ? kept : "C";
        const std::string full = std::string(name) + ".UTF-8";
        installed_ = std::setlocale(LC_ALL, full.c_str()) || std::setlocale(LC_ALL, name);
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    }
    ~LocaleGuard() {
        std::setlocale(LC_ALL, kept_.c_str());
        QLocale::setDefault(QLocale::system());
    }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

    // Whether the C library took the locale too.
    bool Installed() const { return installed_; }

private:
    std::string kept_;
    bool installed_ = false;
};
