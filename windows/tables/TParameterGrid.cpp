#include "windows/tables/TParameterGrid.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QEvent>
#include <QHeaderView>
#include <QPaintDevice>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

#include <algorithm>
#include <climits>

// The data cells for the view: computed from the texts whenever they are asked for.
class TParameterGrid::Model : public QAbstractTableModel {
public:
    Model(const TableText& text, QObject* parent) : QAbstractTableModel(parent), text_(text) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : text_.DataRowCount();
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : text_.ColCount() - text_.FixedCols();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        return Cell(index.column() + text_.FixedCols(), index.row() + text_.FixedRows());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal)
            return text_.FixedRows() ? Cell(section + text_.FixedCols(), 0) : QVariant();
        return text_.FixedCols() ? Cell(0, section + text_.FixedRows()) : QVariant();
    }
    Qt::ItemFlags flags(const QModelIndex&) const override {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }

private:
    QString Cell(int32_t col, int32_t row) const {
        QString text, second;
        text_.GetCellText(col, row, text, second);
        return second.isEmpty() ? text : text + QLatin1Char('\n') + second;
    }

    const TableText& text_;
};

// The header row (horizontal) or the time column (vertical), drawn as the grid draws cells.
class TParameterGrid::Header : public QHeaderView {
public:
    Header(Qt::Orientation orientation, TParameterGrid* grid)
        : QHeaderView(orientation, grid), grid_(grid) {}

    // The layout's size, not one measured from the texts (which would compute them all).
    QSize sizeHint() const override {
        if (orientation() == Qt::Horizontal)
            return {length(), grid_->RowHeights(0)};
        return {grid_->ColWidths(0), length()};
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid())
            return;
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = rect;
        option.section = logicalIndex;
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        painter->save();
        painter->setFont(grid_->font());
        painter->setPen(palette().color(QPalette::ButtonText));
        if (orientation() == Qt::Horizontal)
            grid_->InternalDrawCell(*painter, logicalIndex + grid_->FixedCols(), 0, rect);
        else
            grid_->InternalDrawCell(*painter, 0, logicalIndex + grid_->FixedRows(), rect);
        painter->restore();
    }

private:
    TParameterGrid* grid_;
};

// Paints the style's cell background (with the selection) and then the grid's cell.
class TParameterGrid::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(TParameterGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell(option);
        cell.state &= ~QStyle::State_HasFocus;
        grid_->style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, grid_);
        const bool selected = cell.state & QStyle::State_Selected;
        const QPalette::ColorGroup group =
            cell.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        painter->save();
        painter->setFont(grid_->font());
        painter->setPen(
            cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        grid_->InternalDrawCell(*painter, index.column() + grid_->FixedCols(),
                                index.row() + grid_->FixedRows(), cell.rect);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        return {grid_->ColWidths(index.column() + grid_->FixedCols()), grid_->DefaultRowHeight()};
    }

private:
    TParameterGrid* grid_;
};

