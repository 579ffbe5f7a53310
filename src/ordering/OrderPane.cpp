#include "ordering/OrderPane.h"

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

QString Show(const QString& orderId) {
    return QStringLiteral("select *  from bown2 where orderid = '") + SqlEscape(orderId) +
           QStringLiteral("' ;");
}

QString Insert(const QString& orderId, const QString& tel, const QString& markaz, const QString& mohafaza,
               const QString& date, const QString& time) {
    return QStringLiteral("INSERT INTO bown2 (orderid,tel,markaz,mohafaza,date,timee)") +
           QStringLiteral("VALUES(") + SqlQuote(orderId) + u',' + SqlQuote(tel) + u',' + SqlQuote(markaz) +
           u',' + SqlQuote(mohafaza) + u',' + SqlQuote(date) + u',' + SqlQuote(time) + u')';
}

QString Send(const QString& orderId) {
    return QStringLiteral(" UPDATE bown2  SET ") + QStringLiteral(" submitted = '101' ") +
           QStringLiteral(" WHERE orderid='") + SqlEscape(orderId) + u'\'' + OrderLines::StillOpen + u';';
}

QString DeleteWhere(const QString& orderId) {
    return QStringLiteral(" orderid = '") + SqlEscape(orderId) + u'\'' + OrderLines::StillOpen +
           QStringLiteral("; ");
}

QString IdTaken(const QString& orderId) {
    return QStringLiteral("select orderid from bown2 where orderid = ") + SqlQuote(orderId) +
           QStringLiteral(" ;");
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
        m_prompts.message(FormUserBuyTexts::OrderGone + u'\n' + FormUserBuyTexts::ShownNone);
    return r == Read::Found;
}

