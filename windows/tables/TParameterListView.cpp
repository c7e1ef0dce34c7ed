#include "windows/tables/TParameterListView.h"

#include "model/LParameter.h"
#include "model/LParameterSourceGroup.h"

#include <QHeaderView>

namespace {

enum Column { NameColumn, SourceColumn, TypeColumn };

class SourceItem : public QTreeWidgetItem {
public:
    explicit SourceItem(LParameterSource* source) : Source(source) {
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        setCheckState(NameColumn, source->Selected ? Qt::Checked : Qt::Unchecked);
        if (const LParameter* p = source->Parameter) {
            setText(NameColumn, QString::fromStdString(p->Name()));
            setText(SourceColumn, QString::fromStdString(p->ChannelLabel()));
            setText(TypeColumn, QString::fromStdString(p->TableTypeName()));
            KindKey = QString::asprintf("%02X", static_cast<unsigned>(p->Kind()));
        }
    }

    bool operator<(const QTreeWidgetItem& other) const override {
        return static_cast<const TParameterListView*>(treeWidget())->KeyLess(*this, other);
    }

    LParameterSource* const Source;
    QString KindKey;
};

} // namespace

TParameterListView::TParameterListView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Source"), QStringLiteral("Type")});
    // Room for the longest type and a name of the usual length; the list is tall enough to
    // choose from without scrolling at every step.
    const int margin = 2 * fontMetrics().horizontalAdvance(QLatin1Char('M'));
    setColumnWidth(NameColumn,
                   fontMetrics().horizontalAdvance(QStringLiteral("Fundamental Voltage Max")) +
                       margin);
    setColumnWidth(TypeColumn,
                   fontMetrics().horizontalAdvance(QStringLiteral("Interval cumulative")) + margin);
    setMinimumSize(columnWidth(NameColumn) + columnWidth(TypeColumn) +
                       fontMetrics().horizontalAdvance(QStringLiteral("ØA+ØB")) + 2 * margin,
                   16 * fontMetrics().height());
    // The channel labels are short: their column takes what the other two leave.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(SourceColumn, QHeaderView::Stretch);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The list sorts itself when a header is clicked, by its own keys.
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &TParameterListView::ColClick);
}

void TParameterListView::SetGroup(LParameterSourceGroup* group) {
    clear();
    group_ = group;
    if (group) {
        QList<QTreeWidgetItem*> items;
        items.reserve(group->Count());
        for (const auto& source : *group)
            items.append(new SourceItem(source.get()));
        addTopLevelItems(items);
    }
    sortColumnIndex_ = -1;
    Sort();
    // Every new list opens at its top, whatever the last one showed.
    scrollToTop();
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
}

void TParameterListView::SetColumn(int index) {
    sortColumnIndex_ = index < 0 || index >= columnCount() ? 0 : index;
}

void TParameterListView::ColClick(int column) {
    ascending_ = column == sortColumnIndex_ ? !ascending_ : true;
    SetColumn(column);
    Sort();
}

LParameterSource* TParameterListView::Source(const QTreeWidgetItem* item) {
    return static_cast<const SourceItem*>(item)->Source;
}

void TParameterListView::SetAllChecked(bool checked) {
    for (int i = 0; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setCheckState(NameColumn, checked ? Qt::Checked : Qt::Unchecked);
}

bool TParameterListView::KeyLess(const QTreeWidgetItem& a, const QTreeWidgetItem& b) const {
    if (sortColumnIndex_ < 0)
        return collator_.compare(static_cast<const SourceItem&>(a).KindKey,
                                 static_cast<const SourceItem&>(b).KindKey) < 0;
    return collator_.compare(a.text(sortColumnIndex_), b.text(sortColumnIndex_)) < 0;
}

void TParameterListView::Sort() {
    collator_ = QCollator(QLocale());
    collator_.setCaseSensitivity(Qt::CaseSensitive);
    const Qt::SortOrder order = ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder;
    sortItems(std::max(0, sortColumnIndex_), order);
    header()->setSortIndicatorShown(sortColumnIndex_ >= 0);
}
