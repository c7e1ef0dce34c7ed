#include "model/LParser.h"

#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "model/LParameterCollection.h"
#include "model/LSession.h"
#include "model/ParameterTable.h"
#include "model/Windows1252.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "recordings are little-endian and copied as they are");

namespace {

template <typename T> T Load(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::string FieldText(const uint8_t* p, size_t width) {
    const auto* end = static_cast<const uint8_t*>(std::memchr(p, 0, width));
    return FromWindows1252(std::string_view(reinterpret_cast<const char*>(p),
                                            end ? static_cast<size_t>(end - p) : width));
}

std::string Bracketed(const char* name, int value) {
    return std::string(name) + " [" + std::to_string(value) + "]";
}

} // namespace

void LParser::Fail(const std::string& text) {
    Raise("Parse error:" + text);
}

const uint8_t* LParser::Advance(int64_t n) {
    const int64_t start = position_;
    position_ += n;
    if (position_ > size_)
        Fail("Incremented past end");
    return data_ + start;
}

void LParser::Run(std::string& input, LSession& session, LParameterCollection& parameters) {
    struct Emptier {
        std::string& s;
        ~Emptier() { std::string().swap(s); }
    } emptier{input};
    Run(std::span(reinterpret_cast<const uint8_t*>(input.data()), input.size()), session,
        parameters);
}

void LParser::Run(std::span<const uint8_t> input, LSession& session,
                  LParameterCollection& parameters) {
    data_ = input.data();
    size_ = static_cast<int64_t>(input.size());
    position_ = 0;
    cachedDateKey_ = 0xFFFFFFFF;

    ReadHeader(session);

    session.EventPointMax = 0;
    session.HistoricPointMax = 0;
    for (int32_t i = 0; i < session.ParameterCount; ++i)
        ReadBlock(session, parameters);

    const int32_t n = std::max(session.HistoricPointMax, session.EventPointMax);
    if (n <= 0)
        Fail("Error calculating start time");
    TDateTime oneSecond;
    TryEncodeTime(0, 0, 1, 0, oneSecond);
    session.StartTime = session.EndTime - IntervalsToDays(n, session.RateSeconds()) + oneSecond;

    for (const auto& p : parameters)
        p->SetStartTime(session.StartTime);
}

void LParser::ReadHeader(LSession& session) {
    const uint8_t* h = Advance(HeaderSize);
    session.DataLength = Load<int32_t>(h);

    const int16_t produced = Load<int16_t>(h + 4);
    const int yy = produced % 100;
    const int month = produced / 100;
    if (!TryEncodeDate(yy < 97 ? 2000 + yy : 1900 + yy, month, 1, session.DateProduced))
        Fail(Bracketed("DateProduced", produced));

    session.InstrumentNumber = Load<int16_t>(h + 6);
    session.InstrumentText = FieldText(h + 8, 16);
    session.InstrumentShortText = FieldText(h + 24, 8);
    session.InstrumentLongNumber = Load<int32_t>(h + 32);

    const auto phase = static_cast<int8_t>(h[36]);
    if (phase < 0 || phase > 4 || phase == 2)
        Fail(Bracketed("PhaseConfig", phase));
    session.PhaseConfig = static_cast<uint8_t>(phase);
    const auto ct = static_cast<int8_t>(h[37]);
    if (ct < 0 || ct > 2)
        Fail(Bracketed("CT", ct));
    session.CTType = static_cast<uint8_t>(ct);
    const auto rate = static_cast<int8_t>(h[38]);
    if (rate < 0 || rate > 7)
        Fail(Bracketed("Rate", rate));
    session.Rate = static_cast<uint8_t>(rate);
    const auto interval = static_cast<int8_t>(h[39]);
    if (interval < 0 || interval > 4)
        Fail(Bracketed("Interval", interval));
    session.Interval = static_cast<uint8_t>(interval);
    const auto mode = static_cast<int8_t>(h[40]);
    if (mode < 0 || mode > 1)
        Fail(Bracketed("Mode", mode));
    session.Mode = static_cast<uint8_t>(mode);

    session.EndTime = ConvertTimeStamp(h + 41);
    session.ParameterCount = static_cast<int8_t>(h[48]);
}

void LParser::ReadBlock(LSession& session, LParameterCollection& parameters) {
    const uint8_t* head = Advance(BlockHeadSize);
    const LTableType sentType = head[1];
    LTableType type = sentType;
    const uint8_t quantity = head[2];
    uint8_t unit = head[3];
    const uint8_t channel = head[4];
    const auto headerA = Load<float>(head + 5);
    const auto headerB = Load<float>(head + 9);
    const auto n = Load<int32_t>(head + 13);

    // The instrument files three-phase energy under any unit, and demand under the
    // cumulative types; the catalogue knows them as watt-hours and as event types.
    if (quantity == qEnergy && channel == chThreePhase)
        unit = uWattHours;
    if (quantity == qDemand) {
        if (type == ttCumulative)
            type = ttEvent;
        else if (type == ttIntervalCumulative)
            type = ttIntervalEvent;
    }
    const int index =
        FindParameter(session.PhaseConfig, session.Interval, type, quantity, unit, channel);
    if (index < 0)
        Fail("Parameter failed validation");
    if (n > MaxPoints)
        Fail("Too many data points");
    if (n < 0)
        Fail(Bracketed("Negative number of data points", n));

    int32_t& maximum = sentType == ttHistoric ? session.HistoricPointMax : session.EventPointMax;
    maximum = std::max(maximum, n);

    auto values = std::make_unique_for_overwrite<float[]>(static_cast<size_t>(n));
    std::unique_ptr<TDateTime[]> times;
    if (sentType == ttHistoric) {
        const uint8_t* src = Advance(int64_t{4} * n);
        std::memcpy(values.get(), src, sizeof(float) * static_cast<size_t>(n));
    } else {
        const uint8_t* src = Advance(int64_t{EventRecordSize} * n);
        times = std::make_unique_for_overwrite<TDateTime[]>(static_cast<size_t>(n));
        for (int32_t i = 0; i < n; ++i, src += EventRecordSize) {
            values[i] = Load<float>(src);
            times[i] = ConvertTimeStamp(src + 4);
        }
    }

    auto parameter = std::make_unique<LParameter>();
    parameter->SetData(session.RateSeconds(), index, std::move(times), std::move(values), n,
                       headerA, headerB);
    parameter->SetId(parameters.NewId());
    parameters.Add(std::move(parameter));
}

namespace {

struct StampFields {
    int hour, minute, second, day, month, year;
};

StampFields Fields(const uint8_t* s) {
    // Afternoon hours carry the top bit: 129 is 13:00, 140 is 24:00, which is midnight.
    int hourByte = s[0];
    if (hourByte >= 129)
        hourByte -= 116;
    if (hourByte == 24)
        hourByte = 0;
    const int yy = static_cast<int8_t>(s[6]);
    return {static_cast<int8_t>(static_cast<uint8_t>(hourByte)),
            static_cast<int8_t>(s[1]),
            static_cast<int8_t>(s[2]),
            static_cast<int8_t>(s[4]),
            static_cast<int8_t>(s[5]),
            yy < 97 ? 2000 + yy : 1900 + yy};
}

[[noreturn, gnu::noinline, gnu::cold]] void FailTimeStamp(const uint8_t* s) {
    const StampFields f = Fields(s);
    char text[96];
    std::snprintf(text, sizeof text, "<<Time/Date = %d:%d:%d, %d/%d/%d", f.hour, f.minute, f.second,
                  f.month, f.day, f.year);
    Raise(std::string("Parse error:") + text);
}

} // namespace

[[gnu::noinline]] void LParser::CacheDate(const uint8_t* s) {
    const StampFields f = Fields(s);
    if (!TryEncodeDate(f.year, f.month, f.day, cachedDate_))
        FailTimeStamp(s);
    cachedDateKey_ = DateKey(s);
}

namespace {

// The hour of each hour byte, or -1 where the byte can be no hour of the day.
const std::array<int8_t, 256> HourOfByte = [] {
    std::array<int8_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const std::array<uint8_t, 7> stamp{static_cast<uint8_t>(b), 0, 0, 0, 1, 1, 1};
        const int hour = Fields(stamp.data()).hour;
        table[b] = static_cast<int8_t>(hour >= 0 && hour <= 23 ? hour : -1);
    }
    return table;
}();

} // namespace

TDateTime LParser::ConvertTimeStamp(const uint8_t* s) {
    // Event points of a recording mostly share their date with the point before.
    if (DateKey(s) != cachedDateKey_) [[unlikely]]
        CacheDate(s);
    const int hour = HourOfByte[s[0]];
    // Minutes and seconds read as signed bytes: a byte above 59 is invalid either way.
    if (hour < 0 || s[1] > 59 || s[2] > 59) [[unlikely]]
        FailTimeStamp(s);
    // The day fraction exactly as an encoded time of day computes it.
    return cachedDate_ + (hour * 3600000 + s[1] * 60000 + s[2] * 1000) / MSecsPerDay;
}
