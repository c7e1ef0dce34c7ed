// Recording byte streams come from the instrument and from old export files: any bytes at all.
#include "model/ErrorReport.h"
#include "model/LParameterCollection.h"
#include "model/LParameterSource.h"
#include "model/LParser.h"
#include "model/LSession.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LSession session;
    LParameterCollection parameters;
    try {
        LParser().Run(std::span(data, size), session, parameters);
    } catch (const VroError&) {
        return 0;
    }
    // Whatever parsed must be viewable.
    for (const auto& p : parameters) {
        LParameterSource source(p.get());
        float v;
        TDateTime t;
        source.GetFirst(v, t);
        source.GetLast(v, t);
        source.SetSubset(1, std::max(1, session.HistoricPointMax));
        source.GetFirst(v, t);
        source.GetLast(v, t);
        for (int32_t i = 0; i < source.GetCount(); ++i)
            source.GetPoint(i, v, t);
    }
    return 0;
}
