#include "windows/analysis/SurveyScreenshots.h"

#include "database/LDatabase.h"
#include "model/ParameterTable.h"
#include "resources/DataFiles.h"
#include "windows/analysis/TNewLoadsEditor.h"
#include "windows/analysis/TSurveyForm.h"
#include "windows/shell/Registry.h"
#include "windows/shell/Screenshots.h"
#include "windows/shell/SurveySettings.h"
#include "windows/shell/TTariffFileBox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace {

// 31 days at 5-minute samples from Monday 11 March 2024, 09:30.
constexpr int Samples = 31 * 288;

// The share of a day's load at hours past midnight: low at night, a morning rise, the
// afternoon peak; weekends lighter and later.
double LoadShape(double hours, bool weekend) {
    const double day = 0.5 - 0.5 * std::cos((hours - 3.5) / 24.0 * 2 * std::numbers::pi);
    const double morning = std::exp(-std::pow((hours - 8.0) / 1.5, 2));
    return weekend ? 0.55 * day + 0.1 * morning : day + 0.35 * morning;
}

struct Month {
    std::vector<float> power, reactive, voltage[3], current[3];
};

Month MakeMonth() {
    Month m;
    for (int i = 0; i < Samples; ++i) {
        const double hours = 9.5 + i / 12.0;
        const int day = static_cast<int>(hours / 24);
        const bool weekend = day % 7 == 5 || day % 7 == 6;
        const double noise = std::sin(i * 2.3) * std::sin(i * 0.37) + 0.5 * std::sin(i * 0.071);
        const double load = LoadShape(std::fmod(hours, 24), weekend) * (1 + 0.04 * (day % 5));
        const double watts = 6200 + 21000 * load + 900 * noise;
        m.power.push_back(static_cast<float>(watts));
        // Motors: the power factor is lowest at light load.
        const double pf = 0.8 + 0.08 * load + 0.01 * std::sin(i * 0.13);
        m.reactive.push_back(static_cast<float>(watts * std::tan(std::acos(pf))));
        for (int p = 0; p < 3; ++p) {
            // The voltage sags under load; one afternoon on phase C it dips below the limit.
            double volts = 232.5 - 7.5 * load + 0.8 * std::sin(i * 0.9 + p) + 0.6 * p;
            if (p == 2 && day == 17 && hours - 24 * day > 14 && hours - 24 * day < 16)
                volts -= 18;
            m.voltage[p].push_back(static_cast<float>(volts));
            m.current[p].push_back(static_cast<float>(watts / 3 / volts * (1 + 0.05 * p)));
        }
    }
    // An hour the recorder missed.
    for (int i = 4000; i < 4012; ++i)
        m.power[static_cast<size_t>(i)] = std::numeric_limits<float>::quiet_NaN();
    return m;
}

} // namespace

QStringList WriteSurveyScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    LDatabase db;
    NewSampleDatabase(db, "Substation 4, feeder B", "/data/feeder-b-march.vro");
    const Month m = MakeMonth();
    constexpr uint8_t Volts = 0, Amperes = 1, Watts = 2, Var = 3, Rms = 0, RealPower = 1,
                      ReactivePower = 2;
    constexpr uint8_t VAN = 15, IA = 18, ThreePhase = 25;
    for (uint8_t p = 0; p < 3; ++p)
        AddSampleParameter(db, SampleHistoricEntry(Rms, Volts, VAN + p), m.voltage[p]);
    for (uint8_t p = 0; p < 3; ++p)
        AddSampleParameter(db, SampleHistoricEntry(Rms, Amperes, IA + p), m.current[p]);
    AddSampleParameter(db, SampleHistoricEntry(RealPower, Watts, ThreePhase), m.power);
    AddSampleParameter(db, SampleHistoricEntry(ReactivePower, Var, ThreePhase), m.reactive);

    const SurveyOptions stored = TSurveyForm::StoredOptions();
    const TariffChoice storedTariff = StoredTariffChoice();
    const BatteryOptions storedBattery = StoredBatteryOptions();
    const QStringList recentTariffs = RecentTariffFiles();
    // The example shipped with the program, else a simple tariff.
    const auto example = FindDataFile("tariff-example.json", ProgramFolder());
    {
        TSurveyForm form(db);
        form.BlockMinutesBox()->setCurrentIndex(2); // 15 minutes
        form.RatingEdit()->setText(QStringLiteral("60"));
        form.NominalEdit()->setText(QString());
        form.ThresholdEdit()->setText(QStringLiteral("24"));
        form.TargetPowerFactorEdit()->setText(QStringLiteral("0.95"));
        form.BankStepEdit()->setText(QStringLiteral("2.5"));
        form.BankPriceEdit()->setText(QStringLiteral("40"));
        form.BatteryEfficiencyEdit()->setText(QStringLiteral("0.9"));
        form.BatteryChargeLimitEdit()->setText(QString());
        form.BatteryChargeHoursEdit()->setText(QStringLiteral("20-7"));
        form.BatteryKwhPriceEdit()->setText(QStringLiteral("450"));
        form.BatteryKwPriceEdit()->setText(QStringLiteral("120"));
        form.BatteryCapsEdit()->setText(QString());
        if (example.empty()) {
            form.EnergyRateEdit()->setText(QStringLiteral("0.14"));
            form.DemandRateEdit()->setText(QStringLiteral("9.5"));
            form.FixedMonthlyEdit()->setText(QStringLiteral("25"));
        } else {
            form.TariffBox()->SetFile(QString::fromStdString(example));
        }
        CapacityInputs loads;
        loads.Loads = {{"Heat pump", 12, LoadConnection::ThreePhases, true, false},
                       {"EV charger", 32, LoadConnection::C, true, true}};
        loads.NightNeedWh = 30000;
        form.NewLoadsEditor()->SetInputs(loads);
        form.Refresh();
        form.resize(1100, 700);
        folder.SavePages(form, *form.Pages(),
                         {"survey-summary.png", "survey-energy.png", "survey-profile.png",
                          "survey-heatmap.png", "survey-duration.png", "survey-voltage.png",
                          "survey-cost.png", "survey-powerfactor.png", "survey-unbalance.png",
                          "survey-battery.png", "survey-newloads.png"});
        // The end of the summary: the cost, the power factor and the unbalance.
        form.Pages()->setCurrentIndex(TSurveyForm::SummaryPage);
        if (auto* area = form.findChild<QScrollArea*>(QStringLiteral("SummaryArea"))) {
            form.show();
            QCoreApplication::processEvents();
            area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
            folder.Save(form, "survey-summary-findings.png");
            form.hide();
        }
    }
    TSurveyForm::StoreOptions(stored);
    StoreTariffChoice(storedTariff);
    StoreBatteryOptions(storedBattery);
    SaveStringList(RecentTariffsKey, recentTariffs);
    return folder.Written();
}
