#include "gui/CellGrid.h"
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QTimer>

const std::string TCellGrid::empty;

int CellGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : g->rows; }
int CellGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : g->cols; }

QVariant CellGridModel::data(const QModelIndex& ix, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
    return QString::fromStdString(g->Cells(ix.column(), ix.row()));
}

bool CellGridModel::setData(const QModelIndex& ix, const QVariant& v, int role) {
    if (role != Qt::EditRole || !g->inside(ix.column(), ix.row())) return false;
    if (g->sourceEdit) {
        if (!g->sourceEdit(ix.column(), ix.row(), v.toString().toStdString())) return false;
    } else {
        g->at(ix.column(), ix.row()) = v.toString().toStdString();
    }
    emit dataChanged(ix, ix);
    return true;
}

Qt::ItemFlags CellGridModel::flags(const QModelIndex& ix) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (g->editable) f |= Qt::ItemIsEditable;
    return f;
}

QVariant CellGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) && section >= 0 &&
        section < int(g->columnNames.size()))
        return QString::fromStdString(g->columnNames[size_t(section)]);
    return QAbstractTableModel::headerData(section, o, role);
}

TCellGrid::TCellGrid(QWidget* parent, int cols, int rows)
    : TControlT<QTableView>(ClientOf(parent)), cols(std::max(cols, 0)), rows(std::max(rows, 0)) {
    store.resize(size_t(this->rows) * this->cols);
    cellModel = new CellGridModel(this);
    cellModel->setParent(this);
    setModel(cellModel);
    GridLook(this);
    QObject::connect(selectionModel(), &QItemSelectionModel::currentChanged, [this](const QModelIndex& cur, const QModelIndex&) {
        if (!settingFromCode && cur.isValid() && OnClick) OnClick(this);
    });
    QObject::connect(this, &QTableView::doubleClicked, [this](const QModelIndex&) {
        if (OnDblClick) OnDblClick(this);
    });
    QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

TCellGrid::~TCellGrid() = default;

void TCellGrid::changed() {
    if (updatePending) return;
    updatePending = true;
    QTimer::singleShot(0, this, [this] {
        updatePending = false;
        viewport()->update();
    });
}

void TCellGrid::SetSource(CellText text, CellEdit edit) {
    source = std::move(text);
    sourceEdit = std::move(edit);
    store.clear();
    store.shrink_to_fit();
    changed();
}

void TCellGrid::SetRowCount(int n) {
    n = std::max(n, 0);
    if (n == rows) return;
    if (n > rows) {
        cellModel->BeginRowsAdded(rows, n - 1);
        if (!source) store.resize(size_t(n) * cols);
        rows = n;
        cellModel->EndRowsAdded();
    } else {
        cellModel->BeginRowsRemoved(n, rows - 1);
        if (!source) store.resize(size_t(n) * cols);
        rows = n;
        cellModel->EndRowsRemoved();
    }
}

void TCellGrid::SetCells(int col, int row, const std::string& s) {
    if (!inside(col, row)) return;
    if (sourceEdit)
        sourceEdit(col, row, s);
    else if (!source)
        at(col, row) = s;
    changed();
}

void TCellGrid::SetCells(int col, int row, std::string&& s) {
    if (!inside(col, row) || source) return SetCells(col, row, s);
    at(col, row) = std::move(s);
    changed();
}

void TCellGrid::ReorderRows(const std::vector<int>& order) {
    if (source) return;
    // Written in order into a new store, each row read whole from its old place.
    // The old store, all moved out, is kept for the next reorder.
    spare.resize(store.size());
    for (size_t r = 0; r < order.size(); ++r)
        for (int c = 0; c < cols; ++c) spare[r * cols + c] = std::move(at(c, order[r]));
    for (size_t i = order.size() * cols; i < store.size(); ++i) spare[i] = std::move(store[i]);
    store.swap(spare);
    changed();
}

int TCellGrid::Row() const { return currentIndex().isValid() ? currentIndex().row() : -1; }
int TCellGrid::Col() const { return currentIndex().isValid() ? currentIndex().column() : -1; }

void TCellGrid::SetRow(int r) {
    settingFromCode = true;
    setCurrentIndex(cellModel->index(r, std::max(Col(), 0)));
    settingFromCode = false;
}

void TCellGrid::SetCol(int c) {
    settingFromCode = true;
    setCurrentIndex(cellModel->index(std::max(Row(), 0), c));
    settingFromCode = false;
}

void TCellGrid::SetRowHeights(int h) { verticalHeader()->setDefaultSectionSize(h); }

void TCellGrid::SetEditable(bool b) {
    editable = b;
    // A double click is the grid's own command; typing or F2 edits.
    setEditTriggers(b ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed
                      : QAbstractItemView::NoEditTriggers);
}

void TCellGrid::contextMenuEvent(QContextMenuEvent* e) {
    if (!PopupMenu) return;
    QModelIndex ix = indexAt(e->pos());
    if (ix.isValid()) SetRow(ix.row()), SetCol(ix.column());
    PopupMenu->Popup(e->globalPos().x(), e->globalPos().y());
}

// Left only for another control of the same window: while the focus is in
// another window (or none), the grid stays the control its window comes back to.
void TCellGrid::focusMoved(QWidget* now) {
    if (!now || now->window() != window()) return;
    if (now == this || isAncestorOf(now)) {
        windowsControl = true;
        return;
    }
    if (!windowsControl) return;
    windowsControl = false;
    if (OnExit) OnExit(this);
}
