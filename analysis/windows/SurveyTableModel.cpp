#include "analysis/windows/SurveyTableModel.h"

SurveyTableModel::SurveyTableModel(QStringList header, std::vector<bool> numberColumns,
                                   QObject* parent)
    : QAbstractTableModel(parent), header_(std::move(header)),
      numberColumns_(std::move(numberColumns)) {}

void SurveyTableModel::SetRows(std::vector<QStringList> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

bool SurveyTableModel::IsNumberColumn(int column) const {
    return column >= 0 && static_cast<size_t>(column) < numberColumns_.size() &&
           numberColumns_[static_cast<size_t>(column)];
}

int SurveyTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SurveyTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(header_.size());
}

QVariant SurveyTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return rows_[static_cast<size_t>(index.row())].value(index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            (IsNumberColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

QVariant SurveyTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return header_.value(section);
    return {};
}
