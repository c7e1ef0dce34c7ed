#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TErrorBox;
}

// The program-error box: every internal consistency check, and the debug leak report, is
// shown here with its context and message. Creating it points the core's error report at
// the one box; errors reported before any box exists make it on the spot.
class TErrorBox : public QDialog {
    Q_OBJECT

public:
    explicit TErrorBox(QWidget* parent = nullptr);
    ~TErrorBox() override;

    // Shows the box modally with the two texts (the message split into lines at its line
    // breaks); returns when the user presses Continue. Also from inside other modal windows.
    void ShowError(const QString& context, const QString& message);

    // The two texts without showing the box.
    void SetTexts(const QString& context, const QString& message);
    QString Context() const;
    QString Message() const;

    // Opens the help topic that tells where to report the error; the box stays open.
    void ContactClick();

private:
    std::unique_ptr<Ui::TErrorBox> Form;
};

// The box made at start-up, or one made now if there is none yet.
TErrorBox& ErrorBox();

// Points the core's error report at ErrorBox(); creating a box does this too.
void InstallErrorBox();
