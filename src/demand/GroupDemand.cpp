#include "demand/GroupDemand.h"

#include "collection/BuyCollectCore.h"
#include "demand/GroupDemandTexts.h"
#include "demand/SameText.h"
#include "demand/SpellingIndex.h"
#include "data/BowndrugsColumns.h"
#include "data/Days.h"
#include "data/DrugNameKey.h"
#include "data/FieldText.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/OrderLines.h"
#include "ui/FLXMod.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <limits>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace GroupDemand {

QStringList DemandHeaders() {
    return {QStringLiteral("الدواء"),      QStringLiteral("الكمية"),    QStringLiteral("عدد الصيدليات"),
            QStringLiteral("عدد الاوردرات"), QStringLiteral("القيمة نقدا"), QStringLiteral("السعر"),
            QStringLiteral("الخصم"),       QStringLiteral("اعلي خصم في المخازن")};
}

QStringList PlaceHeaders() {
    return {QStringLiteral("الصيدلية"),   QStringLiteral("التليفون"), QStringLiteral("المركز"),
            QStringLiteral("رقم الاوردر"), QStringLiteral("التاريخ"), QStringLiteral("الكمية")};
}

QString BestHeader(const Report& report) {
    bool offered = false, catalogue = false;
    for (const Drug& g : report.drugs) {
        if (g.bestOffered)
            offered = true;
        else if (!g.best.isEmpty())
            catalogue = true;
    }
    if (!offered)
        return DemandHeaders().at(ColBest);
    return catalogue ? GroupDemandTexts::BestFromBoth : GroupDemandTexts::BestFromOffers;
}

Period DefaultPeriod(const QDate& today) {
    return {today.addDays(-6), today, true};
}

QString OrdersStatement(const Period& period) {
    // date is a real holding YYMMDD: compared as numbers, with quoted literals as everywhere else.
    QString sql = QStringLiteral("SELECT drug,orderid,date,tel,markaz,submitted FROM bown2 WHERE date >= ") +
                  ModSQL::SqlQuote(Days::DateNumber(period.from)) + QStringLiteral(" AND date <= ") +
                  ModSQL::SqlQuote(Days::DateNumber(period.to));
    if (period.sentOnly)
        sql += QStringLiteral(" AND submitted = ") + ModSQL::SqlQuote(QStringLiteral("101"));
    return sql;
}

QString CatalogueStatement() {
    return QStringLiteral("SELECT drug,price,disc,highistdiskout FROM bowndrugs");
}

int Report::drugNamed(const QString& shownName) const {
    return byShownName.value(shownName, -1);
}

std::vector<Placement> Report::placementsOf(int drug) const {
    std::vector<Placement> out;
    for (size_t o = 0; o + 1 < orderStart.size(); ++o)
        for (int i = orderStart[o]; i < orderStart[o + 1]; ++i)
            if (entries[size_t(i)].drug == drug)
                out.push_back({int(o), entries[size_t(i)].quantity});
    return out;
}

namespace {
// Most quantities are a digit or two.
double quantityOf(QStringView text) {
    const auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    if (text.size() == 1 && digit(text[0].unicode()))
        return text[0].unicode() - u'0';
    if (text.size() == 2 && digit(text[0].unicode()) && digit(text[1].unicode()))
        return (text[0].unicode() - u'0') * 10 + (text[1].unicode() - u'0');
    return ModGFun::Val(text);
}

struct CatalogueEntry {
    QString drug, price, disc, best;
};

} // namespace

