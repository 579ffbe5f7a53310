#include "buying/BuyingStore.h"

#include "data/FieldText.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"

using ModSQL::SqlQuote;

namespace BuyingStore {

namespace {
ServerConnection& server() {
    return ServerConnection::instance();
}
QString num(double v) {
    return SqlQuote(ModGFun::ShortestText(v));
}
QString num(int v) {
    return SqlQuote(QString::number(v));
}
QString day(const QDate& d) {
    return d.toString(QStringLiteral("yyyyMMdd"));
}
double val(const Recordset& rs, int i) {
    return ModGFun::Val(FieldText(rs.Fields(i)));
}
QString text(const Recordset& rs, int i) {
    return FieldText(rs.Fields(i));
}

bool query(const QString& sql, Recordset& rs, QString* error) {
    if (!ModSQL::ConnectServer()) {
        if (error)
            *error = server().lastError();
        return false;
    }
    long affected = 0;
    rs = server().Execute(sql, affected, error);
    return affected != 0;
}

// A statement inside a transaction: rows changed, or -1 when it failed.
long run(const QString& sql, QString* error) {
    long affected = 0;
    QString e;
    server().Execute(sql, affected, &e);
    if (affected == 0 && !e.isEmpty()) {
        if (error)
            *error = e;
        return -1;
    }
    return affected;
}

// Rows in one INSERT, a few hundred at a time (SQL Server takes at most 1000 per VALUES).
bool insertRows(const QString& head, const QStringList& rows, QString* error) {
    for (qsizetype i = 0; i < rows.size(); i += 500) {
        const QString sql = head + QStringLiteral(" VALUES ") + rows.mid(i, 500).join(QStringLiteral(", "));
        if (run(sql, error) < 0)
            return false;
    }
    return true;
}

// Runs steps in a transaction. A step returns Saved to go on; anything else rolls back. A failed
// commit is an unknown outcome, settled by saved() when the server can still be read.
template <class Steps, class Check>
Outcome inTransaction(Steps steps, Check saved, QString* error) {
    if (!ModSQL::ConnectServer()) {
        if (error)
            *error = server().lastError();
        return Outcome::Failed;
    }
    if (!server().BeginTrans(error))
        return Outcome::Failed;
    const Outcome o = steps();
    if (o != Outcome::Saved) {
        server().RollbackTrans();
        return o;
    }
    if (server().CommitTrans(error))
        return Outcome::Saved;
    server().RollbackTrans();
    // The reply to the commit was lost: read what the server holds.
    switch (saved()) {
    case 1:
        return Outcome::Saved;
    case 0:
        return Outcome::Failed;
    default:
        return Outcome::Unknown;
    }
}
} // namespace

QStringList Tables() {
    return {QStringLiteral("grp_wholesalers"),   QStringLiteral("grp_offers"),      QStringLiteral("grp_pobatches"),
            QStringLiteral("grp_purchaseorders"), QStringLiteral("grp_purchaselines"), QStringLiteral("grp_receipts"),
            QStringLiteral("grp_allotments")};
}

GroupTables::Presence CheckTables(QString* error) {
    if (!ModSQL::ConnectServer()) {
        if (error)
            *error = server().lastError();
        return GroupTables::Presence::ServerFailed;
    }
    return GroupTables::Check(Tables(), error);
}

bool ReadOfferBook(OfferBook& book, QString* error) {
    Recordset ws;
    if (!query(QStringLiteral("SELECT wholesaler,name,phone,district FROM grp_wholesalers ORDER BY wholesaler"), ws, error))
        return false;
    std::vector<Wholesaler> w;
    for (; !ws.isEOF(); ws.MoveNext())
        w.push_back({int(val(ws, 0)), text(ws, 1), text(ws, 2), text(ws, 3)});
    // The offers are many: read in one forward pass, not held as rows first.
    std::vector<Offer> o;
    long affected = 0;
    server().ExecuteEach(QStringLiteral("SELECT wholesaler,drug,discount,offerdate FROM grp_offers"), affected, error,
                         [&](const QSqlQuery& q) {
                             o.push_back({int(ModGFun::Val(FieldText(q.value(0)))), FieldText(q.value(1)),
                                          ModGFun::Val(FieldText(q.value(2))), FieldText(q.value(3))});
                         });
    if (affected == 0)
        return false;
    book = OfferBook(std::move(w), o);
    return true;
}

namespace {
// The number of the wholesaler of w's name and phone; 0 when none, -1 when it cannot be read.
int wholesalerNumber(const Wholesaler& w) {
    Recordset rs;
    QString error;
    if (!query(QStringLiteral("SELECT wholesaler FROM grp_wholesalers WHERE name = ") + SqlQuote(w.name) +
                   QStringLiteral(" AND phone = ") + SqlQuote(w.phone),
               rs, &error))
        return -1;
    return rs.isEOF() ? 0 : int(val(rs, 0));
}

WriteRoad::Result notConnected() {
    return {WriteRoad::Outcome::NotWritten, 0, server().lastError()};
}
} // namespace

WriteRoad::Result AddWholesaler(Wholesaler& w) {
    if (!ModSQL::ConnectServer())
        return notConnected();
    // The number is the next free one when the statement runs; the key refuses one another copy
    // took in the same moment, and the number is drawn again.
    const QString insert =
        QStringLiteral("INSERT INTO grp_wholesalers (wholesaler,name,phone,district) SELECT "
                       "(SELECT COALESCE(MAX(wholesaler), 0) + 1 FROM grp_wholesalers), ") +
        SqlQuote(w.name) + u',' + SqlQuote(w.phone) + u',' + SqlQuote(w.district) +
        QStringLiteral(" WHERE NOT EXISTS (SELECT wholesaler FROM grp_wholesalers WHERE name = ") + SqlQuote(w.name) +
        QStringLiteral(" AND phone = ") + SqlQuote(w.phone) + u')';
    WriteRoad::Result r;
    for (int attempt = 0; attempt < 3; ++attempt) {
        r = WriteRoad::Run(insert, [&] {
            const int n = wholesalerNumber(w);
            return n < 0 ? -1 : n > 0 ? 1 : 0;
        });
        if (r.outcome != WriteRoad::Outcome::Refused || wholesalerNumber(w) != 0)
            break;
    }
    if (r.saved() || r.outcome == WriteRoad::Outcome::Taken)
        w.id = std::max(wholesalerNumber(w), 0);
    return r;
}

WriteRoad::Result AddOffers(const std::vector<Offer>& offers) {
    if (offers.empty())
        return {WriteRoad::Outcome::Taken, 0, {}};
    if (!ModSQL::ConnectServer())
        return notConnected();
    QStringList rows;
    for (const Offer& o : offers)
        rows << u'(' + num(o.wholesaler) + u',' + SqlQuote(o.drug) + u',' + num(o.discount) + u',' +
                    SqlQuote(o.date) + u')';
    // After a lost commit the offers are there when the rows like the last one have grown by one.
    const Offer& last = offers.back();
    const QString likeLast = QStringLiteral("SELECT COUNT(*) FROM grp_offers WHERE wholesaler = ") + num(last.wholesaler) +
                             QStringLiteral(" AND drug = ") + SqlQuote(last.drug) + QStringLiteral(" AND discount = ") +
                             num(last.discount) + QStringLiteral(" AND offerdate = ") + SqlQuote(last.date);
    auto count = [&]() -> int {
        Recordset rs;
        QString error;
        return query(likeLast, rs, &error) && !rs.isEOF() ? int(val(rs, 0)) : -1;
    };
    const int before = count();
    if (before < 0)
        return {WriteRoad::Outcome::NotWritten, 0, server().lastError()};
    return WriteRoad::Transaction(
        [&] {
            for (qsizetype i = 0; i < rows.size(); i += 500) {
                const WriteRoad::Result r = WriteRoad::Step(
                    QStringLiteral("INSERT INTO grp_offers (wholesaler,drug,discount,offerdate) VALUES ") +
                    rows.mid(i, 500).join(QStringLiteral(", ")));
                if (!r.saved())
                    return r;
            }
            return WriteRoad::Result{WriteRoad::Outcome::Saved, long(rows.size()), {}};
        },
        [&] {
            const int after = count();
            return after < 0 ? -1 : after > before ? 1 : 0;
        });
}

bool ReadBatch(const GroupDemand::Period& period, Batch& out, QString* error) {
    Recordset rs;
    out = {};
    if (!query(QStringLiteral("SELECT batch,demand,madeat FROM grp_pobatches WHERE periodfrom = ") +
                   SqlQuote(day(period.from)) + QStringLiteral(" AND periodto = ") + SqlQuote(day(period.to)),
               rs, error))
        return false;
    if (!rs.isEOF())
        out = {text(rs, 0), text(rs, 1), text(rs, 2)};
    return true;
}

bool ReadOrders(const QString& batch, std::vector<KeptOrder>& out, QString* error) {
    out.clear();
    Recordset os, ls;
    if (!query(QStringLiteral("SELECT poid,batch,podate,wholesaler,periodfrom,periodto,demand,total,status "
                              "FROM grp_purchaseorders WHERE batch = ") +
                   SqlQuote(batch) + QStringLiteral(" ORDER BY poid"),
               os, error) ||
        !query(QStringLiteral("SELECT poid,lineseq,drug,quantity,price,discount,linevalue,received FROM grp_purchaselines "
                              "WHERE poid IN (SELECT poid FROM grp_purchaseorders WHERE batch = ") +
                   SqlQuote(batch) + QStringLiteral(") ORDER BY poid, lineseq"),
               ls, error))
        return false;
    for (; !os.isEOF(); os.MoveNext())
        out.push_back({text(os, 0), text(os, 1), text(os, 2), int(val(os, 3)), text(os, 4), text(os, 5), text(os, 6),
                       text(os, 8), val(os, 7), {}});
    for (; !ls.isEOF(); ls.MoveNext()) {
        const QString poid = text(ls, 0);
        for (KeptOrder& o : out)
            if (o.poid == poid)
                o.lines.push_back({poid, int(val(ls, 1)), text(ls, 2), val(ls, 3), val(ls, 4), val(ls, 5), val(ls, 6),
                                   val(ls, 7)});
    }
    return true;
}

Outcome KeepOrders(const PurchasePlan& plan, const OfferBook& offers, const Batch& assumed, int assumedKept,
                   const QString& newBatch, const QDateTime& now, QString* error) {
    const QString from = SqlQuote(day(plan.period.from)), to = SqlQuote(day(plan.period.to));
    const QString madeat = now.toString(QStringLiteral("yyyyMMddhhmmss"));
    const auto orders = plan.orders(offers);
    auto steps = [&]() -> Outcome {
        if (!assumed.exists()) {
            // The period's key: a second copy's insert fails here, after the first one committed.
            if (run(QStringLiteral("INSERT INTO grp_pobatches (periodfrom,periodto,batch,demand,madeat) VALUES (") + from +
                        u',' + to + u',' + SqlQuote(newBatch) + u',' + SqlQuote(plan.fingerprint) + u',' +
                        SqlQuote(madeat) + u')',
                    error) != 1)
                return Outcome::Taken;
        } else {
            const long n = run(QStringLiteral("UPDATE grp_pobatches SET batch = ") + SqlQuote(newBatch) +
                                   QStringLiteral(", demand = ") + SqlQuote(plan.fingerprint) + QStringLiteral(", madeat = ") +
                                   SqlQuote(madeat) + QStringLiteral(" WHERE periodfrom = ") + from +
                                   QStringLiteral(" AND periodto = ") + to + QStringLiteral(" AND batch = ") +
                                   SqlQuote(assumed.batch),
                               error);
            if (n < 0)
                return Outcome::Failed;
            if (n == 0)
                return Outcome::Taken;
            const long r = run(QStringLiteral("UPDATE grp_purchaseorders SET status = 'replaced', replacedby = ") +
                                   SqlQuote(newBatch) + QStringLiteral(" WHERE batch = ") + SqlQuote(assumed.batch) +
                                   QStringLiteral(" AND status = 'kept' AND NOT EXISTS (SELECT * FROM grp_purchaselines "
                                                  "WHERE grp_purchaselines.poid = grp_purchaseorders.poid AND "
                                                  "grp_purchaselines.received <> 0)"),
                               error);
            if (r < 0)
                return Outcome::Failed;
            if (r != assumedKept)
                return Outcome::HasReceipts;
        }
        int k = 0;
        for (const PurchasePlan::Order& o : orders) {
            // "/" keeps the number whole when it stands among Arabic words.
            const QString poid = newBatch + u'/' + QString::number(++k);
            if (run(QStringLiteral("INSERT INTO grp_purchaseorders (poid,batch,podate,wholesaler,periodfrom,periodto,"
                                   "demand,total,status) VALUES (") +
                        SqlQuote(poid) + u',' + SqlQuote(newBatch) + u',' + SqlQuote(day(now.date())) + u',' +
                        num(o.wholesaler) + u',' + from + u',' + to + u',' + SqlQuote(plan.fingerprint) + u',' +
                        num(ModGFun::RoundHalfEven(o.total, 2)) + QStringLiteral(",'kept')"),
                    error) != 1)
                return Outcome::Failed;
            QStringList rows;
            int seq = 0;
            for (int i : o.lines) {
                const PurchasePlan::Line& l = plan.lines()[size_t(i)];
                rows << u'(' + SqlQuote(poid) + u',' + num(++seq) + u',' + SqlQuote(l.drug) + u',' + num(l.quantity) +
                            u',' + num(l.price) + u',' + num(l.discount) + u',' +
                            num(ModGFun::RoundHalfEven(l.value(), 2)) + QStringLiteral(",'0')");
            }
            if (!insertRows(QStringLiteral("INSERT INTO grp_purchaselines (poid,lineseq,drug,quantity,price,discount,"
                                           "linevalue,received)"),
                            rows, error))
                return Outcome::Failed;
        }
        return Outcome::Saved;
    };
    const Outcome o = inTransaction(steps, [&] {
        Batch b;
        if (!ReadBatch(plan.period, b, nullptr))
            return -1;
        return b.batch == newBatch ? 1 : 0;
    }, error);
    // Told only when the server now holds another batch for the period: a write refused for
    // anything else (a lost connection, a value the column refuses, rights) is a failure.
    Batch held;
    if (o == Outcome::Taken &&
        (server().State() != 1 || !ReadBatch(plan.period, held, nullptr) || held.batch == assumed.batch))
        return Outcome::Failed;
    return o;
}

Outcome Receive(const KeptLine& line, double received, const std::vector<PeriodDemand::Share>& shares,
                DeliveryShare::Rule rule, const QDateTime& now, QString* error) {
    const QString poid = SqlQuote(line.poid), seq = num(line.lineseq);
    auto steps = [&]() -> Outcome {
        const long n = run(QStringLiteral("UPDATE grp_purchaselines SET received = ") + num(received) +
                               QStringLiteral(" WHERE poid = ") + poid + QStringLiteral(" AND lineseq = ") + seq +
                               QStringLiteral(" AND received = ") + num(line.received) +
                               QStringLiteral(" AND poid IN (SELECT poid FROM grp_purchaseorders WHERE status = 'kept')"),
                           error);
        if (n < 0)
            return Outcome::Failed;
        if (n == 0)
            return Outcome::Taken;
        Recordset rs;
        long affected = 0;
        rs = server().Execute(QStringLiteral("SELECT COUNT(*) FROM grp_receipts WHERE poid = ") + poid +
                                  QStringLiteral(" AND lineseq = ") + seq,
                              affected, error);
        if (affected == 0)
            return Outcome::Failed;
        if (run(QStringLiteral("INSERT INTO grp_receipts (poid,lineseq,seq,quantity,total,sharerule,receivedat) VALUES (") +
                    poid + u',' + seq + u',' + num(int(val(rs, 0)) + 1) + u',' + num(received - line.received) + u',' +
                    num(received) + u',' + SqlQuote(DeliveryShare::RuleName(rule)) + u',' +
                    SqlQuote(now.toString(QStringLiteral("yyyyMMddhhmmss"))) + u')',
                error) != 1)
            return Outcome::Failed;
        if (run(QStringLiteral("DELETE FROM grp_allotments WHERE poid = ") + poid + QStringLiteral(" AND lineseq = ") + seq,
                error) < 0)
            return Outcome::Failed;
        QStringList rows;
        for (const PeriodDemand::Share& s : shares)
            rows << u'(' + poid + u',' + seq + u',' + SqlQuote(s.order->id) + u',' + SqlQuote(line.drug) + u',' +
                        SqlQuote(s.order->tel) + u',' + num(s.asked) + u',' + num(s.allotted) + u')';
        if (!insertRows(QStringLiteral("INSERT INTO grp_allotments (poid,lineseq,orderid,drug,tel,asked,allotted)"), rows,
                        error))
            return Outcome::Failed;
        return Outcome::Saved;
    };
    return inTransaction(steps, [&] {
        Recordset rs;
        if (!query(QStringLiteral("SELECT received FROM grp_purchaselines WHERE poid = ") + poid +
                       QStringLiteral(" AND lineseq = ") + seq,
                   rs, nullptr) || rs.isEOF())
            return -1;
        return val(rs, 0) == received ? 1 : 0;
    }, error);
}

namespace {
// Appends the rows of grp_allotments matching where.
bool readAllotments(const QString& where, std::vector<Allotment>& out, QString* error) {
    Recordset rs;
    if (!query(QStringLiteral("SELECT poid,lineseq,orderid,drug,tel,asked,allotted FROM grp_allotments WHERE ") + where,
               rs, error))
        return false;
    for (; !rs.isEOF(); rs.MoveNext())
        out.push_back({text(rs, 0), int(val(rs, 1)), text(rs, 2), text(rs, 3), text(rs, 4), val(rs, 5), int(val(rs, 6))});
    return true;
}
} // namespace

bool ReadShares(const QString& poid, int lineseq, std::vector<Allotment>& out, QString* error) {
    out.clear();
    return readAllotments(QStringLiteral("poid = ") + SqlQuote(poid) + QStringLiteral(" AND lineseq = ") + num(lineseq) +
                              QStringLiteral(" ORDER BY orderid"),
                          out, error);
}

bool ReadAllotments(const QStringList& orderids, std::vector<Allotment>& out, QString* error) {
    out.clear();
    // A few hundred ids a statement: servers bound the length of an IN list.
    for (qsizetype i = 0; i < orderids.size(); i += 500) {
        QStringList ids;
        for (const QString& id : orderids.mid(i, 500))
            ids << SqlQuote(id);
        if (!readAllotments(QStringLiteral("orderid IN (") + ids.join(u',') +
                                QStringLiteral(") AND poid IN (SELECT poid FROM grp_purchaseorders WHERE status = 'kept')"),
                            out, error))
            return false;
    }
    return true;
}

} // namespace BuyingStore
