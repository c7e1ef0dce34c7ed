#include "windows/analysis/CompareScreenshots.h"

#include "database/LDatabase.h"
#include "model/LSession.h"
#include "model/ParameterTable.h"
#include "windows/analysis/TCompareDialog.h"
#include "windows/analysis/TCompareForm.h"
#include "windows/analysis/TRangePicker.h"
#include "windows/shell/Screenshots.h"

#include <QTabWidget>

#include <cmath>
#include <numbers>

namespace {

constexpr int SamplesPerDay = 288;
constexpr int Days = 42;
// The lighting changed on the 21st day.
constexpr int ChangeDay = 21;

// From 09:30 on Monday 11 March 2024: a base of 6 kW, the working day's load on top (lighter
// at weekends), each day a few per cent off the last.
std::vector<float> SixWeeks(std::vector<float>& reactive) {
    std::vector<float> power;
    for (int i = 0; i < Days * SamplesPerDay; ++i) {
        const double hours = 9.5 + i / 12.0;
        const int day = static_cast<int>(hours / 24);
        const double hour = std::fmod(hours, 24);
        const bool weekend = day % 7 == 5 || day % 7 == 6;
        const double working = std::exp(-std::pow((hour - 12.5) / 4.0, 4));
        const double lighting = day >= ChangeDay ? 0.85 : 1.0;
        const double scatter = 1 + 0.05 * std::sin(day * 2.1) + 0.02 * std::sin(i * 0.37);
        const double watts = 6000 + (weekend ? 5000 : 21000) * working * lighting * scatter;
        power.push_back(static_cast<float>(watts));
        reactive.push_back(static_cast<float>(watts * 0.45));
    }
    return power;
}

} // namespace

QStringList WriteCompareScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    LDatabase db;
    NewSampleDatabase(db, "Workshop, new lighting", "/data/workshop-lighting.vro");
    std::vector<float> reactive;
    const std::vector<float> power = SixWeeks(reactive);
    AddSampleParameter(db, SampleHistoricEntry(1, 2, chThreePhase), power);
    AddSampleParameter(db, SampleHistoricEntry(2, 3, chThreePhase), reactive);

    TCompareDialog dialog(db);
    dialog.UseOpenRecording();
    // The 12th to the 31st of March against the 2nd to the 21st of April.
    const int32_t first = (24 - 9) * 12 - 6, perDay = SamplesPerDay;
    dialog.BeforePicker()->SetIndices(first, first + 20 * perDay - 1);
    dialog.AfterPicker()->SetIndices(first + 22 * perDay, first + 41 * perDay - 1);
    dialog.SetTariff({{}, 0.18, 12, 25});
    folder.Save(dialog, "compare-dialog.png");

    const CompareOptions options = dialog.Options();
    TCompareForm form(db, RunComparison(db.Parameters(), db.Parameters(), options));
    form.resize(980, 700);
    folder.SavePages(form, *form.Pages(),
                     {"compare-summary.png", "compare-profile.png", "compare-energy.png",
                      "compare-duration.png"});
    return folder.Written();
}
