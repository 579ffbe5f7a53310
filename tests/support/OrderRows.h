#pragma once

#include "TestDb.h"
#include "data/ModSQL.h"
#include "ordering/OrderLines.h"

#include <QString>
#include <QStringList>

// Orders as rows of bown2, written on the test database's private connection. Every value goes
// through the program's quoting function; a null text is stored as NULL.
namespace OrderRows {

struct Order {
    QString id;
    QString date;      // yymmdd
    QString tel;
    QString markaz;
    QString submitted; // "101" once sent; null while open
    QString lines;     // the stored lines text, as OrderLines::Encode or stored() make it
    QString timee = QStringLiteral("101530");
    QString mohafaza = QStringLiteral("kafrelsheikh");
};

// The INSERT statement of the order (for a test that runs it on a connection of its own).
inline QString insertSql(const Order& o) {
    QStringList values;
    for (const QString& v : {o.lines, o.id, o.date, o.timee, o.tel, o.markaz, o.mohafaza, o.submitted})
        values << (v.isNull() ? QStringLiteral("NULL") : ModSQL::SqlQuote(v));
    return QStringLiteral("INSERT INTO bown2 (drug,orderid,date,timee,tel,markaz,mohafaza,submitted) VALUES (%1)")
        .arg(values.join(u','));
}

// Inserts the order through TestDb; false with a warning when the server refused it.
inline bool insert(const Order& o) {
    return TestDb::exec(insertSql(o));
}

// A whole stored lines text: the given slots ("^name|quantity|price|discount|"), then empty
// ones up to the number an order holds.
inline QString stored(const QStringList& filled) {
    return filled.join(QString()) + QStringLiteral("^||||").repeated(OrderLines::Slots - filled.size());
}

} // namespace OrderRows
