#pragma once

#include <string>

class InputFile;

// What a failure to read a file means for the person who chose it: a sentence that names the
// file and the cause its one open saw (the file is missing, may not be read, is not a regular
// file, or else is damaged or not of the kind asked for), then the reader's own message on a
// line of its own.
enum class FileKind { Database, ExportFile };
enum class FileAction { Open, Import };

std::string OpenFailureText(const InputFile& file, FileKind kind, FileAction action,
                            const std::string& message);
