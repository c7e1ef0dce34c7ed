#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>

class QProgressBar;
namespace Ui {
class TCopyProgressForm;
}

// The progress of a table being copied to the clipboard. The table window links itself,
// sets the bar's range and step, shows the form, advances the bar while it copies and hides
// the form at the end; meanwhile the form stays in front of every window.
class TCopyProgressForm : public QDialog {
    Q_OBJECT

public:
    explicit TCopyProgressForm(QWidget* parent = nullptr);
    ~TCopyProgressForm() override;

    QProgressBar* ProgressBar() const;

    // The window whose copy is in progress, and how to ask it whether it still copies.
    // Either may be empty; the form asks only while the window is alive.
    void SetCopyingWindow(QWidget* window, std::function<bool()> copying);
    QWidget* CopyingWindow() const { return Window; }

    // Losing activation while a copy runs and the form is visible takes the focus back.
    void FormDeactivate();

protected:
    // The form has no way out of its own: the copying window hides it.
    void reject() override {}
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::TCopyProgressForm> Form;
    QPointer<QWidget> Window;
    std::function<bool()> Copying;
};

// The form made at start-up, or one made now if there is none yet.
TCopyProgressForm& CopyProgressForm();
