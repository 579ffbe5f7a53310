#include "ordering/OrderPane.h"

#include "data/AppGlobals.h"
#include "data/Bown2Columns.h"
#include "data/FieldText.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/OrderLines.h"
#include "ui/FLXMod.h"

#include <QHash>

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
           QStringLiteral(" WHERE orderid='") + SqlEscape(orderId) + QStringLiteral("';");
}

QString DeleteWhere(const QString& orderId) {
    return QStringLiteral(" orderid = '") + SqlEscape(orderId) + QStringLiteral("'; ");
}

QString IdTaken(const QString& orderId) {
    return QStringLiteral("select orderid from bown2 where orderid = ") + SqlQuote(orderId) +
           QStringLiteral(" ;");
}

} // namespace OrderStatements

OrderPane::OrderPane(FlexGrid& lines, Prompts prompts) : m_lines(lines), m_prompts(std::move(prompts)) {}

bool OrderPane::isSent() const {
    return OrderLines::IsSent(m_labels.submitted);
}

bool OrderPane::ShowMyList(const QString& orderId) {
    return read(orderId, true);
}

bool OrderPane::read(const QString& orderId, bool tellFailure) {
    long affected = 0;
    QString error;
    Recordset rs = ServerConnection::instance().Execute(OrderStatements::Show(orderId), affected, &error);
    if (affected == 0) {
        // Another order's lines must never stand under this order's id: the pane goes back to the
        // order it can vouch for, and the next statement addresses that one.
        OrderLines::DrugFieldToFlex(m_lines, m_serverLines, true);
        m_labels = m_serverLabels;
        AppGlobals::CurrentOrderId = m_labels.orderId;
        if (tellFailure)
            m_prompts.message(FormUserBuyTexts::NotRead + u'\n' +
                              (m_labels.orderId.isEmpty() ? FormUserBuyTexts::ShownNone
                                                          : FormUserBuyTexts::ShownNow.arg(m_labels.orderId)));
        return false;
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
    return !rs.isEOF();
}

OrderPane::Outcome OrderPane::change(const QString& sql) {
    long affected = 0;
    QString error;
    ServerConnection::instance().Execute(sql, affected, &error);
    if (affected > 0)
        return Outcome::Changed;
    m_prompts.message(error.isEmpty() ? FormUserBuyTexts::OrderGone : FormUserBuyTexts::NotSaved);
    return error.isEmpty() ? Outcome::NoRow : Outcome::Failed;
}

void OrderPane::accepted(const QVariant& linesText) {
    m_serverLines = linesText;
    const OrderLines::Value v = OrderLines::OrderValue(FieldText(linesText));
    m_serverLabels.cash = v.cashText();
    m_serverLabels.deferred = v.deferredText();
}

void OrderPane::store() {
    const QString text = OrderLines::EncodeGrid(m_lines);
    const Outcome o = change(OrderLines::StoreStatement(text, AppGlobals::CurrentOrderId));
    if (o == Outcome::Changed)
        accepted(text);
    // A failure was told already; a read that fails after it must not tell again.
    read(AppGlobals::CurrentOrderId, o != Outcome::Failed);
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
        long affected = 0;
        Recordset rs = ServerConnection::instance().Execute(OrderStatements::IdTaken(id), affected);
        if (affected == 0)
            return {}; // the server cannot tell: a reconnected insert could take an id in use
        if (rs.isEOF())
            return id;
        when = when.addSecs(1);
    }
    return {}; // an hour of taken ids: refuse rather than share one
}

QString OrderPane::insertOrder(const QVariant& linesText) {
    // One reading of the clock for id, date and time, so an order made at midnight does not get
    // the id of one day and the date of the next.
    const QDateTime now = clock();
    const QString id = freeOrderId(now);
    if (id.isEmpty())
        return {};
    const QString date = now.toString(QStringLiteral("yyMMdd"));
    const QString insert = OrderStatements::Insert(id, AppGlobals::LoginTel, AppGlobals::LoginMarkaz,
                                                   AppGlobals::LoginMohafaza, date, now.toString(QStringLiteral("hhmmss")));
    ServerConnection& server = ServerConnection::instance();
    long affected = 0;
    if (linesText.isNull()) {
        server.Execute(insert, affected);
        if (affected <= 0)
            return {};
    } else {
        // An order with its lines comes whole or not at all.
        if (!server.BeginTrans())
            return {};
        server.Execute(insert, affected);
        if (affected > 0)
            server.Execute(OrderLines::StoreStatement(linesText.toString(), id), affected);
        if (affected <= 0) {
            server.RollbackTrans();
            return {};
        }
        if (!server.CommitTrans())
            return {};
    }
    // What the server now holds, should the read that follows fail. Date and time are numbers there.
    m_serverLabels = {id, ModGFun::ShortestText(ModGFun::Val(date)), AppGlobals::LoginTel, QString(), {}, {}};
    accepted(linesText);
    AppGlobals::CurrentOrderId = id;
    return id;
}

