#include "preparation/PickList.h"

#include "catalogue/OrderSheet.h"
#include "paper/A4Pdf.h"
#include "paper/PaperForm.h"
#include "paper/SheetPrinter.h"
#include "collection/BuyCollectCore.h"
#include "demand/GroupDemand.h"
#include "collection/ModOmla.h"
#include "data/Bown2Columns.h"
#include "data/Clock.h"
#include "data/Days.h"
#include "data/FieldText.h"
#include "data/FlexGrid.h"
#include "data/ModSQL.h"
#include "data/WriteRoad.h"
#include "data/ServerConnection.h"
#include "data/TextOrder.h"

#include <QSet>
#include <algorithm>
#include <cmath>

namespace PickList {

namespace {
using Align = SheetPrinter::Align;

// The page, millimetres from the top left of the paper. Everything stays 13 mm or more inside
// the A4 edges (the footer 12.9 mm above the bottom): the printable area of a printer with margins
// up to half an inch.
constexpr double Left = 13;
constexpr double Width = 184;
constexpr double Right = Left + Width;
constexpr double TitleTop = 13;
constexpr double HeaderTop = 24;
constexpr double HeaderRow = 8;
constexpr double HeaderValue = Width / 2 - 28; // each half: a value, then its 28 mm caption
constexpr double ValuesHeight = 8;
constexpr double SignTop = 268;
constexpr double FooterTop = 279;
constexpr double MinRowHeight = 6;
constexpr double HeaderRowHeight = 8;
constexpr double LineSize = 10;
constexpr double CellPadding = 1.2;

// The columns of the lines table, from the right. A column of width 0 takes what the others leave.
// A page with allotments shows the quantity asked in place of the quantity as written, what is
// allotted and the value of what will be delivered.
struct Column {
    enum Shown { Always, Plain, Allotted } shown;
    QString header;
    double width;
    Align align;
    QString (*text)(const Page& page, size_t i);
};
const std::vector<Column>& allColumns() {
    static const std::vector<Column> c{
        {Column::Always, QStringLiteral("م"), 10, Align::Centre, [](const Page&, size_t i) { return QString::number(i + 1); }},
        {Column::Always, QStringLiteral("الدواء"), 0, Align::Right, [](const Page& p, size_t i) { return p.lines[i].drug; }},
        {Column::Plain, QStringLiteral("الكمية"), 20, Align::Centre,
         [](const Page& p, size_t i) { return p.lines[i].quantity; }},
        {Column::Allotted, QStringLiteral("المطلوب"), 16, Align::Centre,
         [](const Page& p, size_t i) { return QString::number(p.allotted[i].asked); }},
        {Column::Allotted, QStringLiteral("المخصص"), 16, Align::Centre,
         [](const Page& p, size_t i) {
             return p.allotted[i].allotted < 0 ? QStringLiteral("-") : QString::number(p.allotted[i].allotted);
         }},
        {Column::Allotted, QStringLiteral("غير متوفر"), 16, Align::Centre,
         [](const Page& p, size_t i) {
             return p.allotted[i].cancelled > 0 ? QString::number(p.allotted[i].cancelled) : QString();
         }},
        {Column::Always, QStringLiteral("السعر"), 20, Align::Centre, [](const Page& p, size_t i) { return p.lines[i].price; }},
        {Column::Always, QStringLiteral("الخصم"), 16, Align::Centre,
         [](const Page& p, size_t i) { return p.lines[i].discount.isEmpty() ? QString() : p.lines[i].discount + u'%'; }},
        {Column::Always, QStringLiteral("القيمة"), 26, Align::Centre,
         [](const Page& p, size_t i) { return LineValueText(p.lines[i]); }},
        {Column::Allotted, QStringLiteral("قيمة المسلم"), 26, Align::Centre,
         [](const Page& p, size_t i) { return OrderLines::ValueOfSum(p.allotted[i].value).cashText(); }},
        // Ticked by hand as each line is put in the box.
        {Column::Always, QStringLiteral("تم"), 11, Align::Centre, [](const Page&, size_t) { return QString(); }},
    };
    return c;
}
bool hasAllotted(const Page& page) {
    return !page.allotted.empty() && page.allotted.size() == page.lines.size();
}
std::vector<Column> columns(bool allotted) {
    std::vector<Column> out;
    for (const Column& c : allColumns())
        if (c.shown == Column::Always || (c.shown == Column::Allotted) == allotted)
            out.push_back(c);
    return out;
}
std::vector<double> columnWidths(const std::vector<Column>& cols) {
    std::vector<double> w;
    double fixed = 0;
    for (const Column& c : cols)
        fixed += c.width;
    for (const Column& c : cols)
        w.push_back(c.width > 0 ? c.width : Width - fixed);
    return w;
}

// The ruled table the order sheet uses, widths given from the left.
void rule(SheetPrinter& p, double left, double top, int rows, double rowHeight, const QList<double>& widths) {
    QStringList list;
    for (double w : widths)
        list << QString::number(w);
    OrderSheet::DrawTableGrid(p, float(left), float(top), rows, float(rowHeight), 8, list.join(u';'));
}

void cellText(SheetPrinter& p, const QString& text, double x, double w, double top, double h, double size,
              Align align) {
    if (!text.isEmpty())
        p.printInCell(p.fitInto(text, w - CellPadding, size, PaperForm::SmallestPoints), x, w, top, h, align);
}

// The lines as they go on paper: every cell fitted, each row as high as its tallest cell.
struct Row {
    std::vector<SheetPrinter::Fit> cells;
    double height = MinRowHeight;
};
std::vector<Row> layOutRows(SheetPrinter& p, const Page& page, const std::vector<Column>& cols) {
    const std::vector<double> widths = columnWidths(cols);
    std::vector<Row> rows;
    rows.reserve(page.lines.size());
    for (size_t i = 0; i < page.lines.size(); ++i) {
        Row row;
        for (size_t c = 0; c < cols.size(); ++c) {
            const QString text = cols[c].text(page, i);
            SheetPrinter::Fit fit = text.isEmpty() ? SheetPrinter::Fit{LineSize, {}}
                                                   : p.fitInto(text, widths[c] - CellPadding, LineSize, PaperForm::SmallestPoints);
            row.height = std::max(row.height, SheetPrinter::heightOf(fit));
            row.cells.push_back(std::move(fit));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// Where each sheet of an order starts in its rows; the values table goes below the last row.
std::vector<size_t> sheetStarts(const std::vector<Row>& rows, double bottom) {
    std::vector<size_t> starts{0};
    double y = LinesTop + HeaderRowHeight;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (y + rows[i].height > bottom && i > starts.back()) {
            starts.push_back(i);
            y = LinesTop + HeaderRowHeight;
        }
        y += rows[i].height;
    }
    return starts;
}

void drawLines(SheetPrinter& p, const std::vector<Column>& cols, const std::vector<Row>& rows, size_t first,
               size_t end, double& bottom) {
    const std::vector<double> widths = columnWidths(cols);
    auto cellLeft = [&](size_t c) {
        double x = Right;
        for (size_t k = 0; k <= c; ++k)
            x -= widths[k];
        return x;
    };
    QList<double> fromLeft;
    for (auto it = widths.rbegin(); it != widths.rend(); ++it)
        fromLeft << *it;
    rule(p, Left, LinesTop, 1, HeaderRowHeight, fromLeft);
    p.setFontBold(true);
    for (size_t c = 0; c < cols.size(); ++c)
        cellText(p, cols[c].header, cellLeft(c), widths[c], LinesTop, HeaderRowHeight, LineSize, Align::Centre);
    p.setFontBold(false);
    double top = LinesTop + HeaderRowHeight;
    for (size_t i = first; i < end; ++i) {
        const Row& row = rows[i];
        rule(p, Left, top, 1, row.height, fromLeft);
        for (size_t c = 0; c < row.cells.size(); ++c)
            p.printInCell(row.cells[c], cellLeft(c), widths[c], top, row.height, cols[c].align);
        top += row.height;
    }
    bottom = top;
}

void drawHeading(SheetPrinter& p, const Page& page) {
    p.setFontBold(true);
    cellText(p, QStringLiteral("قائمة تحضير الاوردر"), Left, Width, TitleTop, 10, 15, Align::Centre);
    // Pharmacy on the right half, the order on the left, each caption right of its value.
    rule(p, Left, HeaderTop, 3, HeaderRow, {HeaderValue, 28, HeaderValue, 28});
    const QString captions[6] = {QStringLiteral("الصيدلية"), QStringLiteral("التليفون"),
                                 QStringLiteral("المركز"),   QStringLiteral("رقم الاوردر"),
                                 QStringLiteral("التاريخ"),  QStringLiteral("حالة الاوردر")};
    const QString values[6] = {page.pharmacy, page.tel,  page.markaz,
                               page.orderId,  Days::DateNumberText(page.date), StatusText(page.submitted)};
    for (int i = 0; i < 6; ++i) {
        const double top = HeaderTop + (i % 3) * HeaderRow;
        const double half = i < 3 ? Left + Width / 2 : Left;
        p.setFontBold(true);
        cellText(p, captions[i], half + HeaderValue, 28, top, HeaderRow, 11, Align::Centre);
        p.setFontBold(false);
        // A heading cell keeps its one row: a name too long for it is cut rather than run over.
        p.setFontSize(11);
        const double size = p.fittingSize(values[i], HeaderValue - CellPadding, PaperForm::SmallestPoints);
        p.setFontSize(size);
        p.printInCell({size, {p.elided(values[i], HeaderValue - CellPadding)}}, half, HeaderValue, top, HeaderRow,
                      Align::Right);
    }
}

void drawValues(SheetPrinter& p, const Page& page, double top) {
    constexpr double ValueWidth = Width / 2 - 50; // each half: a value, then its 50 mm caption
    const OrderLines::Value value = OrderLines::OrderValue(page.lines);
    rule(p, Left, top, 1, ValuesHeight, {ValueWidth, 50, ValueWidth, 50});
    p.setFontBold(true);
    cellText(p, QStringLiteral("قيمة الفاتورة عند الدفع نقدا"), Left + Width / 2 + ValueWidth, 50, top, ValuesHeight, 10,
             Align::Centre);
    cellText(p, QStringLiteral("قيمة الفاتورة عند الدفع  اجل"), Left + ValueWidth, 50, top, ValuesHeight, 10, Align::Centre);
    cellText(p, value.cashText(), Left + Width / 2, ValueWidth, top, ValuesHeight, 11, Align::Centre);
    cellText(p, value.deferredText(), Left, ValueWidth, top, ValuesHeight, 11, Align::Centre);
    if (hasAllotted(page)) {
        const double below = top + ValuesHeight;
        rule(p, Left, below, 1, ValuesHeight, {ValueWidth, 50, ValueWidth, 50});
        cellText(p, QStringLiteral("المسلم عند الدفع نقدا"), Left + Width / 2 + ValueWidth, 50, below, ValuesHeight, 10,
                 Align::Centre);
        cellText(p, QStringLiteral("المسلم عند الدفع اجل"), Left + ValueWidth, 50, below, ValuesHeight, 10, Align::Centre);
        cellText(p, page.delivered.cashText(), Left + Width / 2, ValueWidth, below, ValuesHeight, 11, Align::Centre);
        cellText(p, page.delivered.deferredText(), Left, ValueWidth, below, ValuesHeight, 11, Align::Centre);
    }
    p.setFontBold(false);
}

// Who prepared the order and who checked it sign on the lines.
void drawSignatures(SheetPrinter& p) {
    p.setFontBold(true);
    cellText(p, QStringLiteral("حضره"), Right - 20, 20, SignTop, 8, 11, Align::Right);
    cellText(p, QStringLiteral("راجعه"), Left + 75, 20, SignTop, 8, 11, Align::Right);
    p.setFontBold(false);
    p.setDrawWidth(4);
    p.line(Right - 85, SignTop + 6, Right - 22, SignTop + 6);
    p.line(Left + 10, SignTop + 6, Left + 73, SignTop + 6);
}

// Every sheet of one order: the heading and the header row on each, the values on the last.
bool drawOrder(SheetPrinter& p, const Page& page, const QDateTime& printedAt, bool first) {
    const bool allotted = hasAllotted(page);
    const std::vector<Column> cols = columns(allotted);
    const std::vector<Row> rows = layOutRows(p, page, cols);
    // The delivered values take a second row below the order's own.
    const std::vector<size_t> starts = sheetStarts(rows, LinesBottom - (allotted ? ValuesHeight : 0));
    const int count = int(starts.size());
    for (int s = 0; s < count; ++s) {
        if ((!first || s > 0) && !p.newPage())
            return false;
        drawHeading(p, page);
        const size_t end = s + 1 < count ? starts[size_t(s) + 1] : rows.size();
        double bottom = LinesTop;
        drawLines(p, cols, rows, starts[size_t(s)], end, bottom);
        if (s + 1 == count)
            drawValues(p, page, bottom + 4);
        drawSignatures(p);
        cellText(p, PaperForm::DateText(printedAt), Left, 40, FooterTop, 5, 8, Align::Centre);
        if (count > 1)
            cellText(p, QStringLiteral("صفحة %1 من %2").arg(s + 1).arg(count), Right - 40, 40, FooterTop, 5, 8,
                     Align::Right);
    }
    return true;
}

std::vector<OrderLines::Line> filledLines(const QString& text) {
    std::vector<OrderLines::Line> lines = OrderLines::Decode(text);
    lines.erase(
        std::remove_if(lines.begin(), lines.end(), [](const OrderLines::Line& l) { return l.isEmpty(); }),
        lines.end());
    // By drug name in the program's text order, as the room walks the shelves.
    TextOrder::sortBy(lines, [](const OrderLines::Line& l) { return l.drug; });
    return lines;
}

QString pharmacyName(const QString& tel) {
    const QString name = ModOmla::ClientNameByTel(tel);
    return name.isEmpty() ? tel : name;
}
} // namespace

std::vector<ColumnSpan> ColumnSpans(bool allotted) {
    std::vector<ColumnSpan> out;
    double right = Right;
    const std::vector<Column> cols = columns(allotted);
    const std::vector<double> widths = columnWidths(cols);
    for (size_t c = 0; c < widths.size(); ++c) {
        out.push_back({cols[c].header, right - widths[c], right});
        right -= widths[c];
    }
    return out;
}

Page MakePage(const QString& linesText, const QString& orderId, const QString& date, const QString& tel,
              const QString& markaz, const QString& submitted) {
    return {pharmacyName(tel), tel, markaz, orderId, date, submitted, filledLines(linesText), {}, {}};
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
        r.pages.push_back(MakePage(FieldText(rs.Fields(Bown2Columns::Drug)), FieldText(rs.Fields(Bown2Columns::OrderId)),
                                   FieldText(rs.Fields(Bown2Columns::Date)), FieldText(rs.Fields(Bown2Columns::Tel)),
                                   FieldText(rs.Fields(Bown2Columns::Markaz)), FieldText(rs.Fields(Bown2Columns::Submitted))));
    return r;
}

QString SentOrdersQueryTail(const Selection& selection) {
    QString tail = QStringLiteral("bown2 WHERE submitted = ") + ModSQL::SqlQuote(QStringLiteral("101"));
    if (selection.kind == Selection::Period)
        tail += QStringLiteral(" AND date >= ") + ModSQL::SqlQuote(Days::DateNumber(selection.from)) +
                QStringLiteral(" AND date <= ") + ModSQL::SqlQuote(Days::DateNumber(selection.to));
    else if (selection.kind == Selection::District)
        tail += QStringLiteral(" AND markaz = ") + ModSQL::SqlQuote(selection.markaz);
    return tail + QStringLiteral(" ;");
}

namespace {
// The ids of the orders printed before; false when the table cannot be read.
bool printedIds(QSet<QString>& ids, QString* error) {
    long affected = 0;
    Recordset rs = ServerConnection::instance().Execute(
        QStringLiteral("SELECT orderid FROM ") + PrintedTable, affected, error);
    if (affected == 0)
        return false;
    for (; !rs.isEOF(); rs.MoveNext())
        ids.insert(BuyCollect::OrderIdText(FieldText(rs.Fields(0))));
    return true;
}
} // namespace

Read ReadSentOrders(const Selection& selection) {
    Read r;
    QSet<QString> printed;
    if (selection.kind == Selection::NotPrinted && !printedIds(printed, &r.error))
        return r;
    FlexGrid g(1, 0);
    if (!ModSQL::SQLSelectToFlex(g, SentOrdersQueryTail(selection), &r.error)) {
        if (r.error.isEmpty())
            r.error = ServerConnection::instance().lastError();
        return r;
    }
    r.ok = true;
    const int name = g.Cols();
    g.setCols(name + 1);
    for (int row = 1; row < g.Rows(); ++row)
        g.setTextMatrix(row, name, pharmacyName(g.TextMatrix(row, Bown2Columns::Tel)));
    // Least significant key first: the sort keeps the order of equal keys. Rows without a
    // district or a pharmacy come last.
    for (int key : {Bown2Columns::OrderId, name, Bown2Columns::Markaz}) {
        g.setCol(key);
        g.Sort(FlexGrid::SortStringAscending, true);
    }
    r.pages.reserve(size_t(g.Rows() - 1));
    for (int row = 1; row < g.Rows(); ++row) {
        if (selection.kind == Selection::NotPrinted &&
            printed.contains(BuyCollect::OrderIdText(g.TextMatrix(row, Bown2Columns::OrderId))))
            continue;
        Page page{g.TextMatrix(row, name),
                  g.TextMatrix(row, Bown2Columns::Tel),
                  g.TextMatrix(row, Bown2Columns::Markaz),
                  g.TextMatrix(row, Bown2Columns::OrderId),
                  g.TextMatrix(row, Bown2Columns::Date),
                  g.TextMatrix(row, Bown2Columns::Submitted),
                  filledLines(g.TextMatrix(row, Bown2Columns::Drug)),
                  {},
                  {}};
        if (page.lines.empty())
            ++r.withoutLines;
        else
            r.pages.push_back(std::move(page));
    }
    return r;
}

QString MarkStatement(const QString& orderId, const QDateTime& when) {
    return QStringLiteral("UPDATE ") + PrintedTable + QStringLiteral(" SET lastprinted = ") +
           ModSQL::SqlQuote(Clock::Stamp(when)) + QStringLiteral(", times = times + 1 WHERE orderid = ") +
           ModSQL::SqlQuote(orderId);
}

QString FirstMarkStatement(const QString& orderId, const QDateTime& when) {
    // The insert itself refuses an order another copy marked meanwhile (no row): then it is marked again.
    return QStringLiteral("INSERT INTO ") + PrintedTable +
           QStringLiteral(" (orderid, firstprinted, lastprinted, times) SELECT ") + ModSQL::SqlQuote(orderId) +
           QStringLiteral(", ") + ModSQL::SqlQuote(Clock::Stamp(when)) + QStringLiteral(", ") +
           ModSQL::SqlQuote(Clock::Stamp(when)) + QStringLiteral(", 1 WHERE NOT EXISTS (SELECT orderid FROM ") + PrintedTable +
           QStringLiteral(" WHERE orderid = ") + ModSQL::SqlQuote(orderId) + u')';
}

bool MarkPrinted(const std::vector<Page>& pages, const QDateTime& when, QString* error) {
    for (const Page& page : pages) {
        const QString id = BuyCollect::OrderIdText(page.orderId);
        // No row changed: the order was never printed before, unless another copy marks it first.
        WriteRoad::Result w = WriteRoad::Run(MarkStatement(id, when));
        if (w.outcome == WriteRoad::Outcome::Taken)
            w = WriteRoad::Run(FirstMarkStatement(id, when));
        if (w.outcome == WriteRoad::Outcome::Taken)
            w = WriteRoad::Run(MarkStatement(id, when));
        if (!w.saved()) {
            if (error)
                *error = WriteRoad::Text(w) + u'\n' + w.error;
            return false;
        }
    }
    return true;
}

bool PrintPages(SheetPrinter& p, const std::vector<Page>& pages, const QDateTime& printedAt) {
    for (size_t i = 0; i < pages.size(); ++i)
        if (!drawOrder(p, pages[i], printedAt, i == 0))
            return false;
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
    return A4Pdf::Write(path, {}, [&](QPagedPaintDevice& device) { return printOnDevice(device, {}, pages, printedAt); });
}

} // namespace PickList
