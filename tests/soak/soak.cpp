// A day on a bad line: one pharmacy on two copies (same phone), a second pharmacy and the manager,
// each its own process on a PostgreSQL cluster of this run's own, doing random order actions while
// any statement (a commit too) fails before it runs, loses its reply with the line gone or while the
// server goes on, has its session killed, and the server stops and comes back; the editor is closed
// and opened again now and then. After every step the invariants are checked against the server.
//   brentoval_soak [--seed S] [--actions N]      (N order actions in all; prints one summary line)
#include "OwnCluster.h"
#include "ordering/OrderPaneTexts.h"
#include "collection/BuyCollectCore.h"
#include "demand/GroupDemand.h"
#include "preparation/PickList.h"
#include "data/AppGlobals.h"
#include "data/EmbeddedDatabase.h"
#include "data/FieldText.h"
#include "data/PendingOrder.h"
#include "data/WriteRoad.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/OrderLines.h"
#include "ordering/OrderPane.h"

#include <QCoreApplication>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QSqlError>
#include <QThread>
#include <cstdio>

namespace {
const QString Db = QStringLiteral("soak");
enum { Before, Lost, Killed, Restarts, Actions, Checks, Violations, LostGoesOn, Reorders, IdsChecked, Reused, Counts };

struct Copy {
    QString conn, role;
    QRandomGenerator rng;
    long n[Counts] = {};
    QSqlDatabase look; // the checker's own session: what the server holds, not what the program was told

    QList<QStringList> rows(const QString& sql) {
        QList<QStringList> out;
        if (!look.isOpen() && !look.open())
            return out;
        QSqlQuery q(look);
        if (!q.exec(sql)) {
            look.close();
            return {{QStringLiteral("\x01")}}; // unreadable: the check is skipped
        }
        while (q.next()) {
            QStringList r;
            for (int i = 0; i < q.record().count(); ++i)
                r << FieldText(q.value(i));
            out << r;
        }
        if (q.lastError().type() != QSqlError::NoError) { // a fetch broken off is no picture of the server
            look.close();
            return {{QStringLiteral("\x01")}};
        }
        return out;
    }
    bool readable(const QList<QStringList>& r) { return r.isEmpty() || r.first().first() != QStringLiteral("\x01"); }
    void check(bool ok, const QString& what) {
        ++n[Checks];
        if (!ok) {
            ++n[Violations];
            std::fprintf(stderr, "%s violation: %s\n", qPrintable(role), qPrintable(what));
        }
    }
};

// The faults of one action: at a drawn statement of any of its statements, one of the four kinds.
void arm(Copy& c, ServerConnection& server, const QString& killer, const QString& pid) {
    static int k, n, kind;
    static bool down;
    n = 0, down = false, k = c.rng.bounded(4) == 0 ? 1 + c.rng.bounded(10) : 0, kind = c.rng.bounded(4);
    if (kind == 3)
        kind = LostGoesOn;
    server.beforeExecute = [&c, &server, killer, pid](const QString&) {
        if (++n == k && kind == Killed) {
            QSqlDatabase kdb = QSqlDatabase::database(killer);
            if (kdb.isOpen() || kdb.open()) {
                QSqlQuery q(kdb);
                c.n[Killed] += q.exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid)) && q.next() && q.value(0).toBool();
            }
        } else if (down || (n == k && kind == Before)) {
            c.n[Before] += !down;
            server.Close();
        }
    };
    server.afterExecute = [&c, &server](const QString&) {
        if (n == k && kind == LostGoesOn)
            return bool(++c.n[LostGoesOn]);
        if (n == k && kind == Lost && !down)
            ++c.n[Lost], down = true;
        if (down)
            server.Close();
        return down;
    };
}

