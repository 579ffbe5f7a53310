#include "collection/PickList.h"

#include "catalogue/OrderSheet.h"
#include "catalogue/SheetPrinter.h"
#include "collection/BuyCollectCore.h"
#include "collection/ModOmla.h"
#include "data/FieldText.h"
#include "data/FlexGrid.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"

#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace PickList {

namespace {
// bown2 columns.
constexpr int FDrug = 0;
constexpr int FOrderId = 1;
constexpr int FDate = 2;
constexpr int FTel = 4;
constexpr int FMarkaz = 5;
constexpr int FSubmitted = 7;

// The page, millimetres from the top left of the printable area.
constexpr double Left = 10;
constexpr double Width = 190;
constexpr double Right = Left + Width;
constexpr double HeaderTop = 16;
constexpr double HeaderRow = 8;
constexpr double LinesTop = 46;
constexpr double LinesBottom = 262; // the values table and the footer stay below
constexpr double FooterTop = 284;
constexpr double MmPerPoint = 25.4 / 72.0;
constexpr double MinFontSize = 5;

// A lines block, its columns from the right: number, drug, quantity, price, discount, value.
struct Block {
    double widths[6];
};
constexpr Block WholeWidth{{10, 80, 22, 24, 22, 32}};
constexpr Block HalfWidth{{7, 38, 11, 13, 10, 15}};
constexpr double BlockGap = 2;
// Up to this many lines stand in one column of full-width rows; more go into two side by side.
constexpr int OneBlockLines = 35;

enum class Align { Right, Centre };

// Prints text in the cell, its size lowered until it fits so that no name is cut.
void cellText(SheetPrinter& p, const QString& text, double x, double w, double top, double h, double size,
              Align align) {
    if (text.isEmpty())
        return;
    p.setFontSize(size);
    const double s = p.fittingSize(text, w - 1.2, MinFontSize);
    p.setFontSize(s);
    const double tw = p.textWidth(text);
    const double x0 = align == Align::Right ? x + w - 0.8 - tw : x + (w - tw) / 2;
    p.setCurrentX(x0);
    p.setCurrentY(top + (h - 1.15 * s * MmPerPoint) / 2);
    p.print(text);
    p.setFontSize(size);
}

// The ruled table the order sheet uses, widths given from the left.
void rule(SheetPrinter& p, double left, double top, int rows, double rowHeight, const QList<double>& widths) {
    QStringList list;
    for (double w : widths)
        list << QString::number(w);
    OrderSheet::DrawTableGrid(p, float(left), float(top), rows, float(rowHeight), 8, list.join(u';'));
}

// One block of lines; right is its right edge. Returns nothing: rows past lines stay empty.
void drawBlock(SheetPrinter& p, const Block& b, double right, double rowHeight, double size,
               const std::vector<OrderLines::Line>& lines, size_t first, size_t count) {
    QList<double> fromLeft;
    double width = 0;
    for (int c = 5; c >= 0; --c) {
        fromLeft << b.widths[c];
        width += b.widths[c];
    }
    const double left = right - width;
    rule(p, left, LinesTop, int(count) + 1, rowHeight, fromLeft);
    // Cell c's left edge, counting c from the right.
    auto cellLeft = [&](int c) {
        double x = right;
        for (int k = 0; k <= c; ++k)
            x -= b.widths[k];
        return x;
    };
    static const QString headers[6] = {QStringLiteral("م"),      QStringLiteral("الدواء"),
                                       QStringLiteral("الكمية"), QStringLiteral("السعر"),
                                       QStringLiteral("الخصم"),  QStringLiteral("القيمة")};
    p.setFontBold(true);
    for (int c = 0; c < 6; ++c)
        cellText(p, headers[c], cellLeft(c), b.widths[c], LinesTop, rowHeight, size, Align::Centre);
    p.setFontBold(false);
    for (size_t i = 0; i < count; ++i) {
        const OrderLines::Line& l = lines[first + i];
        const double top = LinesTop + double(i + 1) * rowHeight;
        const QString cells[6] = {QString::number(first + i + 1),
                                  l.drug,
                                  l.quantity,
                                  l.price,
                                  l.discount.isEmpty() ? QString() : l.discount + u'%',
                                  LineValueText(l)};
        for (int c = 0; c < 6; ++c)
            cellText(p, cells[c], cellLeft(c), b.widths[c], top, rowHeight, size,
                     c == 1 ? Align::Right : Align::Centre);
    }
}

void drawPage(SheetPrinter& p, const Page& page, int number, int count, const QDateTime& printedAt) {
    p.setFontBold(true);
    cellText(p, QStringLiteral("قائمة تحضير الاوردر"), Left, Width, 4, 10, 15, Align::Centre);

    // Pharmacy on the right half, the order on the left, each caption right of its value.
    rule(p, Left, HeaderTop, 3, HeaderRow, {67, 28, 67, 28});
    const QString captions[6] = {QStringLiteral("الصيدلية"), QStringLiteral("التليفون"),
                                 QStringLiteral("المركز"),   QStringLiteral("رقم الاوردر"),
                                 QStringLiteral("التاريخ"),  QStringLiteral("حالة الاوردر")};
    const QString values[6] = {page.pharmacy, page.tel,  page.markaz,
                               page.orderId,  page.date, StatusText(page.submitted)};
    for (int i = 0; i < 6; ++i) {
        const double top = HeaderTop + (i % 3) * HeaderRow;
        const double half = i < 3 ? Left + 95 : Left;
        p.setFontBold(true);
        cellText(p, captions[i], half + 67, 28, top, HeaderRow, 11, Align::Centre);
        p.setFontBold(false);
        cellText(p, values[i], half, 67, top, HeaderRow, 11, Align::Right);
    }

    const size_t n = page.lines.size();
    double bottom = LinesTop;
    if (n <= size_t(OneBlockLines)) {
        drawBlock(p, WholeWidth, Right, 6, 10, page.lines, 0, n);
        bottom += double(n + 1) * 6;
    } else {
        const size_t firstHalf = (n + 1) / 2;
        const double h = std::min(6.0, (LinesBottom - LinesTop) / double(firstHalf + 1));
        const double size = h >= 5.5 ? 9 : 8;
        const double blockWidth = (Width - BlockGap) / 2;
        drawBlock(p, HalfWidth, Right, h, size, page.lines, 0, firstHalf);
        drawBlock(p, HalfWidth, Right - blockWidth - BlockGap, h, size, page.lines, firstHalf, n - firstHalf);
        bottom += double(firstHalf + 1) * h;
    }

    const OrderLines::Value value = OrderLines::OrderValue(page.lines);
    const double valuesTop = bottom + 4;
    rule(p, Left, valuesTop, 1, 8, {45, 50, 45, 50});
    p.setFontBold(true);
    cellText(p, QStringLiteral("قيمة الفاتورة عند الدفع نقدا"), Left + 140, 50, valuesTop, 8, 10,
             Align::Centre);
    cellText(p, QStringLiteral("قيمة الفاتورة عند الدفع  اجل"), Left + 45, 50, valuesTop, 8, 10,
             Align::Centre);
    cellText(p, value.cashText(), Left + 95, 45, valuesTop, 8, 11, Align::Centre);
    cellText(p, value.deferredText(), Left, 45, valuesTop, 8, 11, Align::Centre);
    p.setFontBold(false);

    cellText(p, OrderSheet::PrintDateText(printedAt), Left, 40, FooterTop, 5, 8, Align::Centre);
    cellText(p, QStringLiteral("صفحة %1 من %2").arg(number).arg(count), Right - 40, 40, FooterTop, 5, 8,
             Align::Right);
}

std::vector<OrderLines::Line> filledLines(const QString& text) {
    std::vector<OrderLines::Line> lines = OrderLines::Decode(text);
    lines.erase(
        std::remove_if(lines.begin(), lines.end(), [](const OrderLines::Line& l) { return l.isEmpty(); }),
        lines.end());
    return lines;
}

QString pharmacyName(const QString& tel) {
    const QString name = ModOmla::ClientNameByTel(tel);
    return name.isEmpty() ? tel : name;
}
} // namespace

