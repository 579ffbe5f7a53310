#include "data/FlexGrid.h"

#include "data/ModGFun.h"

#include <QCollator>
#include <QLocale>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <array>
#include <string>
#include <string_view>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

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

namespace {

// The reader's collation the text sorts use: letters first, case only breaks ties, so
// "amoxicillin" and "Amoxil" stand together; still case-sensitive, so "A" and "a" are not equal keys.
const QCollator& textCollator() {
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::English, QLocale::UnitedStates)};
        c.setCaseSensitivity(Qt::CaseSensitive);
        c.setNumericMode(false);
        return c;
    }();
    return collator;
}

#ifdef Q_OS_WIN
// Windows' collation gives the hyphen and the apostrophe word-sort weights ("-3" after "2.5", and
// no per-character key reproduces it), and Qt 6.4's sort keys there carry stray bytes past the key:
// the text sorts compare with string sort, where every symbol counts as in the reader's collation.
constexpr bool KeyedTextSort = false;
int compareText(const QString& a, const QString& b) {
    return CompareStringEx(L"en-US", SORT_STRINGSORT, reinterpret_cast<LPCWCH>(a.utf16()), int(a.size()),
                           reinterpret_cast<LPCWCH>(b.utf16()), int(b.size()), nullptr, nullptr, 0) -
           CSTR_EQUAL;
}
#else
constexpr bool KeyedTextSort = true;
int compareText(const QString& a, const QString& b) { return textCollator().compare(a, b); }
#endif

// The collator's weights of the characters whose collation is one weight each: ASCII and the
// Arabic letters that have no decomposition (those with hamza or madda above or below are alef,
// waw or yeh plus a mark, and differ from them only at the accent level). Read from the collator
// itself once. For texts made of these characters the collation has no contractions, expansions
// or accents: every character is ignorable or has one primary weight and one case weight, so a byte
// key "primaries, 0, case weights" sorts exactly like the collator at a small part of the cost of
// a full collation key.
constexpr char16_t SimpleLimit = 0x0700;
struct SimpleWeights {
    std::array<quint8, SimpleLimit> primary{}; // 0: ignorable
    std::array<quint8, SimpleLimit> tertiary{};
    std::array<bool, SimpleLimit> simple{};
};

bool hasSimpleCollation(char16_t c) {
    if (c < 128)
        return true;
    if (c < 0x0621 || c > 0x064A)
        return false;
    const QChar ch(c);
    return ch.decompositionTag() == QChar::NoDecomposition && ch.category() == QChar::Letter_Other;
}

const SimpleWeights& simpleWeights() {
    static const SimpleWeights w = [] {
        const QCollator& sensitive = textCollator();
        QCollator insensitive = sensitive;
        insensitive.setCaseSensitivity(Qt::CaseInsensitive);
        const QString probe = QStringLiteral("a");
        SimpleWeights out;
        std::vector<char16_t> chars;
        for (char16_t c = 0; c < SimpleLimit; ++c) {
            if (!hasSimpleCollation(c))
                continue;
            out.simple[c] = true;
            if (sensitive.compare(probe + QChar(c), probe) != 0)
                chars.push_back(c);
        }
        std::stable_sort(chars.begin(), chars.end(), [&](char16_t a, char16_t b) {
            return sensitive.compare(QString(QChar(a)), QString(QChar(b))) < 0;
        });
        quint8 primary = 0;
        quint8 tertiary = 0;
        for (size_t i = 0; i < chars.size(); ++i) {
            if (i > 0 && insensitive.compare(QString(QChar(chars[i - 1])), QString(QChar(chars[i]))) == 0) {
                ++tertiary;
            } else {
                ++primary;
                tertiary = 1;
            }
            out.primary[chars[i]] = primary;
            out.tertiary[chars[i]] = tertiary;
        }
        return out;
    }();
    return w;
}

