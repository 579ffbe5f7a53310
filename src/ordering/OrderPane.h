#pragma once

#include "data/FlexGrid.h"
#include "data/PendingOrder.h"
#include "data/WriteRoad.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>


namespace OrderStatements {
// Every statement about the pharmacist's own order names the phone beside the id.
QString Show(const QString& orderId, const QString& tel);
// Makes the order unless an order holds its id: the insert itself refuses a taken id (no row).
QString Insert(const QString& orderId, const QString& tel, const QString& markaz, const QString& mohafaza,
               const QString& date, const QString& time);
QString Send(const QString& orderId, const QString& tel);
// The condition SQLDelete puts after " WHERE ": the order, while it is open.
QString DeleteWhere(const QString& orderId, const QString& tel);
// Whether any order holds the id.
QString IdTaken(const QString& orderId);
// Whether the order this copy made is on the server: its id, phone, date and time.
QString Made(const PendingOrder::Record& r);
// Copies making orders take turns on the control row until their commit, so the check of one
// insert sees what the other made.
QString HoldIds();
// The catalogue as ordering again reads it: name, price, discount.
QString Catalogue();
} // namespace OrderStatements

struct OrderLabels {
    QString orderId, date, tel, submitted, cash, deferred;
};

// The order side of the order editor without a screen: which order is shown, its lines in an order
// grid, and the actions that create, recall, delete, send and change it. Every change goes to the
// server at once and the order is then read back, so the pane shows what the server holds.
class OrderPane {
public:
    // How the pane talks to the pharmacist; the window wires these to its message and input boxes.
    struct Prompts {
        std::function<void(const QString&)> message;
        std::function<bool(const QString&, bool rightAligned)> confirm; // true unless No
        std::function<QString(const QString&)> input;                   // "" when cancelled
    };

    OrderPane(FlexGrid& lines, Prompts prompts);

    const OrderLabels& labels() const { return m_labels; }
    FlexGrid& lines() { return m_lines; }
    // Reads order orderId from the server and shows it; false when no row was found (the pharmacist
    // is told, and nothing is shown). When the server cannot be read, the order shown before stays
    // shown, CurrentOrderId names it again and the pharmacist is told which order that is.
    bool ShowMyList(const QString& orderId);
    // Stores the order grid as the lines of the open order, then shows the order again.
    void SaveTable();

    void NewOrder();
    void DeleteOrder();
    void SendToPrepare();
    void AddDrug(const QString& name, const QString& price, const QString& discount);
    // A click on (row, col) of the order grid.
    void LinesClick(int row, int col);
    // A new order with the drugs and quantities of order sourceId at the prices and discounts the
    // catalogue on the server has now; the source order is not touched.
    void Reorder(const QString& sourceId);

    bool hasOrder() const { return !m_labels.orderId.isEmpty(); }
    bool isSent() const;
    // A change's outcome is not known and no read has succeeded since: the next write reads first.
    bool mustRead() const { return m_mustRead; }

private:
    enum class Read { Found, Missing, Failed };
    // Reads orderId into the pane. Found and Missing (nothing shown then) make CurrentOrderId name
    // what is shown; Failed puts back the last state the server is known to hold and names that.
    Read read(const QString& orderId);
    // Whether a query finds a row, without touching the pane.
    Read lookup(const QString& sql);
    // The line of a message that names the order now shown.
    QString shownLine() const;
    void tell(const QString& head, Read r);
    // Before a write: a pending unknown outcome is settled by reading first. False when the action
    // must stop (the pharmacist has been told why).
    bool readFirst();
    // A new order of this phone whose making had no reply, here or in an earlier editor or run, is
    // looked for first. False when the action must stop (told why).
    bool settlePending();
    // After a statement that changed (or meant to change) the shown order: reads it again and tells
    // what became of the change.
    void settle(const WriteRoad::Result& w);
    // Stores the grid; what the server accepted becomes the state a failed read falls back to.
    void store();
    // Remembers text as the lines the server holds for the shown order.
    void accepted(const QVariant& linesText);
    // Makes a new order (with its lines text, when not null) as one unit and shows it; true when it
    // was made. Failures are told.
    bool makeOrder(const QVariant& linesText);
    // One transaction that inserts made under the first free id from when onwards (made.orderId
    // names it), with its lines. hold: take turns on the control row first.
    WriteRoad::Result insertOrder(PendingOrder::Record& made, const QVariant& linesText, QDateTime& when, bool hold,
                                  bool& holdRefused);
    void clearShown();

    FlexGrid& m_lines;
    Prompts m_prompts;
    OrderLabels m_labels;
    // What the server holds for the shown order as far as the pane knows: its last read, or what
    // a statement since then changed in it.
    QVariant m_serverLines;
    OrderLabels m_serverLabels;
    bool m_mustRead = false;
    // A new order whose making had no reply: looked for before the next write, so a retry does not
    // make a second one. Kept in PendingOrder's file too, should the editor or the program end.
    std::optional<PendingOrder::Record> m_pending;
};
