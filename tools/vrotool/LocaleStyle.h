#pragma once

#include <QLocale>

#include <string>

// The locale a --locale option names; an unknown name is a command-line mistake.
QLocale LocaleNamed(const std::string& name);
