#include "windows/acquisition/TScanForm.h"

#include "ui_TScanForm.h"
#include "windows/shell/Help.h"

#include <QStyle>

TScanForm::TScanForm(QWidget* parent, const DAQTimings& timings, int tickMs)
    : QDialog(parent), Form(std::make_unique<Ui::TScanForm>()), Scan(timings, tickMs) {
    SetHelpTopic(this, "download");
    Form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Form->SearchIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    Scan.SetOnTestPosted([this](int port, int baud) {
        Form->StatusLabel->setText(
            QStringLiteral("Looking for device on port COM%1 (%2)").arg(port).arg(baud));
    });
    Scan.SetOnFinished([this] {
        if (isVisible())
            done(QDialog::Accepted);
    });
}

TScanForm::~TScanForm() = default;

void TScanForm::StartManual(int portIndex, int baudIndex) {
    Form->StatusLabel->clear();
    Scan.BeginManual(portIndex, baudIndex);
    Start();
}

void TScanForm::StartAutoscan() {
    Form->StatusLabel->clear();
    Scan.BeginAutoscan();
    Start();
}

QLabel* TScanForm::StatusLabel() const {
    return Form->StatusLabel;
}

void TScanForm::Start() {
    Form->Animate->setRange(0, 0); // an empty range makes the bar run back and forth
    if (!Scan.Done())
        exec();
    Form->Animate->setRange(0, 1);
}

void TScanForm::reject() {
    // The close box (and Escape) stop the search; finishing closes the window.
    if (!Scan.Done())
        Scan.Stop();
    else
        QDialog::reject();
}
