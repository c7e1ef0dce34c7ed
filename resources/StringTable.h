#pragma once

#include <string>

// The program's texts by number. Code names them by these identifiers; a range of texts
// (parameter names, units, channel labels, ...) is named by its first number.
enum StringId : int {
    StrUserId = 14,
    StrLocation = 15,
    StrComments = 16,
    StrStart = 17,
    StrPhase = 18,
    StrMode = 19,
    StrSeconds = 20,
    StrTableTypes = 21,     // 21..25 by table type
    StrParameterNames = 26, // 26..48 by name slot
    StrUnits = 49,          // long and short name by unit code: 49 + 2u, 50 + 2u
    StrChannels = 62,       // channel code c (1..25) is 62 + c
    StrDurationTime = 97,   // "%2.2d:%2.2d:%2.2d"
    StrDurationDays = 98,   // "%2.2dy %2.2dm %2.2dd"
    StrRate = 88,
    StrInterval = 89,
    StrCT = 90,
    StrEnd = 99,
    StrPhaseConfigurations = 100,
    StrRecordingInfoNode = 105,
    StrTablesNode = 106,
    StrChartsNode = 107,
    StrTableCaption = 108, // "Table #"
    StrChartCaption = 109, // "Chart #"
    StrCurrentClamps = 110,
    StrConfirmDelete = 113,
    StrModeZoom = 114,
    StrModePan = 115,
    StrModeExamine = 116,
    StrNoValue = 117,
    StrModified = 118,
    StrSaveChanges = 119,
    StrIntervals = 120,
    StrNoParametersSelected = 123,
    StrPageOfPages = 124, // "Page %d of %d"
    StrLocationLine = 125,
    StrUserIdLine = 126,
    StrNewDatabase = 127,
    StrModes = 130,
    StrLoadFailed = 1000,
    StrSaveFailed = 1001,
};

// The text of a number; a number the table does not hold yields an empty text.
const std::string& LoadStr(int id);
