#include "windows/analysis/TNewLoadsEditor.h"

#include "model/ErrorReport.h"
#include "windows/shell/SurveySettings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr LoadConnection Connections[] = {
    LoadConnection::L1, LoadConnection::L2, LoadConnection::BothLegs,   LoadConnection::A,
    LoadConnection::B,  LoadConnection::C,  LoadConnection::ThreePhases};

const QString Red = QStringLiteral("color: #c02020");

} // namespace

TNewLoadsEditor::TNewLoadsEditor(QWidget* parent)
    : QWidget(parent), grid_(new QTableWidget(0, 5, this)),
      add_(new QPushButton(QStringLiteral("Add &load"), this)),
      remove_(new QPushButton(QStringLiteral("Remo&ve load"), this)), window_(new QLineEdit(this)),
      smallest_(new QLineEdit(this)), need_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("NewLoadsEditor"));
    grid_->setObjectName(QStringLiteral("NewLoadsGrid"));
    add_->setObjectName(QStringLiteral("AddLoadButton"));
    remove_->setObjectName(QStringLiteral("RemoveLoadButton"));
    window_->setObjectName(QStringLiteral("ChargingWindowEdit"));
    smallest_->setObjectName(QStringLiteral("SmallestAmpsEdit"));
    need_->setObjectName(QStringLiteral("NightNeedEdit"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Amperes"),
                                      QStringLiteral("Connection"), QStringLiteral("Continuous"),
                                      QStringLiteral("Managed")});
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Five rows show; more scroll.
    const int row = grid_->fontMetrics().height() + 10;
    grid_->verticalHeader()->setDefaultSectionSize(row);
    grid_->setFixedHeight(grid_->horizontalHeader()->sizeHint().height() + 5 * row +
                          2 * grid_->frameWidth() + 2);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_, 3);
    auto* side = new QVBoxLayout;
    side->setSpacing(4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    side->addLayout(buttons);
    const auto field = [&](const QString& caption, QLineEdit* edit, const QString& placeholder) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        edit->setPlaceholderText(placeholder);
        auto* line = new QHBoxLayout;
        line->addWidget(label);
        line->addStretch(1);
        line->addWidget(edit);
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 14);
        side->addLayout(line);
        connect(edit, &QLineEdit::textChanged, this, &TNewLoadsEditor::Edited);
    };
    field(QStringLiteral("C&harging window"), window_, QStringLiteral("22:00-06:00"));
    field(QStringLiteral("S&mallest current (A)"), smallest_, QStringLiteral("6"));
    field(QStringLiteral("Need per night (&kWh)"), need_, QStringLiteral("not set"));
    side->addStretch(1);
    layout->addLayout(side, 1);

    connect(add_, &QPushButton::clicked, this, &TNewLoadsEditor::AddClick);
    connect(remove_, &QPushButton::clicked, this, &TNewLoadsEditor::RemoveClick);
    // A load named anew is continuous as its name suggests, as on the command line; a box
    // changed by hand stays until the name changes again.
    connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (filling_ || item->column() != NameColumn)
            return;
        if (QTableWidgetItem* continuous = grid_->item(item->row(), ContinuousColumn))
            continuous->setCheckState(
                ContinuousByDefault(item->text().toStdString()) ? Qt::Checked : Qt::Unchecked);
    });
    connect(grid_, &QTableWidget::itemChanged, this, &TNewLoadsEditor::Edited);
    SetInputs({});
}

void TNewLoadsEditor::SetInputs(const CapacityInputs& inputs) {
    filling_ = true;
    grid_->setRowCount(0);
    for (const NewLoad& load : inputs.Loads)
        AddRow(load);
    const CapacityInputs defaults;
    window_->setText(
        inputs.WindowFrom == defaults.WindowFrom && inputs.WindowTo == defaults.WindowTo
            ? QString()
            : QString::fromStdString(ChargingWindowText(inputs.WindowFrom, inputs.WindowTo)));
    smallest_->setText(inputs.SmallestAmps == defaults.SmallestAmps
                           ? QString()
                           : SurveySettingText(inputs.SmallestAmps));
    need_->setText(SurveySettingText(
        inputs.NightNeedWh ? std::optional<double>(*inputs.NightNeedWh / 1000) : std::nullopt));
    filling_ = false;
    Edited();
}

