#pragma once

#include "analysis/CapacityStudy.h"
#include "analysis/TextTable.h"

// The capacity study's tables, as the survey's other pages have theirs.

// Figure, Phase, Value (its unit in a column of its own), Time: each line of the calculation
// in turn: per phase the highest block current, the existing design current, each unmanaged
// new load, the design current and the headroom; the rating, the verdict with the headroom or
// shortfall, the set point; the kVA form; the continuous check; each managed load's nights.
TextTable CapacityTable(const CapacityStudy& study);

// Load, Rating (A), Connection, Continuous, Managed, Factor and what it adds to each phase
// (A); a row per new load.
TextTable NewLoadsTable(const CapacityStudy& study);

// Hour ("00:00" to "23:00"), then for weekdays and the weekend the highest block current, its
// phase and the headroom (A); a row per hour.
TextTable HeadroomTable(const CapacityStudy& study);

// Night (the day the charging window opens), then a column per managed load: the energy it
// could take that night (kWh); a row per night any of them has.
TextTable NightEnergyTable(const CapacityStudy& study);
