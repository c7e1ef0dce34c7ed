#include "database/JoinRecordings.h"

#include "database/LDatabase.h"
#include "database/RecordingFile.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "model/ParameterTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>
#include <optional>
#include <utility>

namespace {

constexpr uint8_t qRmsMinimum = 6;
constexpr int64_t MostGapSeconds = int64_t{366} * 86400;
// What one join may make in memory: a year of one-minute samples takes a tenth of it, and
// two recordings at one second a year apart would take more than a machine has.
constexpr int64_t MostJoinedBytes = int64_t{2} << 30;

// Days 1-01-01 to 9999-12-31: beyond them a time is no date, and whole seconds overflow.
bool ValidTime(TDateTime t) {
    return std::isfinite(t) && t > -693594.0 && t < 2958466.0;
}

int64_t WholeSeconds(TDateTime t) {
    return std::llround(t * SecsPerDay);
}

int64_t FloorDivide(int64_t a, int64_t b) {
    return a / b - (a % b != 0 && a < 0 ? 1 : 0);
}

std::string Name(const JoinInput& input) {
    return FileBaseName(input.FileName);
}

std::string CodeText(const std::string& name, int code) {
    return name.empty() ? "code " + std::to_string(code) : name;
}

// The first setting the later recording (a) was made with that the first one (b) was not.
std::string SettingsDifference(const std::string& a, const LSession& s, const std::string& b,
                               const LSession& t) {
    if (s.PhaseConfig != t.PhaseConfig)
        return a + " was recorded on " + CodeText(PhaseConfigName(s.PhaseConfig), s.PhaseConfig) +
               ", " + b + " on " + CodeText(PhaseConfigName(t.PhaseConfig), t.PhaseConfig);
    if (s.CTType != t.CTType)
        return a + " was recorded with the " + CodeText(CTName(s.CTType), s.CTType) + ", " + b +
               " with the " + CodeText(CTName(t.CTType), t.CTType);
    if (s.Rate != t.Rate)
        return a + " was recorded at " + std::to_string(RateSeconds(s.Rate)) + " s, " + b + " at " +
               std::to_string(RateSeconds(t.Rate)) + " s";
    if (s.Interval != t.Interval)
        return a + " was recorded with the interval " + IntervalName(s.Interval) + ", " + b +
               " with " + IntervalName(t.Interval);
    return {};
}

// "RMS Current - IN"; the event types, whose names the Event and Interval types share, with
// their type.
std::string EntryLabel(const LParameter& p) {
    std::string label = p.Name() + " - " + p.ChannelLabel();
    if (p.TableType() != ttHistoric)
        label += " (" + TableTypeName(p.TableType()) + ")";
    return label;
}

bool HasEntry(const LParameterCollection& parameters, int32_t index) {
    return std::any_of(parameters.begin(), parameters.end(),
                       [index](const auto& p) { return p->Index() == index; });
}

// The first place where the later recording (a) carries other catalogue entries than the
// first one (b).
std::string EntriesDifference(const std::string& a, const LParameterCollection& pa,
                              const std::string& b, const LParameterCollection& pb) {
    const int32_t n = std::max(pa.Count(), pb.Count());
    for (int32_t i = 0; i < n; ++i) {
        const LParameter* x = i < pa.Count() ? pa.Items(i) : nullptr;
        const LParameter* y = i < pb.Count() ? pb.Items(i) : nullptr;
        if (x && y && x->Index() == y->Index())
            continue;
        if (y && !HasEntry(pa, y->Index()))
            return a + " has no " + EntryLabel(*y) + ", which " + b + " has";
        if (x && !HasEntry(pb, x->Index()))
            return b + " has no " + EntryLabel(*x) + ", which " + a + " has";
        return a + " has " + EntryLabel(x ? *x : *y) + " in another place than " + b;
    }
    return {};
}

// Its longest Historic parameter, or without samples the span of its header in periods.
int64_t LengthInPeriods(const LDatabase& db, int64_t rate) {
    int32_t longest = 0;
    for (const auto& p : db.Parameters())
        if (p->TableType() == ttHistoric)
            longest = std::max(longest, p->Count());
    if (longest > 0)
        return longest;
    const LSession& s = db.Header();
    const int64_t span = WholeSeconds(s.EndTime) - WholeSeconds(s.StartTime) + 1;
    return std::max<int64_t>(1, FloorDivide(2 * span + rate, 2 * rate));
}

// The periods of each step that no later step replaces.
void KeepWhatLaterStepsLeave(std::vector<JoinStep>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const int64_t from = steps[i].Position, to = from + steps[i].Periods;
        std::vector<std::pair<int64_t, int64_t>> covered;
        for (size_t j = i + 1; j < steps.size(); ++j) {
            const int64_t a = std::max(from, steps[j].Position);
            const int64_t b = std::min(to, steps[j].Position + steps[j].Periods);
            if (a < b)
                covered.emplace_back(a, b);
        }
        std::sort(covered.begin(), covered.end());
        int64_t replaced = 0, reached = from;
        for (const auto& [a, b] : covered) {
            replaced += std::max<int64_t>(0, b - std::max(a, reached));
            reached = std::max(reached, b);
        }
        steps[i].KeptPeriods = steps[i].Periods - replaced;
    }
}

