#pragma once

#include "database/RecordingFile.h"

#include <functional>
#include <optional>
#include <string>

class JsonWriter;

// JSON written by write, as text.
std::string JsonText(const std::function<void(JsonWriter&)>& write);

// Writes the text to standard output, or replaces the file output with it ("Wrote OUT" on
// standard output); nothing is left there when writing fails.
void WriteOutput(const std::string& text, const std::optional<std::string>& output);
