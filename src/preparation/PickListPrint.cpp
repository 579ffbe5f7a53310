#include "preparation/PickListPrint.h"

#include "preparation/PickListTexts.h"

#include "buying/BuyingStore.h"
#include "buying/OrderAllotments.h"

#include "collection/BuyCollectCore.h"
#include "data/Clock.h"
#include "data/GroupTables.h"
#include "ui/Dialogs.h"
#include "ui/FileQuestion.h"
#include "ui/PaperOut.h"

#include <QHash>
#include <algorithm>

namespace PickListPrint {

namespace {
bool printedTableThere(QWidget* parent) {
    QString error;
    switch (GroupTables::Check({PickList::PrintedTable}, &error)) {
    case GroupTables::Presence::Present:
        return true;
    case GroupTables::Presence::Missing:
    case GroupTables::Presence::Older:
        Dialogs::MsgBox(GroupTables::MissingMessage(), Dialogs::vbOKOnly, parent);
        return false;
    case GroupTables::Presence::ServerFailed:
        break;
    }
    Dialogs::MsgBox(PickListTexts::ListReadFailed + error, Dialogs::vbOKOnly, parent);
    return false;
}

void markPrinted(QWidget* parent, const std::vector<PickList::Page>& pages, const QDateTime& when) {
    QString error;
    if (PickList::MarkPrinted(pages, when, &error))
        return;
    QString why;
    if (GroupTables::Check({PickList::PrintedTable}, &why) == GroupTables::Presence::Missing)
        Dialogs::MsgBox(PickListTexts::NotMarkedNoTable + GroupTables::MissingMessage(), Dialogs::vbOKOnly,
                        parent);
    else
        Dialogs::MsgBox(PickListTexts::NotMarked + error, Dialogs::vbOKOnly, parent);
}
} // namespace

void PrintShownOrder(QWidget* parent, const QString& shownOrderId) {
    if (shownOrderId.trimmed().isEmpty()) {
        Dialogs::MsgBox(PickListTexts::NoOrderShown, Dialogs::vbOKOnly, parent);
        return;
    }
    const PickList::Read read = PickList::ReadOrder(shownOrderId);
    if (!read.ok) {
        Dialogs::MsgBox(PickListTexts::OrderReadFailed + read.error, Dialogs::vbOKOnly, parent);
        return;
    }
    if (read.pages.empty()) {
        Dialogs::MsgBox(PickListTexts::OrderGone, Dialogs::vbOKOnly, parent);
        return;
    }
    std::vector<PickList::Page> pages = read.pages;
    if (QString error; !AddAllotments(pages, &error)) {
        Dialogs::MsgBox(PickListTexts::OrderReadFailed + error, Dialogs::vbOKOnly, parent);
        return;
    }
    const QDateTime when = Clock::now();
    if (SendOut(parent, pages, PickListTexts::MenuPickList, when)) {
        // The shown order's list is marked too where the group's table is there; else it is not told.
        QString error;
        if (GroupTables::Check({PickList::PrintedTable}, &error) == GroupTables::Presence::Present)
            markPrinted(parent, read.pages, when);
    }
}


void PrintSentOrders(QWidget* parent, const PickList::Selection& selection) {
    if (selection.kind == PickList::Selection::NotPrinted && !printedTableThere(parent))
        return;
    const PickList::Read read = PickList::ReadSentOrders(selection);
    if (!read.ok) {
        Dialogs::MsgBox(PickListTexts::ListReadFailed + read.error, Dialogs::vbOKOnly, parent);
        return;
    }
    QString told = read.pages.empty() ? PickListTexts::NoSentOrders : QString();
    if (read.withoutLines > 0)
        told += (told.isEmpty() ? QString() : QStringLiteral("\n")) +
                PickListTexts::LeftOutWithoutLines.arg(read.withoutLines);
    if (!told.isEmpty())
        Dialogs::MsgBox(told, Dialogs::vbOKOnly, parent);
    if (read.pages.empty())
        return;
    std::vector<PickList::Page> pages = read.pages;
    if (QString error; !AddAllotments(pages, &error)) {
        Dialogs::MsgBox(PickListTexts::ListReadFailed + error, Dialogs::vbOKOnly, parent);
        return;
    }
    const QDateTime when = Clock::now();
    if (SendOut(parent, pages, PickListTexts::MenuPickListsAll, when))
        markPrinted(parent, pages, when);
}

bool AddAllotments(std::vector<PickList::Page>& pages, QString* error) {
    switch (BuyingStore::CheckTables(error)) {
    case GroupTables::Presence::Missing:
    case GroupTables::Presence::Older:
        return true;
    case GroupTables::Presence::ServerFailed:
        return false;
    case GroupTables::Presence::Present:
        break;
    }
    // All the pages' allotments in a few statements, not one per order.
    QStringList ids;
    for (const PickList::Page& page : pages)
        ids << BuyCollect::OrderIdText(page.orderId);
    std::vector<BuyingStore::LineState> all;
    QSet<QString> taken;
    if (!BuyingStore::ReadLineStates(ids, all, &taken, error))
        return false;
    QHash<QString, std::vector<BuyingStore::LineState>> byOrder;
    for (BuyingStore::LineState& a : all)
        byOrder[BuyCollect::OrderIdText(a.orderid)].push_back(std::move(a));
    for (PickList::Page& page : pages) {
        const OrderAllotments got =
            OrderAllotments::Of(page.lines, byOrder.value(BuyCollect::OrderIdText(page.orderId)), taken);
        page.allotted.clear();
        if (!got.any)
            continue;
        for (const OrderAllotments::Line& l : got.lines)
            page.allotted.push_back({l.asked, l.allotted, l.value, l.cancelled});
        page.delivered = got.delivered;
    }
    return true;
}

bool SendOut(QWidget* parent, const std::vector<PickList::Page>& pages, const QString& title,
             const QDateTime& printedAt) {
    // Drawn from the paper's corner, inside the room every printer leaves: drawn from the printable
    // area's corner, a printer's margins would push the right edge and foot off it.
    const PaperOut::Result r = PaperOut::Send(
        parent, {title, Qt::RightToLeft,
                 [&](QPagedPaintDevice& device, QPointF origin) {
                     return PickList::printOnDevice(device, origin, pages, printedAt);
                 },
                 [&](const QString& path) { return PickList::printToPdf(path, pages, printedAt); },
                 [parent, &title] {
                     return FileQuestion::SavePath(parent, title, FileQuestion::Kind::Pdf,
                                                   QStringLiteral("pick-lists.pdf"));
                 }, PickListTexts::FileNotSaved,
                 [parent] { Dialogs::MsgBox(PickListTexts::PickListsNotPrinted, Dialogs::vbOKOnly, parent); }});
    return PaperOut::WentOut(r);
}

} // namespace PickListPrint
