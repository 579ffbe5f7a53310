#pragma once

#include "data/FlexGrid.h"

#include <QString>
#include <functional>
#include <span>
#include <vector>

// The statement procedures every window uses over ServerConnection.
namespace ModSQL {

// The one quoting function: the value as a SQL text literal, apostrophes doubled and NUL
// characters dropped (no server text column holds them). SqlQuote("A") == "'A'".
QString SqlQuote(const QString& value);
// The same without the surrounding quotes, for statements whose pieces carry their own quotes.
QString SqlEscape(const QString& value);

// What ConnectServer does around connecting and when it cannot; the application sets these to
// the hourglass and to "show the driver's text, then end the program".
struct ConnectHooks {
    std::function<void()> busyOn;
    std::function<void()> busyOff;
    std::function<void(const QString& error)> fatal;
};
void setConnectHooks(const ConnectHooks& hooks);

// Opens the connection unless it is open; on failure calls the fatal hook and returns false.
bool ConnectServer();

// "DELETE  FROM " + table + " WHERE " + where. Returns the records affected, 0 on failure.
long SQLDelete(const QString& tableName, const QString& whereClause, QString* error = nullptr);

// Columns other than one per field, laid out while the records are read: Cols becomes cols, fields
// past it are not read, and column fillColumn of every record's row holds fill instead of its field.
// eachRow, when set, finishes every record's row in place while it is fresh from the read: its
// cells, including the added empty ones after the fields when cols is -1, for it to fill or move.
struct FlexLayout {
    int cols = -1; // -1: one column per field, and added more
    int fillColumn = -1;
    QString fill;
    std::function<void(std::span<QString> cells)> eachRow = {};
    int added = 0;
};

// "SELECT * FROM " + tail into the grid: header row kept, one column per field, records shown in
// reverse delivery order, NULL fields empty. A failed query leaves the grid as it was.
bool SQLSelectToFlex(FlexGrid& grid, const QString& queryTail, QString* error = nullptr,
                     const FlexLayout& layout = {});

} // namespace ModSQL
