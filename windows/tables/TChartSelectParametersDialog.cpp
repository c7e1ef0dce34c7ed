#include "windows/tables/TChartSelectParametersDialog.h"

#include "windows/shell/WindowInstance.h"
#include "windows/tables/TParameterListView.h"

#include <QGroupBox>

TChartSelectParametersDialog::TChartSelectParametersDialog(QWidget* parent)
    : TSelectParametersDialog(parent) {
    SetCaptions(QStringLiteral("New Chart"), ListGroupBox()->title());
    WindowInstance<TChartSelectParametersDialog>::Register(this);
}

void TChartSelectParametersDialog::Init() {
    TSelectParametersDialog::Init();
    ParameterListView()->SetAllChecked(false);
}

TChartSelectParametersDialog& ChartSelectParametersDialog() {
    return WindowInstance<TChartSelectParametersDialog>::Get();
}
