#include "buying/BuyingStore.h"

#include "buying/BuyingTexts.h"
#include "buying/HeldReader.h"

#include "data/Days.h"
#include "data/Clock.h"
#include "data/FieldText.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "data/DrugNameKey.h"
#include "data/TextOrder.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <thread>
#include <tuple>
#include <utility>

using ModSQL::SqlQuote;
using WriteRoad::Outcome;
using WriteRoad::Result;

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
double val(const Recordset& rs, int i) {
    return ModGFun::Val(FieldText(rs.Fields(i)));
}
QString text(const Recordset& rs, int i) {
    return FieldText(rs.Fields(i));
}

// The number in a field as ModGFun::Val(FieldText(v)) reads it, without writing it out as text
// when the driver hands over a whole number: every offer and every line's state is read for every
// plan. It is read from the variant's own storage; the variant's general conversion cost more than
// the rest of the row. A null number holds 0, which is what its empty text reads as.
double numberOf(const QVariant& v) {
    // Below 10^15 a whole number's shortest text is its digits, as a float and as a double, and
    // reads back as itself.
    constexpr double Whole = 1e15;
    switch (v.typeId()) {
    case QMetaType::Int:
        return *static_cast<const int*>(v.constData());
    case QMetaType::UInt:
        return *static_cast<const uint*>(v.constData());
    case QMetaType::LongLong: {
        const qlonglong n = *static_cast<const qlonglong*>(v.constData());
        if (n > -qlonglong(Whole) && n < qlonglong(Whole))
            return double(n);
        break;
    }
    case QMetaType::ULongLong: {
        const qulonglong n = *static_cast<const qulonglong*>(v.constData());
        if (n < qulonglong(Whole))
            return double(n);
        break;
    }
    case QMetaType::Double: {
        const double d = *static_cast<const double*>(v.constData());
        if (d == std::floor(d) && std::abs(d) < Whole && !(d == 0 && std::signbit(d)))
            return d;
        break;
    }
    default:
        break;
    }
    return ModGFun::Val(FieldText(v));
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

// A step whose statement may rightly change no row (a delete of what may not be there).
Result anyRows(const QString& sql) {
    Result r = WriteRoad::Step(sql);
    if (r.outcome == Outcome::Taken)
        r.outcome = Outcome::Saved;
    return r;
}

// Rows in one INSERT, a few hundred at a time (SQL Server takes at most 1000 per VALUES).
Result insertRows(const QString& head, const QStringList& rows) {
    for (qsizetype i = 0; i < rows.size(); i += 500) {
        const Result r =
            WriteRoad::Step(head + QStringLiteral(" VALUES ") + rows.mid(i, 500).join(QStringLiteral(", ")));
        if (!r.saved())
            return r;
    }
    return {Outcome::Saved, 0, {}};
}
} // namespace

QStringList LineTables() {
    return {QStringLiteral("grp_orderlines"), QStringLiteral("grp_keeps"), QStringLiteral("grp_stock"),
            QStringLiteral("grp_stockmoves")};
}

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
    const GroupTables::Presence first = GroupTables::Check(Tables(), error);
    if (first != GroupTables::Presence::Present)
        return first;
    const GroupTables::Presence added = GroupTables::Check(LineTables(), error);
    return added == GroupTables::Presence::Missing ? GroupTables::Presence::Older : added;
}

namespace {
// The wholesalers and every offer row, as the book is made of them.
bool readOffers(std::vector<Wholesaler>& w, std::vector<Offer>& o, QString* error) {
    Recordset ws;
    if (!query(QStringLiteral("SELECT wholesaler,name,phone,district FROM grp_wholesalers ORDER BY wholesaler"), ws, error))
        return false;
    for (; !ws.isEOF(); ws.MoveNext())
        w.push_back({int(val(ws, 0)), text(ws, 1), text(ws, 2), text(ws, 3)});
    // The offers are many: read in one forward pass, not held as rows first.
    long affected = 0;
    server().ExecuteEach(QStringLiteral("SELECT wholesaler,drug,discount,offerdate FROM grp_offers"), affected, error,
                         [&](const QSqlQuery& q) {
                             o.push_back({int(numberOf(q.value(0))), FieldText(q.value(1)), numberOf(q.value(2)),
                                          FieldText(q.value(3))});
                         });
    return affected != 0;
}
} // namespace

bool ReadOfferBook(OfferBook& book, QString* error) {
    std::vector<Wholesaler> w;
    std::vector<Offer> o;
    if (!readOffers(w, o, error))
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

namespace {
// A wholesaler's day of offers as a write sees it: the offers written, and its stored offers of
// the same drug keys, which they replace.
struct OfferDay {
    int wholesaler = 0;
    QString date;
    std::vector<Offer> written, stored;
};

// The stored offers of the day whose drug key is one written, or false when they cannot be read.
bool readOfferDay(const OfferDay& day, std::vector<Offer>& out) {
    QSet<QString> places;
    for (const Offer& o : day.written)
        places.insert(OfferBook::Slot(o));
    Recordset rs;
    QString error;
    if (!query(QStringLiteral("SELECT drug,discount FROM grp_offers WHERE wholesaler = ") + num(day.wholesaler) +
                   QStringLiteral(" AND offerdate = ") + SqlQuote(day.date),
               rs, &error))
        return false;
    out.clear();
    for (; !rs.isEOF(); rs.MoveNext()) {
        const Offer o{day.wholesaler, text(rs, 0), val(rs, 1), day.date};
        if (places.contains(OfferBook::Slot(o)))
            out.push_back(o);
    }
    return true;
}

// A discount as read: a float read back as text and parsed again may differ in its last bit.
bool sameDiscount(double a, double b) {
    return std::abs(a - b) <= 1e-7;
}

// The same offers, whatever their order.
bool sameOffers(std::vector<Offer> a, std::vector<Offer> b) {
    if (a.size() != b.size())
        return false;
    const auto order = [](const Offer& x, const Offer& y) {
        return x.drug != y.drug ? x.drug < y.drug : x.discount < y.discount;
    };
    std::sort(a.begin(), a.end(), order);
    std::sort(b.begin(), b.end(), order);
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].drug != b[i].drug || !sameDiscount(a[i].discount, b[i].discount))
            return false;
    return true;
}

