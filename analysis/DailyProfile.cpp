#include "analysis/DailyProfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

int32_t BinCount(int32_t minutes) {
    return minutes > 0 ? 1440 / minutes : 0;
}

int32_t BinOf(int64_t start, int32_t minutes) {
    const int64_t ofDay = start - DayOfSecond(start) * 86400;
    return static_cast<int32_t>(ofDay / (int64_t{60} * minutes));
}

std::vector<ProfileBin> EmptyBins(int32_t minutes) {
    std::vector<ProfileBin> bins(static_cast<size_t>(BinCount(minutes)));
    for (size_t i = 0; i < bins.size(); ++i)
        bins[i].StartMinute = static_cast<int32_t>(i) * minutes;
    return bins;
}

} // namespace

std::string BinStartText(int32_t startMinute) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", startMinute / 60, startMinute % 60);
    return text;
}

DailyProfile ComputeDailyProfile(const BlockSeries& blocks) {
    DailyProfile profile;
    profile.Minutes = blocks.Minutes;
    profile.Weekday = EmptyBins(blocks.Minutes);
    profile.Weekend = EmptyBins(blocks.Minutes);
    for (const DemandBlock& b : blocks.Blocks) {
        if (!b.Complete)
            continue;
        auto& bins = IsWeekend(DayOfSecond(b.Start)) ? profile.Weekend : profile.Weekday;
        const int32_t i = BinOf(b.Start, blocks.Minutes);
        if (i < 0 || i >= static_cast<int32_t>(bins.size()))
            continue;
        ProfileBin& bin = bins[static_cast<size_t>(i)];
        ++bin.Blocks;
        bin.Mean = bin.Mean.value_or(0) + b.Mean;
        bin.Minimum = std::min(bin.Minimum.value_or(b.Mean), b.Mean);
        bin.Maximum = std::max(bin.Maximum.value_or(b.Mean), b.Mean);
    }
    for (auto* bins : {&profile.Weekday, &profile.Weekend})
        for (ProfileBin& bin : *bins)
            if (bin.Blocks > 0)
                *bin.Mean /= bin.Blocks;
    return profile;
}

std::optional<double> HeatMap::Cell(size_t row, int32_t bin) const {
    const size_t i = row * static_cast<size_t>(Bins) + static_cast<size_t>(bin);
    if (bin < 0 || bin >= Bins || i >= Cells.size() || std::isnan(Cells[i]))
        return std::nullopt;
    return Cells[i];
}

HeatMap ComputeHeatMap(const BlockSeries& blocks, const std::vector<TDateTime>& days) {
    HeatMap map;
    map.Bins = BinCount(blocks.Minutes);
    map.Days = days;
    if (blocks.Complete == 0)
        return map; // every cell empty
    map.Cells.assign(days.size() * static_cast<size_t>(map.Bins),
                     std::numeric_limits<double>::quiet_NaN());
    size_t row = 0;
    for (const DemandBlock& b : blocks.Blocks) {
        if (!b.Complete)
            continue;
        const auto day = static_cast<double>(DayOfSecond(b.Start));
        while (row < days.size() && days[row] < day)
            ++row;
        if (row == days.size())
            break;
        const int32_t bin = BinOf(b.Start, blocks.Minutes);
        if (days[row] == day && bin >= 0 && bin < map.Bins)
            map.Cells[row * static_cast<size_t>(map.Bins) + static_cast<size_t>(bin)] = b.Mean;
    }
    return map;
}
