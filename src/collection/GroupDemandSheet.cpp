#include "collection/GroupDemandSheet.h"

#include "catalogue/OrderSheet.h"
#include "catalogue/SheetPrinter.h"
#include "collection/FormGroupDemandTexts.h"
#include "collection/GroupDemand.h"
#include "data/FlexGrid.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <iterator>

namespace GroupDemandSheet {

namespace {
constexpr int Columns = int(std::size(ColumnWidths));
constexpr double TextSize = 9;
constexpr double SmallestSize = 6;

QString widthList() {
    // The table drawer takes widths from the left: the last column stands leftmost.
    QStringList w;
    for (int c = Columns - 1; c >= 0; --c)
        w << QString::number(ColumnWidths[c]);
    return w.join(u';');
}

void printRow(SheetPrinter& p, const FlexGrid& g, int row, double y) {
    for (int c = 0; c < Columns && c < g.Cols(); ++c) {
        const QString text = g.TextMatrix(row, c);
        if (text.isEmpty())
            continue;
        const double x = ColumnLeft(c);
        const double room = ColumnWidths[c] - 2;
        // Kept inside its cell: smaller than TextSize when it would run over.
        p.setFontSize(TextSize);
        const double size = p.fittingSize(text, room, SmallestSize);
        if (c == GroupDemand::ColDrug && row > 0) {
            // Names read from the right edge of their cell.
            p.setFontSize(size);
            const double w = p.textWidth(text);
            p.setFontSize(TextSize);
            OrderSheet::PrintAt(p, text, float(x + ColumnWidths[c] - 1 - w), float(y + 1), float(size));
        } else {
            OrderSheet::PrintCentred(p, text, float(ColumnWidths[c]), float(x), float(y + 1), float(size));
        }
    }
}
} // namespace

double ColumnLeft(int column) {
    double right = Left + TableWidth;
    for (int c = 0; c < column; ++c)
        right -= ColumnWidths[c];
    return right - ColumnWidths[column];
}

int PageCount(const Input& in) {
    const int rows = in.grid ? std::max(0, in.grid->Rows() - 1) : 0;
    return std::max(1, (rows + RowsPerPage - 1) / RowsPerPage);
}

bool printOnDevice(QPagedPaintDevice& device, QPointF originMm, const Input& in) {
    SheetPrinter p(&device, originMm);
    if (!p.begin() || !in.grid)
        return false;
    const FlexGrid& g = *in.grid;
    const int pages = PageCount(in);
    const QString widths = widthList();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        p.setFontBold(true);
        OrderSheet::PrintCentred(p, FormGroupDemandTexts::Title, float(TableWidth), float(Left), 10, 14);
        p.setFontBold(false);
        OrderSheet::PrintCentred(p, in.periodText, float(TableWidth), float(Left), 19, 10);
        OrderSheet::PrintCentred(p, in.countsText, float(TableWidth), float(Left), 25, 10);

        const int first = 1 + page * RowsPerPage;
        const int last = std::min(g.Rows() - 1, first + RowsPerPage - 1);
        const int rows = last - first + 1;
        OrderSheet::DrawTableGrid(p, float(Left), float(TableTop), rows + 1, float(RowHeight), 4, widths);
        p.setFontBold(true);
        printRow(p, g, 0, TableTop);
        p.setFontBold(false);
        for (int r = first; r <= last; ++r) {
            const bool totals = g.TextMatrix(r, GroupDemand::ColDrug) == FormGroupDemandTexts::TotalCaption;
            p.setFontBold(totals);
            printRow(p, g, r, TableTop + RowHeight * (r - first + 1));
            p.setFontBold(false);
        }
        if (pages > 1)
            OrderSheet::PrintCentred(p, QStringLiteral("صفحة %1 من %2").arg(page + 1).arg(pages),
                                     float(TableWidth), float(Left), float(PageHeight - 12), 9);
        OrderSheet::PrintCentred(p, OrderSheet::PrintDateText(in.printedAt), 40, float(Left),
                                 float(PageHeight - 12), 8);
    }
    return p.endDoc();
}

bool printToPdf(const QString& path, const Input& in) {
    QPdfWriter pdf(path);
    pdf.setResolution(600);
    pdf.setTitle(FormGroupDemandTexts::Title);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return printOnDevice(pdf, {}, in);
}

} // namespace GroupDemandSheet
