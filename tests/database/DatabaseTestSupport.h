#pragma once

#include "database/LDatabase.h"
#include "tests/support/ScratchFolder.h"

#include <string>

// A small generated recording (Historic, event and cumulative blocks) with two tables and two
// charts that use its sources, one table and one chart with chained sources, one with a
// subset. With eventPoints, the event-type blocks hold that many points scattered over the
// recording instead of one per total and per interval.
void FillDatabase(LDatabase& db, int historicPoints = 30, int eventPoints = 0);

// Saves the database under the name (".vro" added) and returns the file's name.
std::string SaveAs(LDatabase& db, const std::string& name);
// Makes db a new database and loads the file into it.
void LoadFrom(LDatabase& db, const std::string& fileName);

// Raises unless the database's content equals the other's, record by record.
void ExpectSameContent(const LDatabase& a, const LDatabase& b);
