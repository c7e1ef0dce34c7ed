#include "model/RecordingFacts.h"

#include "model/LSession.h"
#include "resources/StringTable.h"

std::array<RecordingFact, 10> RecordingFacts(const LSession& s) {
    return {{{StrUserId, s.UserID, {}},
             {StrLocation, s.Location, {}},
             {StrComments, s.Comments, {}},
             {StrStart, {}, s.StartTime},
             {StrEnd, {}, s.EndTime},
             {StrPhase, s.PhaseConfigName(), {}},
             {StrMode, s.ModeName(), {}},
             {StrRate, s.RateText(), {}},
             {StrInterval, s.IntervalName(), {}},
             {StrCT, s.CTName(), {}}}};
}