Page MakePage(const QString& linesText, const QString& orderId, const QString& date, const QString& tel,
              const QString& markaz, const QString& submitted) {
    return {pharmacyName(tel), tel, markaz, orderId, date, submitted, filledLines(linesText)};
}

QString StatusText(const QString& submitted) {
    return OrderLines::IsSent(submitted) ? QStringLiteral("مرسل الي التحضير") : QStringLiteral("لم يرسل بعد");
}

QString LineValueText(const OrderLines::Line& line) {
    return OrderLines::OrderValue(std::vector<OrderLines::Line>{line}).cashText();
}

Read ReadOrder(const QString& orderId) {
    Read r;
    long affected = 0;
    const Recordset rs =
        ServerConnection::instance().Execute(BuyCollect::OrderQuery(orderId), affected, &r.error);
    if (affected == 0)
        return r;
    r.ok = true;
    if (!rs.isEOF())
        r.pages.push_back(MakePage(FieldText(rs.Fields(FDrug)), FieldText(rs.Fields(FOrderId)),
                                   FieldText(rs.Fields(FDate)), FieldText(rs.Fields(FTel)),
                                   FieldText(rs.Fields(FMarkaz)), FieldText(rs.Fields(FSubmitted))));
    return r;
}

QString SentOrdersQueryTail() {
    return QStringLiteral("bown2 WHERE submitted = ") + ModSQL::SqlQuote(QStringLiteral("101")) +
           QStringLiteral(" ;");
}