struct Accumulator::State {
    std::vector<Order> orders;
    std::vector<Drug> drugs;
    // Per drug, what nearly every line reads and writes, in one cache line: the sums, the last
    // order that held it, and the price text last read with its discounted price (a drug keeps its
    // price over many orders). The price is compared as it stands in the line, "price|discount",
    // in one go; a text longer than the room here is compared with its copy in prices.
    static constexpr int PriceRoom = 12;
    struct alignas(64) Seen {
        double quantity = 0;
        double cash = 0;
        float discounted = 0;
        int lastOrder = -1;
        int lastEntry = -1;
        int orders = 0;
        int pharmacies = 0;
        qint16 priceSize = -1; // -1: nothing to compare with
        char16_t price[PriceRoom] = {};
        bool samePrice(QStringView both, const QString& aside) const {
            return priceSize == both.size() &&
                   SameText(priceSize <= PriceRoom ? price : reinterpret_cast<const char16_t*>(aside.utf16()),
                            reinterpret_cast<const char16_t*>(both.utf16()), both.size());
        }
    };
    static_assert(sizeof(Seen) == 64);
    std::vector<QString> prices; // a drug's price text when longer than the room in Seen
    // Per pharmacy, one bit per drug it ordered: an order's lines all touch its pharmacy's row.
    std::vector<std::vector<quint64>> drugsOfPharmacy;
    std::vector<Seen> seen;
    std::vector<QString> foldedNames;
    QHash<QString, int> byFolded;
    // Each spelling is folded once, the first time it is read.
    SpellingIndex bySpelling;
    QHash<QString, int> pharmacyOf;
    std::vector<char> pharmacyHasLines;
    std::vector<Report::Entry> entries;
    std::vector<int> orderStart;
    QHash<QString, CatalogueEntry> catalogue; // by folded name
    double totalQuantity = 0;
    double totalCash = 0;
    int ordersWithLines = 0;
    int nameless = -1;
    std::vector<SkippedLine> skipped;

    int namelessDrug() {
        if (nameless < 0) {
            nameless = int(drugs.size());
            drugs.push_back({});
            drugs.back().name = GroupDemandTexts::NoName;
            drugs.back().nameless = true;
            foldedNames.push_back(QString());
            seen.push_back({});
            prices.emplace_back();
        }
        return nameless;
    }

    // The drug of a spelling: looked up by its hash as a view; the first time it is read, folded
    // and kept.
    int drugOf(QStringView spelling) {
        const size_t hash = SpellingIndex::hash(spelling);
        const int drug = bySpelling.find(spelling, hash);
        return drug >= 0 ? drug : newSpelling(spelling, hash);
    }
    Q_NEVER_INLINE int newSpelling(QStringView spelling, size_t hash) {
        const QString folded = DrugNameKey(spelling);
        // Blanks at the ends or doubled are no part of the name a drug is shown by.
        const QString shown = spelling.toString().simplified();
        int drug;
        if (auto f = byFolded.constFind(folded); f != byFolded.constEnd()) {
            drug = f.value();
            if (shown < drugs[size_t(drug)].name)
                drugs[size_t(drug)].name = shown;
        } else {
            drug = int(drugs.size());
            byFolded.insert(folded, drug);
            foldedNames.push_back(folded);
            drugs.push_back({});
            drugs.back().name = shown;
            seen.push_back({});
            prices.emplace_back();
        }
        bySpelling.insert(spelling, hash, drug);
        return drug;
    }
    // both is the line's "price|discount" when the two stand so in the text, else empty: such a
    // line's price is worked out again every time.
    Q_NEVER_INLINE void newPrice(int drug, QStringView price, QStringView discount, QStringView both) {
        Seen& s = seen[size_t(drug)];
        s.discounted = OrderLines::DiscountedPrice(price, discount);
        if (both.isEmpty() || both.size() > std::numeric_limits<qint16>::max()) {
            s.priceSize = -1;
        } else if (both.size() <= PriceRoom) {
            std::copy(both.utf16(), both.utf16() + both.size(), s.price);
            s.priceSize = qint16(both.size());
        } else {
            prices[size_t(drug)] = both.toString();
            s.priceSize = qint16(both.size());
        }
    }
};

Accumulator::Accumulator() : d(std::make_unique<State>()) {}
Accumulator::~Accumulator() = default;

