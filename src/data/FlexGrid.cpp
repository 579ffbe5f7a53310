#include "data/FlexGrid.h"

#include "data/ModGFun.h"
#include "data/TextOrder.h"

#include <algorithm>

FlexGrid::FlexGrid(int rows, int cols, QObject* parent) : QAbstractTableModel(parent) {
    m_cols = std::max(cols, 0);
    m_columns.resize(m_cols);
    m_rows.resize(std::max(rows, 1));
    for (RowData& r : m_rows)
        resizeRow(r);
}

void FlexGrid::beginBatch() {
    if (m_batch++ == 0)
        beginResetModel();
}

void FlexGrid::endBatch() {
    if (m_batch == 0 || --m_batch > 0)
        return;
    endResetModel();
    emit columnFormatChanged();
}

void FlexGrid::resetBegin() {
    if (!m_batch)
        beginResetModel();
}

void FlexGrid::resetEnd() {
    if (!m_batch)
        endResetModel();
}

void FlexGrid::formatChanged() {
    if (!m_batch)
        emit columnFormatChanged();
}

void FlexGrid::resizeRow(RowData& r) const {
    r.cells.resize(m_cols);
    if (!r.colors.empty())
        r.colors.resize(m_cols, m_foreColor);
}

void FlexGrid::setRows(int rows) {
    rows = std::max(rows, 1); // the header row always stays
    const int old = Rows();
    if (rows == old)
        return;
    if (rows > old) {
        if (!m_batch)
            beginInsertRows({}, old - 1, rows - 2);
        m_rows.resize(rows);
        for (int i = old; i < rows; ++i)
            resizeRow(m_rows[i]);
        if (!m_batch)
            endInsertRows();
    } else {
        if (!m_batch)
            beginRemoveRows({}, rows - 1, old - 2);
        m_rows.resize(rows);
        if (!m_batch)
            endRemoveRows();
    }
    m_row = std::min(m_row, Rows() - 1);
    if (m_topRow >= Rows())
        m_topRow = std::max(1, Rows() - 1);
}

void FlexGrid::setCols(int cols) {
    cols = std::max(cols, 0);
    if (cols == m_cols)
        return;
    resetBegin();
    m_cols = cols;
    m_columns.resize(cols);
    for (RowData& r : m_rows)
        resizeRow(r);
    m_col = std::clamp(m_col, 0, std::max(0, cols - 1));
    resetEnd();
    formatChanged();
}

void FlexGrid::setRow(int row) {
    if (row >= 0 && row < Rows())
        m_row = row;
}

void FlexGrid::setCol(int col) {
    if (col >= 0 && col < m_cols)
        m_col = col;
}

QString FlexGrid::TextMatrix(int row, int col) const {
    if (!valid(row, col))
        return {};
    return m_rows[row].cells[col];
}

void FlexGrid::changedCell(int row, int col) {
    if (m_batch)
        return;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex i = index(row - 1, col);
        emit dataChanged(i, i);
    }
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    if (!valid(row, col))
        return;
    QString& cell = m_rows[row].cells[col];
    if (cell == text)
        return;
    cell = text;
    changedCell(row, col);
}

int FlexGrid::ColWidth(int col) const {
    return (col >= 0 && col < m_cols) ? m_columns[col].width : 0;
}

void FlexGrid::setColWidth(int col, int twips) {
    if (col < 0 || col >= m_cols)
        return;
    m_columns[col].width = std::max(twips, 0);
    formatChanged();
}

void FlexGrid::resetColumnFormats() {
    std::fill(m_columns.begin(), m_columns.end(), ColumnData{});
    if (Rows() > 1 && m_cols > 0 && !m_batch)
        emit dataChanged(index(0, 0), index(Rows() - 2, m_cols - 1), {Qt::TextAlignmentRole});
    formatChanged();
}

int FlexGrid::ColAlignment(int col) const {
    return (col >= 0 && col < m_cols) ? m_columns[col].alignment : AlignGeneral;
}