int runCopy(Copy& c, int actions, const QString& tel) {
    ServerConnection& server = ServerConnection::instance();
    const QString killer = QStringLiteral("killer");
    QSqlDatabase::addDatabase(QStringLiteral("QODBC"), killer).setDatabaseName(c.conn);
    c.look = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("look"));
    c.look.setDatabaseName(c.conn);
    server.configure({QStringLiteral("QODBC"), c.conn, 5});
    server.Open(nullptr);
    AppGlobals::LoginTel = tel;
    AppGlobals::LoginMarkaz = c.role;
    AppGlobals::LoginMohafaza = AppGlobals::Mohafaza;
    QStringList said;
    FlexGrid lines(OrderLines::Slots + 1, 5);
    QTemporaryDir local; // this copy's machine: the files beside its program
    PendingOrder::setFolder(local.path());
    const OrderPane::Prompts prompts{[&](const QString& t) { said << t; }, [](const QString&, bool) { return true; },
                                     [&](const QString&) { return QString::number(1 + c.rng.bounded(20)); }};
    auto pane = std::make_unique<OrderPane>(lines, prompts);
    // Every order this copy was shown: an order of its own it never saw was made twice by a retry.
    QSet<QString> seen;
    // Every order id a snapshot showed as this phone's. Ids are seconds and free again once their
    // order is deleted, so another pharmacy may take one this pane still shows as it last read it.
    QSet<QString> wasMine;
    QMap<QString, QString> saved, sent; // order id -> lines text the server was reported to hold
    const QStringList drugs = {"Panadol", "Brufen", "Cataflam", "Zyrtec", "Augmentin"};
    // The server's orders at one moment, by id: lines, status, district, phone; empty when unreadable.
    // Two rows of one id are a violation, not one row hiding the other.
    auto snapshot = [&](bool& ok) {
        QMap<QString, QStringList> all;
        // The last row vouches that the answer came whole: a dropped ODBC session can answer with no rows.
        const auto r = c.rows(QStringLiteral("SELECT orderid, drug, submitted, markaz, tel FROM bown2 UNION ALL "
                                             "SELECT '~', NULL, NULL, NULL, NULL"));
        ok = c.readable(r) && !r.isEmpty() && r.last().first() == QLatin1String("~");
        for (const QStringList& row : r)
            if (ok && row[0] != QLatin1String("~")) {
                ++c.n[IdsChecked];
                c.check(!all.contains(row[0]), QStringLiteral("two orders share id %1").arg(row[0]));
                all.insert(row[0], row.mid(1));
            }
        return all;
    };
    for (int i = 0; i < actions; ++i, ++c.n[Actions]) {
        bool okBefore = false, okAfter = false;
        const auto before = snapshot(okBefore);
        QStringList mine;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (it.value()[3] == tel)
                mine << it.key();
        wasMine.unite(QSet<QString>(mine.cbegin(), mine.cend()));
        const QString pick = mine.isEmpty() ? QString() : mine.at(c.rng.bounded(mine.size()));
        auto ownOrders = [&](const QMap<QString, QStringList>& all) {
            return std::count_if(all.cbegin(), all.cend(), [&](const QStringList& o) { return o[2] == c.role; });
        };
        const bool own = pane->labels().orderId.isEmpty() || before.value(pane->labels().orderId).value(2) == c.role;
        const QString target = AppGlobals::CurrentOrderId;
        said.clear();
        long got = 0;
        const QString pid = FieldText(server.Execute(QStringLiteral("SELECT pg_backend_pid()"), got).Fields(0));
        arm(c, server, killer, pid.isEmpty() ? QStringLiteral("0") : pid);
        const int a = c.rng.bounded(8);
        if (c.rng.bounded(25) == 0) {
            // The editor closed and opened again (or the program): nothing of the last one remembered
            // but what it left beside the program.
            pane = std::make_unique<OrderPane>(lines, prompts);
            AppGlobals::CurrentOrderId.clear();
            lines.setRows(1);
            lines.setRows(OrderLines::Slots + 1);
        }
        // Lines and deletion only of this copy's own orders; sending of any order of the pharmacy.
        if (a == 0 || (!own && a != 5 && a != 7))
            pane->ShowMyList(pick);
        else if (a == 1)
            pane->NewOrder();
        else if (a == 2) {
            const QString d = drugs[c.rng.bounded(drugs.size())];
            pane->AddDrug(d, QString::number(5 + d.size()), QStringLiteral("10"));
        } else if (a == 3)
            pane->LinesClick(1, 1);
        else if (a == 4)
            pane->LinesClick(1, 4);
        else if (a == 5)
            pane->SendToPrepare();
        else if (a == 6)
            pane->DeleteOrder();
        else
            pane->Reorder(pick);
        server.beforeExecute = nullptr;
        server.afterExecute = nullptr;
        if (server.State() != 1)
            server.Open(nullptr); // the line comes back
        const auto after = snapshot(okAfter);
        const QString shown = pane->labels().orderId;
        c.check(shown == AppGlobals::CurrentOrderId, QStringLiteral("shown %1, CurrentOrderId %2").arg(shown, AppGlobals::CurrentOrderId));
        // What this copy may now vouch for: the shown order, when its last read succeeded.
        saved.remove(target);
        saved.remove(shown);
        const bool told = !said.isEmpty();
        if (okAfter && !shown.isEmpty() && !pane->mustRead() && (!told || said.last().endsWith(OrderPaneTexts::ShownNow.arg(shown)))) {
            const QString text = OrderLines::EncodeGrid(lines);
            if (pane->isSent())
                sent[shown] = text;
            else if (after.value(shown).value(2) == c.role)
                saved[shown] = text; // only this copy changes the lines of its own orders
        }
        seen.insert(shown);
        if (!okBefore || !okAfter)
            continue;
        // Every order shown is of this copy's phone: the row the pane read or made was, and an id the
        // server now gives another phone is one of this phone's orders, deleted since the pane read it.
        const QString why = QStringLiteral(" (must read %1, action %2, said %3)").arg(pane->mustRead()).arg(a).arg(said.join(QStringLiteral(" / ")));
        if (!shown.isEmpty())
            c.check(pane->labels().tel == tel, QStringLiteral("order %1 shown as one of phone %2").arg(shown, pane->labels().tel) + why);
        if (!shown.isEmpty() && after.contains(shown) && after.value(shown).value(3) != tel) {
            ++c.n[Reused];
            c.check(wasMine.contains(shown), QStringLiteral("order %1 of phone %2 shown").arg(shown, after.value(shown).value(3)) + why);
        }
        for (auto it = after.cbegin(); it != after.cend(); ++it)
            if (it.value()[3] == tel)
                wasMine.insert(it.key());
        // The orders of this copy are the ones it made and was shown, or the one still to be looked for.
        const auto pending = PendingOrder::Find(tel);
        for (auto it = after.cbegin(); it != after.cend(); ++it)
            if (it.value()[2] == c.role)
                c.check(seen.contains(it.key()) || (pending && pending->orderId == it.key()),
                        QStringLiteral("order %1 made and never shown: a second order of one attempt").arg(it.key()));
        if (a == 7)
            c.n[Reorders] += ownOrders(after) > ownOrders(before);
        if (a == 1 || a == 7) {
            // One new order or reorder makes one order at most, and a reorder's comes with its lines.
            c.check(ownOrders(after) - ownOrders(before) <= 1, QStringLiteral("one action made several orders"));
            for (auto it = after.cbegin(); it != after.cend(); ++it)
                if (a == 7 && !before.contains(it.key()) && it.value()[2] == c.role)
                    c.check(!it.value()[0].isEmpty(), QStringLiteral("reorder %1 without lines").arg(it.key()));
        }
        // A sent order never changes; a change reported saved is on the server.
        for (const auto* map : {&sent, &saved})
            for (auto it = map->cbegin(); it != map->cend(); ++it) {
                const QStringList o = after.value(it.key());
                const QString held = o.isEmpty() ? QStringLiteral("(gone)") : OrderLines::Encode(OrderLines::Decode(o[0]));
                c.check(held == it.value() && (map == &saved || o.value(1) == QLatin1String("101")),
                        QStringLiteral("%1 %2: server %3, told %4").arg(map == &sent ? "sent" : "saved", it.key(), held.left(40), it.value().left(40)));
            }
        for (auto it = saved.begin(); it != saved.end();)
            it = sent.contains(it.key()) ? saved.erase(it) : std::next(it);
    }
    return 0;
}