TParameterGrid::TParameterGrid(QWidget* parent)
    : QTableView(parent), model_(new Model(text_, this)),
      columns_(new Header(Qt::Horizontal, this)), rows_(new Header(Qt::Vertical, this)) {
    setHorizontalHeader(columns_);
    setVerticalHeader(rows_);
    setModel(model_);
    setItemDelegate(new Delegate(this));
    columns_->setMinimumSectionSize(1);
    rows_->setMinimumSectionSize(1);
    columns_->setSectionResizeMode(QHeaderView::Interactive);
    columns_->setSectionsClickable(false);
    columns_->setHighlightSections(false);
    // No empty column past the last: it takes what the window has to spare.
    columns_->setStretchLastSection(true);
    rows_->setSectionResizeMode(QHeaderView::Fixed);
    rows_->setHighlightSections(false);
    // A click on a row's time selects the row, as a click on any of its cells does.
    rows_->setSectionsClickable(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    if (auto* corner = findChild<QAbstractButton*>())
        corner->installEventFilter(this);
    ApplySizes();
}

TParameterGrid::~TParameterGrid() = default;

void TParameterGrid::SetGroup(const LParameterSourceGroup* group) {
    model_->BeginReset();
    text_.SetGroup(group);
    model_->EndReset();
}

void TParameterGrid::SetType(LTableType type) {
    model_->BeginReset();
    text_.SetType(type);
    model_->EndReset();
    ApplySizes();
}

void TParameterGrid::UpdateTable() {
    if (!Group())
        return;
    model_->BeginReset();
    text_.UpdateTable();
    model_->EndReset();
    ApplySizes();
}

// Setting the default size resizes every section, so widths the user dragged go too.
void TParameterGrid::ApplySizes() {
    sizes_ = MeasureTable(text_, fontMetrics());
    rows_->setDefaultSectionSize(sizes_.DefaultRowHeight);
    columns_->setDefaultSectionSize(sizes_.DefaultColWidth);
    for (int section = 0; section < columns_->count(); ++section) {
        const int width = LayoutColWidth(sizes_, text_, section + FixedCols());
        if (width != sizes_.DefaultColWidth)
            columns_->resizeSection(section, width);
    }
    columns_->setVisible(FixedRows() > 0);
    rows_->setVisible(FixedCols() > 0);
    columns_->updateGeometry();
    rows_->updateGeometry();
    updateGeometries();
    viewport()->update();
}

int TParameterGrid::RowHeights(int32_t row) const {
    if (row < FixedRows())
        return sizes_.HeaderRowHeight;
    return rows_->sectionSize(row - FixedRows());
}

// The last column's stretch is the window's spare room, not the column's: printouts and the
// window's first size leave it out.
int TParameterGrid::ColWidths(int32_t col) const {
    if (col < FixedCols())
        return sizes_.FirstColWidth;
    const int section = col - FixedCols();
    if (section == columns_->count() - 1)
        return LayoutColWidth(sizes_, text_, col);
    return columns_->sectionSize(section);
}

int TParameterGrid::GridWidth() const {
    int width = 0;
    for (int32_t col = 0; col < ColCount(); ++col)
        width += ColWidths(col);
    return width;
}

int TParameterGrid::GridHeight() const {
    return (FixedRows() ? sizes_.HeaderRowHeight : 0) + rows_->length();
}

int TParameterGrid::CalcRowHeight(QPainter& painter, int lines) const {
    return ::CalcRowHeight(QFontMetrics(painter.font(), painter.device()), lines);
}

void TParameterGrid::GetCellText(int32_t col, int32_t row, QString& text,
                                 QString& secondLine) const {
    text_.GetCellText(col, row, text, secondLine);
}

void TParameterGrid::InternalDrawCell(QPainter& painter, int32_t col, int32_t row,
                                      const QRect& rect) const {
    DrawTableCell(painter, text_, col, row, rect);
}

int TParameterGrid::GetRowHeight(QPainter& painter, int32_t row) const {
    return ScaleToResolution(RowHeights(row), painter.device()->logicalDpiY(), logicalDpiY());
}

int TParameterGrid::GetColWidth(QPainter& painter, int32_t col) const {
    return ScaleToResolution(ColWidths(col), painter.device()->logicalDpiX(), logicalDpiX());
}

void TParameterGrid::DrawRow(QPainter& painter, int32_t row, int x, int& y) const {
    const int height = GetRowHeight(painter, row);
    for (int32_t col = 0; col < ColCount(); ++col) {
        const int width = GetColWidth(painter, col);
        InternalDrawCell(painter, col, row, QRect(x, y, width, height));
        x += width;
    }
    y += height;
}

void TParameterGrid::SelectedRows(int32_t& top, int32_t& bottom) const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) {
        top = bottom = currentIndex().isValid() ? currentIndex().row() : 0;
        return;
    }
    top = INT_MAX;
    bottom = 0;
    for (const QItemSelectionRange& range : selection) {
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
    }
}

void TParameterGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ApplySizes();
}

// The corner is the layout's top-left cell ("Time", "Interval start").
bool TParameterGrid::eventFilter(QObject* watched, QEvent* event) {
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (!corner || event->type() != QEvent::Paint)
        return QTableView::eventFilter(watched, event);
    QPainter painter(corner);
    QStyleOptionHeader option;
    option.initFrom(corner);
    option.rect = corner->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, corner);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::ButtonText));
    InternalDrawCell(painter, 0, 0, corner->rect());
    return true;
}