// Deletes the day's stored offers as read, each by its stored spelling and discount, a few
// hundred a statement; a statement that deletes other than the rows read finds the day changed.
Result deleteStored(const OfferDay& day) {
    // One condition per spelling and discount, with the rows it holds; the spellings of a key stay
    // in one statement, as a collation that ignores case matches them all with one condition.
    QMap<std::tuple<QString, QString, QString>, int> rows;
    for (const Offer& o : day.stored)
        ++rows[{DrugNameKey(o.drug), o.drug, ModGFun::ShortestText(o.discount)}];
    const QString head = QStringLiteral("DELETE FROM grp_offers WHERE wholesaler = ") + num(day.wholesaler) +
                         QStringLiteral(" AND offerdate = ") + SqlQuote(day.date) + QStringLiteral(" AND (");
    QStringList conditions;
    long expected = 0;
    const auto flush = [&]() -> Result {
        if (conditions.isEmpty())
            return {Outcome::Saved, 0, {}};
        const Result r = WriteRoad::Step(head + conditions.join(QStringLiteral(" OR ")) + u')');
        conditions.clear();
        if (r.outcome == Outcome::Taken || (r.saved() && r.rows != std::exchange(expected, 0)))
            return {Outcome::Taken, 0, BuyingTexts::OffersChanged};
        return r;
    };
    QString key;
    for (auto it = rows.constBegin(); it != rows.constEnd(); ++it) {
        const auto& [itKey, drug, discount] = it.key();
        if (conditions.size() >= 200 && itKey != key)
            if (const Result r = flush(); !r.saved())
                return r;
        key = itKey;
        const double d = ModGFun::Val(discount);
        conditions << QStringLiteral("(drug = ") + SqlQuote(drug) + QStringLiteral(" AND discount BETWEEN ") +
                          num(d - 1e-7) + QStringLiteral(" AND ") + num(d + 1e-7) + u')';
        expected += it.value();
    }
    return flush();
}
} // namespace

WriteRoad::Result AddOffers(const std::vector<Offer>& offers) {
    if (offers.empty())
        return {WriteRoad::Outcome::Taken, 0, {}};
    if (!ModSQL::ConnectServer())
        return notConnected();
    // A sheet imported again the same day (corrected) replaces that day's offers of its drugs, so
    // the newest stands on every engine, whatever order the rows come back in.
    std::vector<OfferDay> days;
    for (const Offer& o : OfferBook::LastOfEach(offers)) {
        auto day = std::find_if(days.begin(), days.end(),
                                [&](const OfferDay& d) { return d.wholesaler == o.wholesaler && d.date == o.date; });
        if (day == days.end())
            day = days.insert(days.end(), OfferDay{o.wholesaler, o.date, {}, {}});
        day->written.push_back(o);
    }
    for (OfferDay& day : days)
        if (!readOfferDay(day, day.stored))
            return {WriteRoad::Outcome::NotWritten, 0, server().lastError()};
    return WriteRoad::Transaction(
        [&] {
            long inserted = 0;
            for (const OfferDay& day : days) {
                if (const Result r = deleteStored(day); !r.saved())
                    return r;
                QStringList rows;
                for (const Offer& o : day.written)
                    rows << u'(' + num(o.wholesaler) + u',' + SqlQuote(o.drug) + u',' + num(o.discount) + u',' +
                                SqlQuote(o.date) + u')';
                if (const Result r = insertRows(QStringLiteral("INSERT INTO grp_offers (wholesaler,drug,discount,offerdate)"), rows);
                    !r.saved())
                    return r;
                inserted += long(rows.size());
            }
            return Result{Outcome::Saved, inserted, {}};
        },
        // After a lost commit: each day holds the offers written (saved) or still those read (not).
        [&] {
            bool written = true, stored = true;
            std::vector<Offer> now;
            for (const OfferDay& day : days) {
                if (!readOfferDay(day, now))
                    return -1;
                written = written && sameOffers(now, day.written);
                stored = stored && sameOffers(now, day.stored);
            }
            return written ? 1 : stored ? 0 : -1;
        });
}

namespace {
// A field read as a whole number: the lines' state is read row by row for every plan.
int ival(const QSqlQuery& q, int i) {
    return int(std::lround(numberOf(q.value(i))));
}
// Whether a field holds any text; a text the driver hands over is not copied to be asked.
bool hasText(const QVariant& v) {
    if (v.typeId() == QMetaType::QString)
        return !static_cast<const QString*>(v.constData())->isEmpty();
    return !FieldText(v).isEmpty();
}
// The lines' state, read the same way for a plan and for a purchase order's lines: orderid and
// drugkey, then what heldOf takes.
const QString HeldStatement =
    QStringLiteral("SELECT orderid,drugkey,asked,onorder,allotted,cancelled,poid FROM grp_orderlines");
PeriodDemand::Held heldOf(const QSqlQuery& q) {
    return {.exists = true,
            .inOrder = hasText(q.value(6)),
            .asked = ival(q, 2),
            .onorder = ival(q, 3),
            .allotted = ival(q, 4),
            .cancelled = ival(q, 5)};
}
// Rows of a query handed over one at a time; false with the server's answer.
template <class Row>
bool each(const QString& sql, QString* error, Row row) {
    if (!ModSQL::ConnectServer()) {
        if (error)
            *error = server().lastError();
        return false;
    }
    long affected = 0;
    server().ExecuteEach(sql, affected, error, row);
    return affected != 0;
}
QString inList(const QStringList& values) {
    QStringList quoted;
    for (const QString& v : values)
        quoted << SqlQuote(v);
    return u'(' + quoted.join(u',') + u')';
}
// The lines' state of orders, a few hundred orders a statement (servers bound an IN list).
bool readHeld(const QStringList& orderids, QHash<QString, PeriodDemand::Held>& out, QString* error) {
    for (qsizetype i = 0; i < orderids.size(); i += 500)
        if (!each(HeldStatement + QStringLiteral(" WHERE orderid IN ") + inList(orderids.mid(i, 500)), error,
                  [&](const QSqlQuery& q) {
                      out.insert(PeriodDemand::LineKey(FieldText(q.value(0)), FieldText(q.value(1))), heldOf(q));
                  }))
            return false;
    return true;
}
bool readStockRows(QHash<QString, int>& out, QString* error) {
    return each(QStringLiteral("SELECT drugkey,quantity FROM grp_stock"), error,
                [&](const QSqlQuery& q) { out.insert(FieldText(q.value(0)), ival(q, 1)); });
}
} // namespace

