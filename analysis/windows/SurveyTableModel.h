#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

// A table of the Survey window for its grid: a header and rows of texts, some columns of
// figures aligned to the right. The window computes the texts; the model only hands them to
// the view.
class SurveyTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    SurveyTableModel(QStringList header, std::vector<bool> numberColumns,
                     QObject* parent = nullptr);

    void SetRows(std::vector<QStringList> rows);
    const QStringList& Header() const { return header_; }
    const std::vector<QStringList>& Rows() const { return rows_; }
    bool IsNumberColumn(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList header_;
    std::vector<bool> numberColumns_;
    std::vector<QStringList> rows_;
};
