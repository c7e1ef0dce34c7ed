#pragma once

#include "shell/TStandardDialog.h"

#include <memory>

class QCheckBox;
class QLabel;
class TLayoutPrinter;
namespace Ui {
class TPrintingOptionsDialog;
}

// Asks which header and footer elements go on the pages and tells how many pages the
// document will have. It keeps nothing of its own: it shows and stores the printer's flags.
class TPrintingOptionsDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TPrintingOptionsDialog(QWidget* parent = nullptr);
    ~TPrintingOptionsDialog() override;

    // The printer whose options it edits; the program's one until set.
    void SetPrinter(TLayoutPrinter* printer) { printer_ = printer; }
    TLayoutPrinter& Printer() const;

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
    TLayoutPrinter* printer_ = nullptr;
};

// The dialog made at start-up, or one made now if there is none yet.
TPrintingOptionsDialog& PrintingOptionsDialog();
