#pragma once

#include <functional>
#include <stdexcept>
#include <string>

// The one error type the program raises: it carries the English message shown to the user.
class VroError : public std::runtime_error {
public:
    explicit VroError(const std::string& message) : std::runtime_error(message) {}
};

[[noreturn]] void Raise(const std::string& message);

// Internal consistency failures are first reported through this hook (the windowed program
// shows its error box, the command-line tool prints to standard error), then raised.
using ErrorReportHandler =
    std::function<void(const std::string& context, const std::string& message)>;

// Installs the handler and returns the one it replaces. An empty handler silences reports.
ErrorReportHandler SetErrorReportHandler(ErrorReportHandler handler);

// Reports without raising (the leak report uses this alone).
void ShowError(const std::string& context, const std::string& message);

// Reports, then raises VroError with the same message.
[[noreturn]] void ShowErrorAndRaise(const std::string& context, const std::string& message);
