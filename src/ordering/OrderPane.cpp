#include "ordering/OrderPane.h"

#include "data/AppGlobals.h"
#include "data/FieldText.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/OrderLines.h"
#include "ui/FLXMod.h"

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
    m_failureTold = false;
    return readBack(orderId);
}

bool OrderPane::readBack(const QString& orderId) {
    long affected = 0;
    QString error;
    Recordset rs = ServerConnection::instance().Execute(OrderStatements::Show(orderId), affected, &error);
    if (affected == 0) {
        // A lost server is no reason to forget the order: keep showing what it last held, so the
        // next action after it is back goes on with the same order.
        OrderLines::DrugFieldToFlex(m_lines, m_readLines, true);
        m_labels = m_readLabels;
        if (!m_failureTold)
            m_prompts.message(OrderText::NotRead);
        m_failureTold = false;
        return false;
    }
    m_failureTold = false;
    // Fields of a missing row read empty, so a vanished order shows as no order at all.
    m_readLines = rs.Fields(0);
    OrderLines::DrugFieldToFlex(m_lines, m_readLines, true);
    const OrderLines::Value v = OrderLines::OrderValue(m_lines);
    m_labels.cash = v.cashText();
    m_labels.deferred = v.deferredText();
    m_labels.orderId = FieldText(rs.Fields(1));
    m_labels.date = FieldText(rs.Fields(2));
    m_labels.tel = FieldText(rs.Fields(4));
    m_labels.submitted = FieldText(rs.Fields(7));
    m_readLabels = m_labels;
    return !rs.isEOF();
}

bool OrderPane::change(const QString& sql) {
    long affected = 0;
    QString error;
    ServerConnection::instance().Execute(sql, affected, &error);
    if (affected > 0)
        return true;
    m_prompts.message(error.isEmpty() ? OrderText::OrderGone : OrderText::NotSaved);
    m_failureTold = !error.isEmpty(); // the read-back that follows need not say it again
    return false;
}

bool OrderPane::store() {
    return change(OrderLines::StoreStatement(OrderLines::EncodeGrid(m_lines), AppGlobals::CurrentOrderId));
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

void OrderPane::NewOrder() {
    if (!m_prompts.confirm(OrderText::AskNewOrder, false))
        return;
    // One reading of the clock for id, date and time, so an order made at midnight does not get
    // the id of one day and the date of the next.
    const QDateTime now = clock();
    const QString id = freeOrderId(now);
    const QString previous = AppGlobals::CurrentOrderId;
    if (id.isEmpty()) {
        m_prompts.message(OrderText::NotSaved);
        m_failureTold = true;
        readBack(previous);
        return;
    }
    if (!change(OrderStatements::Insert(id, AppGlobals::LoginTel, AppGlobals::LoginMarkaz,
                                        AppGlobals::LoginMohafaza, now.toString(QStringLiteral("yyMMdd")),
                                        now.toString(QStringLiteral("hhmmss"))))) {
        readBack(previous);
        return;
    }
    AppGlobals::CurrentOrderId = id;
    readBack(id);
}

void OrderPane::DeleteOrder() {
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(OrderText::NothingToDelete);
        return;
    }
    if (isSent()) {
        m_prompts.message(OrderText::SentNoDelete);
        return;
    }
    if (!m_prompts.confirm(OrderText::AskDeleteOrder, false))
        return;
    QString error;
    const long affected =
        ModSQL::SQLDelete(QStringLiteral("bown2"), OrderStatements::DeleteWhere(m_labels.orderId), &error);
    if (affected == 0 && !error.isEmpty()) {
        m_prompts.message(OrderText::NotSaved);
        m_failureTold = true;
        readBack(AppGlobals::CurrentOrderId);
        return;
    }
    if (affected == 0)
        m_prompts.message(OrderText::OrderGone);
    AppGlobals::CurrentOrderId.clear();
    m_labels.orderId.clear();
    m_labels.date.clear();
    m_labels.tel.clear();
    m_lines.setRows(1);
    m_lines.setRows(OrderLines::Slots + 1);
    m_readLines = QVariant(); // a failed read later must not bring the deleted order back
    m_readLabels = m_labels;
}

void OrderPane::SendToPrepare() {
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(OrderText::NoOrder);
        return;
    }
    if (isSent()) {
        m_prompts.message(OrderText::AlreadySent);
        return;
    }
    if (!m_prompts.confirm(OrderText::AskSend, true))
        return;
    change(OrderStatements::Send(AppGlobals::CurrentOrderId));
    readBack(AppGlobals::CurrentOrderId);
}

void OrderPane::AddDrug(const QString& name, const QString& price, const QString& discount) {
    if (isSent()) {
        m_prompts.message(OrderText::SentNoChange);
        return;
    }
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(OrderText::NoOrder);
        return;
    }
    if (FLXMod::FlexFindText(m_lines, name, 0) > 0) {
        m_prompts.message(OrderText::AlreadyAdded);
        return;
    }
    // The separators of the stored text cannot stand in a name without shifting every later slot.
    if (name.contains(u'^') || name.contains(u'|')) {
        m_prompts.message(OrderText::BadDrugName);
        return;
    }
    const std::optional<int> slot = FLXMod::FlexFirstEmptyRow(m_lines);
    if (!slot || *slot > OrderLines::Slots) {
        m_prompts.message(OrderText::OrderFull);
        return;
    }
    const double q = ModGFun::Val(m_prompts.input(OrderText::QuantityPrompt));
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
    readBack(AppGlobals::CurrentOrderId);
}

void OrderPane::LinesClick(int row, int col) {
    if (row < 1 || row >= m_lines.Rows() || m_lines.TextMatrix(row, 0).isEmpty())
        return;
    if (m_labels.orderId.isEmpty()) {
        m_prompts.message(OrderText::NoOrder);
        return;
    }
    if (col == 4) {
        if (isSent()) {
            m_prompts.message(OrderText::SentNoChange);
            return;
        }
        if (!m_prompts.confirm(OrderText::AskRemoveLine, false))
            return;
        m_lines.RemoveItem(row);
        SaveTable();
        readBack(AppGlobals::CurrentOrderId);
    } else if (col == 1) {
        if (isSent()) {
            m_prompts.message(OrderText::SentNoChange);
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
        readBack(AppGlobals::CurrentOrderId);
    }
}
