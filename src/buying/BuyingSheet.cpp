#include "buying/BuyingSheet.h"

#include "catalogue/OrderSheet.h"
#include "paper/SheetPrinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace BuyingSheet {

namespace {
constexpr double TextSize = 10;
constexpr double SmallestSize = 6;
// Two lines of this size still stand inside a row.
constexpr double SmallestNameSize = 6.5;

double tableTop(const Input& in) {
    return 22 + 6 * double(in.lines.size());
}

void printRow(SheetPrinter& p, const Input& in, const QStringList& cells, double y, bool header) {
    double right = Left + TableWidth;
    for (size_t c = 0; c < in.widths.size(); ++c) {
        const double w = in.widths[c];
        const double x = right - w;
        right = x;
        const QString text = cells.value(qsizetype(c));
        if (text.isEmpty())
            continue;
        p.setFontSize(TextSize);
        if (c == 1 && !header) {
            // Names read from the right edge of their cell; a long one goes on two lines, small
            // enough that both stand inside the row.
            SheetPrinter::Fit fit = p.fitInto(text, w - 2, TextSize, SmallestNameSize);
            while (SheetPrinter::heightOf(fit) > RowHeight && fit.size > SmallestNameSize)
                fit = p.fitInto(text, w - 2, fit.size - 0.5, SmallestNameSize);
            p.printInCell(fit, x, w, y, RowHeight, SheetPrinter::Align::Right);
        } else {
            const double size = p.fittingSize(text, w - 2, SmallestSize);
            OrderSheet::PrintCentred(p, text, float(w), float(x), float(y + 1.2), float(size));
        }
    }
}
} // namespace

int PageCount(const Input& in) {
    return std::max(1, int((in.rows.size() + RowsPerPage - 1) / RowsPerPage));
}

bool printOnDevice(QPagedPaintDevice& device, const Input& in) {
    SheetPrinter p(&device, {});
    if (!p.begin())
        return false;
    QStringList widths; // the table drawer takes widths from the left
    for (auto w = in.widths.rbegin(); w != in.widths.rend(); ++w)
        widths << QString::number(*w);
    const int pages = PageCount(in);
    const double top = tableTop(in);
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        p.setFontBold(true);
        // A distribution sheet is titled with its drug: a long name makes the title smaller.
        p.setFontSize(15);
        OrderSheet::PrintCentred(p, in.title, float(TableWidth), float(Left), 8,
                                 float(p.fittingSize(in.title, TableWidth, 9)));
        p.setFontBold(false);
        for (qsizetype i = 0; i < in.lines.size(); ++i)
            OrderSheet::PrintCentred(p, in.lines[i], float(TableWidth), float(Left), float(18 + 6 * i), 10.5f);
        const int first = page * RowsPerPage;
        const int last = std::min(int(in.rows.size()), first + RowsPerPage);
        OrderSheet::DrawTableGrid(p, float(Left), float(top), last - first + 1, float(RowHeight), 4, widths.join(u';'));
        p.setFontBold(true);
        printRow(p, in, in.headers, top, true);
        for (int r = first; r < last; ++r) {
            p.setFontBold(in.boldRows.contains(r));
            printRow(p, in, in.rows[r], top + RowHeight * (r - first + 1), false);
        }
        p.setFontBold(false);
        if (page == pages - 1) {
            double y = top + RowHeight * (last - first + 1) + 6;
            for (const QString& line : in.closing) {
                p.setFontSize(11);
                const double w = p.textWidth(line);
                OrderSheet::PrintAt(p, line, float(Left + TableWidth - w), float(y), 11);
                y += 8;
            }
        }
        if (pages > 1)
            OrderSheet::PrintCentred(p, QStringLiteral("صفحة %1 من %2").arg(page + 1).arg(pages), float(TableWidth),
                                     float(Left), float(PageHeight - 12), 9);
        // Printed at, written as the papers write their other dates.
        OrderSheet::PrintCentred(p, in.printedAt.toString(QStringLiteral("yyyy/MM/dd hh:mm")), 40, float(Left),
                                 float(PageHeight - 12), 8);
    }
    return p.endDoc();
}

bool printToPdf(const QString& path, const Input& in) {
    QPdfWriter pdf(path);
    pdf.setResolution(600);
    pdf.setTitle(in.title);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return printOnDevice(pdf, in);
}

} // namespace BuyingSheet
