#pragma once

#include "data/FlexGrid.h"

#include <QString>
#include <optional>

// Operations every window's grids share.
namespace FLXMod {

inline constexpr int AlignCenter = 3; // centre, top
inline constexpr int AlignLeft = 2;   // left, bottom

void FlexAlignCenter(FlexGrid& grid);
void FlexAlignLeft(FlexGrid& grid, int column);
// The last data row whose cell in column matches the wildcard pattern (case ignored); 0 if none.
int FlexFindLike(const FlexGrid& grid, const QString& pattern, int column);
// The last data row whose cell in column equals text, case ignored; 0 if none.
int FlexFindText(const FlexGrid& grid, const QString& text, int column);
bool FlexRowIsEmpty(const FlexGrid& grid, int row);
std::optional<int> FlexFirstEmptyRow(const FlexGrid& grid);
// Sets the text colour of every cell of row; the grid's current row is kept, its current column
// ends on the last column.
void FlexColorRow(FlexGrid& grid, int row, quint32 colorRef);
void FlexColorRow(FlexGrid& grid, const QString& row, quint32 colorRef);
// Sorts on column by mode "AZ", "ZA", "123" or "321" (case ignored); other modes do nothing.
// Rows whose key is empty go to the end when the last row's key is empty; no row is lost.
void FlexSort(FlexGrid& grid, int column, const QString& mode);

} // namespace FLXMod
