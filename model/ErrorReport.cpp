#include "model/ErrorReport.h"

#include <utility>

namespace {
ErrorReportHandler& Handler() {
    static ErrorReportHandler handler;
    return handler;
}
} // namespace

void Raise(const std::string& message) {
    throw VroError(message);
}

ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

void ShowError(const std::string& context, const std::string& message) {
    if (Handler())
        Handler()(context, message);
}

void ShowErrorAndRaise(const std::string& context, const std::string& message) {
    ShowError(context, message);
    Raise(message);
}
