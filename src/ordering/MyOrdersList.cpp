#include "ordering/MyOrdersList.h"

#include "data/ModSQL.h"
#include "ordering/MyOrdersListTexts.h"
#include "ui/FLXMod.h"

namespace MyOrdersList {

QString Statement(const QString& tel) {
    return QStringLiteral("SELECT * FROM bown2 WHERE TEL ='") + ModSQL::SqlEscape(tel) + u'\'';
}

bool Load(FlexGrid& grid, const QString& tel, QString* error) {
    // The same statement SQLSelectToFlex sends for this tail: "SELECT * FROM bown2 WHERE TEL ='…'".
    const QString tail = Statement(tel).mid(QStringLiteral("SELECT * FROM ").size());
    // A failed connect has told the user already; only a refused query is handed back.
    if (!ModSQL::ConnectServer() || !ModSQL::SQLSelectToFlex(grid, tail, error))
        return false;
    FLXMod::FlexAlignCenter(grid);
    grid.setColWidth(0, 0);
    grid.setColWidth(1, 2600);
    for (int c = 0; c < grid.Cols(); ++c)
        grid.setTextMatrix(0, c, MyOrdersListTexts::Headers.value(c));
    return true;
}

std::optional<QString> OrderAt(const FlexGrid& grid, int row) {
    if (row < 1 || row >= grid.Rows())
        return std::nullopt;
    const QString id = grid.TextMatrix(row, 1);
    if (id.isEmpty())
        return std::nullopt;
    return id;
}

} // namespace MyOrdersList
