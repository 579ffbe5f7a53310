#include "ordering/OrderPane.h"
#include "ordering/OrderPaneTexts.h"

#include "data/Days.h"
#include "data/Clock.h"
#include "data/AppGlobals.h"
#include "data/Bown2Columns.h"
#include "data/DrugNameKey.h"
#include "data/FieldText.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/OrderLines.h"
#include "ui/FLXMod.h"

#include <QHash>
#include <QRegularExpression>
#include <utility>

using ModSQL::SqlEscape;
using ModSQL::SqlQuote;

namespace OrderStatements {

QString Show(const QString& orderId, const QString& tel) {
    return QStringLiteral("select *  from bown2 where orderid = '") + SqlEscape(orderId) + u'\'' +
           OrderLines::OfPhone(tel) + QStringLiteral(" ;");
}

QString Insert(const QString& orderId, const QString& tel, const QString& markaz, const QString& mohafaza,
               const QString& date, const QString& time) {
    return QStringLiteral("INSERT INTO bown2 (orderid,tel,markaz,mohafaza,date,timee) SELECT ") + SqlQuote(orderId) +
           u',' + SqlQuote(tel) + u',' + SqlQuote(markaz) + u',' + SqlQuote(mohafaza) + u',' + SqlQuote(date) + u',' +
           SqlQuote(time) + QStringLiteral(" WHERE NOT EXISTS (SELECT orderid FROM bown2 WHERE orderid = ") +
           SqlQuote(orderId) + u')';
}

QString Send(const QString& orderId, const QString& tel) {
    return QStringLiteral(" UPDATE bown2  SET ") + QStringLiteral(" submitted = '101' ") +
           QStringLiteral(" WHERE orderid='") + SqlEscape(orderId) + u'\'' + OrderLines::OfPhone(tel) +
           OrderLines::StillOpen + u';';
}

QString DeleteWhere(const QString& orderId, const QString& tel) {
    return QStringLiteral(" orderid = '") + SqlEscape(orderId) + u'\'' + OrderLines::OfPhone(tel) +
           OrderLines::StillOpen + QStringLiteral("; ");
}

QString IdTaken(const QString& orderId) {
    return QStringLiteral("select orderid from bown2 where orderid = ") + SqlQuote(orderId) +
           QStringLiteral(" ;");
}

QString Made(const PendingOrder::Record& r) {
    return QStringLiteral("select orderid from bown2 where orderid = ") + SqlQuote(r.orderId) +
           OrderLines::OfPhone(r.tel) + QStringLiteral(" AND date = ") + SqlQuote(r.date) +
           QStringLiteral(" AND timee = ") + SqlQuote(r.time) + QStringLiteral(" ;");
}

QString HoldIds() {
    return QStringLiteral(" UPDATE smartertable SET appname = appname WHERE appname = ") +
           SqlQuote(AppGlobals::AppKey) + QStringLiteral(" ;");
}

QString Catalogue() {
    return QStringLiteral("SELECT drug,price,disc FROM bowndrugs ;");
}

} // namespace OrderStatements

OrderPane::OrderPane(FlexGrid& lines, Prompts prompts) : m_lines(lines), m_prompts(std::move(prompts)) {}

bool OrderPane::isSent() const {
    return OrderLines::IsSent(m_labels.submitted);
}


bool OrderPane::ShowMyList(const QString& orderId) {
    const Read r = read(orderId);
    if (r == Read::Failed)
        tell(QString(), r);
    else if (r == Read::Missing && !orderId.isEmpty())
        m_prompts.message(OrderPaneTexts::OrderGone + u'\n' + OrderPaneTexts::ShownNone);
    return r == Read::Found;
}

