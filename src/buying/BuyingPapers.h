#pragma once

#include "paper/TablePaper.h"
#include "buying/BuyingStore.h"
#include "sheets/XlsxSheet.h"

#include <functional>

// What the buying papers say: a purchase order for its wholesaler, and a drug's distribution
// sheet for the preparation room (each pharmacy's share with a tick column).
namespace BuyingPapers {

QString Number(double v); // as the papers and grids show money and quantities: up to two decimals

TablePaper::Input PurchaseOrder(const BuyingStore::KeptOrder& order, const Wholesaler& wholesaler,
                                 const QDateTime& printedAt);
// The same order as a worksheet: numbers as numbers, the total as a bold last row.
XlsxSheet PurchaseOrderSheet(const BuyingStore::KeptOrder& order, const Wholesaler& wholesaler);
// nameOf: the client book's name for a phone ("" when none).
TablePaper::Input Distribution(const BuyingStore::KeptLine& line, const std::vector<BuyingStore::Allotment>& shares,
                                DeliveryShare::Rule rule, const std::function<QString(const QString&)>& nameOf,
                                const QDateTime& printedAt);

} // namespace BuyingPapers
