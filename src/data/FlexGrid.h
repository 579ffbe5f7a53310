#pragma once

#include "data/FlexCells.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <vector>

// The grid control's state with the members the windows use (Rows, Cols, Row, Col, TextMatrix,
// ColWidth, ColAlignment, ColPosition, AddItem, RemoveItem, TopRow, cell text colour, Sort).
// Row 0 is the fixed header row; the model side shows it as the horizontal header and exposes
// data rows 1..Rows-1 as model rows 0..Rows-2. Colours are COLORREF values (0x00BBGGRR).
class FlexGrid : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role { ColorRefRole = Qt::UserRole + 1 };
    enum SortCode {
        SortNumericAscending = 3,
        SortNumericDescending = 4,
        SortStringAscending = 7,
        SortStringDescending = 8
    };
    static constexpr int DefaultColWidth = 960; // twips
    static constexpr int AlignGeneral = 9;

    explicit FlexGrid(int rows = 2, int cols = 2, QObject* parent = nullptr);

    int Rows() const { return int(m_slot.size()); }
    void setRows(int rows);
    int Cols() const { return m_cols; }
    void setCols(int cols);
    int FixedRows() const { return 1; }
    int FixedCols() const { return 0; }

    int Row() const { return m_row; }
    void setRow(int row);
    int Col() const { return m_col; }
    void setCol(int col);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    // Every column back to the default width and alignment, as on a grid that was just emptied.
    void resetColumnFormats();
    int ColAlignment(int col) const;
    void setColAlignment(int col, int code);
    // Moves column col to position newPos; the columns in between shift by one.
    void setColPosition(int col, int newPos);

    // Inserts a row at index (Rows when omitted) with tab-separated cell texts.
    void AddItem(const QString& tabText, int index = -1);
    void RemoveItem(int index);

    int TopRow() const { return m_topRow; }
    void setTopRow(int row);

    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 colorRef);
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 colorRef) { m_backColor = colorRef; }
    // Text colour of the current cell (Row, Col).
    quint32 CellForeColor() const { return cellForeColor(m_row, m_col); }
    void setCellForeColor(quint32 colorRef);
    quint32 cellForeColor(int row, int col) const;

    // Sorts the data rows on the current column with a grid sort code (3, 4, 7, 8). Rows with equal
    // keys keep their order. Other codes leave the grid as it is. With emptyKeysLast, rows whose
    // key is empty are not sorted but follow the others in their earlier order.
    void Sort(int code, bool emptyKeysLast = false);

    // Replaces all data rows at once: the header row stays, Cols becomes cols, and the rows are
    // shown in reverse, as if each had been inserted directly under the header.
    void loadReversed(int cols, std::vector<QStringList>&& rowsInDeliveryOrder);
    // The same from cells as a read fills them, taken over without a copy: slot 0 is the header's
    // place (the header's texts replace it), then one slot for each record in delivery order.
    void loadReversed(FlexCells&& cells);

    // A rebuild in many steps: between begin and end the views hear nothing and see one reset at
    // the end, instead of a signal per cell, column and sort. Calls nest.
    void beginBatch();
    void endBatch();
    class Batch {
    public:
        explicit Batch(FlexGrid& grid) : m_grid(grid) { m_grid.beginBatch(); }
        ~Batch() { m_grid.endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        FlexGrid& m_grid;
    };

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void topRowChanged(int row);
    void columnFormatChanged();

private:
    struct ColumnData {
        int width = DefaultColWidth;
        int alignment = AlignGeneral;
    };
    bool valid(int row, int col) const { return row >= 0 && row < Rows() && col >= 0 && col < m_cols; }
    // m_slot gives each row its slot of cells, so sorts, inserts and removals move row numbers,
    // not cells.
    QString& cell(int row, int col) { return m_cells.slot(m_slot[size_t(row)])[col]; }
    const QString& cell(int row, int col) const { return m_cells.slot(m_slot[size_t(row)])[col]; }
    size_t colorAt(int row, int col) const {
        return size_t(m_slot[size_t(row)]) * size_t(m_cols) + size_t(col);
    }
    int takeSlot();
    void freeSlot(int slot);
    void compactIfSparse();
    void restride(int cols);
    void changedCell(int row, int col);
    void resetBegin();
    void resetEnd();
    void formatChanged();

    FlexCells m_cells;
    std::vector<quint32> m_colors; // empty while every cell has the grid's colour, else by slot and column
    std::vector<int> m_slot;       // row -> slot
    std::vector<int> m_free;       // slots of removed rows, their cells empty
    std::vector<ColumnData> m_columns;
    int m_cols = 0;
    int m_row = 0;
    int m_col = 0;
    int m_topRow = 1;
    quint32 m_foreColor = 0x00000000;
    quint32 m_backColor = 0x00FFFFFF;
    int m_batch = 0;
};