void Accumulator::addOrder(QStringView lines, QString id, QString date, QString tel, QString markaz) {
    State& st = *d;
    const int order = int(st.orders.size());
    auto ph = st.pharmacyOf.constFind(tel);
    if (ph == st.pharmacyOf.constEnd())
        ph = st.pharmacyOf.insert(tel, int(st.pharmacyOf.size()));
    const int pharmacy = ph.value();
    st.orders.push_back({std::move(id), std::move(date), std::move(tel), std::move(markaz)});
    const QString& orderId = st.orders.back().id;
    if (size_t(pharmacy) >= st.drugsOfPharmacy.size())
        st.drugsOfPharmacy.resize(size_t(pharmacy) + 1);
    std::vector<quint64>& pharmacyDrugs = st.drugsOfPharmacy[size_t(pharmacy)];
    const size_t firstEntry = st.entries.size();
    st.orderStart.push_back(int(firstEntry));
    bool any = false;
    // The order's own value is added up in the same pass, line by line as OrderLines::OrderValue
    // takes it, lines left out of the demand included.
    float orderSum = 0.0f;
    // First the order's lines and their spellings' drugs, then the adding up line by line: the
    // look-ups of different lines do not wait for one another, so the processor overlaps them.
    // Plain pointers and sizes: views would be cleared, all hundred, for every order.
    struct Line {
        const QChar* at[4];
        qsizetype size[4];
        QStringView field(int f) const { return QStringView(at[f], size[f]); }
    };
    Line read[OrderLines::Slots];
    int drugOfLine[OrderLines::Slots];
    int count = 0;
    OrderLines::ForEachSlot(lines, [&](int, QStringView drug, QStringView quantity, QStringView price,
                                       QStringView discount) {
        if (drug.size() + quantity.size() + price.size() + discount.size() != 0)
            read[count++] = {{drug.data(), quantity.data(), price.data(), discount.data()},
                             {drug.size(), quantity.size(), price.size(), discount.size()}};
    });
    for (int i = 0; i < count; ++i) {
        const QStringView drug = read[i].field(0);
        drugOfLine[i] = drug.isEmpty() ? -1 : st.bySpelling.find(drug, SpellingIndex::hash(drug));
    }
    // Room for every line of the order, written in place; what is not used is cut off after.
    st.entries.resize(firstEntry + size_t(count));
    Report::Entry* const entries = st.entries.data();
    size_t entryCount = firstEntry;
    double totalQuantity = st.totalQuantity;
    for (int i = 0; i < count; ++i) {
        const QStringView drug = read[i].field(0), quantity = read[i].field(1), price = read[i].field(2),
                          discount = read[i].field(3);
        const double q = quantityOf(quantity);
        if (!std::isfinite(q) || q < 0) {
            OrderLines::AddLineValue(orderSum, OrderLines::LineValue(q, price, discount));
            st.skipped.push_back({orderId, drug.isEmpty() ? GroupDemandTexts::NoName : drug.toString(),
                                  quantity.toString()});
            continue;
        }
        // A line without a name still counts in its order's value: it stands in a row of its own. A
        // spelling first read in this order was not found above.
        const int k = drugOfLine[i] >= 0 ? drugOfLine[i] : drug.isEmpty() ? st.namelessDrug() : st.drugOf(drug);
        State::Seen& s = st.seen[size_t(k)];
        // The price and the discount stand in the text as "price|discount" when the line has both.
        const bool together = price.data() != nullptr && discount.data() == price.data() + price.size() + 1;
        const QStringView both = together ? QStringView(price.data(), discount.data() + discount.size()) : QStringView();
        if (!together || !s.samePrice(both, st.prices[size_t(k)]))
            st.newPrice(k, price, discount, both);
        const float value = OrderLines::LineValue(q, s.discounted);
        OrderLines::AddLineValue(orderSum, value);
        const double drugQuantity = s.quantity + q;
        const double drugCash = s.cash + double(value);
        const double newTotal = totalQuantity + q;
        // x - x is 0 for a finite x and NaN otherwise: one test for all four.
        if (std::isnan((double(value) - double(value)) + (drugQuantity - drugQuantity) + (drugCash - drugCash) +
                       (newTotal - newTotal))) {
            st.skipped.push_back({orderId, st.drugs[size_t(k)].name, quantity.toString()});
            continue;
        }
        s.quantity = drugQuantity;
        s.cash = drugCash;
        totalQuantity = newTotal;
        // Beyond the float range a quantity is infinite rather than undefined.
        const float q32 = q <= double(std::numeric_limits<float>::max()) ? float(q)
                                                                         : std::numeric_limits<float>::infinity();
        if (s.lastOrder == order) {
            entries[s.lastEntry].quantity += q32;
        } else {
            s.lastOrder = order;
            s.lastEntry = int(entryCount);
            entries[entryCount++] = {k, q32};
            ++s.orders;
            const size_t word = size_t(k) / 64;
            const quint64 bit = quint64(1) << (k % 64);
            if (word >= pharmacyDrugs.size())
                pharmacyDrugs.resize(word + 1);
            if (!(pharmacyDrugs[word] & bit)) {
                pharmacyDrugs[word] |= bit;
                ++s.pharmacies;
            }
        }
        any = true;
    }
    st.entries.resize(entryCount);
    st.totalQuantity = totalQuantity;
    if (any) {
        // The period's cash is the orders' own values, as the collected-orders window shows each.
        const double cash = ModGFun::RoundHalfEven(orderSum, 1); // the cash of OrderLines::ValueOfSum
        if (std::isfinite(cash) && std::isfinite(st.totalCash + cash))
            st.totalCash += cash;
        else
            st.skipped.push_back({orderId, QString(), QString()});
        ++st.ordersWithLines;
        if (size_t(pharmacy) >= st.pharmacyHasLines.size())
            st.pharmacyHasLines.resize(size_t(pharmacy) + 1);
        st.pharmacyHasLines[size_t(pharmacy)] = 1;
    }
}