void OrderPane::NewOrder() {
    if (!m_prompts.confirm(FormUserBuyTexts::AskNewOrder, false))
        return;
    const QString id = insertOrder(QVariant());
    if (id.isEmpty()) {
        // Nothing was made: the order shown stays shown and addressed.
        m_prompts.message(FormUserBuyTexts::NotSaved);
        return;
    }
    read(id, true);
}

void OrderPane::Reorder(const QString& sourceId, const FlexGrid& catalogue) {
    if (!m_prompts.confirm(FormUserBuyTexts::AskReorder, false))
        return;
    if (catalogue.Rows() < 2) {
        m_prompts.message(FormUserBuyTexts::CatalogueEmpty);
        return;
    }
    long affected = 0;
    Recordset rs = ServerConnection::instance().Execute(OrderStatements::Show(sourceId), affected);
    if (affected == 0) {
        m_prompts.message(FormUserBuyTexts::NotRead);
        return;
    }
    if (rs.isEOF()) {
        m_prompts.message(FormUserBuyTexts::OrderGone);
        return;
    }
    QHash<QString, int> byName;
    byName.reserve(catalogue.Rows());
    for (int r = catalogue.Rows() - 1; r >= 1; --r)
        byName.insert(catalogue.TextMatrix(r, 0).toCaseFolded(), r);
    std::vector<OrderLines::Line> lines;
    QStringList missing;
    for (const OrderLines::Line& l : OrderLines::Decode(FieldText(rs.Fields(0)))) {
        if (l.drug.isEmpty())
            continue;
        const int r = byName.value(l.drug.toCaseFolded(), 0);
        if (r == 0) {
            missing << l.drug;
            continue;
        }
        lines.push_back({catalogue.TextMatrix(r, 0), l.quantity, catalogue.TextMatrix(r, 1), catalogue.TextMatrix(r, 2)});
    }
    if (lines.empty()) {
        m_prompts.message(missing.isEmpty() ? FormUserBuyTexts::ReorderNothing
                                            : FormUserBuyTexts::ReorderNothing + u'\n' + missing.join(u'\n'));
        return;
    }
    const QString id = insertOrder(OrderLines::Encode(lines));
    if (id.isEmpty()) {
        m_prompts.message(FormUserBuyTexts::NotSaved);
        return;
    }
    read(id, true);
    if (!missing.isEmpty())
        m_prompts.message(FormUserBuyTexts::ReorderMissing + u'\n' + missing.join(u'\n'));
}

void OrderPane::DeleteOrder() {
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
    if (affected == 0 && !error.isEmpty()) {
        m_prompts.message(FormUserBuyTexts::NotSaved);
        read(AppGlobals::CurrentOrderId, false);
        return;
    }
    if (affected == 0)
        m_prompts.message(FormUserBuyTexts::OrderGone);
    AppGlobals::CurrentOrderId.clear();
    m_labels.orderId.clear();
    m_labels.date.clear();
    m_labels.tel.clear();
    m_lines.setRows(1);
    m_lines.setRows(OrderLines::Slots + 1);
    m_serverLines = QVariant(); // a failed read later must not bring the deleted order back
    m_serverLabels = m_labels;
}

void OrderPane::SendToPrepare() {
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
    const Outcome o = change(OrderStatements::Send(AppGlobals::CurrentOrderId));
    if (o == Outcome::Changed)
        m_serverLabels.submitted = QStringLiteral("101");
    read(AppGlobals::CurrentOrderId, o != Outcome::Failed);
}

void OrderPane::AddDrug(const QString& name, const QString& price, const QString& discount) {
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
    if (col == 4) {
        if (isSent()) {
            m_prompts.message(FormUserBuyTexts::SentNoChange);
            return;
        }
        if (!m_prompts.confirm(FormUserBuyTexts::AskRemoveLine, false))
            return;
        m_lines.RemoveItem(row);
        SaveTable();
    } else if (col == 1) {
        if (isSent()) {
            m_prompts.message(FormUserBuyTexts::SentNoChange);
            return;
        }
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
