#include "windows/shell/TTariffFileBox.h"

#include "resources/DataFiles.h"
#include "windows/shell/SurveySettings.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QToolButton>

TTariffFileBox::TTariffFileBox(QWidget* parent)
    : QWidget(parent), box_(new QComboBox(this)), browse_(new QToolButton(this)) {
    setObjectName(QStringLiteral("TariffFileBox"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    box_->setObjectName(QStringLiteral("TariffBox"));
    box_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box_->addItem(QStringLiteral("Simple tariff"), QString());
    for (const QString& file : RecentTariffFiles()) {
        box_->addItem(QFileInfo(file).fileName(), file);
        box_->setItemData(box_->count() - 1, file, Qt::ToolTipRole);
    }
    browse_->setObjectName(QStringLiteral("TariffBrowseButton"));
    browse_->setText(QStringLiteral("\u2026"));
    browse_->setToolTip(QStringLiteral("Choose a tariff file"));
    layout->addWidget(box_);
    layout->addWidget(browse_);
    setFocusProxy(box_);
    connect(browse_, &QToolButton::clicked, this, &TTariffFileBox::BrowseClick);
    connect(box_, &QComboBox::currentIndexChanged, this, [this] {
        Check();
        emit Changed();
    });
}

QString TTariffFileBox::File() const {
    return box_->currentData().toString();
}

void TTariffFileBox::SetFile(const QString& file) {
    int index = box_->findData(file);
    if (index < 0) {
        box_->insertItem(1, QFileInfo(file).fileName(), file);
        box_->setItemData(1, file, Qt::ToolTipRole);
        index = 1;
    }
    if (index == box_->currentIndex())
        Check();
    box_->setCurrentIndex(index);
}

void TTariffFileBox::BrowseClick() {
    // Where the last file came from, else the example's folder.
    QString folder = QFileInfo(File()).absolutePath();
    if (File().isEmpty()) {
        const auto example = FindDataFile("tariff-example.json", ProgramFolder());
        folder = example.empty() ? QString() : QString::fromStdString(example.parent_path());
    }
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("Choose a tariff file"), folder,
                                     QStringLiteral("Tariff files (*.json);;All files (*)"));
    if (!file.isEmpty())
        SetFile(file);
}

void TTariffFileBox::Check() {
    std::string error;
    if (!File().isEmpty())
        ChosenTariff({File(), {}, {}, {}}, error);
    error_ = QString::fromStdString(error);
    box_->setStyleSheet(error_.isEmpty() ? QString() : QStringLiteral("color: #c02020"));
    box_->setToolTip(error_.isEmpty() ? File() : error_);
}