OrderPane::Read OrderPane::read(const QString& orderId) {
    long affected = 0;
    Recordset rs =
        ServerConnection::instance().Execute(OrderStatements::Show(orderId, AppGlobals::LoginTel), affected);
    if (affected == 0) {
        // Another order's lines must never stand under this order's id: the pane goes back to the
        // order it can vouch for, and the next statement addresses that one.
        OrderLines::DrugFieldToFlex(m_lines, m_serverLines, true);
        m_labels = m_serverLabels;
        AppGlobals::CurrentOrderId = m_labels.orderId;
        return Read::Failed;
    }
    // Fields of a missing row read empty, so a vanished order shows as no order at all.
    m_serverLines = rs.Fields(Bown2Columns::Drug);
    OrderLines::DrugFieldToFlex(m_lines, m_serverLines, true);
    const OrderLines::Value v = OrderLines::OrderValue(m_lines);
    m_labels.cash = v.cashText();
    m_labels.deferred = v.deferredText();
    m_labels.orderId = FieldText(rs.Fields(Bown2Columns::OrderId));
    m_labels.date = FieldText(rs.Fields(Bown2Columns::Date));
    m_labels.tel = FieldText(rs.Fields(Bown2Columns::Tel));
    m_labels.submitted = FieldText(rs.Fields(Bown2Columns::Submitted));
    m_serverLabels = m_labels;
    AppGlobals::CurrentOrderId = m_labels.orderId;
    m_mustRead = false;
    return rs.isEOF() ? Read::Missing : Read::Found;
}

OrderPane::Read OrderPane::lookup(const QString& sql) {
    long affected = 0;
    const Recordset rs = ServerConnection::instance().Execute(sql, affected);
    return affected == 0 ? Read::Failed : rs.isEOF() ? Read::Missing : Read::Found;
}

QString OrderPane::shownLine() const {
    if (m_labels.orderId.isEmpty())
        return OrderPaneTexts::ShownNone;
    return (m_mustRead ? OrderPaneTexts::ShownBefore : OrderPaneTexts::ShownNow).arg(m_labels.orderId);
}

void OrderPane::tell(const QString& head, Read r) {
    // Whatever could not be read is read before the next write, and what is shown is not called the server's.
    if (r == Read::Failed)
        m_mustRead = true;
    QString text = head;
    if (r == Read::Failed)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + OrderPaneTexts::NotRead;
    m_prompts.message(text + u'\n' + shownLine());
}

bool OrderPane::settlePending() {
    if (!m_pending)
        m_pending = PendingOrder::Find(AppGlobals::LoginTel);
    if (!m_pending)
        return true;
    const Read made = lookup(OrderStatements::Made(*m_pending));
    if (made == Read::Failed) {
        tell(OrderPaneTexts::ReadFirstFailed, Read::Found);
        return false;
    }
    const PendingOrder::Record was = *std::exchange(m_pending, std::nullopt);
    PendingOrder::Forget(was);
    if (made == Read::Missing)
        return true;
    // Shown under its id even when the read that follows fails; its lines are known once read.
    m_serverLabels = {was.orderId, ModGFun::ShortestText(ModGFun::Val(was.date)), was.tel, QString(), {}, {}};
    accepted(QVariant());
    const Read r = read(was.orderId);
    if (r == Read::Failed)
        m_mustRead = true;
    tell(OrderPaneTexts::MadeBefore.arg(was.orderId), r);
    return false;
}

bool OrderPane::readFirst() {
    if (!settlePending())
        return false;
    if (!m_mustRead)
        return true;
    const OrderLabels before = m_labels;
    const QString beforeLines = OrderLines::EncodeGrid(m_lines);
    const Read r = read(AppGlobals::CurrentOrderId);
    if (r == Read::Failed) {
        tell(OrderPaneTexts::ReadFirstFailed, Read::Found);
        return false;
    }
    if (r == Read::Missing && !before.orderId.isEmpty()) {
        tell(OrderPaneTexts::GoneNotMade, r);
        return false;
    }
    if (m_labels.orderId != before.orderId || m_labels.submitted != before.submitted ||
        OrderLines::EncodeGrid(m_lines) != beforeLines) {
        tell(OrderPaneTexts::Refreshed, r);
        return false;
    }
    return true;
}

void OrderPane::settle(const WriteRoad::Result& w) {
    if (w.outcome == WriteRoad::Outcome::Unknown)
        m_mustRead = true;
    const Read r = read(AppGlobals::CurrentOrderId);
    // What the pane shows could not be checked against the server: it is read before the next write.
    if (r == Read::Failed)
        m_mustRead = true;
    switch (w.outcome) {
    case WriteRoad::Outcome::Saved:
        if (r == Read::Missing)
            tell(OrderPaneTexts::OrderGone, r);
        else if (r == Read::Failed)
            tell(QString(), r);
        break;
    case WriteRoad::Outcome::Taken:
        // The statement found no open order: what the pane remembered is not what the server holds.
        tell(r == Read::Missing ? OrderPaneTexts::GoneNotMade
             : isSent()         ? OrderPaneTexts::SentBefore
                                : OrderPaneTexts::NotMade,
             r);
        break;
    default:
        tell(WriteRoad::Text(w), r);
        break;
    }
}

