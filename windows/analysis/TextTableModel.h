#pragma once

#include "analysis/TextTable.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

// A text table for the Statistics and Survey windows' grids: its cells as a person reads them
// in the window's style, the columns of figures aligned to the right (their headers too).
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    TextTableModel(TextTable table, TextStyle style, QObject* parent = nullptr);

    void SetTable(TextTable table);
    const TextTable& Table() const { return table_; }
    const TextStyle& Style() const { return style_; }
    bool IsNumberColumn(int column) const;
    // The header and every row as shown.
    std::vector<QStringList> Texts() const;
    // Rows drawn apart (greyed), such as the partial days of the energy table.
    void SetDimmed(std::vector<bool> dimmed) { dimmed_ = std::move(dimmed); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVariant Alignment(int column) const;

    TextTable table_;
    TextStyle style_;
    std::vector<bool> dimmed_;
};