std::string PlainTime(TDateTime t) {
    const DateTimeParts p = DecodeDateTime(std::round(t * SecsPerDay) / SecsPerDay);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day,
                  p.hour, p.minute, p.second);
    return text;
}

std::string JoinedComments(const std::vector<JoinInput>& inputs, const JoinPlan& plan) {
    std::string text = inputs[plan.Steps.front().Input].Recording->Header().Comments;
    if (!text.empty())
        text += '\n';
    text += "Joined from: ";
    for (const JoinStep& step : plan.Steps) {
        const LSession& s = inputs[step.Input].Recording->Header();
        if (&step != &plan.Steps.front())
            text += "; ";
        text += Name(inputs[step.Input]) + " (" + PlainTime(s.StartTime) + " to " +
                PlainTime(s.EndTime) + ")";
    }
    return text;
}

const LParameter& Parameter(const std::vector<JoinInput>& inputs, const JoinStep& step, int32_t j) {
    return *inputs[step.Input].Recording->Parameters().Items(j);
}

std::unique_ptr<LParameter> Made(LParameter::Record record, int64_t count,
                                 std::unique_ptr<float[]> values,
                                 std::unique_ptr<TDateTime[]> times) {
    record.count = static_cast<int32_t>(count);
    auto parameter = std::make_unique<LParameter>();
    parameter->SetRecord(record, std::move(values), std::move(times));
    return parameter;
}

std::unique_ptr<LParameter> JoinHistoric(const std::vector<JoinInput>& inputs, const JoinPlan& plan,
                                         int32_t j, JoinOverlap overlap) {
    const auto n = static_cast<size_t>(plan.Periods);
    auto values = std::make_unique_for_overwrite<float[]>(n);
    float* out = values.get();
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    // Each sample is written once where the recordings do not overlap: NaN goes only where
    // none of them has a sample, as each is copied in.
    int64_t end = 0, written = 0;
    for (const JoinStep& step : plan.Steps) {
        const LParameter& p = Parameter(inputs, step, j);
        // Taken in order, a later recording overwrites what it overlaps, unless the earlier
        // one keeps it.
        const int64_t from =
            overlap == JoinOverlap::Earlier ? std::max<int64_t>(0, end - step.Position) : 0;
        const int64_t count = std::min<int64_t>(p.Count(), step.Periods);
        if (from < count) {
            if (step.Position + from > written)
                std::fill(out + written, out + step.Position + from, NaN);
            std::copy(p.Values() + from, p.Values() + count, out + step.Position + from);
            written = std::max(written, step.Position + count);
        }
        end = std::max(end, step.Position + step.Periods);
    }
    std::fill(out + written, out + plan.Periods, NaN);
    return Made(Parameter(inputs, plan.Steps.front(), j).GetRecord(), plan.Periods,
                std::move(values), nullptr);
}

struct TimedPoint {
    TDateTime time;
    float value;
};

// Whether a point of a step at a time stays, as the overlap's choice says.
class PointKeeper {
public:
    PointKeeper(const JoinPlan& plan, JoinOverlap overlap) : overlap_(overlap) {
        const auto n = plan.Steps.size();
        ranges_.resize(n);
        keepFrom_.assign(n, -std::numeric_limits<TDateTime>::infinity());
        for (size_t i = 1; i < n; ++i)
            keepFrom_[i] = std::max(keepFrom_[i - 1], plan.Steps[i - 1].End);
        if (overlap != JoinOverlap::Later)
            return;
        for (size_t i = 0; i < n; ++i) {
            auto& r = ranges_[i];
            for (size_t j = i + 1; j < n; ++j)
                r.emplace_back(plan.Steps[j].Start, plan.Steps[j].End);
            std::sort(r.begin(), r.end());
        }
    }

