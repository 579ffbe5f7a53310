#include "OrderRows.h"

#include "TestDb.h"
#include "data/ModSQL.h"
#include "ordering/OrderLines.h"

namespace OrderRows {

QString insertSql(const Order& o) {
    QStringList values;
    for (const QString& v : {o.lines, o.id, o.date, o.timee, o.tel, o.markaz, o.mohafaza, o.submitted})
        values << (v.isNull() ? QStringLiteral("NULL") : ModSQL::SqlQuote(v));
    return QStringLiteral("INSERT INTO bown2 (drug,orderid,date,timee,tel,markaz,mohafaza,submitted) VALUES (%1)")
        .arg(values.join(u','));
}

bool insert(const Order& o) {
    return TestDb::exec(insertSql(o));
}

QString stored(const QStringList& filled) {
    return filled.join(QString()) + QStringLiteral("^||||").repeated(OrderLines::Slots - filled.size());
}

} // namespace OrderRows
