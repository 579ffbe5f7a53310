#pragma once

#include "preparation/PickList.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

// The preparation-list menu items of the collected-orders window: read, then out on paper the one
// way every paper goes (the print preview on the current printer; without a printer, the one
// question, then a PDF file). Every failure is a message and prints nothing; lists are marked
// printed only when they went out.
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
// True when the pages went out: printed from the preview, or saved as a PDF file.
bool SendOut(QWidget* parent, const std::vector<PickList::Page>& pages, const QString& title,
             const QDateTime& printedAt);


} // namespace PickListPrint
