#include "windows/analysis/TextTableModel.h"

#include <QBrush>
#include <QPalette>

TextTableModel::TextTableModel(TextTable table, TextStyle style, QObject* parent)
    : QAbstractTableModel(parent), table_(std::move(table)), style_(std::move(style)) {}

void TextTableModel::SetTable(TextTable table) {
    beginResetModel();
    table_ = std::move(table);
    dimmed_.clear();
    endResetModel();
}

std::vector<QStringList> TextTableModel::Texts() const {
    std::vector<QStringList> texts;
    for (const auto& row : table_.Texts(style_)) {
        QStringList& line = texts.emplace_back();
        for (const std::string& cell : row)
            line << QString::fromStdString(cell);
    }
    return texts;
}

bool TextTableModel::IsNumberColumn(int column) const {
    return column >= 0 && static_cast<size_t>(column) < table_.Columns.size() &&
           table_.Columns[static_cast<size_t>(column)].Right;
}

QVariant TextTableModel::Alignment(int column) const {
    return QVariant::fromValue(Qt::Alignment(
        (IsNumberColumn(column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.Rows.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.Columns.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const auto row = static_cast<size_t>(index.row());
    if (role == Qt::DisplayRole)
        return QString::fromStdString(
            table_.CellText(row, static_cast<size_t>(index.column()), style_));
    if (role == Qt::TextAlignmentRole)
        return Alignment(index.column());
    if (role == Qt::ForegroundRole && row < dimmed_.size() && dimmed_[row])
        return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
    return {};
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromStdString(table_.ShownHeaderText(static_cast<size_t>(section)));
    if (role == Qt::TextAlignmentRole)
        return Alignment(section);
    return {};
}
