#pragma once

#include "ordering/OrderLines.h"
#include "paper/PaperForm.h"

#include <QDate>
#include <QDateTime>
#include <QPointF>
#include <QString>
#include <vector>

class QPagedPaintDevice;
class SheetPrinter;

// Preparation lists for the preparation room: A4 pages per order, headed by the pharmacy and the
// order, with the order's lines by drug name, a column to tick, its two values and lines to sign. Coordinates are millimetres of the sheet
// printer, (0, 0) at the top left of the printable area.
namespace PickList {

struct Page {
    QString pharmacy; // the client book's name, or the phone when the book has none
    QString tel;
    QString markaz;
    QString orderId;
    QString date;
    QString submitted;
    std::vector<OrderLines::Line> lines; // the order's non-empty slots, in slot order
    // What the order is allotted from received purchase orders, filled by a caller that reads the
    // buying tables; left empty the page is printed as the order alone.
    struct Allotted {
        double asked = 0;
        int allotted = -1; // -1: a drug the group has never taken up, delivered as asked
        float value = 0;   // value of what will be delivered
        int cancelled = 0; // units not available
    };
    std::vector<Allotted> allotted; // empty, or one per line
    OrderLines::Value delivered;    // cash and deferred value of what will be delivered
};

struct Read {
    bool ok = false;
    QString error; // the server's answer when the read failed
    std::vector<Page> pages;
    int withoutLines = 0; // orders left out because they hold no line
};

// Which sent orders a day's lists take.
struct Selection {
    enum Kind { AllSent, NotPrinted, Period, District } kind = AllSent;
    QDate from, to; // Period, both days included
    QString markaz; // District
};

// The group's own record of printed lists: one row per order, when it was first and last printed
// and how many times.
inline const QString PrintedTable = QStringLiteral("grp_printed");

// The order of that id as the server holds it now: one page, or none when it is gone.
Read ReadOrder(const QString& orderId);
// The selection's sent orders that hold lines, read with one statement (and, for those not yet
// printed, the printed ones with a second), in district, then pharmacy, then order id order (the
// window's own "AZ" text order).
Read ReadSentOrders(const Selection& selection = {});
QString SentOrdersQueryTail(const Selection& selection = {});

// Marks the pages' orders as printed now: one more time, the first time when there is no row yet.
// False with the server's answer when a mark was not written.
bool MarkPrinted(const std::vector<Page>& pages, const QDateTime& when, QString* error);
QString MarkStatement(const QString& orderId, const QDateTime& when);
QString FirstMarkStatement(const QString& orderId, const QDateTime& when);

// A page from the fields of a bown2 row (lines text, id, date, phone, district, status).
Page MakePage(const QString& linesText, const QString& orderId, const QString& date, const QString& tel,
              const QString& markaz, const QString& submitted);

// "مرسل الي التحضير" for a sent order, "لم يرسل بعد" otherwise.
QString StatusText(const QString& submitted);
// A line's value as the order values show it.
QString LineValueText(const OrderLines::Line& line);

// The lines table's columns on paper, from the right: header and left and right edges (mm).
struct ColumnSpan {
    QString header;
    double left, right;
};
std::vector<ColumnSpan> ColumnSpans(bool allotted = false);
// Lines of the table sit between these (mm); the values, the signatures and the foot below.
inline constexpr double LinesTop = 52;
inline constexpr double LinesBottom = 254;
// Everything drawn lies this far or more inside the paper's edges (mm): the pages are drawn from
// the paper's corner and fit the printable area of a printer with margins up to this.
inline constexpr double PrinterMarginRoom = PaperForm::PrinterMarginRoom;

// Draws every page as one job and ends the document: each order on as many pages as its lines
// take, its heading and the table's header row on each.
bool PrintPages(SheetPrinter& p, const std::vector<Page>& pages, const QDateTime& printedAt);
bool printOnDevice(QPagedPaintDevice& device, QPointF originMm, const std::vector<Page>& pages,
                   const QDateTime& printedAt);
bool printToPdf(const QString& path, const std::vector<Page>& pages, const QDateTime& printedAt);

} // namespace PickList
