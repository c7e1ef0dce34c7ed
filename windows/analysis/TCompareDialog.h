#pragma once

#include "analysis/CompareOptions.h"
#include "windows/shell/SurveySettings.h"
#include "windows/shell/TStandardDialog.h"

#include <functional>
#include <memory>

class LDatabase;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TRangePicker;
class TTariffFileBox;

// "Compare": what the open recording is compared with, a database file or another range of
// itself, whether it is the before or the after side, the range of each side, the block
// minutes and the tariff both sides are priced by (the Survey window's: a file or the simple
// tariff's rates). The other file is read when chosen and kept until the Compare window takes
// it. A tariff file that cannot be read is said below it, and nothing is compared meanwhile.
class TCompareDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TCompareDialog(const LDatabase& open, QWidget* parent = nullptr);
    ~TCompareDialog() override;

    // Reads the file as the other side; says in a message box why when it cannot be read.
    bool SetOtherFile(const QString& fileName);
    // The open recording with a second range as the other side.
    void UseOpenRecording();
    void SetOpenIsBefore(bool before);
    bool OpenIsBefore() const;
    bool OtherIsFile() const;

    // What Browse... asks for a file with; tests put their own.
    using FileAsker = std::function<QString(QWidget* parent)>;
    void SetFileAsker(FileAsker asker) { askFile_ = std::move(asker); }
    void BrowseButtonClick();

    // The choices as a comparison's options (the files by their names, the tariff read).
    CompareOptions Options() const;
    TariffChoice Tariff() const;
    void SetTariff(const TariffChoice& choice);
    // The other side's database, when it is a file; the dialog no longer has it.
    std::unique_ptr<LDatabase> TakeOtherDatabase();

    TRangePicker* BeforePicker() const { return before_; }
    TRangePicker* AfterPicker() const { return after_; }
    QComboBox* BlockMinutesBox() const { return minutes_; }
    QRadioButton* FileButton() const { return fileButton_; }
    QRadioButton* OpenButton() const { return openButton_; }
    QComboBox* SideBox() const { return side_; }
    TTariffFileBox* TariffBox() const { return tariff_; }
    QLineEdit* EnergyRateEdit() const { return energyRate_; }
    QLineEdit* DemandRateEdit() const { return demandRate_; }
    QLineEdit* FixedMonthlyEdit() const { return fixedMonthly_; }
    QLabel* TariffErrorLabel() const { return tariffError_; }

private:
    void UpdatePickers();
    void UpdateTariff();
    void UpdateOK();
    const LDatabase& Other() const;

    const LDatabase& open_;
    std::unique_ptr<LDatabase> other_;
    QString otherName_;
    FileAsker askFile_;
    QRadioButton* fileButton_;
    QRadioButton* openButton_;
    QLineEdit* fileEdit_;
    QPushButton* browse_;
    QComboBox* side_;
    TRangePicker* before_;
    TRangePicker* after_;
    QComboBox* minutes_;
    TTariffFileBox* tariff_;
    QLineEdit* energyRate_;
    QLineEdit* demandRate_;
    QLineEdit* fixedMonthly_;
    QLabel* tariffError_;
};
