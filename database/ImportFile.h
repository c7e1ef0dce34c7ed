#pragma once

#include <functional>
#include <string>

class LDatabase;
class LSession;

// Lets the user fill in who made the recording and where (user id, location, comments).
using EditInfoFunction = std::function<void(LSession&)>;

// Makes a new, unsaved database from a 1.x export file (*.bin), named after it. On any
// failure the database is left closed and the error is raised; a file that cannot be read
// raises its message under OpenFailureText's sentence.
void ImportFile(LDatabase& database, const std::string& fileName, const EditInfoFunction& editInfo);

// The export file's name without a final ".bin" (in any case) that follows at least one
// character; otherwise the whole name.
std::string ImportBaseName(const std::string& fileName);