void OrderPane::accepted(const QVariant& linesText) {
    m_serverLines = linesText;
    const OrderLines::Value v = OrderLines::OrderValue(FieldText(linesText));
    m_serverLabels.cash = v.cashText();
    m_serverLabels.deferred = v.deferredText();
}

void OrderPane::store() {
    const QString text = OrderLines::EncodeGrid(m_lines);
    const WriteRoad::Result w =
        WriteRoad::Run(OrderLines::StoreStatement(text, AppGlobals::CurrentOrderId, AppGlobals::LoginTel));
    if (w.saved())
        accepted(text);
    settle(w);
}

void OrderPane::SaveTable() {
    m_lines.setRows(OrderLines::Slots + 1);
    store();
}

WriteRoad::Result OrderPane::insertOrder(PendingOrder::Record& made, const QVariant& linesText, QDateTime& when,
                                         bool hold, bool& holdRefused) {
    return WriteRoad::Transaction(
        [&] {
            if (hold) {
                const WriteRoad::Result h = WriteRoad::Step(OrderStatements::HoldIds());
                holdRefused = h.outcome == WriteRoad::Outcome::Refused;
                if (!h.saved() && h.outcome != WriteRoad::Outcome::Taken) // no control row: nothing to hold
                    return h;
            }
            // Ids are times to the second; one the server holds already (here or in another copy)
            // is refused by the insert itself, and the next second is tried.
            for (int attempt = 0; attempt < 3600; ++attempt, when = when.addSecs(1)) {
                if (m_pending)
                    PendingOrder::Forget(*m_pending);
                made.orderId = when.toString(QStringLiteral("yyMMddhhmmss"));
                // Known before the insert can reach the server, so that no end of the program loses it.
                m_pending = made;
                PendingOrder::Keep(made);
                WriteRoad::Result r = WriteRoad::Step(OrderStatements::Insert(
                    made.orderId, made.tel, AppGlobals::LoginMarkaz, AppGlobals::LoginMohafaza, made.date, made.time));
                if (r.outcome == WriteRoad::Outcome::Taken)
                    continue;
                if (r.saved() && !linesText.isNull())
                    r = WriteRoad::Step(OrderLines::StoreStatement(linesText.toString(), made.orderId, made.tel));
                return r;
            }
            return WriteRoad::Result{WriteRoad::Outcome::Taken, 0, {}}; // an hour of taken ids
        },
        [&] {
            const Read r = lookup(OrderStatements::Made(made));
            return r == Read::Found ? 1 : r == Read::Missing ? 0 : -1;
        });
}

bool OrderPane::makeOrder(const QVariant& linesText) {
    // One reading of the clock for id, date and time, so an order made at midnight does not get
    // the id of one day and the date of the next.
    const QDateTime now = Clock::now();
    PendingOrder::Record made{AppGlobals::LoginTel, {}, Days::DateNumber(now.date()),
                              now.toString(QStringLiteral("hhmmss"))};
    QDateTime when = now;
    bool hold = true;
    WriteRoad::Result w;
    for (int round = 0; round < 3; ++round) {
        bool holdRefused = false;
        w = insertOrder(made, linesText, when, hold, holdRefused);
        if (w.outcome != WriteRoad::Outcome::Refused)
            break;
        if (holdRefused) {
            // A server that lets no copy write the control row: the insert's own check stands alone.
            hold = false;
            continue;
        }
        // A key that refused an id an older copy took meanwhile: the next second, else the refusal stands.
        if (lookup(OrderStatements::IdTaken(made.orderId)) != Read::Found)
            break;
        when = when.addSecs(1);
    }
    if (w.outcome == WriteRoad::Outcome::Unknown) {
        m_mustRead = true;
        tell(WriteRoad::Text(w), Read::Failed);
        return false;
    }
    m_pending.reset();
    PendingOrder::Forget(made);
    if (!w.saved()) {
        tell(w.outcome == WriteRoad::Outcome::Taken ? OrderPaneTexts::NotSaved : WriteRoad::Text(w), Read::Found);
        return false;
    }
    const QString id = made.orderId;
    // What the server now holds, should the read that follows fail. Date and time are numbers there.
    m_serverLabels = {id, ModGFun::ShortestText(ModGFun::Val(made.date)), AppGlobals::LoginTel, QString(), {}, {}};
    accepted(linesText);
    AppGlobals::CurrentOrderId = id;
    const Read r = read(id);
    if (r == Read::Failed)
        m_mustRead = true;
    if (r != Read::Found)
        tell(r == Read::Missing ? OrderPaneTexts::OrderGone : QString(), r);
    return true;
}