QString Accumulator::addCatalogueRow(const QString& drug, const QString& price, const QString& disc,
                                     const QString& best) {
    QString folded = DrugNameKey(drug);
    if (!d->catalogue.contains(folded))
        d->catalogue.insert(folded, {drug, price, disc, best});
    return folded;
}

Report Accumulator::finish(const Period& period) {
    Report r;
    r.ok = true;
    r.period = period;
    for (size_t k = 0; k < d->drugs.size(); ++k) {
        Drug& g = d->drugs[k];
        const State::Seen& s = d->seen[k];
        g.quantity = s.quantity;
        g.cash = s.cash;
        g.orders = s.orders;
        g.pharmacies = s.pharmacies;
        if (g.nameless)
            continue;
        g.key = d->foldedNames[k];
        if (auto c = d->catalogue.constFind(d->foldedNames[k]); c != d->catalogue.constEnd()) {
            g.inCatalogue = true;
            g.name = c->drug;
            g.price = c->price;
            g.disc = c->disc;
            g.best = c->best;
        }
        if (!r.byShownName.contains(g.name))
            r.byShownName.insert(g.name, int(k));
    }
    // A drug of the same shown name goes before the row of lines without a name.
    if (d->nameless >= 0 && !r.byShownName.contains(GroupDemandTexts::NoName))
        r.byShownName.insert(GroupDemandTexts::NoName, d->nameless);
    r.skipped = std::move(d->skipped);
    r.total.name = GroupDemandTexts::TotalCaption;
    r.total.quantity = d->totalQuantity;
    // Each order value has one decimal: the sum is rounded once more only to drop the binary
    // fractions that adding them leaves.
    r.total.cash = ModGFun::RoundHalfEven(d->totalCash, 1);
    r.total.orders = d->ordersWithLines;
    r.total.pharmacies = int(std::count(d->pharmacyHasLines.begin(), d->pharmacyHasLines.end(), 1));
    d->orderStart.push_back(int(d->entries.size()));
    // A drug all of whose lines were left out has no row.
    if (std::any_of(d->drugs.begin(), d->drugs.end(), [](const Drug& g) { return g.orders == 0; })) {
        std::vector<int> newIndex(d->drugs.size(), -1);
        std::vector<Drug> kept;
        for (size_t k = 0; k < d->drugs.size(); ++k)
            if (d->drugs[k].orders > 0) {
                newIndex[k] = int(kept.size());
                kept.push_back(std::move(d->drugs[k]));
            }
        for (Report::Entry& e : d->entries)
            e.drug = newIndex[size_t(e.drug)];
        QHash<QString, int> byName;
        for (auto it = r.byShownName.cbegin(); it != r.byShownName.cend(); ++it)
            if (newIndex[size_t(it.value())] >= 0)
                byName.insert(it.key(), newIndex[size_t(it.value())]);
        r.byShownName = std::move(byName);
        d->drugs = std::move(kept);
    }
    r.entries = std::move(d->entries);
    r.orderStart = std::move(d->orderStart);
    r.orders = std::move(d->orders);
    r.drugs = std::move(d->drugs);
    return r;
}

