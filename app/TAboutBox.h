#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

// The About box: the program's name, version and the maker's copyright. Shown modally with
// exec() by the main window's About command.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

private:
    std::unique_ptr<Ui::TAboutBox> Form;
};

// The box made at start-up, or one made now if there is none yet.
TAboutBox& AboutBox();
