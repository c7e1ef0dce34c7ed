#pragma once

#include "analysis/CapacityStudy.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableWidget;

// The capacity study's inputs as the Survey window's New loads page edits them: the loads in
// a grid (name, amperes, connection, continuous, managed), rows added and removed, the charging
// window, the smallest current and the need per night. A row without a name or amperes above
// 0, and a field that does not read, show in red and count as not given.
class TNewLoadsEditor : public QWidget {
    Q_OBJECT

public:
    enum Column { NameColumn, AmpsColumn, ConnectionColumn, ContinuousColumn, ManagedColumn };

    explicit TNewLoadsEditor(QWidget* parent = nullptr);

    void SetInputs(const CapacityInputs& inputs);
    // The rows and fields that read; the defaults for fields that do not.
    CapacityInputs Inputs() const;

    QTableWidget* Grid() const { return grid_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* RemoveButton() const { return remove_; }
    QLineEdit* WindowEdit() const { return window_; }
    QLineEdit* SmallestEdit() const { return smallest_; }
    QLineEdit* NeedEdit() const { return need_; }

    // A row for another load, as the last one connects (else both legs); its name edited next.
    void AddClick();
    // The current row's load, else the last.
    void RemoveClick();

signals:
    void Changed();

private:
    void AddRow(const NewLoad& load);
    std::optional<NewLoad> RowLoad(int row) const;
    void Edited();

    QTableWidget* grid_;
    QPushButton* add_;
    QPushButton* remove_;
    QLineEdit* window_;
    QLineEdit* smallest_;
    QLineEdit* need_;
    bool filling_ = false;
};