    bool Keeps(size_t step, TDateTime t) const {
        switch (overlap_) {
        case JoinOverlap::Earlier:
            return t >= keepFrom_[step];
        case JoinOverlap::Later:
            return std::none_of(ranges_[step].begin(), ranges_[step].end(),
                                [t](const auto& r) { return t >= r.first && t < r.second; });
        case JoinOverlap::Refuse:
            break;
        }
        return true;
    }

private:
    JoinOverlap overlap_;
    std::vector<TDateTime> keepFrom_;
    std::vector<std::vector<std::pair<TDateTime, TDateTime>>> ranges_;
};

std::unique_ptr<LParameter> JoinTimed(const std::vector<JoinInput>& inputs, const JoinPlan& plan,
                                      int32_t j, const PointKeeper& keeper) {
    std::vector<TimedPoint> points;
    for (size_t s = 0; s < plan.Steps.size(); ++s) {
        const LParameter& p = Parameter(inputs, plan.Steps[s], j);
        for (int32_t i = 0; i < p.Count(); ++i)
            if (keeper.Keeps(s, p.Times()[i]))
                points.push_back({p.Times()[i], p.Values()[i]});
    }
    // Times that are no number (a damaged file) go last, keeping the order a strict one.
    std::stable_sort(points.begin(), points.end(), [](const TimedPoint& a, const TimedPoint& b) {
        if (std::isnan(a.time) || std::isnan(b.time))
            return !std::isnan(a.time) && std::isnan(b.time);
        return a.time < b.time;
    });
    const size_t n = points.size();
    auto values = std::make_unique_for_overwrite<float[]>(n);
    auto times = std::make_unique_for_overwrite<TDateTime[]>(n);
    for (size_t i = 0; i < n; ++i) {
        values[i] = points[i].value;
        times[i] = points[i].time;
    }
    return Made(Parameter(inputs, plan.Steps.front(), j).GetRecord(), static_cast<int64_t>(n),
                std::move(values), std::move(times));
}

std::unique_ptr<LParameter> OnePoint(const LParameter& model, std::optional<TimedPoint> point) {
    auto values = std::make_unique_for_overwrite<float[]>(point ? 1 : 0);
    auto times = std::make_unique_for_overwrite<TDateTime[]>(point ? 1 : 0);
    if (point) {
        values[0] = point->value;
        times[0] = point->time;
    }
    return Made(model.GetRecord(), point ? 1 : 0, std::move(values), std::move(times));
}

// The largest of maxima, peaks and demands, the smallest of minima; the first of equal ones.
std::unique_ptr<LParameter> JoinEvent(const std::vector<JoinInput>& inputs, const JoinPlan& plan,
                                      int32_t j) {
    const LParameter& model = Parameter(inputs, plan.Steps.front(), j);
    const bool smallest = model.Quantity() == qRmsMinimum;
    std::optional<TimedPoint> extreme, first;
    for (const JoinStep& step : plan.Steps) {
        const LParameter& p = Parameter(inputs, step, j);
        for (int32_t i = 0; i < p.Count(); ++i) {
            const TimedPoint point{p.Times()[i], p.Values()[i]};
            if (!first)
                first = point;
            if (std::isnan(point.value))
                continue;
            if (!extreme ||
                (smallest ? point.value < extreme->value : point.value > extreme->value))
                extreme = point;
        }
    }
    return OnePoint(model, extreme ? extreme : first);
}

// Energy adds up; an average is the mean of the inputs' averages weighted by the time each
// adds to the joined recording. A total stands at the time of the last input's.
std::unique_ptr<LParameter> JoinCumulative(const std::vector<JoinInput>& inputs,
                                           const JoinPlan& plan, int32_t j) {
    const LParameter& model = Parameter(inputs, plan.Steps.front(), j);
    const bool energy = model.Quantity() == qEnergy;
    double sum = 0, weights = 0;
    std::optional<TimedPoint> total;
    for (const JoinStep& step : plan.Steps) {
        const LParameter& p = Parameter(inputs, step, j);
        if (p.Count() == 0 || step.KeptPeriods == 0)
            continue;
        // The last point is the total (the instrument records only that one).
        const float value = p.Values()[p.Count() - 1];
        if (!std::isfinite(value))
            continue;
        const double kept = static_cast<double>(step.KeptPeriods);
        if (energy) {
            sum += value * kept / static_cast<double>(step.Periods);
        } else {
            sum += value * kept;
            weights += kept;
        }
        total = TimedPoint{p.Times()[p.Count() - 1], 0};
    }
    if (total)
        total->value = static_cast<float>(energy ? sum : sum / weights);
    return OnePoint(model, total);
}