namespace {
// Rows handed from the reading thread to one adding thread in batches, at most a few batches
// ahead. Only the adding thread touches the accumulator until finish() has returned. An added
// batch goes back to the reading thread, which lets its lines' texts go and fills it again: those
// are freed by the thread that made them (no waiting on the other thread's heap), and the batches
// are made once. An order's small texts are moved into the accumulator, not shared between threads.
class RowPipe {
public:
    struct Row {
        QString lines, id, date, tel, markaz;
    };
    explicit RowPipe(Accumulator& acc) : m_acc(acc), m_worker([this] { run(); }) { m_batch.reserve(BatchSize); }
    ~RowPipe() { finish(); }
    void push(Row&& row) {
        m_batch.push_back(std::move(row));
        if (int(m_batch.size()) == BatchSize)
            hand();
    }
    void finish() {
        if (!m_worker.joinable())
            return;
        hand();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_changed.notify_all();
        m_worker.join();
        m_added.clear();
    }

private:
    static constexpr int BatchSize = 32;
    static constexpr size_t MaxQueued = 16;
    static constexpr size_t WakeAt = 4;
    void hand() {
        if (m_batch.empty())
            return;
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_queue.size() >= MaxQueued) {
            m_readerWaiting = true;
            m_changed.wait(lock, [this] { return m_queue.size() < MaxQueued; });
            m_readerWaiting = false;
        }
        m_queue.push_back(std::move(m_batch));
        m_batch = {};
        if (!m_added.empty()) {
            m_batch = std::move(m_added.back());
            m_added.pop_back();
        }
        // A sleeping adding thread is woken only once a few batches wait for it: each wake-up costs
        // both threads more than the adding of a batch.
        const bool wake = m_adderWaiting && m_queue.size() >= WakeAt;
        lock.unlock();
        if (wake)
            m_changed.notify_all();
        m_batch.clear();
        m_batch.reserve(BatchSize);
    }
    void run() {
        std::vector<Row> batch;
        for (;;) {
            bool wake;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                if (!batch.empty())
                    m_added.push_back(std::move(batch));
                if (m_queue.empty() && !m_done) {
                    m_adderWaiting = true;
                    m_changed.wait(lock, [this] { return m_queue.size() >= WakeAt || m_done; });
                    m_adderWaiting = false;
                }
                if (m_queue.empty())
                    return;
                batch = std::move(m_queue.front());
                m_queue.pop_front();
                wake = m_readerWaiting;
            }
            if (wake)
                m_changed.notify_all();
            // The order's small texts move on into the accumulator; its lines go back with the batch.
            for (Row& r : batch)
                m_acc.addOrder(r.lines, std::move(r.id), std::move(r.date), std::move(r.tel), std::move(r.markaz));
        }
    }
    Accumulator& m_acc;
    std::vector<Row> m_batch;
    std::deque<std::vector<Row>> m_queue;
    std::vector<std::vector<Row>> m_added; // back from the adding thread, to be filled again
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_done = false;
    bool m_adderWaiting = false;
    bool m_readerWaiting = false;
    std::thread m_worker; // last: starts once everything above exists
};
} // namespace

