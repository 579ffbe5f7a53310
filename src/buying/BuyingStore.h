#pragma once

#include "buying/DeliveryShare.h"
#include "buying/OfferBook.h"
#include "buying/PeriodDemand.h"
#include "buying/PurchasePlan.h"
#include "data/GroupTables.h"
#include "data/WriteRoad.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

// The group's buying tables on ServerConnection: wholesalers, offers, purchase orders, receipts,
// the state of each sent order line the group has taken up, and the group's stock. Every write
// that must stand whole runs in one transaction, and every write carries in its WHERE clause the
// state it assumes.
namespace BuyingStore {

// The tables of the first buying windows, and those the order lines' state added.
QStringList Tables();
QStringList LineTables();
// Whether the server holds every buying table (connecting first): Missing without the first ones,
// Older without the added ones.
GroupTables::Presence CheckTables(QString* error);

bool ReadOfferBook(OfferBook& book, QString* error);
// A new wholesaler under the next free number (w.id then names it). The insert itself refuses a
// wholesaler of the same name and phone (Taken, w.id naming the one there), so a retry after a
// lost reply makes no second one.
WriteRoad::Result AddWholesaler(Wholesaler& w);
// Offers as one whole: all or none.
WriteRoad::Result AddOffers(const std::vector<Offer>& offers);

// The sent orders of the period with what the server holds of their lines and the group's stock:
// the open units a plan takes. With book, the offer book too (read while the demand is made; left
// as it was when any read fails).
PeriodDemand ReadOpenDemand(const GroupDemand::Period& period, OfferBook* book = nullptr);

struct KeptLine {
    QString poid;
    int lineseq = 0;
    QString drug;
    double quantity = 0, price = 0, discount = 0, value = 0, received = 0;
    QString rule; // the rule its units were last shared by (stored name)
};
struct KeptOrder {
    QString poid, batch, podate;
    int wholesaler = 0;
    QString periodFrom, periodTo, status; // kept, partly, received, closed
    double total = 0;
    std::vector<KeptLine> lines;
};
// The purchase orders still open (kept, partly received, received), newest first; with closed,
// the closed ones too.
bool ReadOrders(std::vector<KeptOrder>& out, bool closed, QString* error);

// Keeps the plan in one transaction: each open order line it takes gets its units allotted from
// the group's stock (by rule), put on order in its drug's purchase-order line, or cancelled, each
// write only while the line is as read (Taken otherwise: nothing written). The purchase orders
// are numbered "<batch>/k"; the batch number, unique on the server, goes to batch.
WriteRoad::Result KeepPlan(const PurchasePlan& plan, const PeriodDemand& demand, const OfferBook& offers,
                           DeliveryShare::Rule rule, const QDateTime& now, QString* batch);

// Records the total received on a line and shares it by rule among the order lines on order in
// it, as the server holds them now; units beyond what they asked go to the group's stock. The line
// must still hold line.received and its order be open. A correction that would take back surplus
// units the group's stock no longer holds is a Taken with its own reason.
WriteRoad::Result Receive(const KeptLine& line, double received, DeliveryShare::Rule rule, const QDateTime& now);

// The rest of the order will not come: the units still on order in it go back to open (the next
// plan buys them) or, with cancelRest, are cancelled; the order is closed.
WriteRoad::Result Close(const KeptOrder& order, bool cancelRest);

// The group's stock of a drug: its own row, else the catalogue's figure as opening count.
struct Stock {
    QString key, drug;
    int quantity = 0;
    bool row = false;
};
bool ReadStock(std::vector<Stock>& out, QString* error);
// The manager's count of a drug the group holds in stock (assumed as read).
WriteRoad::Result CountStock(const Stock& assumed, int counted, const QDateTime& now);

struct Allotment {
    QString poid;
    int lineseq = 0;
    QString orderid, drug, tel;
    double asked = 0;
    int allotted = 0;
};
// What each order on order in a purchase-order line was allotted from it.
bool ReadShares(const QString& poid, int lineseq, std::vector<Allotment>& out, QString* error);

// An order line's state as the server holds it.
struct LineState {
    QString orderid, drugkey, drug;
    int asked = 0, onorder = 0, allotted = 0, cancelled = 0;
    QString poid;
    int open() const { return asked - onorder - allotted - cancelled; }
};
// The lines of these orders, a few hundred orders a statement; with keys, every drug key the group
// has taken up a line of.
bool ReadLineStates(const QStringList& orderids, std::vector<LineState>& out, QSet<QString>* keys, QString* error);

// The statement that selects the orders whose lines the group still has in a purchase order or has
// not yet delivered (allotted or cancelled): the old orders' purge keeps them.
QString UndeliveredOrders();

// A drug's figures, side by side: of its taken-up lines asked = allotted + onorder + open +
// cancelled; received + stockUsed = allotted + heldOver.
struct Figures {
    QString key, drug;
    long long asked = 0, allotted = 0, onorder = 0, open = 0, cancelled = 0;
    long long received = 0, stockUsed = 0, heldOver = 0, counted = 0, stock = 0;
};
bool ReadFigures(std::vector<Figures>& out, QString* error);

// What is still to come from each wholesaler: lines of open purchase orders received short.
struct Pending {
    int wholesaler = 0;
    QString poid, drug;
    double quantity = 0, received = 0;
};
bool ReadPending(std::vector<Pending>& out, QString* error);

} // namespace BuyingStore
