#pragma once

#include "data/FlexGrid.h"

#include <QString>
#include <optional>

// The pharmacist's own orders, a list to choose the current order from.
namespace MyOrdersList {

QString Statement(const QString& tel);
// Fills grid with every bown2 row of phone tel, the last delivered on top; a failed query leaves
// the grid as it was.
// error receives the server's answer when the query failed (a failed connect has told the user).
bool Load(FlexGrid& grid, const QString& tel, QString* error = nullptr);
// The order id of row, or nothing when row is not an order row.
std::optional<QString> OrderAt(const FlexGrid& grid, int row);

} // namespace MyOrdersList
