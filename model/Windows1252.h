#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Stored texts (database files, recording headers) are in Windows-1252; the program's own
// texts are UTF-8. These convert at the file boundary. All 256 bytes map to distinct code
// points, so bytes -> UTF-8 -> bytes is exact; a character with no Windows-1252 code, or a
// malformed UTF-8 sequence, is written as '?'.
std::string FromWindows1252(std::string_view bytes);
std::string ToWindows1252(std::string_view utf8);
// The length of ToWindows1252(utf8), without making it.
size_t Windows1252Length(std::string_view utf8);