void OrderPane::NewOrder() {
    if (!readFirst() || !m_prompts.confirm(OrderPaneTexts::AskNewOrder, false))
        return;
    makeOrder(QVariant());
}

namespace {
bool plainNumber(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^\\s*[0-9]+(\\.[0-9]*)?\\s*$"));
    return plain.match(text).hasMatch();
}
} // namespace

void OrderPane::Reorder(const QString& sourceId) {
    if (!readFirst() || !m_prompts.confirm(OrderPaneTexts::AskReorder, false))
        return;
    ServerConnection& server = ServerConnection::instance();
    long affected = 0;
    Recordset rs = server.Execute(OrderStatements::Show(sourceId, AppGlobals::LoginTel), affected);
    if (affected == 0) {
        tell(QString(), Read::Failed);
        return;
    }
    if (rs.isEOF()) {
        tell(OrderPaneTexts::OrderGone, Read::Found);
        return;
    }
    const QString sourceLines = FieldText(rs.Fields(0));
    // Today's catalogue, as the server has it now: the one the editor opened with may be old.
    Recordset cat = server.Execute(OrderStatements::Catalogue(), affected);
    if (affected == 0) {
        tell(OrderPaneTexts::ReorderCatalogueNotRead, Read::Found);
        return;
    }
    struct Known {
        QString drug, price, discount;
    };
    QHash<QString, Known> byKey;
    for (; !cat.isEOF(); cat.MoveNext()) {
        const QString name = FieldText(cat.Fields(0));
        if (!name.isEmpty() && !byKey.contains(DrugNameKey(name)))
            byKey.insert(DrugNameKey(name), {name, FieldText(cat.Fields(1)), FieldText(cat.Fields(2))});
    }
    if (byKey.isEmpty()) {
        m_prompts.message(OrderPaneTexts::CatalogueEmpty);
        return;
    }
    std::vector<OrderLines::Line> lines;
    QHash<QString, size_t> lineOf;
    QStringList missing, joined;
    for (const OrderLines::Line& l : OrderLines::Decode(sourceLines)) {
        if (l.drug.isEmpty())
            continue;
        const QString key = DrugNameKey(l.drug);
        const auto known = byKey.constFind(key);
        if (known == byKey.constEnd()) {
            missing << l.drug;
            continue;
        }
        if (const auto at = lineOf.constFind(key); at != lineOf.constEnd()) {
            // One drug, one line: a second line of it adds its quantity where both are numbers.
            OrderLines::Line& first = lines[*at];
            if (plainNumber(first.quantity) && plainNumber(l.quantity)) {
                const QString sum = ModGFun::ShortestText(ModGFun::Val(first.quantity) + ModGFun::Val(l.quantity));
                joined << OrderPaneTexts::JoinedSum.arg(first.drug, first.quantity.trimmed(), l.quantity.trimmed(), sum);
                first.quantity = sum;
            } else {
                joined << OrderPaneTexts::JoinedKept.arg(first.drug, first.quantity, l.quantity);
            }
            continue;
        }
        lineOf.insert(key, lines.size());
        lines.push_back({known->drug, l.quantity, known->price, known->discount});
    }
    if (lines.empty()) {
        m_prompts.message(missing.isEmpty() ? OrderPaneTexts::ReorderNothing
                                            : OrderPaneTexts::ReorderNothing + u'\n' + missing.join(u'\n'));
        return;
    }
    if (!makeOrder(OrderLines::Encode(lines)))
        return;
    if (!missing.isEmpty())
        m_prompts.message(OrderPaneTexts::ReorderMissing + u'\n' + missing.join(u'\n'));
    if (!joined.isEmpty())
        m_prompts.message(OrderPaneTexts::ReorderJoined + u'\n' + joined.join(u'\n'));
}

