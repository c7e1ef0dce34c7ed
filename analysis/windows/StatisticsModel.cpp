#include "analysis/windows/StatisticsModel.h"

#include "analysis/StatisticsText.h"

namespace {

// Parameter, channel and unit come first; the extremes' times follow their values.
constexpr int FirstNumberColumn = 3;
constexpr int MinimumTimeColumn = 6;
constexpr int MaximumTimeColumn = 8;

int Columns() {
    return static_cast<int>(StatisticsHeader().size());
}

} // namespace

StatisticsModel::StatisticsModel(QObject* parent) : QAbstractTableModel(parent) {}

bool StatisticsModel::IsNumberColumn(int column) {
    return column >= FirstNumberColumn && column != MinimumTimeColumn &&
           column != MaximumTimeColumn;
}

void StatisticsModel::SetRows(std::vector<std::vector<QString>> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int StatisticsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StatisticsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns();
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(
            Qt::AlignVCenter | (IsNumberColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft)));
    if (role != Qt::DisplayRole)
        return {};
    const std::vector<QString>& cells = rows_[static_cast<size_t>(index.row())];
    return static_cast<size_t>(index.column()) < cells.size()
               ? cells[static_cast<size_t>(index.column())]
               : QString();
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= Columns())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromStdString(StatisticsHeader()[static_cast<size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(
            Qt::AlignVCenter | (IsNumberColumn(section) ? Qt::AlignRight : Qt::AlignLeft)));
    return {};
}
