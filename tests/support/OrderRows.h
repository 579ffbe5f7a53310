#pragma once

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
QString insertSql(const Order& o);
// Inserts the order through TestDb; false with a warning when the server refused it.
bool insert(const Order& o);
// A whole stored lines text: the given slots ("^name|quantity|price|discount|"), then empty
// ones up to the number an order holds.
QString stored(const QStringList& filled);

} // namespace OrderRows