// The input's copy of parameter j is no longer needed: give its memory back.
void Release(JoinInput& input, int32_t j) {
    LParameter& p = *input.Recording->Parameters().Items(j);
    LParameter::Record record = p.GetRecord();
    record.count = 0;
    p.SetRecord(record, nullptr, nullptr);
}

// Every input's notes, and where each input's recording started.
void AddJoinedNotes(const std::vector<JoinInput>& inputs, const JoinPlan& plan,
                    LDatabase& database) {
    for (const JoinStep& step : plan.Steps) {
        const LDatabase& input = *inputs[step.Input].Recording;
        LNote start;
        start.Start = start.End = step.Start;
        start.Kind = LNoteKind::Recorder;
        start.Text = "Recording started: " + Name(inputs[step.Input]);
        start.Author = input.Header().UserID;
        database.AddNote(std::move(start));
        for (const LNote& note : input.Notes())
            database.AddNote(note);
    }
}

} // namespace

std::string FileBaseName(const std::string& fileName) {
    const size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::string SpanText(int64_t seconds) {
    const int64_t parts[] = {seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60};
    const char* const units[] = {" d", " h", " min", " s"};
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (parts[i] == 0)
            continue;
        if (!text.empty())
            text += ' ';
        text += std::to_string(parts[i]) + units[i];
    }
    return text.empty() ? "0 s" : text;
}

std::string NeighbourText(const JoinStep& step, bool first) {
    if (first)
        return {};
    if (step.GapPeriods < 0)
        return "overlap of " + SpanText(-step.GapSeconds);
    if (step.GapPeriods == 0)
        return "back to back";
    return "gap of " + SpanText(step.GapSeconds);
}

JoinInput ReadJoinInput(const std::string& fileName) {
    JoinInput input{fileName, std::make_unique<LDatabase>()};
    // Its message names the file already.
    OpenDatabaseOrRecording(*input.Recording, fileName);
    return input;
}