void TNewLoadsEditor::AddRow(const NewLoad& load) {
    const bool filling = filling_;
    filling_ = true;
    const int row = grid_->rowCount();
    grid_->insertRow(row);
    grid_->setItem(row, NameColumn, new QTableWidgetItem(QString::fromStdString(load.Name)));
    grid_->setItem(row, AmpsColumn,
                   new QTableWidgetItem(load.Amps > 0 ? SurveySettingText(load.Amps) : QString()));
    auto* connection = new QComboBox(grid_);
    for (LoadConnection c : Connections)
        connection->addItem(QString::fromLatin1(ConnectionText(c)), static_cast<int>(c));
    connection->setCurrentIndex(connection->findData(static_cast<int>(load.Connection)));
    connect(connection, &QComboBox::currentIndexChanged, this, &TNewLoadsEditor::Edited);
    grid_->setCellWidget(row, ConnectionColumn, connection);
    for (const auto& [column, on] :
         {std::pair{ContinuousColumn, load.Continuous}, std::pair{ManagedColumn, load.Managed}}) {
        auto* box = new QTableWidgetItem;
        box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        box->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        grid_->setItem(row, column, box);
    }
    filling_ = filling;
}

std::optional<NewLoad> TNewLoadsEditor::RowLoad(int row) const {
    const QTableWidgetItem* name = grid_->item(row, NameColumn);
    const QTableWidgetItem* amps = grid_->item(row, AmpsColumn);
    const auto* connection = qobject_cast<QComboBox*>(grid_->cellWidget(row, ConnectionColumn));
    if (!name || !amps || !connection)
        return std::nullopt;
    NewLoad load;
    load.Name = name->text().trimmed().toStdString();
    // Above 0, as the bank step is.
    const auto value = ParseSurveySetting(amps->text(), SurveySetting::BankStep);
    if (load.Name.empty() || !value)
        return std::nullopt;
    load.Amps = *value;
    load.Connection = static_cast<LoadConnection>(connection->currentData().toInt());
    load.Continuous = grid_->item(row, ContinuousColumn)->checkState() == Qt::Checked;
    load.Managed = grid_->item(row, ManagedColumn)->checkState() == Qt::Checked;
    return load;
}

CapacityInputs TNewLoadsEditor::Inputs() const {
    CapacityInputs inputs;
    for (int row = 0; row < grid_->rowCount(); ++row)
        if (auto load = RowLoad(row))
            inputs.Loads.push_back(std::move(*load));
    if (!window_->text().trimmed().isEmpty()) {
        try {
            int32_t from = 0, to = 0;
            ParseChargingWindow(window_->text().trimmed().toStdString(), from, to);
            inputs.WindowFrom = from;
            inputs.WindowTo = to;
        } catch (const VroError&) {
        }
    }
    inputs.SmallestAmps = ParseSurveySetting(smallest_->text(), SurveySetting::BankStep)
                              .value_or(inputs.SmallestAmps);
    if (const auto need = ParseSurveySetting(need_->text(), SurveySetting::BankStep))
        inputs.NightNeedWh = *need * 1000;
    return inputs;
}

void TNewLoadsEditor::AddClick() {
    NewLoad load;
    load.Name = "EV charger";
    load.Amps = 32;
    load.Continuous = true;
    if (const int rows = grid_->rowCount(); rows > 0)
        if (const auto* last =
                qobject_cast<QComboBox*>(grid_->cellWidget(rows - 1, ConnectionColumn)))
            load.Connection = static_cast<LoadConnection>(last->currentData().toInt());
    AddRow(load);
    grid_->setCurrentCell(grid_->rowCount() - 1, NameColumn);
    Edited();
}

void TNewLoadsEditor::RemoveClick() {
    if (grid_->rowCount() == 0)
        return;
    const int row = grid_->currentRow() >= 0 ? grid_->currentRow() : grid_->rowCount() - 1;
    grid_->removeRow(row);
    Edited();
}

void TNewLoadsEditor::Edited() {
    if (filling_)
        return;
    filling_ = true;
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const bool bad = !RowLoad(row);
        for (int column : {NameColumn, AmpsColumn})
            if (QTableWidgetItem* item = grid_->item(row, column))
                item->setForeground(bad ? QColor(0xc0, 0x20, 0x20) : QColor());
    }
    filling_ = false;
    int32_t from = 0, to = 0;
    bool windowBad = false;
    if (!window_->text().trimmed().isEmpty()) {
        try {
            ParseChargingWindow(window_->text().trimmed().toStdString(), from, to);
        } catch (const VroError&) {
            windowBad = true;
        }
    }
    window_->setStyleSheet(windowBad ? Red : QString());
    for (QLineEdit* edit : {smallest_, need_}) {
        const bool bad = !edit->text().trimmed().isEmpty() &&
                         !ParseSurveySetting(edit->text(), SurveySetting::BankStep);
        edit->setStyleSheet(bad ? Red : QString());
    }
    remove_->setEnabled(grid_->rowCount() > 0);
    emit Changed();
}
