#include "ui/FLXMod.h"

#include "data/ModGFun.h"
#include "ui/WildcardMatch.h"

#include <cmath>

namespace FLXMod {

void FlexAlignCenter(FlexGrid& grid) {
    for (int c = 0; c < grid.Cols(); ++c)
        grid.setColAlignment(c, AlignCenter);
}

void FlexAlignLeft(FlexGrid& grid, int column) {
    grid.setColAlignment(column, AlignLeft);
}

int FlexFindLike(const FlexGrid& grid, const QString& pattern, int column) {
    // The last match is wanted: scanning from the bottom finds it without matching the rows above.
    const WildcardPattern compiled(pattern);
    for (int r = grid.Rows() - 1; r >= grid.FixedRows(); --r)
        if (compiled.matches(grid.TextMatrix(r, column)))
            return r;
    return 0;
}

int FlexFindText(const FlexGrid& grid, const QString& text, int column) {
    int found = 0;
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r)
        if (grid.TextMatrix(r, column).compare(text, Qt::CaseInsensitive) == 0)
            found = r;
    return found;
}

bool FlexRowIsEmpty(const FlexGrid& grid, int row) {
    for (int c = 0; c < grid.Cols(); ++c)
        if (!grid.TextMatrix(row, c).isEmpty())
            return false;
    return true;
}

std::optional<int> FlexFirstEmptyRow(const FlexGrid& grid) {
    for (int r = 1; r < grid.Rows(); ++r)
        if (FlexRowIsEmpty(grid, r))
            return r;
    return std::nullopt;
}

void FlexColorRow(FlexGrid& grid, int row, quint32 colorRef) {
    if (row < 0 || row >= grid.Rows())
        return;
    const int keep = grid.Row();
    grid.setRow(row);
    for (int c = 0; c < grid.Cols(); ++c) {
        grid.setCol(c);
        grid.setCellForeColor(colorRef);
    }
    grid.setRow(keep);
}

void FlexColorRow(FlexGrid& grid, const QString& row, quint32 colorRef) {
    const double v = ModGFun::Val(row);
    if (!std::isfinite(v) || v < 0 || v > 2147483647.0)
        return;
    FlexColorRow(grid, int(std::nearbyint(v)), colorRef);
}

void FlexSort(FlexGrid& grid, int column, const QString& mode) {
    const int n = grid.Rows();
    if (n < 3 || column < 0 || column >= grid.Cols())
        return;
    int code = 0;
    if (mode.compare(QLatin1String("AZ"), Qt::CaseInsensitive) == 0)
        code = FlexGrid::SortStringAscending;
    else if (mode.compare(QLatin1String("ZA"), Qt::CaseInsensitive) == 0)
        code = FlexGrid::SortStringDescending;
    else if (mode == QLatin1String("123"))
        code = FlexGrid::SortNumericAscending;
    else if (mode == QLatin1String("321"))
        code = FlexGrid::SortNumericDescending;
    else
        return;
    grid.setCol(column);
    // With an empty key in the last row, rows without a key follow the sorted ones in their order.
    grid.Sort(code, grid.TextMatrix(n - 1, column).isEmpty());
}

} // namespace FLXMod
