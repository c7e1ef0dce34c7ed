#pragma once

#include "model/ErrorReport.h"

#include <string>
#include <vector>

// Collects what goes to the error report while it lives, instead of showing it; the handler
// it replaced comes back afterwards.
class ErrorReportSpy {
public:
    struct Report {
        std::string context, message;
        bool operator==(const Report&) const = default;
    };

    ErrorReportSpy()
        : previous_(SetErrorReportHandler([this](const std::string& c, const std::string& m) {
              reports.push_back({c, m});
          })) {}
    ~ErrorReportSpy() { SetErrorReportHandler(previous_); }
    ErrorReportSpy(const ErrorReportSpy&) = delete;
    ErrorReportSpy& operator=(const ErrorReportSpy&) = delete;

    std::vector<Report> reports;

private:
    ErrorReportHandler previous_;
};
