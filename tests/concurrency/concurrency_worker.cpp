// One copy of the program doing a bounded run of work against the shared tables, in its own
// process: a pharmacist building and sending orders, or the manager purging and renaming.
// Prints "sent <orderid> <text>" for every order it sent and "ops <n> faults <m>" at the end.
#include "data/FieldText.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/OrderLines.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>

namespace {
int ops = 0;
int faults = 0;
ServerConnection& sc() { return ServerConnection::instance(); }
QString tel(int who) { return QStringLiteral("010000000%1").arg(who, 2, 10, QChar(u'0')); }

long run(const QString& sql) {
    long n = 0;
    QString error;
    sc().Execute(sql, n, &error);
    ++ops;
    if (!error.isEmpty())
        ++faults;
    return n;
}

QStringList drugNames() {
    long n = 0;
    Recordset rs = sc().Execute(QStringLiteral("SELECT * FROM bowndrugs ;"), n);
    QStringList names;
    for (; !rs.isEOF(); rs.MoveNext())
        names << FieldText(rs.Fields(0));
    return names;
}

void pharmacist(int who, int count) {
    QRandomGenerator rng(quint32(who) * 7919u);
    QString orderId;
    int orderSerial = 0;
    QStringList names = drugNames();
    for (int i = 0; i < count; ++i) {
        if (orderId.isEmpty()) {
            orderId = QStringLiteral("%1%2").arg(who, 2, 10, QChar(u'0')).arg(++orderSerial, 10, 10, QChar(u'0'));
            run(QStringLiteral("INSERT INTO bown2 (orderid,tel,markaz,mohafaza,date,timee)VALUES(") +
                ModSQL::SqlQuote(orderId) + u',' + ModSQL::SqlQuote(tel(who)) +
                QStringLiteral(",'Disouq','kafrelsheikh','261207','101010')"));
            continue;
        }
        if (rng.bounded(12) == 0) {
            // Send: the order is frozen from here on; remember what it held.
            long n = 0;
            Recordset rs = sc().Execute(
                QStringLiteral("select *  from bown2 where orderid = '") + ModSQL::SqlEscape(orderId) + QStringLiteral("' ;"), n);
            const QString text = FieldText(rs.Fields(0));
            if (run(QStringLiteral(" UPDATE bown2  SET  submitted = '101'  WHERE orderid='") + ModSQL::SqlEscape(orderId) +
                    QStringLiteral("';")) == 1)
                std::printf("sent %s %s\n", qPrintable(orderId), text.toUtf8().toBase64().constData());
            orderId.clear();
            continue;
        }
        long n = 0;
        ++ops;
        Recordset rs = sc().Execute(
            QStringLiteral("select *  from bown2 where orderid = '") + ModSQL::SqlEscape(orderId) + QStringLiteral("' ;"), n);
        if (n != -1) {
            ++faults;
            continue;
        }
        std::vector<OrderLines::Line> lines = OrderLines::Decode(FieldText(rs.Fields(0)));
        auto slot = std::find_if(lines.begin(), lines.end(), [](const OrderLines::Line& l) { return l.isEmpty(); });
        if (slot == lines.end() || names.isEmpty()) {
            orderId.clear();
            continue;
        }
        const QString drug = names.at(int(rng.bounded(qsizetype(names.size()))));
        *slot = {drug, QString::number(rng.bounded(1, 1000)), QStringLiteral("12.5"), QStringLiteral("10")};
        if (run(OrderLines::StoreStatement(OrderLines::Encode(lines), orderId, tel(who))) != 1)
            names = drugNames();
    }
}

void manager(int count) {
    QRandomGenerator rng(4242);
    for (int i = 0; i < count; ++i) {
        if (i % 50 == 0) {
            run(QStringLiteral("DELETE  FROM bown2 WHERE  date < '261018'; "));
            continue;
        }
        const QStringList names = drugNames();
        if (names.isEmpty())
            continue;
        const QString old = names.at(int(rng.bounded(qsizetype(names.size()))));
        const QString renamed = old.section(u'#', 0, 0) + u'#' + QString::number(i);
        run(QStringLiteral(" UPDATE bowndrugs SET  drug = '") + ModSQL::SqlEscape(renamed) + QStringLiteral("',  lastdate = '261207'  WHERE drug='") +
            ModSQL::SqlEscape(old) + QStringLiteral("';"));
    }
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6) {
        std::fprintf(stderr, "usage: concurrency_worker DRIVER CONNECTION ROLE ID COUNT\n");
        return 2;
    }
    sc().configure({args.at(1), args.at(2), 10});
    QString error;
    if (!sc().Open(&error)) {
        std::fprintf(stderr, "cannot connect: %s\n", qPrintable(error));
        return 3;
    }
    const int id = args.at(4).toInt();
    const int count = args.at(5).toInt();
    if (args.at(3) == QLatin1String("manager"))
        manager(count);
    else
        pharmacist(id, count);
    std::printf("ops %d faults %d\n", ops, faults);
    return 0;
}