void FlexGrid::setColAlignment(int col, int code) {
    if (col < 0 || col >= m_cols)
        return;
    m_columns[col].alignment = code;
    if (Rows() > 1 && !m_batch)
        emit dataChanged(index(0, col), index(Rows() - 2, col), {Qt::TextAlignmentRole});
}

void FlexGrid::setColPosition(int col, int newPos) {
    if (col < 0 || col >= m_cols || newPos < 0 || newPos >= m_cols || col == newPos)
        return;
    resetBegin();
    auto move = [&](auto& v) {
        if (int(v.size()) != m_cols)
            return;
        auto item = std::move(v[col]);
        v.erase(v.begin() + col);
        v.insert(v.begin() + newPos, std::move(item));
    };
    for (RowData& r : m_rows) {
        move(r.cells);
        move(r.colors);
    }
    move(m_columns);
    resetEnd();
    formatChanged();
}

void FlexGrid::AddItem(const QString& tabText, int index) {
    if (index < 0 || index > Rows())
        index = Rows();
    if (index == 0)
        index = 1; // never above the header row
    RowData r;
    resizeRow(r);
    const QStringList parts = tabText.split(u'\t');
    for (int c = 0; c < m_cols && c < parts.size(); ++c)
        r.cells[c] = parts.at(c);
    if (!m_batch)
        beginInsertRows({}, index - 1, index - 1);
    m_rows.insert(m_rows.begin() + index, std::move(r));
    if (!m_batch)
        endInsertRows();
}

void FlexGrid::RemoveItem(int index) {
    if (index < 1 || index >= Rows())
        return;
    if (!m_batch)
        beginRemoveRows({}, index - 1, index - 1);
    m_rows.erase(m_rows.begin() + index);
    if (!m_batch)
        endRemoveRows();
    m_row = std::min(m_row, Rows() - 1);
}

void FlexGrid::setTopRow(int row) {
    if (row < 1 || row >= Rows())
        return;
    m_topRow = row;
    emit topRowChanged(row);
}

void FlexGrid::setForeColor(quint32 colorRef) {
    m_foreColor = colorRef;
    for (RowData& r : m_rows)
        r.colors.clear();
    if (Rows() > 1 && m_cols > 0 && !m_batch)
        emit dataChanged(index(0, 0), index(Rows() - 2, m_cols - 1));
}

quint32 FlexGrid::cellForeColor(int row, int col) const {
    if (!valid(row, col) || m_rows[row].colors.empty())
        return m_foreColor;
    return m_rows[row].colors[col];
}

void FlexGrid::setCellForeColor(quint32 colorRef) {
    if (!valid(m_row, m_col))
        return;
    RowData& r = m_rows[m_row];
    if (r.colors.empty()) {
        if (colorRef == m_foreColor)
            return; // already that colour: nothing to store
        r.colors.assign(m_cols, m_foreColor);
    }
    if (r.colors[m_col] == colorRef)
        return;
    r.colors[m_col] = colorRef;
    if (std::all_of(r.colors.begin(), r.colors.end(), [&](quint32 c) { return c == m_foreColor; }))
        r.colors.clear();
    changedCell(m_row, m_col);
}

