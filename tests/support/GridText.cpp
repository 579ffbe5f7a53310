#include "GridText.h"

namespace GridText {

QStringList column(const FlexGrid& g, int col) {
    QStringList out;
    for (int r = 1; r < g.Rows(); ++r)
        out << g.TextMatrix(r, col);
    return out;
}

QStringList row(const FlexGrid& g, int r) {
    QStringList out;
    for (int c = 0; c < g.Cols(); ++c)
        out << g.TextMatrix(r, c);
    return out;
}

QList<QStringList> rows(const FlexGrid& g) {
    QList<QStringList> out;
    for (int r = 1; r < g.Rows(); ++r)
        out << row(g, r);
    return out;
}

int rowOf(const FlexGrid& g, int col, const QString& text) {
    const qsizetype i = column(g, col).indexOf(text);
    return i < 0 ? -1 : int(i) + 1;
}

} // namespace GridText