PeriodDemand ReadOpenDemand(const GroupDemand::Period& period, OfferBook* book) {
    QString error;
    // The offers are read while the last orders are still added up, and the book is made of them
    // on a thread of its own while the rest is read.
    bool offersRead = !book;
    std::vector<Wholesaler> wholesalers;
    std::vector<Offer> offers;
    OfferBook made;
    std::thread making;
    const auto meanwhile = [&] {
        if (!book)
            return;
        offersRead = readOffers(wholesalers, offers, &error);
        if (offersRead)
            making = std::thread([&] { made = OfferBook(std::move(wholesalers), offers); });
    };
    // The lines of the period's sent orders, chosen on the server by the same conditions, and the
    // stock: read while the demand is put together, kept as read (an order's rows share one text
    // of its id, and each drug key is kept once), and taken in once the demand is whole.
    const QString sent = GroupDemand::OrdersStatement({period.from, period.to, true});
    const QString where = sent.mid(sent.indexOf(QLatin1String(" WHERE ")));
    struct HeldRow {
        int id = 0, key = 0; // into ids and keys
        PeriodDemand::Held held;
    };
    std::vector<HeldRow> rows;
    std::vector<QString> ids, keys;
    QHash<QString, int> keyPlace;
    QHash<QString, int> stock;
    bool read = false;
    const auto alongside = [&] {
        read = offersRead &&
               each(HeldStatement + QStringLiteral(" WHERE orderid IN (SELECT orderid FROM bown2") + where + u')',
                    &error,
                    [&](const QSqlQuery& q) {
                        QString orderid = FieldText(q.value(0));
                        if (ids.empty() || ids.back() != orderid)
                            ids.push_back(std::move(orderid));
                        const QString drugkey = FieldText(q.value(1));
                        auto k = keyPlace.constFind(drugkey);
                        if (k == keyPlace.constEnd()) {
                            k = keyPlace.insert(drugkey, int(keys.size()));
                            keys.push_back(drugkey);
                        }
                        rows.push_back({int(ids.size()) - 1, k.value(), heldOf(q)});
                    }) &&
               readStockRows(stock, &error);
    };
    PeriodDemand d = PeriodDemand::Read(period, meanwhile, alongside);
    if (making.joinable())
        making.join();
    if (d.ok && !read) {
        d.ok = false;
        d.error = BuyingTexts::ReadFailed + error;
    }
    if (!d.ok)
        return d;
    std::vector<int> drugOf(keys.size());
    for (size_t k = 0; k < keys.size(); ++k)
        drugOf[k] = d.drugOfKey(keys[k]);
    HeldReader held(d);
    for (const HeldRow& r : rows)
        held.take(ids[size_t(r.id)], drugOf[size_t(r.key)], r.held);
    rows = {};
    held.finish(stock);
    if (book)
        *book = std::move(made);
    return d;
}

bool ReadOrders(std::vector<KeptOrder>& out, bool closed, QString* error) {
    out.clear();
    const QString states = closed ? QStringLiteral("('kept','partly','received','closed')")
                                  : QStringLiteral("('kept','partly','received')");
    Recordset os;
    if (!query(QStringLiteral("SELECT poid,batch,podate,wholesaler,periodfrom,periodto,total,status FROM grp_purchaseorders "
                              "WHERE status IN ") +
                   states + QStringLiteral(" ORDER BY poid DESC"),
               os, error))
        return false;
    QHash<QString, size_t> at;
    for (; !os.isEOF(); os.MoveNext()) {
        at.insert(text(os, 0), out.size());
        out.push_back({text(os, 0), text(os, 1), text(os, 2), int(val(os, 3)), text(os, 4), text(os, 5), text(os, 7),
                       val(os, 6), {}});
    }
    const QString open = QStringLiteral(" IN (SELECT poid FROM grp_purchaseorders WHERE status IN ") + states + u')';
    QHash<QString, QString> keepRule, lineRule;
    QHash<QString, int> lastSeq;
    if (!each(QStringLiteral("SELECT batch,sharerule FROM grp_keeps"), error,
              [&](const QSqlQuery& q) { keepRule.insert(FieldText(q.value(0)), FieldText(q.value(1))); }) ||
        !each(QStringLiteral("SELECT poid,lineseq,seq,sharerule FROM grp_receipts WHERE poid") + open, error,
              [&](const QSqlQuery& q) {
                  const QString k = FieldText(q.value(0)) + u'/' + FieldText(q.value(1));
                  if (ival(q, 2) > lastSeq.value(k, 0)) {
                      lastSeq.insert(k, ival(q, 2));
                      lineRule.insert(k, FieldText(q.value(3)));
                  }
              }) ||
        !each(QStringLiteral("SELECT poid,lineseq,drug,quantity,price,discount,linevalue,received FROM grp_purchaselines "
                             "WHERE poid") +
                  open + QStringLiteral(" ORDER BY poid, lineseq"),
              error, [&](const QSqlQuery& q) {
                  const auto o = at.constFind(FieldText(q.value(0)));
                  if (o == at.constEnd())
                      return;
                  KeptOrder& order = out[o.value()];
                  KeptLine l{order.poid, ival(q, 1), FieldText(q.value(2)), ModGFun::Val(FieldText(q.value(3))),
                             ModGFun::Val(FieldText(q.value(4))), ModGFun::Val(FieldText(q.value(5))),
                             ModGFun::Val(FieldText(q.value(6))), ModGFun::Val(FieldText(q.value(7))), {}};
                  l.rule = lineRule.value(l.poid + u'/' + QString::number(l.lineseq), keepRule.value(order.batch));
                  order.lines.push_back(l);
              }))
        return false;
    return true;
}

