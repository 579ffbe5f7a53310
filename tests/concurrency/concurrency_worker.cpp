// One copy of the program doing a bounded run of work against the shared tables, in its own
// process: a pharmacist building and sending orders, or the manager purging and renaming.
// Prints "sent <orderid> <text>" for every order it sent and "ops <n> faults <m>" at the end.
// Role "same-second": a pharmacy (ID is its phone) waits for a moment given in ms since the epoch,
// then makes COUNT orders through the order pane with its clock stopped at one second, adding a drug
// named after the phone to each; prints "shown <orderid> <tel>" for every order its pane then shows.
#include "data/Clock.h"
#include "data/FieldText.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "data/AppGlobals.h"
#include "data/PendingOrder.h"
#include "ordering/OrderLines.h"
#include "ordering/OrderPane.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QThread>

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
void sameSecond(const QString& tel, int count, qint64 startMs) {
    QTemporaryDir local; // the program's folder, of this copy alone
    PendingOrder::setFolder(local.path());
    AppGlobals::LoginTel = tel;
    AppGlobals::LoginMarkaz = QStringLiteral("Disouq");
    AppGlobals::LoginMohafaza = AppGlobals::Mohafaza;
    FlexGrid lines(OrderLines::Slots + 1, 5);
    OrderPane pane(lines, {[](const QString& t) { std::fprintf(stderr, "told: %s\n", qPrintable(t)); },
                           [](const QString&, bool) { return true; }, [](const QString&) { return QStringLiteral("1"); }});
    const QDateTime at(QDate(2026, 12, 7), QTime(10, 0, 0));
    Clock::set([at] { return at; });
    QThread::msleep(ulong(std::max<qint64>(0, startMs - QDateTime::currentMSecsSinceEpoch())));
    for (int i = 0; i < count; ++i) {
        pane.NewOrder();
        pane.AddDrug(QStringLiteral("Drug ") + tel, QStringLiteral("10"), QStringLiteral("5"));
        std::printf("shown %s %s\n", qPrintable(pane.labels().orderId), qPrintable(pane.labels().tel));
        ++ops;
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
    if (args.at(3) == QLatin1String("one-order"))
        run(QStringLiteral("INSERT INTO bown2 (orderid,tel) VALUES('b','02')"));
    else if (args.at(3) == QLatin1String("same-second"))
        sameSecond(args.at(4), count, args.value(6).toLongLong());
    else if (args.at(3) == QLatin1String("manager"))
        manager(count);
    else
        pharmacist(id, count);
    std::printf("ops %d faults %d\n", ops, faults);
    return 0;
}