Report Build(const Period& period, const std::function<void(const QSqlQuery&, const QString& key)>& catalogueRow,
             const std::function<void()>& meanwhile) {
    Report failed;
    failed.period = period;
    if (!ModSQL::ConnectServer()) {
        failed.error = GroupDemandTexts::ReadFailed + ServerConnection::instance().lastError();
        return failed;
    }
    ServerConnection& server = ServerConnection::instance();
    long affected = 0;
    QString error;
    // A caller that needs more of the catalogue reads the whole row here, so it is read once.
    Accumulator acc;
    // The short statement names drug, price and disc where "select *" has them, and the highest
    // discount fourth.
    const int best = catalogueRow ? BowndrugsColumns::HighestDiscount : 3;
    server.ExecuteEach(catalogueRow ? QStringLiteral("SELECT * FROM bowndrugs") : CatalogueStatement(), affected,
                       &error, [&](const QSqlQuery& row) {
                           const QString key =
                               acc.addCatalogueRow(FieldText(row.value(BowndrugsColumns::Drug)),
                                                   FieldText(row.value(BowndrugsColumns::Price)),
                                                   FieldText(row.value(BowndrugsColumns::Disc)), FieldText(row.value(best)));
                           if (catalogueRow)
                               catalogueRow(row, key);
                       });
    if (affected == 0) {
        failed.error = GroupDemandTexts::CatalogueFailed + error;
        return failed;
    }

    // The orders are added up on a second thread while this one reads the next rows, and each
    // text is let go once added: reading and adding up overlap, and a period's texts are not held.
    RowPipe pipe(acc);
    affected = 0;
    server.ExecuteEach(
        OrdersStatement(period), affected, &error,
        [&](const QSqlQuery& row) {
            const QVariant lines = row.value(0);
            pipe.push({lines.typeId() == QMetaType::QString ? lines.toString() : FieldText(lines),
                       FieldText(row.value(1)), FieldText(row.value(2)), FieldText(row.value(3)),
                       FieldText(row.value(4))});
        });
    // The adding thread is joined whatever the caller's reads do: the pipe's end does it too.
    if (affected != 0 && meanwhile)
        meanwhile();
    pipe.finish();
    if (affected == 0) {
        failed.error = GroupDemandTexts::ReadFailed + error;
        return failed;
    }
    return acc.finish(period);
}

QString SkippedText(const std::vector<SkippedLine>& skipped) {
    constexpr size_t Listed = 15;
    QStringList out{GroupDemandTexts::Skipped};
    for (size_t i = 0; i < skipped.size() && i < Listed; ++i) {
        const SkippedLine& s = skipped[i];
        out << (s.drug.isEmpty() && s.quantity.isEmpty()
                    ? GroupDemandTexts::SkippedValue.arg(s.orderId)
                    : GroupDemandTexts::SkippedOrder.arg(s.orderId, s.drug, s.quantity));
    }
    if (skipped.size() > Listed)
        out << GroupDemandTexts::SkippedMore.arg(skipped.size() - Listed);
    return out.join(u'\n');
}

QString QuantityText(double quantity) {
    return ModGFun::ShortestText(ModGFun::RoundHalfEven(quantity, 3) + 0.0);
}

QString CashText(double cash) {
    return ModGFun::ShortestText(ModGFun::RoundHalfEven(cash, 1) + 0.0);
}

static void setHeaders(FlexGrid& grid, const QStringList& headers) {
    for (int c = 0; c < headers.size(); ++c)
        grid.setTextMatrix(0, c, headers.at(c));
}

static QStringList drugCells(const Drug& g) {
    return {g.name,
            QuantityText(g.quantity),
            QString::number(g.pharmacies),
            QString::number(g.orders),
            CashText(g.cash),
            g.price,
            g.disc,
            g.best};
}

void FillDemandGrid(FlexGrid& grid, const Report& report) {
    std::vector<QStringList> rows;
    rows.reserve(report.drugs.size() + 1);
    // loadReversed shows the rows in reverse: the totals row goes in first to end up last.
    rows.push_back(drugCells(report.total));
    for (auto it = report.drugs.rbegin(); it != report.drugs.rend(); ++it)
        rows.push_back(drugCells(*it));
    grid.loadReversed(DemandCols, std::move(rows));
    setHeaders(grid, DemandHeaders());
    grid.setTextMatrix(0, ColBest, BestHeader(report));
    SortState byName;
    HeaderSort(grid, ColDrug, true, byName, true);
}