namespace {
// What a keep writes for one order line.
struct LineWrite {
    const GroupDemand::Order* order = nullptr;
    const PurchasePlan::Line* line = nullptr;
    PeriodDemand::Held held;
    int units = 0; // the line's whole units
    int fromStock = 0, onorder = 0, cancel = 0;
    int k = 0, seq = 0; // its purchase-order line
};
// What a keep assumes of a drug's stock.
struct StockWrite {
    const PurchasePlan::Line* line = nullptr;
    bool row = false;
    int assumed = 0, used = 0;
};

// 1 when every line and stock row is as assumed, 0 when one is not, -1 when they cannot be read.
int asAssumed(const std::vector<LineWrite>& lines, const std::vector<StockWrite>& stock) {
    QStringList ids;
    for (const LineWrite& w : lines)
        ids << w.order->id;
    ids.removeDuplicates();
    QHash<QString, PeriodDemand::Held> held;
    QHash<QString, int> rows;
    if (server().State() != 1 || !readHeld(ids, held, nullptr) || !readStockRows(rows, nullptr))
        return -1;
    for (const LineWrite& w : lines) {
        const PeriodDemand::Held h = held.value(PeriodDemand::LineKey(w.order->id, w.line->key));
        if (h.exists != w.held.exists || h.inOrder != w.held.inOrder || h.onorder != w.held.onorder ||
            h.allotted != w.held.allotted || h.cancelled != w.held.cancelled)
            return 0;
    }
    for (const StockWrite& s : stock)
        if (rows.contains(s.line->key) != s.row || (s.row && rows.value(s.line->key) != s.assumed))
            return 0;
    return 1;
}
} // namespace

