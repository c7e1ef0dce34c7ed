#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

// The Statistics window's cells for its grid: a row of texts per source in the columns of
// StatisticsHeader, the figures aligned to the right. The window computes the texts; the
// model only hands them to the view.
class StatisticsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit StatisticsModel(QObject* parent = nullptr);

    // The columns of numbers (count to load factor, but not the times of the extremes).
    static bool IsNumberColumn(int column);

    void SetRows(std::vector<std::vector<QString>> rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<std::vector<QString>> rows_;
};
