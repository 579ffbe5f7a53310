#pragma once

#include "preparation/PickList.h"

#include <QString>
#include <vector>

class QWidget;

// The preparation-list menu items of the collected-orders window: read, then a print preview on
// the current printer, from which the lists are printed, or exported as PDF when the machine has
// no printer. Every failure is a message and prints nothing.
namespace PickListPrint {

// The order the window shows (its id as shown; empty when none is shown).
void PrintShownOrder(QWidget* parent, const QString& shownOrderId);
// The selection's sent orders, each on its pages, as one job; orders without lines are left out and
// counted. What is printed is marked printed in the group's table; a server without that table
// still prints, and the manager is told which script makes it.
void PrintSentOrders(QWidget* parent, const PickList::Selection& selection = {});
// Fills each page's allotments from kept purchase orders where any is recorded for its order; a
// server without the buying tables leaves the pages as they are. False with the server's answer
// when they could not be read.
bool AddAllotments(std::vector<PickList::Page>& pages, QString* error);
// True when the pages were printed from the preview.
bool Preview(QWidget* parent, const std::vector<PickList::Page>& pages, const QString& title);


} // namespace PickListPrint
