#include "windows/tables/TSelectParametersDialog.h"

#include "model/ErrorReport.h"
#include "model/LParameterSourceGroup.h"
#include "resources/StringTable.h"
#include "ui_TSelectParametersDialog.h"
#include "windows/shell/Help.h"
#include "windows/tables/TParameterListView.h"

#include <QMessageBox>

#include <algorithm>
#include <utility>
#include <vector>

TSelectParametersDialog::TSelectParametersDialog(QWidget* parent)
    : TStandardDialog(parent), Form(std::make_unique<Ui::TSelectParametersDialog>()) {
    SetHelpTopic(this, "newtable");
    SetupContent(*Form);
    connect(Form->AllButton, &QPushButton::clicked, this, &TSelectParametersDialog::AllButtonClick);
    connect(Form->NoneButton, &QPushButton::clicked, this,
            &TSelectParametersDialog::NoneButtonClick);
    // Resizable, and at first tall enough to show a good part of a long catalogue.
    resize(sizeHint().width(), std::max(sizeHint().height(), 36 * fontMetrics().height()));
}

TSelectParametersDialog::~TSelectParametersDialog() = default;

TParameterListView* TSelectParametersDialog::ParameterListView() const {
    return Form->ParameterListView;
}

void TSelectParametersDialog::Init() {
    if (!ParameterListView()->Group())
        ShowErrorAndRaise("TSelectParametersDialog::Init", "Group = NULL");
}

void TSelectParametersDialog::Apply() {
    const TParameterListView* list = ParameterListView();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        TParameterListView::Source(item)->Selected = item->checkState(0) == Qt::Checked;
    }
}

bool TSelectParametersDialog::Execute() {
    // Apply runs before the count, so an OK with nothing checked has cleared every flag by
    // the time the message shows; a Cancel after it must not leave them so.
    std::vector<std::pair<LParameterSource*, bool>> opened;
    if (const LParameterSourceGroup* group = ParameterListView()->Group())
        for (const auto& source : *group)
            opened.emplace_back(source.get(), source->Selected);

    bool confirmed = false;
    for (;;) {
        confirmed = TStandardDialog::Execute();
        const LParameterSourceGroup* group = ParameterListView()->Group();
        if (!confirmed || (group && group->SelectedCount() > 0))
            break;
        QMessageBox box(QMessageBox::Information, QStringLiteral("Information"),
                        QString::fromStdString(LoadStr(StrNoParametersSelected)), QMessageBox::Ok,
                        parentWidget());
        box.exec();
    }
    if (!confirmed) {
        for (const auto& [source, selected] : opened)
            source->Selected = selected;
        return false;
    }
    if (Group) {
        const TParameterListView* list = ParameterListView();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const LParameterSource* source = TParameterListView::Source(list->topLevelItem(i));
            if (source->Selected)
                Group->Add(std::make_unique<LParameterSource>(*source));
        }
    }
    return true;
}

void TSelectParametersDialog::AllButtonClick() {
    ParameterListView()->SetAllChecked(true);
}

void TSelectParametersDialog::NoneButtonClick() {
    ParameterListView()->SetAllChecked(false);
}

QGroupBox* TSelectParametersDialog::ListGroupBox() const {
    return Form->ListGroupBox;
}

QPushButton* TSelectParametersDialog::AllButton() const {
    return Form->AllButton;
}

QPushButton* TSelectParametersDialog::NoneButton() const {
    return Form->NoneButton;
}

void TSelectParametersDialog::SetCaptions(const QString& caption, const QString& listCaption) {
    setWindowTitle(caption);
    Form->ListGroupBox->setTitle(listCaption);
}

void TSelectParametersDialog::InsertAboveList(QWidget* part) {
    Form->ContentLayout->insertWidget(0, part);
}
