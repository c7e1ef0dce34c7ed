#include "windows/tables/TVisibleParametersDialog.h"

#include "model/LParameterSourceGroup.h"
#include "windows/shell/Help.h"
#include "windows/shell/WindowInstance.h"
#include "windows/tables/TParameterListView.h"

TVisibleParametersDialog::TVisibleParametersDialog(QWidget* parent)
    : TSelectParametersDialog(parent) {
    SetHelpTopic(this, "visible");
    SetCaptions(QStringLiteral("Visible parameters"),
                QStringLiteral("Which parameters should be visible? "));
    WindowInstance<TVisibleParametersDialog>::Register(this);
}

void TVisibleParametersDialog::Init() {
    const TParameterListView* list = ParameterListView();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        item->setCheckState(0, TParameterListView::Source(item)->Selected ? Qt::Checked
                                                                          : Qt::Unchecked);
    }
    Group = nullptr;
}

void TVisibleParametersDialog::Apply() {
    TSelectParametersDialog::Apply();
    const LParameterSourceGroup* group = ParameterListView()->Group();
    if (!group || group->SelectedCount() == 0 || !SeriesSwitch)
        return;
    for (const auto& source : *group)
        SeriesSwitch(*source, source->Selected);
}

TVisibleParametersDialog& VisibleParametersDialog() {
    return WindowInstance<TVisibleParametersDialog>::Get();
}