void OrderPane::clearShown() {
    AppGlobals::CurrentOrderId.clear();
    m_labels.orderId.clear();
    m_labels.date.clear();
    m_labels.tel.clear();
    m_lines.setRows(1);
    m_lines.setRows(OrderLines::Slots + 1);
    m_serverLines = QVariant(); // a failed read later must not bring the deleted order back
    m_serverLabels = m_labels;
}

void OrderPane::DeleteOrder() {
    if (!readFirst())
        return;
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(OrderPaneTexts::NothingToDelete);
        return;
    }
    if (isSent()) {
        m_prompts.message(OrderPaneTexts::SentNoDelete);
        return;
    }
    if (!m_prompts.confirm(OrderPaneTexts::AskDeleteOrder, false))
        return;
    const WriteRoad::Result w = WriteRoad::Run(QStringLiteral("DELETE  FROM bown2 WHERE ") +
                                               OrderStatements::DeleteWhere(m_labels.orderId, AppGlobals::LoginTel));
    if (w.saved())
        clearShown();
    else
        settle(w);
}

void OrderPane::SendToPrepare() {
    if (!readFirst())
        return;
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(OrderPaneTexts::NoOrder);
        return;
    }
    if (isSent()) {
        m_prompts.message(OrderPaneTexts::AlreadySent);
        return;
    }
    if (!m_prompts.confirm(OrderPaneTexts::AskSend, true))
        return;
    const WriteRoad::Result w = WriteRoad::Run(OrderStatements::Send(AppGlobals::CurrentOrderId, AppGlobals::LoginTel));
    if (w.saved())
        m_serverLabels.submitted = QStringLiteral("101");
    settle(w);
}

void OrderPane::AddDrug(const QString& name, const QString& price, const QString& discount) {
    if (!readFirst())
        return;
    if (isSent()) {
        m_prompts.message(OrderPaneTexts::SentNoChange);
        return;
    }
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(OrderPaneTexts::NoOrder);
        return;
    }
    if (FLXMod::FlexFindText(m_lines, name, 0) > 0) {
        m_prompts.message(OrderPaneTexts::AlreadyAdded);
        return;
    }
    // The separators of the stored text cannot stand in a name without shifting every later slot.
    if (name.contains(u'^') || name.contains(u'|')) {
        m_prompts.message(OrderPaneTexts::BadDrugName);
        return;
    }
    const std::optional<int> slot = FLXMod::FlexFirstEmptyRow(m_lines);
    if (!slot || *slot > OrderLines::Slots) {
        m_prompts.message(OrderPaneTexts::OrderFull);
        return;
    }
    const double q = ModGFun::Val(m_prompts.input(OrderPaneTexts::QuantityPrompt));
    if (!(q > 0 && q <= 1000))
        return;
    const int r = *slot;
    m_lines.setTextMatrix(r, 0, name);
    m_lines.setTextMatrix(r, 1, ModGFun::ShortestText(q));
    m_lines.setTextMatrix(r, 2, price);
    m_lines.setTextMatrix(r, 3, discount);
    m_lines.setTextMatrix(r, 4, QStringLiteral("X"));
    m_lines.setRows(OrderLines::Slots + 1);
    store();
}

void OrderPane::LinesClick(int row, int col) {
    if (row < 1 || row >= m_lines.Rows() || m_lines.TextMatrix(row, 0).isEmpty())
        return;
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(OrderPaneTexts::NoOrder);
        return;
    }
    if (col != 1 && col != 4)
        return;
    if (!readFirst())
        return;
    if (isSent()) {
        m_prompts.message(OrderPaneTexts::SentNoChange);
        return;
    }
    if (col == 4) {
        if (!m_prompts.confirm(OrderPaneTexts::AskRemoveLine, false))
            return;
        m_lines.RemoveItem(row);
        SaveTable();
    } else {
        // Refused silently like 0: no pharmacy orders a million packs of one drug, and beyond that
        // the order value overflows and would read "inf".
        constexpr double MaxChangedQuantity = 1e6;
        const double q = ModGFun::Val(m_prompts.input(QString()));
        if (!(q > 0 && q <= MaxChangedQuantity))
            return;
        // Stored as the number it counts for, like a quantity given when adding: the sheet then
        // shows what is valued, and typed "^" or "|" cannot break the stored text.
        m_lines.setTextMatrix(row, 1, ModGFun::ShortestText(q));
        SaveTable();
    }
}
