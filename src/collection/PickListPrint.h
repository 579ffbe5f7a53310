#pragma once

#include "collection/PickList.h"

#include <QString>
#include <vector>

class QWidget;

// The preparation-list menu items of the collected-orders window: read, then a print preview on
// the current printer, from which the lists are printed, or exported as PDF when the machine has
// no printer. Every failure is a message and prints nothing.
namespace PickListPrint {

// The order the window shows (its id as shown; empty when none is shown).
void PrintShownOrder(QWidget* parent, const QString& shownOrderId);
// Every order sent to preparation, one page each, as one job.
void PrintSentOrders(QWidget* parent);
void Preview(QWidget* parent, const std::vector<PickList::Page>& pages, const QString& title);


} // namespace PickListPrint
