#pragma once

#include "windows/shell/TStandardDialog.h"

#include <cstdint>
#include <memory>

class QCheckBox;
class QLabel;
struct PrintSettings;
namespace Ui {
class TPrintingOptionsDialog;
}

// Asks which header and footer elements go on the pages and tells how many pages the
// document will have. It keeps nothing of its own: it shows and stores the settings it is given.
class TPrintingOptionsDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TPrintingOptionsDialog(QWidget* parent = nullptr);
    ~TPrintingOptionsDialog() override;

    // The settings it edits (the program's printer's until set) and the page count it shows.
    void SetSettings(PrintSettings* settings, int32_t pageCount) {
        settings_ = settings;
        pageCount_ = pageCount;
    }
    PrintSettings& Settings() const;

    // The flags and the page count into the boxes.
    void Init() override;
    // The boxes into the flags; the chart resolution becomes 100.
    void Apply() override;

    QCheckBox* TitleBox() const;
    QCheckBox* PageBox() const;
    QCheckBox* LocationBox() const;
    QCheckBox* UserIdBox() const;
    QLabel* PagesCount() const;

private:
    std::unique_ptr<Ui::TPrintingOptionsDialog> Form;
    PrintSettings* settings_ = nullptr;
    int32_t pageCount_ = 0;
};

// The dialog made at start-up, or one made now if there is none yet.
TPrintingOptionsDialog& PrintingOptionsDialog();
