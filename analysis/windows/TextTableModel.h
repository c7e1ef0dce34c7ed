#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// A grid of texts for the Statistics and Survey windows: a header and rows of texts, the
// columns of figures aligned to the right (their headers too). The window computes the texts;
// the model only hands them to the view.
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // isNumber tells the columns of figures by their index.
    TextTableModel(const std::vector<std::string>& header, bool (*isNumber)(size_t),
                   QObject* parent = nullptr);

    void SetRows(std::vector<QStringList> rows);
    const QStringList& Header() const { return header_; }
    const std::vector<QStringList>& Rows() const { return rows_; }
    bool IsNumberColumn(int column) const;

    // The texts of standard-library strings, for a header or a row.
    static QStringList Texts(const std::vector<std::string>& cells);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVariant Alignment(int column) const;

    QStringList header_;
    std::vector<bool> numberColumns_;
    std::vector<QStringList> rows_;
};
