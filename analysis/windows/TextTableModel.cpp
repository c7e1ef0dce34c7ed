#include "analysis/windows/TextTableModel.h"

TextTableModel::TextTableModel(const std::vector<std::string>& header, bool (*isNumber)(size_t),
                               QObject* parent)
    : QAbstractTableModel(parent), header_(Texts(header)) {
    for (size_t c = 0; c < header.size(); ++c)
        numberColumns_.push_back(isNumber(c));
}

QStringList TextTableModel::Texts(const std::vector<std::string>& cells) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(cells.size()));
    for (const std::string& cell : cells)
        texts << QString::fromStdString(cell);
    return texts;
}

void TextTableModel::SetRows(std::vector<QStringList> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

bool TextTableModel::IsNumberColumn(int column) const {
    return column >= 0 && static_cast<size_t>(column) < numberColumns_.size() &&
           numberColumns_[static_cast<size_t>(column)];
}

QVariant TextTableModel::Alignment(int column) const {
    return QVariant::fromValue(Qt::Alignment(
        (IsNumberColumn(column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(header_.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return rows_[static_cast<size_t>(index.row())].value(index.column());
    if (role == Qt::TextAlignmentRole)
        return Alignment(index.column());
    return {};
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return header_.value(section);
    if (role == Qt::TextAlignmentRole)
        return Alignment(section);
    return {};
}
