#include "data/FlexGrid.h"

#include "data/ModGFun.h"
#include "data/TextOrder.h"

#include <algorithm>
#include <numeric>

FlexGrid::FlexGrid(int rows, int cols, QObject* parent) : QAbstractTableModel(parent) {
    m_cols = std::max(cols, 0);
    m_cells = FlexCells(m_cols);
    m_columns.resize(m_cols);
    m_slot.reserve(size_t(std::max(rows, 1)));
    for (int r = 0; r < std::max(rows, 1); ++r)
        m_slot.push_back(takeSlot());
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

int FlexGrid::takeSlot() {
    if (!m_free.empty()) {
        const int slot = m_free.back();
        m_free.pop_back();
        return slot;
    }
    m_cells.append();
    if (!m_colors.empty())
        m_colors.resize(size_t(m_cells.size()) * size_t(m_cols), m_foreColor);
    return m_cells.size() - 1;
}

void FlexGrid::freeSlot(int slot) {
    std::fill_n(m_cells.slot(slot), m_cols, QString());
    if (!m_colors.empty())
        std::fill_n(m_colors.begin() + ptrdiff_t(size_t(slot) * size_t(m_cols)), m_cols, m_foreColor);
    m_free.push_back(slot);
}

// A grid emptied a row at a time would otherwise keep the cells of its longest day.
void FlexGrid::compactIfSparse() {
    if (m_free.size() <= m_slot.size() + 64)
        return;
    const size_t cols = size_t(m_cols);
    std::vector<quint32> colors(m_colors.empty() ? 0 : m_slot.size() * cols);
    for (size_t r = 0; r < m_slot.size() && !colors.empty(); ++r)
        std::copy_n(m_colors.begin() + ptrdiff_t(size_t(m_slot[r]) * cols), cols,
                    colors.begin() + ptrdiff_t(r * cols));
    m_cells = m_cells.picked(m_slot);
    m_colors = std::move(colors);
    std::iota(m_slot.begin(), m_slot.end(), 0);
    m_free.clear();
}

void FlexGrid::restride(int cols) {
    const size_t keep = size_t(std::min(cols, m_cols));
    const size_t count = size_t(m_cells.size());
    std::vector<quint32> colors(m_colors.empty() ? 0 : count * size_t(cols), m_foreColor);
    for (size_t s = 0; s < count && !colors.empty(); ++s)
        std::copy_n(m_colors.begin() + ptrdiff_t(s * size_t(m_cols)), keep,
                    colors.begin() + ptrdiff_t(s * size_t(cols)));
    m_cells = m_cells.restrided(cols);
    m_colors = std::move(colors);
    m_cols = cols;
}

void FlexGrid::setRows(int rows) {
    rows = std::max(rows, 1); // the header row always stays
    const int old = Rows();
    if (rows == old)
        return;
    if (rows > old) {
        if (!m_batch)
            beginInsertRows({}, old - 1, rows - 2);
        m_slot.reserve(size_t(rows));
        for (int i = old; i < rows; ++i)
            m_slot.push_back(takeSlot());
        if (!m_batch)
            endInsertRows();
    } else {
        if (!m_batch)
            beginRemoveRows({}, rows - 1, old - 2);
        for (int i = rows; i < old; ++i)
            freeSlot(m_slot[size_t(i)]);
        m_slot.resize(size_t(rows));
        compactIfSparse();
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
    restride(cols);
    m_columns.resize(cols);
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
    return cell(row, col);
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
    QString& old = cell(row, col);
    if (old == text)
        return;
    old = text;
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
    // Within each slot (and the column formats) the cells from col to newPos turn by one.
    auto turn = [&](auto first) {
        if (col < newPos)
            std::rotate(first + col, first + col + 1, first + newPos + 1);
        else
            std::rotate(first + newPos, first + col, first + col + 1);
    };
    for (int s = 0; s < m_cells.size(); ++s) {
        turn(m_cells.slot(s));
        if (!m_colors.empty())
            turn(m_colors.begin() + ptrdiff_t(s * size_t(m_cols)));
    }
    turn(m_columns.begin());
    resetEnd();
    formatChanged();
}

void FlexGrid::AddItem(const QString& tabText, int index) {
    if (index < 0 || index > Rows())
        index = Rows();
    if (index == 0)
        index = 1; // never above the header row
    const int slot = takeSlot();
    const QStringList parts = tabText.split(u'\t');
    for (int c = 0; c < m_cols && c < parts.size(); ++c)
        m_cells.slot(slot)[c] = parts.at(c);
    if (!m_batch)
        beginInsertRows({}, index - 1, index - 1);
    m_slot.insert(m_slot.begin() + index, slot);
    if (!m_batch)
        endInsertRows();
}

void FlexGrid::RemoveItem(int index) {
    if (index < 1 || index >= Rows())
        return;
    if (!m_batch)
        beginRemoveRows({}, index - 1, index - 1);
    freeSlot(m_slot[size_t(index)]);
    m_slot.erase(m_slot.begin() + index);
    compactIfSparse();
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
    m_colors.clear();
    if (Rows() > 1 && m_cols > 0 && !m_batch)
        emit dataChanged(index(0, 0), index(Rows() - 2, m_cols - 1));
}

quint32 FlexGrid::cellForeColor(int row, int col) const {
    if (!valid(row, col) || m_colors.empty())
        return m_foreColor;
    return m_colors[colorAt(row, col)];
}

void FlexGrid::setCellForeColor(quint32 colorRef) {
    if (!valid(m_row, m_col))
        return;
    if (m_colors.empty()) {
        if (colorRef == m_foreColor)
            return; // already that colour: nothing to store
        m_colors.assign(size_t(m_cells.size()) * size_t(m_cols), m_foreColor);
    }
    quint32& color = m_colors[colorAt(m_row, m_col)];
    if (color == colorRef)
        return;
    color = colorRef;
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
        if (emptyKeysLast && cell(r, key).isEmpty())
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
            keys[r] = ModGFun::Val(cell(r, key));
        sortBy([&](int a, int b) { return keys[a] < keys[b]; }, code == SortNumericDescending);
    } else if (code == SortStringAscending || code == SortStringDescending) {
        std::vector<QStringView> texts;
        texts.reserve(order.size());
        for (size_t i = 0; i < order.size(); ++i) {
#if defined(__GNUC__)
            // After a sort the rows' slots lie apart in memory: a row a few steps on is fetched
            // while this one is read.
            if (i + 8 < order.size())
                __builtin_prefetch(&cell(order[i + 8], key));
#endif
            texts.emplace_back(cell(order[i], key));
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
    std::vector<int> sorted;
    sorted.reserve(size_t(n));
    sorted.push_back(m_slot[0]);
    for (int idx : order)
        sorted.push_back(m_slot[size_t(idx)]);
    m_slot = std::move(sorted);
    resetEnd();
}

void FlexGrid::loadReversed(int cols, std::vector<QStringList>&& rowsInDeliveryOrder) {
    FlexCells cells(cols);
    cells.append(); // the header's place
    for (QStringList& r : rowsInDeliveryOrder)
        std::move(r.begin(), r.begin() + std::min<qsizetype>(r.size(), cells.cols()), cells.append());
    rowsInDeliveryOrder.clear();
    loadReversed(std::move(cells));
}

void FlexGrid::loadReversed(FlexCells&& cells) {
    resetBegin();
    if (cells.size() == 0)
        cells.append();
    const int cols = cells.cols();
    const int records = cells.size() - 1;
    // The header keeps its texts and colours.
    std::vector<quint32> colors(m_colors.empty() ? 0 : size_t(cells.size()) * size_t(cols), m_foreColor);
    for (int c = 0; c < std::min(cols, m_cols); ++c) {
        cells.slot(0)[c] = std::move(cell(0, c));
        if (!colors.empty())
            colors[size_t(c)] = m_colors[colorAt(0, c)];
    }
    m_cells = std::move(cells);
    m_colors = std::move(colors);
    m_free.clear();
    m_cols = cols;
    m_columns.resize(size_t(cols));
    // Slot 0 the header, then the last record delivered shown first.
    m_slot.resize(size_t(records) + 1);
    m_slot[0] = 0;
    for (int r = 1; r <= records; ++r)
        m_slot[size_t(r)] = records + 1 - r;
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
        return cell(row, col);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentFor(m_columns[col].alignment, cell(row, col)));
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
        return cell(0, section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}