Result KeepPlan(const PurchasePlan& plan, const PeriodDemand& demand, const OfferBook& offers,
                DeliveryShare::Rule rule, const QDateTime& now, QString* batchOut) {
    const auto orders = plan.orders(offers);
    std::vector<std::pair<int, int>> poLine(plan.lines().size(), {0, 0});
    for (size_t k = 0; k < orders.size(); ++k)
        for (size_t s = 0; s < orders[k].lines.size(); ++s)
            poLine[size_t(orders[k].lines[s])] = {int(k) + 1, int(s) + 1};
    std::vector<LineWrite> lines;
    std::vector<StockWrite> stock;
    std::vector<double> open, rest;
    for (size_t i = 0; i < plan.lines().size(); ++i) {
        const PurchasePlan::Line& l = plan.lines()[i];
        const int d = demand.drugOfKey(l.key);
        if (d < 0)
            continue;
        const PeriodDemand::Drug& drug = demand.drugs[size_t(d)];
        open.clear();
        for (auto a = demand.asksBegin(d); a != demand.asksEnd(d); ++a)
            open.push_back(a->open);
        const int used = l.cancelled ? 0 : int(std::lround(l.stockUsed));
        const std::vector<int> fromStock = DeliveryShare::Share(open, used, rule);
        rest.clear();
        for (size_t j = 0; j < open.size(); ++j)
            rest.push_back(open[j] - fromStock[j]);
        const bool buys = !l.cancelled && poLine[i].first > 0;
        const std::vector<int> onorder =
            DeliveryShare::Share(rest, buys ? l.quantity : 0, DeliveryShare::Rule::EarliestFirst);
        size_t j = 0;
        for (auto a = demand.asksBegin(d); a != demand.asksEnd(d); ++a, ++j) {
            LineWrite w{&demand.orders[size_t(a->order)], &l, a->held, a->units, fromStock[j], onorder[j],
                        l.cancelled ? a->open : 0, 0, 0};
            if (w.onorder > 0)
                std::tie(w.k, w.seq) = poLine[i];
            if (w.fromStock + w.onorder + w.cancel > 0)
                lines.push_back(w);
        }
        // Every drug bought or taken from stock gets a row of its own stock: receipts add to it.
        if (used > 0 || buys)
            stock.push_back({&l, drug.stockRow, std::max(0, int(std::floor(drug.stock))), used});
    }
    if (lines.empty() && orders.empty())
        return {Outcome::Saved, 0, {}};
    if (!ModSQL::ConnectServer())
        return notConnected();

    const QString madeat = Clock::Stamp(now), ruleName = DeliveryShare::RuleName(rule);
    const QString from = SqlQuote(Days::Key(plan.period.from)), to = SqlQuote(Days::Key(plan.period.to));
    // The batch number: the time, and a count when another keep had that second.
    Recordset rs;
    QString error;
    if (!query(QStringLiteral("SELECT COUNT(*) FROM grp_keeps WHERE madeat = ") + SqlQuote(madeat), rs,
               &error))
        return {Outcome::NotWritten, 0, error};
    int taken = int(val(rs, 0));
    for (int attempt = 0;; ++attempt, ++taken) {
        const QString base = now.toString(QStringLiteral("yyMMddhhmmss"));
        const QString batch = taken == 0 ? base : base + u'-' + QString::number(taken + 1);
        auto poid = [&](int k) { return batch + u'/' + QString::number(k); };
        auto steps = [&]() -> Result {
            if (const Result r = WriteRoad::Step(
                    QStringLiteral(
                        "INSERT INTO grp_keeps (batch,madeat,periodfrom,periodto,sharerule) VALUES (") +
                    SqlQuote(batch) + u',' + SqlQuote(madeat) + u',' + from + u',' + to + u',' +
                    SqlQuote(ruleName) + u')');
                !r.saved())
                return r;
            // Each line only while it is as read: in no open purchase order, with the units allotted
            // and cancelled seen.
            QStringList newLines, onOrder, used;
            for (const LineWrite& w : lines) {
                const QString po = w.onorder > 0 ? SqlQuote(poid(w.k)) : QStringLiteral("NULL");
                const QString seq = w.onorder > 0 ? num(w.seq) : QStringLiteral("NULL");
                if (!w.held.exists) {
                    newLines << u'(' + SqlQuote(w.order->id) + u',' + SqlQuote(w.line->key) + u',' +
                                    SqlQuote(w.line->drug) + u',' + SqlQuote(w.order->tel) + u',' +
                                    num(w.units) +
                                    u',' + num(w.onorder) + u',' + num(w.fromStock) + u',' + num(w.cancel) + u',' + po +
                                    u',' + seq + u')';
                } else {
                    if (const Result r = WriteRoad::Step(
                            QStringLiteral("UPDATE grp_orderlines SET onorder = ") + num(w.onorder) +
                            QStringLiteral(", allotted = ") + num(w.held.allotted + w.fromStock) +
                            QStringLiteral(", cancelled = ") + num(w.held.cancelled + w.cancel) +
                            QStringLiteral(", poid = ") + po + QStringLiteral(", lineseq = ") + seq +
                            QStringLiteral(" WHERE orderid = ") + SqlQuote(w.order->id) +
                            QStringLiteral(" AND drugkey = ") + SqlQuote(w.line->key) +
                            QStringLiteral(" AND poid IS NULL AND onorder = '0' AND allotted = ") +
                            num(w.held.allotted) + QStringLiteral(" AND cancelled = ") +
                            num(w.held.cancelled));
                        !r.saved())
                        return r;
                }
                if (w.onorder > 0)
                    onOrder << u'(' + SqlQuote(poid(w.k)) + u',' + num(w.seq) + u',' + SqlQuote(w.order->id) + u',' +
                                   SqlQuote(w.line->drug) + u',' + SqlQuote(w.order->tel) + u',' + num(w.onorder) +
                                   QStringLiteral(",'0')");
                if (w.fromStock > 0)
                    used << u'(' + SqlQuote(w.line->key) + u',' + SqlQuote(w.line->drug) + QStringLiteral(",'used',") +
                                num(-w.fromStock) + u',' + SqlQuote(batch) + QStringLiteral(",NULL,NULL,") +
                                SqlQuote(w.order->id) + u',' + SqlQuote(madeat) + u')';
            }
            // A second copy's insert of a line is refused by the key.
            Result r = insertRows(
                QStringLiteral("INSERT INTO grp_orderlines (orderid,drugkey,drug,tel,asked,onorder,"
                               "allotted,cancelled,poid,lineseq)"),
                newLines);
            if (r.saved())
                r = insertRows(
                    QStringLiteral(
                        "INSERT INTO grp_allotments (poid,lineseq,orderid,drug,tel,asked,allotted)"),
                    onOrder);
            if (r.saved())
                r = insertRows(
                    QStringLiteral(
                        "INSERT INTO grp_stockmoves (drugkey,drug,kind,quantity,batch,poid,lineseq,"
                        "orderid,movedat)"),
                    used);
            if (!r.saved())
                return r;
            QStringList newStock;
            for (const StockWrite& s : stock) {
                if (!s.row) {
                    newStock << u'(' + SqlQuote(s.line->key) + u',' + SqlQuote(s.line->drug) + u',' +
                                    num(s.assumed - s.used) + u')';
                    continue;
                }
                if (s.used == 0)
                    continue;
                if (r = WriteRoad::Step(QStringLiteral("UPDATE grp_stock SET quantity = ") +
                                        num(s.assumed - s.used) + QStringLiteral(" WHERE drugkey = ") +
                                        SqlQuote(s.line->key) + QStringLiteral(" AND quantity = ") +
                                        num(s.assumed));
                    !r.saved())
                    return r;
            }
            if (r = insertRows(QStringLiteral("INSERT INTO grp_stock (drugkey,drug,quantity)"), newStock);
                !r.saved())
                return r;
            int k = 0;
            for (const PurchasePlan::Order& o : orders) {
                ++k;
                if (r = WriteRoad::Step(QStringLiteral("INSERT INTO grp_purchaseorders "
                                                       "(poid,batch,podate,wholesaler,periodfrom,periodto,"
                                                       "demand,total,status) VALUES (") +
                                        SqlQuote(poid(k)) + u',' + SqlQuote(batch) + u',' +
                                        SqlQuote(Days::Key(now.date())) + u',' + num(o.wholesaler) + u',' + from +
                                        u',' + to + u',' + SqlQuote(plan.fingerprint) + u',' +
                                        num(ModGFun::RoundHalfEven(o.total, 2)) + QStringLiteral(",'kept')"));
                    !r.saved())
                    return r;
                QStringList rows;
                int seq = 0;
                for (int i : o.lines) {
                    const PurchasePlan::Line& l = plan.lines()[size_t(i)];
                    rows << u'(' + SqlQuote(poid(k)) + u',' + num(++seq) + u',' + SqlQuote(l.drug) + u',' +
                                num(l.quantity) + u',' + num(l.price) + u',' + num(l.discount) + u',' +
                                num(ModGFun::RoundHalfEven(l.value(), 2)) + QStringLiteral(",'0')");
                }
                if (r = insertRows(
                        QStringLiteral(
                            "INSERT INTO grp_purchaselines (poid,lineseq,drug,quantity,price,discount,"
                            "linevalue,received)"),
                        rows);
                    !r.saved())
                    return r;
            }
            return r;
        };
        const Result r = WriteRoad::Transaction(steps, [&] {
            Recordset b;
            if (!query(QStringLiteral("SELECT madeat FROM grp_keeps WHERE batch = ") + SqlQuote(batch), b, nullptr))
                return -1;
            return b.isEOF() ? 0 : 1;
        });
        if (r.saved() && batchOut)
            *batchOut = batch;
        if (!r.nothingWritten())
            return r;
        // Nothing written: another copy took the lines (told), or the batch number (try the next),
        // or the write failed for another reason (told as it failed).
        switch (asAssumed(lines, stock)) {
        case 0:
            return {Outcome::Taken, 0, BuyingTexts::AlreadyMade};
        case -1:
            return r;
        default:
            break;
        }
        Recordset b;
        if (attempt >= 5 || !query(QStringLiteral("SELECT madeat FROM grp_keeps WHERE batch = ") + SqlQuote(batch), b, nullptr) ||
            b.isEOF())
            return r.outcome == Outcome::Taken ? Result{Outcome::Taken, 0, BuyingTexts::AlreadyMade} : r;
    }
}