Read ReadSentOrders() {
    Read r;
    FlexGrid g(1, 0);
    if (!ModSQL::SQLSelectToFlex(g, SentOrdersQueryTail(), &r.error)) {
        if (r.error.isEmpty())
            r.error = ServerConnection::instance().lastError();
        return r;
    }
    r.ok = true;
    const int name = g.Cols();
    g.setCols(name + 1);
    for (int row = 1; row < g.Rows(); ++row)
        g.setTextMatrix(row, name, pharmacyName(g.TextMatrix(row, FTel)));
    // Least significant key first: the sort keeps the order of equal keys. Rows without a
    // district or a pharmacy come last.
    for (int key : {FOrderId, name, FMarkaz}) {
        g.setCol(key);
        g.Sort(FlexGrid::SortStringAscending, true);
    }
    r.pages.reserve(size_t(g.Rows() - 1));
    for (int row = 1; row < g.Rows(); ++row) {
        Page page{g.TextMatrix(row, name),
                  g.TextMatrix(row, FTel),
                  g.TextMatrix(row, FMarkaz),
                  g.TextMatrix(row, FOrderId),
                  g.TextMatrix(row, FDate),
                  g.TextMatrix(row, FSubmitted),
                  filledLines(g.TextMatrix(row, FDrug))};
        r.pages.push_back(std::move(page));
    }
    return r;
}

bool PrintPages(SheetPrinter& p, const std::vector<Page>& pages, const QDateTime& printedAt) {
    const int count = int(pages.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !p.newPage())
            return false;
        drawPage(p, pages[size_t(i)], i + 1, count, printedAt);
    }
    return p.endDoc();
}

bool printOnDevice(QPagedPaintDevice& device, QPointF originMm, const std::vector<Page>& pages,
                   const QDateTime& printedAt) {
    SheetPrinter p(&device, originMm);
    if (!p.begin())
        return false;
    return PrintPages(p, pages, printedAt);
}

bool printToPdf(const QString& path, const std::vector<Page>& pages, const QDateTime& printedAt) {
    QPdfWriter pdf(path);
    pdf.setResolution(600);
    pdf.setTitle(QStringLiteral("Brentoval"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return printOnDevice(pdf, {}, pages, printedAt);
}

} // namespace PickList
