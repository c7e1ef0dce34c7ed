#include "windows/tables/TTableSelectParametersDialog.h"

#include "model/LParameter.h"
#include "model/LParameterSourceGroup.h"
#include "ui_TTableSelectParametersDialog.h"
#include "windows/shell/WindowInstance.h"
#include "windows/tables/TParameterListView.h"

#include <QRadioButton>

TTableSelectParametersDialog::TTableSelectParametersDialog(QWidget* parent)
    : TSelectParametersDialog(parent),
      TypeForm(std::make_unique<Ui::TTableSelectParametersDialog>()) {
    auto* part = new QWidget(this);
    TypeForm->setupUi(part);
    InsertAboveList(part);
    SetCaptions(part->windowTitle(),
                QStringLiteral(" Select the parameters to appear in the table "));
    // The type is chosen above; the list leaves out its column.
    ParameterListView()->setColumnCount(2);
    connect(TypeForm->HistoricRadioButton, &QRadioButton::clicked, this,
            &TTableSelectParametersDialog::HistoricRadioButtonClick);
    connect(TypeForm->EventRadioButton, &QRadioButton::clicked, this,
            &TTableSelectParametersDialog::EventRadioButtonClick);
    connect(TypeForm->CummulativeRadioButton, &QRadioButton::clicked, this,
            &TTableSelectParametersDialog::CummulativeRadioButtonClick);
    WindowInstance<TTableSelectParametersDialog>::Register(this);
}

TTableSelectParametersDialog::~TTableSelectParametersDialog() = default;

void TTableSelectParametersDialog::SetAllSources(LParameterSourceGroup* all) {
    allSources_ = all;
}

bool TTableSelectParametersDialog::Execute() {
    if (!allSources_)
        return false;
    for (auto& group : candidates_)
        group = std::make_unique<LParameterSourceGroup>(allSources_->Session());
    for (const auto& source : *allSources_) {
        source->Selected = false;
        const LTableType type = source->Parameter ? source->Parameter->TableType() : ttHistoric;
        // The interval types make no table.
        if (type <= ttCumulative)
            candidates_[type]->Add(std::make_unique<LParameterSource>(*source));
    }
    int chosen = -1;
    for (int type = 0; type < 3; ++type) {
        const bool offered = candidates_[type]->Count() > 0;
        TypeButton(type)->setEnabled(offered);
        if (offered && chosen < 0) {
            chosen = type;
            ShowCandidates(type);
        }
    }
    bool confirmed = false;
    if (chosen >= 0)
        confirmed = TSelectParametersDialog::Execute();
    // An Event or Cumulative table shows each total with its intervals, where the recording
    // has them.
    if (confirmed && EventOrCumulative && Group)
        Group->ChainIntervalTwins(*allSources_);
    ParameterListView()->SetGroup(nullptr);
    for (auto& group : candidates_)
        group.reset();
    return confirmed;
}

void TTableSelectParametersDialog::HistoricRadioButtonClick() {
    ShowCandidates(ttHistoric);
}

void TTableSelectParametersDialog::EventRadioButtonClick() {
    ShowCandidates(ttEvent);
}

void TTableSelectParametersDialog::CummulativeRadioButtonClick() {
    ShowCandidates(ttCumulative);
}

void TTableSelectParametersDialog::ShowCandidates(int type) {
    TypeButton(type)->setChecked(true);
    ParameterListView()->SetGroup(candidates_[type].get());
    EventOrCumulative = type != ttHistoric;
}

QRadioButton* TTableSelectParametersDialog::TypeButton(int type) const {
    switch (type) {
    case ttHistoric:
        return TypeForm->HistoricRadioButton;
    case ttEvent:
        return TypeForm->EventRadioButton;
    default:
        return TypeForm->CummulativeRadioButton;
    }
}

QRadioButton* TTableSelectParametersDialog::HistoricRadioButton() const {
    return TypeForm->HistoricRadioButton;
}

QRadioButton* TTableSelectParametersDialog::EventRadioButton() const {
    return TypeForm->EventRadioButton;
}

QRadioButton* TTableSelectParametersDialog::CummulativeRadioButton() const {
    return TypeForm->CummulativeRadioButton;
}

TTableSelectParametersDialog& TableSelectParametersDialog() {
    return WindowInstance<TTableSelectParametersDialog>::Get();
}
