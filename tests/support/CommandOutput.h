#pragma once

#include <string>

// What a shell command writes to its standard output (empty when it cannot run).
std::string CommandOutput(const std::string& command);
// The text as one word of a shell command line, whatever it holds.
std::string ShellQuoted(const std::string& text);