Result Receive(const KeptLine& line, double received, DeliveryShare::Rule rule, const QDateTime& now) {
    if (!ModSQL::ConnectServer())
        return notConnected();
    QString error;
    const QString poid = SqlQuote(line.poid), seq = num(line.lineseq);
    const QString thisLine = QStringLiteral(" WHERE poid = ") + poid + QStringLiteral(" AND lineseq = ") + seq;
    // The order lines on order in it as the server holds them now, earliest order first.
    std::vector<Allotment> was;
    QHash<QString, LineState> state;
    int surplusWas = 0;
    Stock stock{DrugNameKey(line.drug), line.drug, 0, false};
    if (!ReadShares(line.poid, line.lineseq, was, &error) ||
        !each(QStringLiteral("SELECT orderid,drugkey,onorder,allotted FROM grp_orderlines") + thisLine,
              &error,
              [&](const QSqlQuery& q) {
                  LineState s;
                  s.orderid = FieldText(q.value(0));
                  s.drugkey = FieldText(q.value(1));
                  s.onorder = ival(q, 2);
                  s.allotted = ival(q, 3);
                  state.insert(s.orderid, s);
              }) ||
        !each(QStringLiteral("SELECT quantity FROM grp_stockmoves") + thisLine +
                  QStringLiteral(" AND kind = 'surplus'"),
              &error, [&](const QSqlQuery& q) { surplusWas += ival(q, 0); }) ||
        !each(QStringLiteral("SELECT drugkey,quantity FROM grp_stock WHERE drugkey = ") + SqlQuote(stock.key),
              &error, [&](const QSqlQuery& q) {
                  stock.row = true;
                  stock.quantity = ival(q, 1);
              }))
        return {Outcome::NotWritten, 0, error};
    std::vector<double> asked;
    for (const Allotment& a : was)
        asked.push_back(a.asked);
    const std::vector<int> units = DeliveryShare::Share(asked, received, rule);
    long long given = 0;
    for (int u : units)
        given += u;
    const int surplus = int(std::max<long long>(0, (long long)std::floor(received) - given));
    const int change = surplus - surplusWas;
    if (stock.quantity + change < 0)
        return {Outcome::Taken, 0, BuyingTexts::StockShort};
    auto steps = [&]() -> Result {
        if (const Result r = WriteRoad::Step(
                QStringLiteral("UPDATE grp_purchaselines SET received = ") + num(received) + thisLine +
                QStringLiteral(" AND received = ") + num(line.received) +
                QStringLiteral(" AND poid IN (SELECT poid FROM grp_purchaseorders WHERE status IN "
                               "('kept','partly','received'))"));
            !r.saved())
            return r;
        Recordset rs;
        long affected = 0;
        QString e;
        rs = server().Execute(QStringLiteral("SELECT COUNT(*) FROM grp_receipts") + thisLine, affected, &e);
        if (affected == 0)
            return Result{Outcome::NotWritten, 0, e};
        if (const Result r = WriteRoad::Step(
                QStringLiteral("INSERT INTO grp_receipts "
                               "(poid,lineseq,seq,quantity,total,sharerule,receivedat) VALUES (") +
                poid + u',' + seq + u',' + num(int(val(rs, 0)) + 1) + u',' + num(received - line.received) +
                u',' + num(received) + u',' + SqlQuote(DeliveryShare::RuleName(rule)) + u',' +
                SqlQuote(Clock::Stamp(now)) + u')');
            !r.saved())
            return r;
        QStringList rows;
        for (size_t i = 0; i < was.size(); ++i) {
            const Allotment& a = was[i];
            const int delta = units[i] - a.allotted;
            const auto s = state.constFind(a.orderid);
            if (delta != 0) {
                if (s == state.constEnd())
                    return Result{Outcome::Taken, 0, {}};
                // The line as read: still on order here, with its units as they were.
                if (const Result r = WriteRoad::Step(
                        QStringLiteral("UPDATE grp_orderlines SET allotted = ") + num(s->allotted + delta) +
                        QStringLiteral(", onorder = ") + num(s->onorder - delta) +
                        QStringLiteral(" WHERE orderid = ") + SqlQuote(a.orderid) +
                        QStringLiteral(" AND drugkey = ") + SqlQuote(s->drugkey) +
                        QStringLiteral(" AND poid = ") + poid + QStringLiteral(" AND lineseq = ") + seq +
                        QStringLiteral(" AND allotted = ") + num(s->allotted) +
                        QStringLiteral(" AND onorder = ") + num(s->onorder));
                    !r.saved())
                    return r;
            }
            rows << u'(' + poid + u',' + seq + u',' + SqlQuote(a.orderid) + u',' + SqlQuote(a.drug) + u',' +
                        SqlQuote(a.tel) + u',' + num(a.asked) + u',' + num(units[i]) + u')';
        }
        Result r = anyRows(QStringLiteral("DELETE FROM grp_allotments") + thisLine);
        if (r.saved())
            r = insertRows(
                QStringLiteral("INSERT INTO grp_allotments (poid,lineseq,orderid,drug,tel,asked,allotted)"),
                rows);
        if (!r.saved())
            return r;
        // Units beyond the orders' asks are the group's stock for the next plan.
        if (change != 0) {
            r = WriteRoad::Step(
                stock.row
                    ? QStringLiteral("UPDATE grp_stock SET quantity = ") + num(stock.quantity + change) +
                          QStringLiteral(" WHERE drugkey = ") + SqlQuote(stock.key) +
                          QStringLiteral(" AND quantity = ") + num(stock.quantity)
                    : QStringLiteral("INSERT INTO grp_stock (drugkey,drug,quantity) VALUES (") +
                          SqlQuote(stock.key) + u',' + SqlQuote(stock.drug) + u',' + num(change) + u')');
            if (r.saved())
                r = anyRows(QStringLiteral("DELETE FROM grp_stockmoves") + thisLine +
                            QStringLiteral(" AND kind = 'surplus'"));
            if (r.saved() && surplus > 0)
                r = WriteRoad::Step(
                    QStringLiteral(
                        "INSERT INTO grp_stockmoves (drugkey,drug,kind,quantity,batch,poid,lineseq,"
                        "orderid,movedat) VALUES (") +
                    SqlQuote(stock.key) + u',' + SqlQuote(stock.drug) + QStringLiteral(",'surplus',") +
                    num(surplus) + QStringLiteral(",NULL,") + poid + u',' + seq + QStringLiteral(",NULL,") +
                    SqlQuote(Clock::Stamp(now)) + u')');
            if (!r.saved())
                return r;
        }
        // The order's state follows its lines.
        if (const Result r = WriteRoad::Step(
                QStringLiteral("UPDATE grp_purchaseorders SET status = CASE WHEN NOT EXISTS (SELECT * FROM "
                               "grp_purchaselines WHERE poid = ") +
                poid +
                QStringLiteral(
                    " AND received < quantity) THEN 'received' WHEN EXISTS (SELECT * FROM grp_purchaselines "
                    "WHERE poid = ") +
                poid + QStringLiteral(" AND received > 0) THEN 'partly' ELSE 'kept' END WHERE poid = ") +
                poid);
            !r.saved())
            return r;
        return Result{Outcome::Saved, 0, {}};
    };
    Result r = WriteRoad::Transaction(steps, [&] {
        Recordset rs;
        if (!query(QStringLiteral("SELECT received FROM grp_purchaselines") + thisLine, rs, nullptr) || rs.isEOF())
            return -1;
        return val(rs, 0) == received ? 1 : 0;
    });
    if (r.outcome == Outcome::Taken && r.error.isEmpty())
        r.error = BuyingTexts::ReceivedTaken;
    return r;
}

