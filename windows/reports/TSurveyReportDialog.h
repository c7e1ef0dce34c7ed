#pragma once

#include "windows/reports/SurveyReport.h"
#include "windows/shell/SurveySettings.h"
#include "windows/shell/TStandardDialog.h"

class LDatabase;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class TTariffFileBox;

// The survey report's settings: the demand interval, the service rating, the nominal voltage
// and the demand threshold, the tariff (a file, or the simple tariff's rates), the target power
// factor and the bank step (an empty field leaves it unset, or at its default), the title, the
// engineer, the company and the remarks, and whether the database's tables and charts follow
// the survey, and whether the battery study (in the settings the Survey window keeps) does, or
// only the capacity sheet of the new loads (those kept with the settings).
class TSurveyReportDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TSurveyReportDialog(QWidget* parent = nullptr);

    void SetOptions(const SurveyReportOptions& options);
    // The options shown, the tariff read from its file (when it cannot be read: none, and the
    // survey's TariffError says why).
    SurveyReportOptions Options() const;
    void SetTariff(const TariffChoice& tariff);
    TariffChoice Tariff() const;

    QComboBox* BlockMinutesBox;
    QLineEdit* RatingEdit;
    QLineEdit* NominalEdit;
    QLineEdit* ThresholdEdit;
    TTariffFileBox* TariffBox;
    QLineEdit* EnergyRateEdit;
    QLineEdit* DemandRateEdit;
    QLineEdit* FixedMonthlyEdit;
    QLineEdit* TargetPowerFactorEdit;
    QLineEdit* BankStepEdit;
    QLineEdit* BankPriceEdit;
    QLineEdit* TitleEdit;
    QLineEdit* EngineerEdit;
    QLineEdit* CompanyEdit;
    QPlainTextEdit* RemarksEdit;
    QCheckBox* WithItemsCheck;
    QCheckBox* BatteryCheck;
    // Off, and not to be checked, without new loads.
    QCheckBox* CapacitySheetCheck;

private:
    void TariffChanged();

    SurveyReportOptions given_;
};

// The dialog, then the report of the open database on the program's printer (a PDF file
// name asked for when the printer writes PDF), with its progress and Cancel. The survey's
// settings are those the Survey window keeps, and kept for it; the engineer, company and
// remarks are kept in the settings store, the title and the items for the next report of the
// run. True when printed.
bool RunSurveyReport(QWidget* window, LDatabase& db);
