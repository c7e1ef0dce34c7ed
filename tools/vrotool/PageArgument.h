#pragma once

#include <QPageSize>

#include <string>

// The page of --page: A4 or Letter; raises UsageError for any other.
QPageSize PageNamed(const std::string& name);
