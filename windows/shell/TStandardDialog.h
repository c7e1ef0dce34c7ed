#pragma once

#include <QDialog>

#include <memory>

class QPushButton;
namespace Ui {
class TStandardDialog;
}

// The base of every OK/Cancel dialog: a highlight stripe at the left, the content panel
// beside it, OK and Cancel below. Callers fill a dialog through its accessors, run it with
// Execute, and read the result back.
class TStandardDialog : public QDialog {
    Q_OBJECT

public:
    explicit TStandardDialog(QWidget* parent = nullptr);
    ~TStandardDialog() override;

    // Runs before the dialog shows; an error raised here reaches the caller of Execute, and
    // the dialog is not shown.
    virtual void Init();
    // Runs after the dialog closed with OK.
    virtual void Apply();
    // Init, then the dialog modally, then Apply on OK. True exactly when closed with OK.
    // The dialog stands in front of the window the user acted in (the active one) and leaves
    // that window in front when it closes.
    virtual bool Execute();
    // The same, in front of window.
    bool ExecuteFor(QWidget* window);

    QPushButton* OKButton() const;
    QPushButton* CancelButton() const;

protected:
    // A descendant's form is a QWidget form named after the class; it is laid out in the
    // content panel, and its window title becomes the dialog's caption.
    template <class Form> void SetupContent(Form& form) {
        form.setupUi(ContentPanel());
        setWindowTitle(ContentPanel()->windowTitle());
    }
    QWidget* ContentPanel() const;
    // 0 removes the stripe.
    void SetStripeWidth(int width);
    // Another button after OK and Cancel.
    void AddButton(QPushButton* button);

    // Escape and the window manager's close count as Cancel, and like it are refused while
    // the Cancel button is disabled.
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TStandardDialog> Base;
};
