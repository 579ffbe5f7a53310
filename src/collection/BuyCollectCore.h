#pragma once

#include "data/Bown2Columns.h"
#include "data/WriteRoad.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// What the collected-orders window computes and sends, apart from its widgets.
namespace BuyCollect {

// Names replace the phone in the orders list; the district is the address.
inline constexpr int NameColumn = Bown2Columns::Tel;
inline constexpr int AddressColumn = Bown2Columns::Markaz;
inline constexpr int OrderIdColumn = Bown2Columns::OrderId;
inline constexpr int MinDays = 50;

struct DaysAnswer {
    enum Check { Ok, TooFew, TooMany } check = TooFew;
    int days = 0;
};
// The answer read as a number and rounded to a 16-bit count, halves to even; below 50 (also an
// empty or non-numeric answer, and far below zero) is too few, above the 16-bit range too many.
DaysAnswer ParseDays(const QString& answer);

// now minus days, as the number YYMMDD (no leading zero). A day before 2000 would wrap its
// two-digit year past every real order date, so it stops at the first day of 2000.
QString DeleteCutoff(const QDateTime& now, int days);
// The orders older than cutoff, leaving those the statement keep selects when it is given.
QString DeleteClause(const QString& cutoff, const QString& keep = {});
// How many orders older than cutoff keep selects: the purge leaves them. read is Saved when they
// were counted; otherwise nothing has been deleted and read says why. keepTables are the group's
// tables keep reads: a server without them keeps no order (counted 0).
struct Kept {
    WriteRoad::Result read;
    int orders = 0;
};
Kept CountKept(const QString& cutoff, const QString& keep, const QStringList& keepTables);
// Deletes the orders older than cutoff, leaving those keep selects (when given); a lost reply is
// settled by counting what is left.
WriteRoad::Result Purge(const QString& cutoff, const QString& keep = {});

// The order id of a cell as plain digits (leading-number parse; 0 when none).
QString OrderIdText(const QString& cellText);
QString OrderQuery(const QString& orderIdText);

} // namespace BuyCollect