OrderPane::Read OrderPane::read(const QString& orderId) {
    long affected = 0;
    Recordset rs = ServerConnection::instance().Execute(OrderStatements::Show(orderId), affected);
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

OrderPane::Read OrderPane::lookup(const QString& id) {
    long affected = 0;
    const Recordset rs = ServerConnection::instance().Execute(OrderStatements::IdTaken(id), affected);
    return affected == 0 ? Read::Failed : rs.isEOF() ? Read::Missing : Read::Found;
}

QString OrderPane::shownLine() const {
    if (m_labels.orderId.isEmpty())
        return FormUserBuyTexts::ShownNone;
    return (m_mustRead ? FormUserBuyTexts::ShownBefore : FormUserBuyTexts::ShownNow).arg(m_labels.orderId);
}

void OrderPane::tell(const QString& head, Read r) {
    QString text = head;
    if (r == Read::Failed)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + FormUserBuyTexts::NotRead;
    m_prompts.message(text + u'\n' + shownLine());
}

OrderPane::Outcome OrderPane::execute(const QString& sql) {
    long affected = 0;
    QString error;
    ServerConnection::instance().Execute(sql, affected, &error);
    if (affected > 0)
        return Outcome::Changed;
    // A failed statement may have been carried out with only its reply lost.
    return error.isEmpty() ? Outcome::NoRow : Outcome::Unknown;
}

bool OrderPane::readFirst() {
    if (!m_pendingId.isEmpty()) {
        const Read made = lookup(m_pendingId);
        if (made == Read::Failed) {
            tell(FormUserBuyTexts::ReadFirstFailed, Read::Found);
            return false;
        }
        const QString id = std::exchange(m_pendingId, QString());
        if (made == Read::Found) {
            const Read r = read(id);
            tell(FormUserBuyTexts::MadeBefore.arg(id), r);
            return false;
        }
    }
    if (!m_mustRead)
        return true;
    const OrderLabels before = m_labels;
    const QString beforeLines = OrderLines::EncodeGrid(m_lines);
    const Read r = read(AppGlobals::CurrentOrderId);
    if (r == Read::Failed) {
        tell(FormUserBuyTexts::ReadFirstFailed, Read::Found);
        return false;
    }
    if (r == Read::Missing && !before.orderId.isEmpty()) {
        tell(FormUserBuyTexts::GoneNotMade, r);
        return false;
    }
    if (m_labels.orderId != before.orderId || m_labels.submitted != before.submitted ||
        OrderLines::EncodeGrid(m_lines) != beforeLines) {
        tell(FormUserBuyTexts::Refreshed, r);
        return false;
    }
    return true;
}

void OrderPane::settle(Outcome o) {
    if (o == Outcome::Unknown)
        m_mustRead = true;
    const Read r = read(AppGlobals::CurrentOrderId);
    switch (o) {
    case Outcome::Changed:
        if (r == Read::Missing)
            tell(FormUserBuyTexts::OrderGone, r);
        else if (r == Read::Failed)
            tell(QString(), r);
        break;
    case Outcome::NoRow:
        // The statement found no open order: what the pane remembered is not what the server holds.
        if (r == Read::Failed)
            m_mustRead = true;
        tell(r == Read::Missing ? FormUserBuyTexts::GoneNotMade
             : isSent()         ? FormUserBuyTexts::SentBefore
                                : FormUserBuyTexts::NotMade,
             r);
        break;
    case Outcome::Unknown:
        tell(FormUserBuyTexts::OutcomeUnknown, r);
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
    const Outcome o = execute(OrderLines::StoreStatement(text, AppGlobals::CurrentOrderId));
    if (o == Outcome::Changed)
        accepted(text);
    settle(o);
}

void OrderPane::SaveTable() {
    m_lines.setRows(OrderLines::Slots + 1);
    store();
}

QString OrderPane::freeOrderId(QDateTime when) {
    // Ids are times to the second; a second order within the same second (here or in another copy)
    // takes the next free second instead of sharing the id.
    for (int attempt = 0; attempt < 3600; ++attempt) {
        const QString id = when.toString(QStringLiteral("yyMMddhhmmss"));
        const Read r = lookup(id);
        if (r == Read::Failed)
            return {}; // the server cannot tell: a reconnected insert could take an id in use
        if (r == Read::Missing)
            return id;
        when = when.addSecs(1);
    }
    return {}; // an hour of taken ids: refuse rather than share one
}

bool OrderPane::makeOrder(const QVariant& linesText) {
    // One reading of the clock for id, date and time, so an order made at midnight does not get
    // the id of one day and the date of the next.
    const QDateTime now = clock();
    // The id is chosen before anything is written, so after a lost reply the order can be looked for.
    const QString id = freeOrderId(now);
    if (id.isEmpty()) {
        tell(FormUserBuyTexts::NotSaved, Read::Found);
        return false;
    }
    const QString date = now.toString(QStringLiteral("yyMMdd"));
    const QString insert = OrderStatements::Insert(id, AppGlobals::LoginTel, AppGlobals::LoginMarkaz,
                                                   AppGlobals::LoginMohafaza, date, now.toString(QStringLiteral("hhmmss")));
    ServerConnection& server = ServerConnection::instance();
    Outcome o = Outcome::Changed;
    if (linesText.isNull()) {
        o = execute(insert);
    } else {
        // An order with its lines comes whole or not at all: before the commit, a failure leaves nothing.
        if (!server.BeginTrans()) {
            tell(FormUserBuyTexts::NotSaved, Read::Found);
            return false;
        }
        o = execute(insert);
        if (o == Outcome::Changed)
            o = execute(OrderLines::StoreStatement(linesText.toString(), id));
        if (o != Outcome::Changed) {
            server.RollbackTrans();
            tell(FormUserBuyTexts::NotSaved, Read::Found);
            return false;
        }
        if (!server.CommitTrans())
            o = Outcome::Unknown;
    }
    if (o == Outcome::NoRow) {
        tell(FormUserBuyTexts::NotSaved, Read::Found);
        return false;
    }
    if (o == Outcome::Unknown) {
        const Read made = lookup(id);
        if (made == Read::Failed) {
            m_pendingId = id;
            m_mustRead = true;
            tell(FormUserBuyTexts::OutcomeUnknown, made);
            return false;
        }
        if (made == Read::Missing) {
            tell(FormUserBuyTexts::NotSaved, Read::Found);
            return false;
        }
    }
    // What the server now holds, should the read that follows fail. Date and time are numbers there.
    m_serverLabels = {id, ModGFun::ShortestText(ModGFun::Val(date)), AppGlobals::LoginTel, QString(), {}, {}};
    accepted(linesText);
    AppGlobals::CurrentOrderId = id;
    const Read r = read(id);
    if (r != Read::Found)
        tell(r == Read::Missing ? FormUserBuyTexts::OrderGone : QString(), r);
    return true;
}

void OrderPane::NewOrder() {
    if (!readFirst() || !m_prompts.confirm(FormUserBuyTexts::AskNewOrder, false))
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
    if (!readFirst() || !m_prompts.confirm(FormUserBuyTexts::AskReorder, false))
        return;
    ServerConnection& server = ServerConnection::instance();
    long affected = 0;
    Recordset rs = server.Execute(OrderStatements::Show(sourceId), affected);
    if (affected == 0) {
        tell(QString(), Read::Failed);
        return;
    }
    if (rs.isEOF()) {
        tell(FormUserBuyTexts::OrderGone, Read::Found);
        return;
    }
    const QString sourceLines = FieldText(rs.Fields(0));
    // Today's catalogue, as the server has it now: the one the editor opened with may be old.
    Recordset cat = server.Execute(OrderStatements::Catalogue(), affected);
    if (affected == 0) {
        tell(FormUserBuyTexts::ReorderCatalogueNotRead, Read::Found);
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
        m_prompts.message(FormUserBuyTexts::CatalogueEmpty);
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
                joined << FormUserBuyTexts::JoinedSum.arg(first.drug, first.quantity.trimmed(), l.quantity.trimmed(), sum);
                first.quantity = sum;
            } else {
                joined << FormUserBuyTexts::JoinedKept.arg(first.drug, first.quantity, l.quantity);
            }
            continue;
        }
        lineOf.insert(key, lines.size());
        lines.push_back({known->drug, l.quantity, known->price, known->discount});
    }
    if (lines.empty()) {
        m_prompts.message(missing.isEmpty() ? FormUserBuyTexts::ReorderNothing
                                            : FormUserBuyTexts::ReorderNothing + u'\n' + missing.join(u'\n'));
        return;
    }
    if (!makeOrder(OrderLines::Encode(lines)))
        return;
    if (!missing.isEmpty())
        m_prompts.message(FormUserBuyTexts::ReorderMissing + u'\n' + missing.join(u'\n'));
    if (!joined.isEmpty())
        m_prompts.message(FormUserBuyTexts::ReorderJoined + u'\n' + joined.join(u'\n'));
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
        m_prompts.message(FormUserBuyTexts::NothingToDelete);
        return;
    }
    if (isSent()) {
        m_prompts.message(FormUserBuyTexts::SentNoDelete);
        return;
    }
    if (!m_prompts.confirm(FormUserBuyTexts::AskDeleteOrder, false))
        return;
    QString error;
    const long affected =
        ModSQL::SQLDelete(QStringLiteral("bown2"), OrderStatements::DeleteWhere(m_labels.orderId), &error);
    if (affected > 0)
        clearShown();
    else
        settle(error.isEmpty() ? Outcome::NoRow : Outcome::Unknown);
}