void FlexGrid::Sort(int code, bool emptyKeysLast) {
    const int n = Rows();
    if (n < 3 || m_col < 0 || m_col >= m_cols)
        return;
    const int key = m_col;
    std::vector<int> order;
    std::vector<int> emptyKeys;
    order.reserve(n - 1);
    for (int r = 1; r < n; ++r) {
        if (emptyKeysLast && m_rows[r].cells[key].isEmpty())
            emptyKeys.push_back(r);
        else
            order.push_back(r);
    }
    auto sortBy = [&](auto less, bool descending) {
        if (descending)
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
        else
            std::stable_sort(order.begin(), order.end(), less);
    };
    if (code == SortNumericAscending || code == SortNumericDescending) {
        std::vector<double> keys(n);
        for (int r : order)
            keys[r] = ModGFun::Val(m_rows[r].cells[key]);
        sortBy([&](int a, int b) { return keys[a] < keys[b]; }, code == SortNumericDescending);
    } else if (code == SortStringAscending || code == SortStringDescending) {
        std::vector<QStringView> texts;
        texts.reserve(order.size());
        for (size_t i = 0; i < order.size(); ++i) {
#if defined(__GNUC__)
            // Each row's cells lie apart in memory: a row a few steps on is fetched while this one is read.
            if (i + 8 < order.size())
                __builtin_prefetch(m_rows[size_t(order[i + 8])].cells.data() + key);
#endif
            texts.emplace_back(m_rows[size_t(order[i])].cells[key]);
        }
        const std::vector<int> at = TextOrder::order(texts, code == SortStringDescending);
        std::vector<int> rows(order.size());
        for (size_t i = 0; i < at.size(); ++i)
            rows[i] = order[size_t(at[i])];
        order = std::move(rows);
    } else {
        return;
    }
    order.insert(order.end(), emptyKeys.begin(), emptyKeys.end());
    resetBegin();
    std::vector<RowData> sorted;
    sorted.reserve(n);
    sorted.push_back(std::move(m_rows[0]));
    for (int idx : order)
        sorted.push_back(std::move(m_rows[idx]));
    m_rows = std::move(sorted);
    resetEnd();
}

void FlexGrid::loadReversed(int cols, std::vector<QStringList>&& rowsInDeliveryOrder) {
    std::vector<std::vector<QString>> rows;
    rows.reserve(rowsInDeliveryOrder.size());
    for (QStringList& r : rowsInDeliveryOrder)
        rows.emplace_back(std::make_move_iterator(r.begin()), std::make_move_iterator(r.end()));
    rowsInDeliveryOrder.clear();
    loadReversed(cols, std::move(rows));
}

void FlexGrid::loadReversed(int cols, std::vector<std::vector<QString>>&& rowsInDeliveryOrder) {
    resetBegin();
    m_cols = std::max(cols, 0);
    m_columns.resize(m_cols);
    m_rows.resize(1);
    resizeRow(m_rows[0]);
    m_rows.reserve(rowsInDeliveryOrder.size() + 1);
    for (auto it = rowsInDeliveryOrder.rbegin(); it != rowsInDeliveryOrder.rend(); ++it) {
        RowData& r = m_rows.emplace_back();
        r.cells = std::move(*it);
        r.cells.resize(m_cols);
    }
    rowsInDeliveryOrder.clear();
    m_row = std::min(m_row, Rows() - 1);
    m_col = std::clamp(m_col, 0, std::max(0, m_cols - 1));
    m_topRow = 1;
    resetEnd();
    formatChanged();
}

int FlexGrid::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Rows() - 1;
}

int FlexGrid::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_cols;
}

static Qt::Alignment alignmentFor(int code, const QString& text) {
    Qt::Alignment h;
    switch (code) {
    case 0:
    case 1:
    case 2:
        h = Qt::AlignLeft;
        break;
    case 3:
    case 4:
    case 5:
        h = Qt::AlignHCenter;
        break;
    case 6:
    case 7:
    case 8:
        h = Qt::AlignRight;
        break;
    default: {
        // General: numbers to the right, text to the left.
        bool number = false;
        text.toDouble(&number);
        h = number ? Qt::AlignRight : Qt::AlignLeft;
    }
    }
    return h | Qt::AlignVCenter;
}

QVariant FlexGrid::data(const QModelIndex& index, int role) const {
    const int row = index.row() + 1;
    const int col = index.column();
    if (!index.isValid() || !valid(row, col))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_rows[row].cells[col];
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentFor(m_columns[col].alignment, m_rows[row].cells[col]));
    case ColorRefRole:
        return QVariant::fromValue(cellForeColor(row, col));
    default:
        return {};
    }
}

QVariant FlexGrid::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_cols)
        return {};
    if (role == Qt::DisplayRole)
        return m_rows[0].cells[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}