void FillPlaceGrid(FlexGrid& grid, const Report& report, int drug,
                   const std::function<QString(const QString&)>& nameOf) {
    std::vector<QStringList> rows;
    if (drug >= 0 && drug < int(report.drugs.size())) {
        const std::vector<Placement> places = report.placementsOf(drug);
        rows.reserve(places.size());
        for (auto it = places.rbegin(); it != places.rend(); ++it) {
            const Order& o = report.orders[size_t(it->order)];
            QString name = nameOf ? nameOf(o.tel) : QString();
            if (name.isEmpty())
                name = o.tel;
            rows.push_back({name, o.tel, o.markaz, o.id, Days::DateNumberText(o.date), QuantityText(double(it->quantity))});
        }
    }
    grid.loadReversed(PlaceCols, std::move(rows));
    setHeaders(grid, PlaceHeaders());
    // Stable sorts, last key first: by district, then pharmacy, then order id.
    FLXMod::FlexSort(grid, ColOrderId, QStringLiteral("123"));
    FLXMod::FlexSort(grid, ColPharmacy, QStringLiteral("AZ"));
    FLXMod::FlexSort(grid, ColMarkaz, QStringLiteral("AZ"));
}

void HeaderSort(FlexGrid& grid, int column, bool textColumn, SortState& state, bool keepTotalsLast) {
    if (column < 0 || column >= grid.Cols())
        return;
    const QString first = textColumn ? QStringLiteral("AZ") : QStringLiteral("321");
    const QString second = textColumn ? QStringLiteral("ZA") : QStringLiteral("123");
    const QString mode = (state.column == column && state.mode == first) ? second : first;
    state = {column, mode};
    // The totals row is taken out while the drugs are sorted and put back below them.
    QStringList totals;
    const int last = grid.Rows() - 1;
    // Known by its place: a drug may carry the totals row's caption as its name.
    if (keepTotalsLast && last >= 1) {
        for (int c = 0; c < grid.Cols(); ++c)
            totals << grid.TextMatrix(last, c);
        grid.RemoveItem(last);
    }
    FLXMod::FlexSort(grid, column, mode);
    if (!totals.isEmpty()) {
        grid.setRows(grid.Rows() + 1);
        for (int c = 0; c < totals.size(); ++c)
            grid.setTextMatrix(grid.Rows() - 1, c, totals.at(c));
    }
}

static QByteArray csvField(const QString& field) {
    // A spreadsheet runs a text that begins with one of these as a formula; an apostrophe before it
    // keeps it text. A plain number (a negative quantity) stays a number.
    static const QRegularExpression number(QStringLiteral("^[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?$"));
    QString text = field;
    if (!text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front()) && !number.match(text).hasMatch())
        text.prepend(u'\'');
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
                       text.contains(u'\r') || text.startsWith(u' ') || text.endsWith(u' ');
    if (!quote)
        return text.toUtf8();
    QString q = text;
    q.replace(u'"', QStringLiteral("\"\""));
    return '"' + q.toUtf8() + '"';
}

QByteArray Csv(const FlexGrid& grid) {
    QByteArray out("\xEF\xBB\xBF");
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Cols(); ++c) {
            if (c > 0)
                out += ',';
            out += csvField(grid.TextMatrix(r, c));
        }
        out += "\r\n";
    }
    return out;
}

} // namespace GroupDemand

namespace GroupDemand {

XlsxSheet Sheet(const FlexGrid& grid) {
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    XlsxSheet sheet;
    sheet.name = GroupDemandTexts::Title;
    for (int c = 0; c < grid.Cols(); ++c)
        sheet.headers << grid.TextMatrix(0, c);
    for (int r = 1; r < grid.Rows(); ++r) {
        QVariantList row;
        for (int c = 0; c < grid.Cols(); ++c) {
            const QString text = grid.TextMatrix(r, c);
            if (c != ColDrug && number.match(text).hasMatch())
                row << QVariant(text.toDouble());
            else
                row << QVariant(text);
        }
        sheet.rows << row;
    }
    if (!sheet.rows.isEmpty())
        sheet.boldRows.insert(int(sheet.rows.size()) - 1);
    return sheet;
}

} // namespace GroupDemand
