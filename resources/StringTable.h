#pragma once

#include <string>

// The program's texts by number. A number the table does not hold yields an empty text.
const std::string& LoadStr(int id);
