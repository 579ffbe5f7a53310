#pragma once

#include "data/FlexGrid.h"

#include <QList>
#include <QStringList>

// A grid's cells as text, to compare with what a test expects. Row 0 is the header.
namespace GridText {

// Column col of every row below the header, top to bottom.
inline QStringList column(const FlexGrid& g, int col) {
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r)
        out << g.TextMatrix(r, col);
    return out;
}

// Row r, left to right.
inline QStringList row(const FlexGrid& g, int r) {
    QStringList out;
    for (int c = 0; c < g.Cols(); ++c)
        out << g.TextMatrix(r, c);
    return out;
}

// Every row below the header.
inline QList<QStringList> rows(const FlexGrid& g) {
    QList<QStringList> out;
    for (int r = 1; r < g.Rows(); ++r)
        out << row(g, r);
    return out;
}

// The first row below the header whose column col reads text; -1 when none does.
inline int rowOf(const FlexGrid& g, int col, const QString& text) {
    const qsizetype i = column(g, col).indexOf(text);
    return i < 0 ? -1 : int(i) + 1;
}

} // namespace GridText