void OrderPane::SendToPrepare() {
    if (!readFirst())
        return;
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(FormUserBuyTexts::NoOrder);
        return;
    }
    if (isSent()) {
        m_prompts.message(FormUserBuyTexts::AlreadySent);
        return;
    }
    if (!m_prompts.confirm(FormUserBuyTexts::AskSend, true))
        return;
    const Outcome o = execute(OrderStatements::Send(AppGlobals::CurrentOrderId));
    if (o == Outcome::Changed)
        m_serverLabels.submitted = QStringLiteral("101");
    settle(o);
}

void OrderPane::AddDrug(const QString& name, const QString& price, const QString& discount) {
    if (!readFirst())
        return;
    if (isSent()) {
        m_prompts.message(FormUserBuyTexts::SentNoChange);
        return;
    }
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(FormUserBuyTexts::NoOrder);
        return;
    }
    if (FLXMod::FlexFindText(m_lines, name, 0) > 0) {
        m_prompts.message(FormUserBuyTexts::AlreadyAdded);
        return;
    }
    // The separators of the stored text cannot stand in a name without shifting every later slot.
    if (name.contains(u'^') || name.contains(u'|')) {
        m_prompts.message(FormUserBuyTexts::BadDrugName);
        return;
    }
    const std::optional<int> slot = FLXMod::FlexFirstEmptyRow(m_lines);
    if (!slot || *slot > OrderLines::Slots) {
        m_prompts.message(FormUserBuyTexts::OrderFull);
        return;
    }
    const double q = ModGFun::Val(m_prompts.input(FormUserBuyTexts::QuantityPrompt));
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
        m_prompts.message(FormUserBuyTexts::NoOrder);
        return;
    }
    if (col != 1 && col != 4)
        return;
    if (!readFirst())
        return;
    if (isSent()) {
        m_prompts.message(FormUserBuyTexts::SentNoChange);
        return;
    }
    if (col == 4) {
        if (!m_prompts.confirm(FormUserBuyTexts::AskRemoveLine, false))
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
