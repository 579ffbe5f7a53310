#include "ordering/MyOrdersList.h"

#include "data/FieldText.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ui/FLXMod.h"

#include <QHash>

namespace MyOrdersList {

QString Statement(const QString& tel) {
    return QStringLiteral("SELECT * FROM bown2 WHERE TEL ='") + ModSQL::SqlEscape(tel) + u'\'';
}

bool Load(FlexGrid& grid, const QString& tel, QString* error) {
    if (!ModSQL::ConnectServer())
        return false;
    long affected = 0;
    Recordset rs = ServerConnection::instance().Execute(Statement(tel), affected, error);
    if (affected == 0)
        return false;
    const int fields = rs.FieldCount();
    std::vector<QStringList> rows;
    rows.reserve(rs.RecordCount());
    for (; !rs.isEOF(); rs.MoveNext()) {
        QStringList row;
        row.reserve(fields);
        for (int i = 0; i < fields; ++i)
            row.append(FieldText(rs.Fields(i)));
        rows.push_back(std::move(row));
    }
    grid.setRows(1);
    grid.loadReversed(fields, std::move(rows));
    FLXMod::FlexAlignCenter(grid);
    grid.setColWidth(0, 0);
    grid.setColWidth(1, 2600);
    static const QHash<QString, QString> headers = {
        {QStringLiteral("orderid"), QStringLiteral("رقم الاوردر")},
        {QStringLiteral("date"), QStringLiteral("التاريخ")},
        {QStringLiteral("timee"), QStringLiteral("الساعة")},
        {QStringLiteral("tel"), QStringLiteral("التلفون")},
        {QStringLiteral("mohafaza"), QStringLiteral("محافظة")},
        {QStringLiteral("markaz"), QStringLiteral("مركز")},
        {QStringLiteral("submitted"), QStringLiteral("الحالة")}};
    for (int c = 0; c < fields; ++c)
        grid.setTextMatrix(0, c, c == 0 ? QString() : headers.value(rs.FieldName(c).toLower()));
    return true;
}

std::optional<QString> Pick(const FlexGrid& grid, int row) {
    if (row < 1 || row >= grid.Rows())
        return std::nullopt;
    const QString id = grid.TextMatrix(row, 1);
    if (id.isEmpty())
        return std::nullopt;
    return id;
}

} // namespace MyOrdersList