// Appends the key of s; false (and nothing appended) when s holds a character without a simple
// collation.
bool appendSimpleKey(std::string& arena, const QString& s) {
    const SimpleWeights& w = simpleWeights();
    const size_t base = arena.size();
    const qsizetype len = s.size();
    arena.resize(base + 2 + 2 * size_t(len));
    char* const begin = arena.data() + base;
    char* out = begin;
    // The empty text comes before one made only of ignorable characters, as in QCollator::compare.
    *out++ = len == 0 ? '\0' : '\1';
    const char16_t* text = reinterpret_cast<const char16_t*>(s.constData());
    for (qsizetype i = 0; i < len; ++i) {
        const char16_t c = text[i];
        if (c >= SimpleLimit || !w.simple[c]) {
            arena.resize(base);
            return false;
        }
        if (const quint8 p = w.primary[c])
            *out++ = char(p);
    }
    *out++ = '\0'; // below every weight: a prefix sorts first
    for (qsizetype i = 0; i < len; ++i)
        if (w.primary[text[i]])
            *out++ = char(w.tertiary[text[i]]);
    arena.resize(base + size_t(out - begin));
    return true;
}

struct SimpleKey {
    // The key's first 16 bytes, big-endian: most comparisons end here, also between names that
    // share their first word.
    quint64 head;
    quint64 head2;
    quint32 offset;
    quint32 length;
    int row;
};

} // namespace

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
    } else if ((code == SortStringAscending || code == SortStringDescending) && !KeyedTextSort) {
        sortBy(
            [&](int a, int b) {
                const QString& ta = m_rows[a].cells[key];
                const QString& tb = m_rows[b].cells[key];
                if (ta.isEmpty() || tb.isEmpty())
                    return ta.isEmpty() && !tb.isEmpty();
                return compareText(ta, tb) < 0;
            },
            code == SortStringDescending);
    } else if (code == SortStringAscending || code == SortStringDescending) {
        std::string arena;
        arena.reserve(size_t(n) * 48);
        std::vector<SimpleKey> keys;
        keys.reserve(order.size());
        bool simple = true;
        for (int r : order) {
            const size_t start = arena.size();
            if (!appendSimpleKey(arena, m_rows[r].cells[key])) {
                simple = false;
                break;
            }
            const size_t length = arena.size() - start;
            unsigned char bytes[16] = {};
            std::memcpy(bytes, arena.data() + start, std::min<size_t>(length, 16));
            quint64 head = 0;
            quint64 head2 = 0;
            std::memcpy(&head, bytes, 8);
            std::memcpy(&head2, bytes + 8, 8);
            keys.push_back({qFromBigEndian(head), qFromBigEndian(head2), quint32(start), quint32(length), r});
        }
        if (simple) {
            const std::string_view all(arena);
            auto less = [&](const SimpleKey& a, const SimpleKey& b) {
                if (a.head != b.head)
                    return a.head < b.head;
                if (a.head2 != b.head2)
                    return a.head2 < b.head2;
                return all.substr(a.offset, a.length) < all.substr(b.offset, b.length);
            };
            if (code == SortStringDescending)
                std::stable_sort(keys.begin(), keys.end(),
                                 [&](const SimpleKey& a, const SimpleKey& b) { return less(b, a); });
            else
                std::stable_sort(keys.begin(), keys.end(), less);
            for (size_t i = 0; i < keys.size(); ++i)
                order[i] = keys[i].row;
        } else {
            // Other characters need the full collation; every row then takes its key from it, so
            // that all texts of the same column compare on one scale.
            const QCollator& collator = textCollator();
            std::vector<QCollatorSortKey> collationKeys;
            collationKeys.reserve(n);
            collationKeys.push_back(collator.sortKey(QString()));
            for (int r = 1; r < n; ++r)
                collationKeys.push_back(collator.sortKey(m_rows[r].cells[key]));
            auto less = [&](int a, int b) {
                const bool emptyA = m_rows[a].cells[key].isEmpty();
                const bool emptyB = m_rows[b].cells[key].isEmpty();
                if (emptyA || emptyB)
                    return emptyA && !emptyB;
                return collationKeys[a].compare(collationKeys[b]) < 0;
            };
            sortBy(less, code == SortStringDescending);
        }
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
