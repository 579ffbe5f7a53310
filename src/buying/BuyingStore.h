#pragma once

#include "buying/DeliveryShare.h"
#include "buying/OfferBook.h"
#include "buying/PeriodDemand.h"
#include "buying/PurchasePlan.h"
#include "data/GroupTables.h"
#include "data/WriteRoad.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

// The group's buying tables on ServerConnection: wholesalers, offers, purchase orders, receipts
// and allotments. Every write that must stand whole runs in one transaction, and every write
// carries in its WHERE clause the state it assumes.
namespace BuyingStore {

QStringList Tables();
// Whether the server holds every buying table (connecting first).
GroupTables::Presence CheckTables(QString* error);

enum class Outcome {
    Saved,
    Taken,       // the server holds another state than the one assumed: nothing written
    HasReceipts, // purchase orders already received cannot be replaced
    Failed,      // not saved
    Unknown,     // the reply was lost and reading back failed: it may have been saved
};

bool ReadOfferBook(OfferBook& book, QString* error);
// A new wholesaler under the next free number (w.id then names it). The insert itself refuses a
// wholesaler of the same name and phone (Taken, w.id naming the one there), so a retry after a
// lost reply makes no second one.
WriteRoad::Result AddWholesaler(Wholesaler& w);
// Offers as one whole: all or none.
WriteRoad::Result AddOffers(const std::vector<Offer>& offers);

// The purchase orders last made from a period's demand.
struct Batch {
    QString batch, demand, madeat;
    bool exists() const { return !batch.isEmpty(); }
};
bool ReadBatch(const GroupDemand::Period& period, Batch& out, QString* error);

struct KeptLine {
    QString poid;
    int lineseq = 0;
    QString drug;
    double quantity = 0, price = 0, discount = 0, value = 0, received = 0;
};
struct KeptOrder {
    QString poid, batch, podate;
    int wholesaler = 0;
    QString periodFrom, periodTo, demand, status;
    double total = 0;
    std::vector<KeptLine> lines;
};
bool ReadOrders(const QString& batch, std::vector<KeptOrder>& out, QString* error);

// Keeps the plan's purchase orders under batch id newBatch (order k is "<newBatch>/k"). assumed is
// the batch the copy read for the period (empty when none): its kept orders are marked replaced,
// unless another copy has made purchase orders since (Taken) or they were received (HasReceipts).
Outcome KeepOrders(const PurchasePlan& plan, const OfferBook& offers, const Batch& assumed, int assumedKept,
                   const QString& newBatch, const QDateTime& now, QString* error);

// Records the total received on a line and keeps its shares: assumedReceived is the total the copy
// read; the line must still hold it and its order be kept.
Outcome Receive(const KeptLine& line, double received, const std::vector<PeriodDemand::Share>& shares,
                DeliveryShare::Rule rule, const QDateTime& now, QString* error);

struct Allotment {
    QString poid;
    int lineseq = 0;
    QString orderid, drug, tel;
    double asked = 0;
    int allotted = 0;
};
// What each order of a kept purchase order's line gets.
bool ReadShares(const QString& poid, int lineseq, std::vector<Allotment>& out, QString* error);
// Per drug what each of the orders asked for and is allotted, from kept purchase orders; the rows
// of all of them together, read a few hundred orders a statement.
bool ReadAllotments(const QStringList& orderids, std::vector<Allotment>& out, QString* error);

} // namespace BuyingStore