Result Close(const KeptOrder& order, bool cancelRest) {
    if (!ModSQL::ConnectServer())
        return notConnected();
    const QString poid = SqlQuote(order.poid);
    std::vector<LineState> lines;
    QString error;
    if (!each(QStringLiteral(
                  "SELECT orderid,drugkey,onorder,allotted,cancelled FROM grp_orderlines WHERE poid = ") +
                  poid,
              &error, [&](const QSqlQuery& q) {
                  LineState s;
                  s.orderid = FieldText(q.value(0));
                  s.drugkey = FieldText(q.value(1));
                  s.onorder = ival(q, 2);
                  s.allotted = ival(q, 3);
                  s.cancelled = ival(q, 4);
                  lines.push_back(s);
              }))
        return {Outcome::NotWritten, 0, error};
    auto steps = [&]() -> Result {
        if (const Result r = WriteRoad::Step(
                QStringLiteral("UPDATE grp_purchaseorders SET status = 'closed' WHERE poid = ") + poid +
                QStringLiteral(" AND status = ") + SqlQuote(order.status));
            !r.saved())
            return r;
        for (const LineState& s : lines) {
            if (const Result r = WriteRoad::Step(
                    QStringLiteral("UPDATE grp_orderlines SET onorder = '0', cancelled = ") +
                    num(s.cancelled + (cancelRest ? s.onorder : 0)) +
                    QStringLiteral(", poid = NULL, lineseq = NULL WHERE orderid = ") + SqlQuote(s.orderid) +
                    QStringLiteral(" AND drugkey = ") + SqlQuote(s.drugkey) + QStringLiteral(" AND poid = ") +
                    poid + QStringLiteral(" AND onorder = ") + num(s.onorder) +
                    QStringLiteral(" AND allotted = ") + num(s.allotted));
                !r.saved())
                return r;
        }
        return Result{Outcome::Saved, 0, {}};
    };
    Result r = WriteRoad::Transaction(steps, [&] {
        Recordset rs;
        if (!query(QStringLiteral("SELECT status FROM grp_purchaseorders WHERE poid = ") + poid, rs, nullptr) || rs.isEOF())
            return -1;
        return text(rs, 0) == QLatin1String("closed") ? 1 : 0;
    });
    if (r.outcome == Outcome::Taken)
        r.error = BuyingTexts::OrderTaken;
    return r;
}

bool ReadStock(std::vector<Stock>& out, QString* error) {
    out.clear();
    QHash<QString, size_t> at;
    if (!each(QStringLiteral("SELECT drugkey,drug,quantity FROM grp_stock"), error, [&](const QSqlQuery& q) {
            at.insert(FieldText(q.value(0)), out.size());
            out.push_back({FieldText(q.value(0)), FieldText(q.value(1)), ival(q, 2), true});
        }))
        return false;
    // Drugs the group holds no row for: the catalogue's figure, when it has one.
    if (!each(QStringLiteral("SELECT * FROM bowndrugs"), error, [&](const QSqlQuery& q) {
            const QString name = FieldText(q.value(0));
            const QString key = DrugNameKey(name);
            const int n = int(std::floor(ModGFun::Val(FieldText(q.value(4)))));
            if (!key.isEmpty() && !at.contains(key) && n > 0) {
                at.insert(key, out.size());
                out.push_back({key, name, n, false});
            }
        }))
        return false;
    TextOrder::sortBy(out, [](const Stock& s) { return s.drug; });
    return true;
}

Result CountStock(const Stock& assumed, int counted, const QDateTime& now) {
    if (counted < 0)
        return {Outcome::NotWritten, 0, {}};
    if (!ModSQL::ConnectServer())
        return notConnected();
    const QString move = SqlQuote(assumed.key) + u',' + SqlQuote(assumed.drug) + QStringLiteral(",'count',") +
                         num(counted - assumed.quantity) + QStringLiteral(",NULL,NULL,NULL,NULL,") +
                         SqlQuote(Clock::Stamp(now));
    // After a lost commit the count is there when the moves like its own have grown by one.
    auto likeIt = [&]() -> int {
        Recordset rs;
        return query(QStringLiteral("SELECT COUNT(*) FROM grp_stockmoves WHERE drugkey = ") +
                         SqlQuote(assumed.key) + QStringLiteral(" AND kind = 'count' AND quantity = ") +
                         num(counted - assumed.quantity) + QStringLiteral(" AND movedat = ") +
                         SqlQuote(Clock::Stamp(now)),
                     rs, nullptr) &&
                       !rs.isEOF()
                   ? int(val(rs, 0))
                   : -1;
    };
    const int before = likeIt();
    if (before < 0)
        return {Outcome::NotWritten, 0, server().lastError()};
    Result r = WriteRoad::Transaction(
        [&] {
            Result r = WriteRoad::Step(
                assumed.row
                    ? QStringLiteral("UPDATE grp_stock SET quantity = ") + num(counted) +
                          QStringLiteral(" WHERE drugkey = ") + SqlQuote(assumed.key) +
                          QStringLiteral(" AND quantity = ") + num(assumed.quantity)
                    : QStringLiteral("INSERT INTO grp_stock (drugkey,drug,quantity) VALUES (") +
                          SqlQuote(assumed.key) + u',' + SqlQuote(assumed.drug) + u',' + num(counted) + u')');
            if (r.saved())
                r = WriteRoad::Step(
                    QStringLiteral(
                        "INSERT INTO grp_stockmoves (drugkey,drug,kind,quantity,batch,poid,lineseq,"
                        "orderid,movedat) VALUES (") +
                    move + u')');
            return r;
        },
        [&] {
            const int after = likeIt();
            return after < 0 ? -1 : after > before ? 1 : 0;
        });
    // The key refuses a row another copy made since the read: the stock is not as assumed.
    if (r.outcome == Outcome::Refused && !assumed.row) {
        std::vector<Stock> held;
        QString error;
        if (ReadStock(held, &error) && std::any_of(held.begin(), held.end(), [&](const Stock& s) {
                return s.row && s.key == assumed.key;
            }))
            return {Outcome::Taken, 0, {}};
    }
    return r;
}

