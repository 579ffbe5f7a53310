#pragma once

#include "ordering/OrderLines.h"

#include <QDateTime>
#include <QPointF>
#include <QString>
#include <vector>

class QPagedPaintDevice;
class SheetPrinter;

// Preparation lists: one A4 page per order for the preparation room, headed by the pharmacy and
// the order, with the order's lines and its two values. Coordinates are millimetres of the sheet
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
};

struct Read {
    bool ok = false;
    QString error; // the server's answer when the read failed
    std::vector<Page> pages;
};

// The order of that id as the server holds it now: one page, or none when it is gone.
Read ReadOrder(const QString& orderId);
// Every order sent to preparation, read with one statement, in district, then pharmacy, then
// order id order (the window's own "AZ" text order).
Read ReadSentOrders();
QString SentOrdersQueryTail();

// A page from the fields of a bown2 row (lines text, id, date, phone, district, status).
Page MakePage(const QString& linesText, const QString& orderId, const QString& date, const QString& tel,
              const QString& markaz, const QString& submitted);

// "مرسل الي التحضير" for a sent order, "لم يرسل بعد" otherwise.
QString StatusText(const QString& submitted);
// A line's value as the order values show it.
QString LineValueText(const OrderLines::Line& line);

// Draws every page as one job and ends the document.
bool PrintPages(SheetPrinter& p, const std::vector<Page>& pages, const QDateTime& printedAt);
bool printOnDevice(QPagedPaintDevice& device, QPointF originMm, const std::vector<Page>& pages,
                   const QDateTime& printedAt);
bool printToPdf(const QString& path, const std::vector<Page>& pages, const QDateTime& printedAt);

} // namespace PickList
