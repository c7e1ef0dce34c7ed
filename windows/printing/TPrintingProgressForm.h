#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

class QProgressBar;
class QPushButton;
namespace Ui {
class TPrintingProgressForm;
}

// Shows how far a printout has come while the printer works in the main thread, and offers
// Cancel, which the printer sees after the page it is drawing.
class TPrintingProgressForm : public QDialog {
    Q_OBJECT

public:
    explicit TPrintingProgressForm(QWidget* parent = nullptr);
    ~TPrintingProgressForm() override;

    // Position 0 of pageCount.
    void StartProgress(int32_t pageCount);
    // Moves the bar, then lets pending events run, a click on Cancel among them.
    void SetProgress(int position);
    void CancelButtonClick();

    bool Cancelled = false;

    QProgressBar* ProgressBar() const;
    QPushButton* CancelButton() const;

protected:
    // Escape and the window's close mean Cancel; the printer hides the window.
    void reject() override { CancelButtonClick(); }
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TPrintingProgressForm> Form;
};

// The form made at start-up, or one made now if there is none yet.
TPrintingProgressForm& PrintingProgressForm();