bool ReadShares(const QString& poid, int lineseq, std::vector<Allotment>& out, QString* error) {
    out.clear();
    Recordset rs;
    if (!query(QStringLiteral("SELECT poid,lineseq,orderid,drug,tel,asked,allotted FROM grp_allotments WHERE poid = ") +
                   SqlQuote(poid) + QStringLiteral(" AND lineseq = ") + num(lineseq) + QStringLiteral(" ORDER BY orderid"),
               rs, error))
        return false;
    for (; !rs.isEOF(); rs.MoveNext())
        out.push_back({text(rs, 0), int(val(rs, 1)), text(rs, 2), text(rs, 3), text(rs, 4), val(rs, 5), int(val(rs, 6))});
    // Earliest sent first: ids are the time each order was made, compared as numbers.
    std::stable_sort(out.begin(), out.end(), [](const Allotment& a, const Allotment& b) {
        return ModGFun::Val(a.orderid) < ModGFun::Val(b.orderid);
    });
    return true;
}

bool ReadLineStates(const QStringList& orderids, std::vector<LineState>& out, QSet<QString>* keys, QString* error) {
    out.clear();
    for (qsizetype i = 0; i < orderids.size(); i += 500)
        if (!each(QStringLiteral("SELECT orderid,drugkey,drug,asked,onorder,allotted,cancelled,poid FROM grp_orderlines "
                                 "WHERE orderid IN ") +
                      inList(orderids.mid(i, 500)),
                  error, [&](const QSqlQuery& q) {
                      out.push_back({FieldText(q.value(0)), FieldText(q.value(1)), FieldText(q.value(2)), ival(q, 3),
                                     ival(q, 4), ival(q, 5), ival(q, 6), FieldText(q.value(7))});
                  }))
            return false;
    return !keys || each(QStringLiteral("SELECT DISTINCT drugkey FROM grp_orderlines"), error,
                         [&](const QSqlQuery& q) { keys->insert(FieldText(q.value(0))); });
}

QString UndeliveredOrders() {
    return QStringLiteral("SELECT orderid FROM grp_orderlines WHERE poid IS NOT NULL OR asked > allotted + cancelled");
}

bool ReadFigures(std::vector<Figures>& out, QString* error) {
    out.clear();
    QHash<QString, size_t> at;
    auto of = [&](const QString& key, const QString& drug) -> Figures& {
        auto it = at.constFind(key);
        if (it == at.constEnd()) {
            it = at.insert(key, out.size());
            out.push_back({key, drug});
        }
        return out[it.value()];
    };
    if (!each(QStringLiteral("SELECT drugkey,MIN(drug),SUM(asked),SUM(onorder),SUM(allotted),SUM(cancelled) FROM "
                             "grp_orderlines GROUP BY drugkey"),
              error,
              [&](const QSqlQuery& q) {
                  Figures& f = of(FieldText(q.value(0)), FieldText(q.value(1)));
                  f.asked = ival(q, 2);
                  f.onorder = ival(q, 3);
                  f.allotted = ival(q, 4);
                  f.cancelled = ival(q, 5);
                  f.open = f.asked - f.onorder - f.allotted - f.cancelled;
              }) ||
        // What arrived on the purchase orders of kept plans.
        !each(QStringLiteral("SELECT drug,received FROM grp_purchaselines WHERE poid IN (SELECT poid FROM "
                             "grp_purchaseorders WHERE batch IN (SELECT batch FROM grp_keeps))"),
              error,
              [&](const QSqlQuery& q) {
                  of(DrugNameKey(FieldText(q.value(0))), FieldText(q.value(0))).received += ival(q, 1);
              }) ||
        !each(QStringLiteral("SELECT drugkey,drug,kind,quantity FROM grp_stockmoves"), error,
              [&](const QSqlQuery& q) {
                  Figures& f = of(FieldText(q.value(0)), FieldText(q.value(1)));
                  const QString kind = FieldText(q.value(2));
                  const int n = ival(q, 3);
                  if (kind == QLatin1String("used"))
                      f.stockUsed -= n;
                  else if (kind == QLatin1String("surplus"))
                      f.heldOver += n;
                  else
                      f.counted += n;
              }) ||
        !each(QStringLiteral("SELECT drugkey,drug,quantity FROM grp_stock"), error,
              [&](const QSqlQuery& q) { of(FieldText(q.value(0)), FieldText(q.value(1))).stock = ival(q, 2); }))
        return false;
    TextOrder::sortBy(out, [](const Figures& f) { return f.drug; });
    return true;
}

bool ReadPending(std::vector<Pending>& out, QString* error) {
    out.clear();
    return each(QStringLiteral("SELECT grp_purchaseorders.wholesaler,grp_purchaselines.poid,grp_purchaselines.drug,"
                               "grp_purchaselines.quantity,grp_purchaselines.received FROM grp_purchaselines,"
                               "grp_purchaseorders WHERE grp_purchaselines.poid = grp_purchaseorders.poid AND "
                               "grp_purchaseorders.status IN ('kept','partly') AND grp_purchaselines.received < "
                               "grp_purchaselines.quantity ORDER BY grp_purchaseorders.wholesaler, grp_purchaselines.poid, "
                               "grp_purchaselines.lineseq"),
                error, [&](const QSqlQuery& q) {
                    out.push_back({ival(q, 0), FieldText(q.value(1)), FieldText(q.value(2)),
                                   ModGFun::Val(FieldText(q.value(3))), ModGFun::Val(FieldText(q.value(4)))});
                });
}
} // namespace BuyingStore