JoinPlan PlanJoin(const std::vector<JoinInput>& inputs, JoinOverlap overlap) {
    JoinPlan plan;
    if (inputs.size() < 2) {
        plan.Refusal = "A join needs at least two recordings.";
        return plan;
    }
    for (const JoinInput& input : inputs) {
        const LSession& s = input.Recording->Header();
        if (!ValidTime(s.StartTime) || !ValidTime(s.EndTime)) {
            plan.Refusal = Name(input) + " has no valid start or end time";
            return plan;
        }
        if (RateSeconds(s.Rate) <= 0) {
            plan.Refusal = Name(input) + " was recorded at an unknown rate (code " +
                           std::to_string(s.Rate) + ")";
            return plan;
        }
    }

    struct Span {
        int64_t start, end; // whole seconds
    };
    std::vector<Span> spans;
    for (const JoinInput& input : inputs) {
        const LSession& s = input.Recording->Header();
        const int64_t start = WholeSeconds(s.StartTime);
        spans.push_back({start, start + LengthInPeriods(*input.Recording, RateSeconds(s.Rate)) *
                                            RateSeconds(s.Rate)});
    }
    std::vector<size_t> order(inputs.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return spans[a].start != spans[b].start ? spans[a].start < spans[b].start
                                                : spans[a].end < spans[b].end;
    });

    // Every step is laid out, so that a refusal still shows what lies between the inputs;
    // the first reason found is the one given.
    const auto refuse = [&plan](std::string reason) {
        if (plan.Refusal.empty())
            plan.Refusal = std::move(reason);
    };
    const JoinInput& first = inputs[order[0]];
    const LSession& base = first.Recording->Header();
    for (size_t k = 1; k < order.size(); ++k) {
        const JoinInput& input = inputs[order[k]];
        refuse(SettingsDifference(Name(input), input.Recording->Header(), Name(first), base));
        refuse(EntriesDifference(Name(input), input.Recording->Parameters(), Name(first),
                                 first.Recording->Parameters()));
    }

    const int64_t rate = RateSeconds(base.Rate);
    const int64_t origin = spans[order[0]].start;
    int64_t end = 0, endSeconds = origin;
    size_t endsLast = order[0];
    for (const size_t k : order) {
        JoinStep step;
        step.Input = k;
        const int64_t offset = spans[k].start - origin;
        step.Position = FloorDivide(2 * offset + rate, 2 * rate);
        step.MovedSeconds = step.Position * rate - offset;
        const int64_t ownRate = RateSeconds(inputs[k].Recording->Header().Rate);
        step.Periods = LengthInPeriods(*inputs[k].Recording, ownRate);
        step.Start = inputs[k].Recording->Header().StartTime;
        step.End = step.Start + static_cast<double>(step.Periods * ownRate) / SecsPerDay;
        step.Before = k;
        step.KeptPeriods = step.Periods;
        if (k != order[0]) {
            step.Before = endsLast;
            step.GapPeriods = step.Position - end;
            step.GapSeconds = spans[k].start - endSeconds;
            const std::string name = Name(inputs[k]), before = Name(inputs[endsLast]);
            if (step.GapSeconds > MostGapSeconds)
                refuse(name + " starts " + SpanText(step.GapSeconds) + " after " + before +
                       " ends: a gap of more than 366 days");
            if (step.GapPeriods < 0 && overlap == JoinOverlap::Refuse)
                refuse(name + " starts " + SpanText(-step.GapSeconds) + " before " + before +
                       " ends");
            if (std::abs(step.MovedSeconds) * 10 > rate)
                plan.Moves.push_back(name + ": start moved by " +
                                     std::to_string(std::abs(step.MovedSeconds)) + " s onto the " +
                                     std::to_string(rate) + " s grid");
            if (overlap == JoinOverlap::Earlier)
                step.KeptPeriods = std::max<int64_t>(0, step.Position + step.Periods -
                                                            std::max(step.Position, end));
        }
        if (step.Position + step.Periods >= end) {
            end = step.Position + step.Periods;
            endsLast = k;
        }
        endSeconds = std::max(endSeconds, spans[k].end);
        plan.Steps.push_back(step);
    }
    plan.Periods = end;
    if (overlap == JoinOverlap::Later)
        KeepWhatLaterStepsLeave(plan.Steps);
    if (!plan.Refusal.empty())
        return plan;

    int64_t historic = 0, points = 0;
    for (const auto& p : first.Recording->Parameters())
        historic += p->TableType() == ttHistoric;
    for (const JoinInput& input : inputs)
        for (const auto& p : input.Recording->Parameters())
            points += p->TableType() != ttHistoric ? p->Count() : 0;
    const int64_t bytes = historic * plan.Periods * 4 + points * 12;
    if (bytes > MostJoinedBytes || (historic > 0 && plan.Periods > INT32_MAX))
        plan.Refusal = "The joined recording would take " + std::to_string(bytes >> 20) +
                       " MB, more than the " + std::to_string(MostJoinedBytes >> 20) +
                       " MB a join may make";
    return plan;
}

JoinPlan JoinRecordings(std::vector<JoinInput> inputs, JoinOverlap overlap, LDatabase& database) {
    JoinPlan plan = PlanJoin(inputs, overlap);
    if (!plan.Refusal.empty())
        Raise(plan.Refusal);
    const LDatabase& first = *inputs[plan.Steps.front().Input].Recording;
    database.New();
    try {
        LSession& header = database.Header();
        header = first.Header();
        const JoinStep* last = &plan.Steps.front();
        for (const JoinStep& step : plan.Steps)
            if (step.Position + step.Periods >= last->Position + last->Periods)
                last = &step;
        header.EndTime = inputs[last->Input].Recording->Header().EndTime;
        header.Comments = JoinedComments(inputs, plan);

        const PointKeeper keeper(plan, overlap);
        const int32_t count = first.Parameters().Count();
        header.ParameterCount = count;
        header.HistoricPointMax = header.EventPointMax = 0;
        for (int32_t j = 0; j < count; ++j) {
            std::unique_ptr<LParameter> joined;
            switch (first.Parameters().Items(j)->TableType()) {
            case ttHistoric:
                joined = JoinHistoric(inputs, plan, j, overlap);
                break;
            case ttEvent:
                joined = JoinEvent(inputs, plan, j);
                break;
            case ttCumulative:
                joined = JoinCumulative(inputs, plan, j);
                break;
            default:
                joined = JoinTimed(inputs, plan, j, keeper);
                break;
            }
            int32_t& most =
                joined->TableType() == ttHistoric ? header.HistoricPointMax : header.EventPointMax;
            most = std::max(most, joined->Count());
            database.Parameters().Add(std::move(joined));
            for (JoinInput& input : inputs)
                Release(input, j);
        }
        AddJoinedNotes(inputs, plan, database);
        database.CreateSourceGroups();
        database.SetModified(true);
    } catch (...) {
        database.Close();
        throw;
    }
    return plan;
}