int runManager(Copy& c, int rounds) {
    ServerConnection& server = ServerConnection::instance();
    const QString killer = QStringLiteral("killer");
    QSqlDatabase::addDatabase(QStringLiteral("QODBC"), killer).setDatabaseName(c.conn);
    c.look = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("look"));
    c.look.setDatabaseName(c.conn);
    server.configure({QStringLiteral("QODBC"), c.conn, 5});
    server.Open(nullptr);
    auto oldOrders = [&](const QString& cutoff) {
        const auto r = c.rows(QStringLiteral("SELECT COUNT(*) FROM bown2 WHERE date < ") + ModSQL::SqlQuote(cutoff));
        return c.readable(r) && !r.isEmpty() ? r.first().first().toInt() : -1;
    };
    for (int i = 0; i < rounds; ++i, ++c.n[Actions]) {
        const int a = c.rng.bounded(4);
        long got = 0;
        const QString pid = FieldText(server.Execute(QStringLiteral("SELECT pg_backend_pid()"), got).Fields(0));
        // The purge's cutoff moves through the old orders the run began with, a month at a time.
        const QString cutoff = QDate(2025, 1 + c.rng.bounded(10), 1).toString(QStringLiteral("yyMMdd"));
        const int before = a == 3 ? oldOrders(cutoff) : -1;
        arm(c, server, killer, pid.isEmpty() ? QStringLiteral("0") : pid);
        WriteRoad::Result purged;
        if (a == 0) {
            const GroupDemand::Report r = GroupDemand::Build(GroupDemand::DefaultPeriod(QDate::currentDate()));
            if (r.ok)
                c.check(!GroupDemand::CashText(r.total.cash).contains(QLatin1String("n")), QStringLiteral("group demand value"));
        } else if (a == 1) {
            // No order value reads NaN or Inf, whatever a line holds.
            for (const PickList::Page& p : PickList::ReadSentOrders().pages)
                c.check(!OrderLines::OrderValue(p.lines).cashText().contains(QLatin1String("n")), p.orderId);
        } else if (a == 2) {
            long n = 0;
            server.Execute(BuyCollect::OrderQuery(QStringLiteral("1")), n);
        } else {
            purged = BuyCollect::Purge(cutoff);
        }
        server.beforeExecute = nullptr;
        server.afterExecute = nullptr;
        if (server.State() != 1)
            server.Open(nullptr);
        const int after = a == 3 ? oldOrders(cutoff) : -1;
        if (before >= 0 && after >= 0) {
            // Told as it is: deleted, nothing deleted, or not known.
            if (purged.saved())
                c.check(after == 0, QStringLiteral("purge told done, %1 old orders left").arg(after));
            else if (purged.nothingWritten())
                c.check(after == before, QStringLiteral("purge told not done, %1 of %2 old orders gone").arg(before - after).arg(before));
        }
        QThread::msleep(30);
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    auto opt = [&](const char* name, qint64 fallback) {
        const int i = args.indexOf(QString::fromLatin1(name));
        return i > 0 && i + 1 < args.size() ? args[i + 1].toLongLong() : fallback;
    };
    const quint32 seed = quint32(opt("--seed", QRandomGenerator::securelySeeded().bounded(1000000)));
    const int actions = int(opt("--actions", 400));
    if (const int r = args.indexOf(QStringLiteral("--role")); r > 0) {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {}); // the driver's grumbles
        ModSQL::ConnectHooks hooks; // a lost server is a fault of the day, not the end of the program
        hooks.fatal = [](const QString&) {};
        ModSQL::setConnectHooks(hooks);
        Copy c{args[r + 2], args[r + 1], QRandomGenerator(seed), {}, {}};
        const bool manager = c.role == QLatin1String("manager");
        manager ? runManager(c, actions) : runCopy(c, actions, c.role == QLatin1String("other") ? "01099999999" : "01012345678");
        for (int k = 0; k < Counts; ++k)
            std::printf("%ld ", c.n[k]);
        std::printf("\n");
        return 0;
    }
    std::printf("soak seed %u\n", seed);
    std::fflush(stdout);
    OwnCluster cluster;
    if (!cluster.start())
        return 2;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("setup"));
        d.setDatabaseName(cluster.connectionString(QStringLiteral("postgres")));
        QSqlQuery q(d.open() ? d : QSqlDatabase());
        q.exec(QStringLiteral("CREATE DATABASE ") + Db + QStringLiteral(" ENCODING 'UTF8'"));
        d.close();
        d.setDatabaseName(cluster.connectionString(Db));
        d.open();
        QSqlQuery s(d);
        for (const QString& stmt : EmbeddedDatabase::schemaStatements(QStringLiteral("postgresql")))
            s.exec(stmt);
        // Half the runs on a server with the keys, half on one without (as deployed, older copies beside).
        if (seed % 2)
            for (const QString& stmt : EmbeddedDatabase::schemaStatements(QStringLiteral("keys-postgresql")))
                s.exec(stmt);
        s.exec(QStringLiteral("INSERT INTO smartertable (appname,appversion,appmsg,appadminpassword) VALUES ('BRENTOVAL','9.00','','01000000000')"));
        for (const char* drug : {"Panadol", "Brufen", "Cataflam", "Zyrtec", "Augmentin"})
            s.exec(QStringLiteral("INSERT INTO bowndrugs (drug,price,disc) VALUES ('%1','12','10')").arg(QLatin1String(drug)));
        // Old orders of another pharmacy for the manager's purge, a few each month of last year.
        for (int i = 0; i < 300; ++i)
            s.exec(QStringLiteral("INSERT INTO bown2 (orderid,date,timee,tel,markaz,submitted) VALUES ('%1',%2,100000,'01055555555','old',101)")
                       .arg(QStringLiteral("25%1").arg(i, 10, 10, QChar(u'0')))
                       .arg(QDate(2025, 1, 1).addDays(i).toString(QStringLiteral("yyMMdd"))));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));
    const QStringList roles = {"copy1", "copy2", "other", "manager"};
    std::vector<std::unique_ptr<QProcess>> kids;
    for (int i = 0; i < roles.size(); ++i) {
        kids.push_back(std::make_unique<QProcess>());
        const int share = roles[i] == QLatin1String("manager") ? actions / 10 + 1 : (actions + 2) / 3;
        kids.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        kids.back()->start(app.applicationFilePath(), {"--role", roles[i], cluster.connectionString(Db), "--seed",
                                                       QString::number(seed + quint32(i)), "--actions", QString::number(share)});
    }
    // The server stops and comes back now and then while the copies work.
    QRandomGenerator rng(seed);
    long total[Counts] = {};
    auto running = [&] { return std::any_of(kids.begin(), kids.end(), [](const auto& k) { return !k->waitForFinished(1) && k->state() != QProcess::NotRunning; }); };
    while (running()) {
        for (int wait = 3 + rng.bounded(6); wait > 0 && running(); --wait)
            QThread::msleep(1000);
        if (!running())
            break;
        cluster.stop();
        QThread::msleep(200 + rng.bounded(800));
        bool up = false;
        for (int attempt = 0; attempt < 20 && !(up = cluster.restart()); ++attempt)
            QThread::msleep(500); // the port may still be held by the stopping server
        total[Restarts] += up;
    }
    for (auto& k : kids) {
        k->waitForFinished(-1);
        const QStringList f = QString::fromLatin1(k->readAllStandardOutput()).split(u' ', Qt::SkipEmptyParts);
        for (int i = 0; i < Counts && i < f.size(); ++i)
            total[i] += f[i].toLong();
        total[Violations] += k->exitCode() != 0 || f.size() < Counts;
    }
    cluster.destroy();
    std::printf("soak seed %u: %ld actions; faults: %ld before, %ld lost reply, %ld lost reply with the server going on, "
                "%ld killed session, %ld server restarts; %ld orders made by reorder; %ld order ids checked for sharing; "
                "%ld shown ids another phone's order took after a delete; %ld invariant checks; %ld violations\n",
                seed, total[Actions], total[Before], total[Lost], total[LostGoesOn], total[Killed], total[Restarts],
                total[Reorders], total[IdsChecked], total[Reused], total[Checks], total[Violations]);
    return total[Violations] == 0 ? 0 : 1;
}
