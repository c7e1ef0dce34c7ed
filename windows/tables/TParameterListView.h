#pragma once

#include <QCollator>
#include <QTreeWidget>

class LParameterSource;
class LParameterSourceGroup;

// The sources of a group as a list with a check box per source (its selected flag) and the
// columns "Name", "Source" (the channel) and "Type". It shows the parameters' kinds in order
// until a column header is clicked; a click sorts by that column, ascending, and a second
// click on it reverses the order. The group is not owned.
class TParameterListView : public QTreeWidget {
    Q_OBJECT

public:
    explicit TParameterListView(QWidget* parent = nullptr);

    // Refills the list (null empties it) and sorts it in kind order, in the current direction.
    void SetGroup(LParameterSourceGroup* group);
    LParameterSourceGroup* Group() const { return group_; }

    // -1: kind order.
    int SortColumnIndex() const { return sortColumnIndex_; }
    // A column outside the list becomes 0. Does not sort.
    void SetColumn(int index);
    bool Ascending() const { return ascending_; }
    void ColClick(int column);

    // The source an item stands for.
    static LParameterSource* Source(const QTreeWidgetItem* item);
    void SetAllChecked(bool checked);

    // Whether a's key orders before b's, ascending: the column's text, or for kind order the
    // kind number as two hexadecimal digits, compared as the locale collates (case counts).
    bool KeyLess(const QTreeWidgetItem& a, const QTreeWidgetItem& b) const;

private:
    void Sort();

    LParameterSourceGroup* group_ = nullptr;
    int sortColumnIndex_ = -1;
    bool ascending_ = true;
    QCollator collator_;
};
