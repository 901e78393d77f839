// A string grid that keeps its cells in its own store, or shows a table it does
// not own: for tables of tens of thousands of rows, where one widget item per
// cell would make loading, sorting and clearing slow. Same interface as
// TStringGrid, no fixed cells.
#pragma once
#include "gui/Controls.h"
#include <QAbstractTableModel>
#include <QTableView>
#include <functional>
#include <string>
#include <vector>

class TCellGrid;

class CellGridModel : public QAbstractTableModel {
public:
    explicit CellGridModel(TCellGrid* g) : QAbstractTableModel(nullptr), g(g) {}
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& ix, int role) const override;
    bool setData(const QModelIndex& ix, const QVariant& v, int role) override;
    Qt::ItemFlags flags(const QModelIndex& ix) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    void BeginRowsAdded(int from, int to) { beginInsertRows(QModelIndex(), from, to); }
    void EndRowsAdded() { endInsertRows(); }
    void BeginRowsRemoved(int from, int to) { beginRemoveRows(QModelIndex(), from, to); }
    void EndRowsRemoved() { endRemoveRows(); }
private:
    TCellGrid* g;
};

class TCellGrid : public TControlT<QTableView> {
public:
    TCellGrid(QWidget* parent, int cols, int rows);
    ~TCellGrid() override;
    int ColCount() const { return cols; }
    int RowCount() const { return rows; }
    void SetRowCount(int n);
    // The grid becomes a view of a table: each cell is read from it, and a cell set, by the
    // user's typing or by code, is handed to it, which takes the text or keeps its own value
    // (false: refused, and the view's editor is told so).
    using CellText = std::function<std::string(int col, int row)>;
    using CellEdit = std::function<bool(int col, int row, const std::string& s)>;
    void SetSource(CellText text, CellEdit edit);
    void Refresh() { changed(); }   // the table changed under the view
    std::string Cells(int col, int row) const {
        return !inside(col, row) ? std::string() : source ? source(col, row) : at(col, row);
    }
    // The cell itself, for readers of the grid's own store that only compare or copy it; "" outside.
    const std::string& CellRef(int col, int row) const { return inside(col, row) && !source ? at(col, row) : empty; }
    void SetCells(int col, int row, const std::string& s);
    void SetCells(int col, int row, std::string&& s);
    // Rows 0..order.size()-1 take the rows order[0], order[1], ... (a permutation of them).
    void ReorderRows(const std::vector<int>& order);
    int Row() const;
    int Col() const;
    void SetRow(int r);           // runs nothing
    void SetCol(int c);           // runs nothing
    void SetColWidth(int col, int w) { setColumnWidth(col, w); }
    void SetRowHeights(int h);
    void SetEditable(bool b);
    TPopupMenu* PopupMenu = nullptr;  // opened by a right press on a cell, which selects it first
    // What each column holds, as a screen reader reads its header (else its number).
    void SetColumnNames(std::vector<std::string> names) { columnNames = std::move(names); }
    TNotifyEvent OnClick, OnDblClick, OnExit;

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    friend class CellGridModel;
    bool inside(int c, int r) const { return c >= 0 && r >= 0 && c < cols && r < rows; }
    void changed();               // one repaint for any number of cell writes
    CellGridModel* cellModel;
    CellText source;
    CellEdit sourceEdit;
    // Row after row, so that reading the table in order reads memory in order.
    std::vector<std::string> store, spare;
    std::string& at(int c, int r) { return store[size_t(r) * cols + c]; }
    const std::string& at(int c, int r) const { return store[size_t(r) * cols + c]; }
    int cols, rows;
    std::vector<std::string> columnNames;
    bool editable = false;
    bool settingFromCode = false;
    bool updatePending = false;
    bool windowsControl = false;  // the grid (or its cell editor) is its window's focused control
    void focusMoved(QWidget* now);
    static const std::string empty;
};
