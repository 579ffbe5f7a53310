#include "demand/GroupDemandSheet.h"

#include "catalogue/OrderSheet.h"
#include "paper/SheetPrinter.h"
#include "demand/GroupDemandTexts.h"
#include "demand/GroupDemand.h"
#include "data/FlexGrid.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <iterator>

namespace GroupDemandSheet {

namespace {
constexpr int Columns = int(std::size(ColumnWidths));
constexpr double TextSize = 9;
// Never below what a person reads at arm's length: a longer text takes a second line.
constexpr double SmallestSize = 8;
constexpr double CellPadding = 2;
constexpr double TableBottom = TableTop + HeaderHeight + RowHeight * RowsPerPage;
constexpr double FootTop = PageHeight - 11;

QString widthList() {
    // The table drawer takes widths from the left: the last column stands leftmost.
    QStringList w;
    for (int c = Columns - 1; c >= 0; --c)
        w << QString::number(ColumnWidths[c]);
    return w.join(u';');
}

struct Row {
    std::vector<SheetPrinter::Fit> cells;
    double height = RowHeight;
    bool bold = false;
};

Row layOutRow(SheetPrinter& p, const FlexGrid& g, int row, bool bold) {
    Row r;
    r.bold = bold;
    p.setFontBold(bold);
    for (int c = 0; c < Columns; ++c) {
        const QString text = c < g.Cols() ? g.TextMatrix(row, c) : QString();
        SheetPrinter::Fit fit = text.isEmpty() ? SheetPrinter::Fit{TextSize, {}}
                                               : p.fitInto(text, ColumnWidths[c] - CellPadding, TextSize, SmallestSize);
        r.height = std::max(r.height, SheetPrinter::heightOf(fit));
        r.cells.push_back(std::move(fit));
    }
    p.setFontBold(false);
    return r;
}

void printRow(SheetPrinter& p, const Row& row, double top, bool header, const QString& widths) {
    OrderSheet::DrawTableGrid(p, float(Left), float(top), 1, float(row.height), 4, widths);
    p.setFontBold(row.bold);
    for (int c = 0; c < Columns; ++c)
        // Names read from the right edge of their cell; numbers and headers stand centred.
        p.printInCell(row.cells[size_t(c)], ColumnLeft(c), ColumnWidths[c], top, row.height,
                      c == GroupDemand::ColDrug && !header ? SheetPrinter::Align::Right : SheetPrinter::Align::Centre);
    p.setFontBold(false);
}

struct Layout {
    Row header;
    std::vector<Row> rows;        // grid rows 1 on
    std::vector<size_t> starts;   // first row of each page
};

Layout layOut(SheetPrinter& p, const Input& in) {
    Layout l;
    const FlexGrid& g = *in.grid;
    l.header = layOutRow(p, g, 0, true);
    l.header.height = std::max(l.header.height, HeaderHeight);
    for (int r = 1; r < g.Rows(); ++r)
        l.rows.push_back(layOutRow(p, g, r, in.totalsRow && r == g.Rows() - 1));
    l.starts.push_back(0);
    double y = TableTop + l.header.height;
    for (size_t i = 0; i < l.rows.size(); ++i) {
        if (y + l.rows[i].height > TableBottom + 0.01 && i > l.starts.back()) {
            l.starts.push_back(i);
            y = TableTop + l.header.height;
        }
        y += l.rows[i].height;
    }
    return l;
}
} // namespace

double ColumnLeft(int column) {
    double right = Left + TableWidth;
    for (int c = 0; c < column; ++c)
        right -= ColumnWidths[c];
    return right - ColumnWidths[column];
}

int PageCount(const Input& in) {
    if (!in.grid)
        return 1;
    // Measured on a page of the same size as the printed one.
    QPdfWriter probe(QStringLiteral(""));
    probe.setResolution(600);
    SheetPrinter p(&probe);
    return int(layOut(p, in).starts.size());
}

bool printOnDevice(QPagedPaintDevice& device, QPointF originMm, const Input& in) {
    SheetPrinter p(&device, originMm);
    if (!p.begin() || !in.grid)
        return false;
    const Layout l = layOut(p, in);
    const int pages = int(l.starts.size());
    const QString widths = widthList();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        p.setFontBold(true);
        OrderSheet::PrintCentred(p, GroupDemandTexts::Title, float(TableWidth), float(Left), 7, 14);
        p.setFontBold(false);
        OrderSheet::PrintCentred(p, in.periodText, float(TableWidth), float(Left), 16, 10);
        OrderSheet::PrintCentred(p, in.countsText, float(TableWidth), float(Left), 22, 10);
        if (!in.cashNote.isEmpty()) {
            p.setFontSize(8);
            p.printInCell({8, {p.elided(in.cashNote, TableWidth)}}, Left, TableWidth, 27.5, 5,
                          SheetPrinter::Align::Centre);
        }
        printRow(p, l.header, TableTop, true, widths);
        double top = TableTop + l.header.height;
        const size_t end = page + 1 < pages ? l.starts[size_t(page) + 1] : l.rows.size();
        for (size_t r = l.starts[size_t(page)]; r < end; ++r) {
            printRow(p, l.rows[r], top, false, widths);
            top += l.rows[r].height;
        }
        if (pages > 1)
            OrderSheet::PrintCentred(p, QStringLiteral("صفحة %1 من %2").arg(page + 1).arg(pages),
                                     40, float(Left + TableWidth - 40), float(FootTop), 9);
        OrderSheet::PrintCentred(p, OrderSheet::PrintDateText(in.printedAt), 40, float(Left),
                                 float(FootTop), 8);
    }
    return p.endDoc();
}

bool printToPdf(const QString& path, const Input& in) {
    QPdfWriter pdf(path);
    pdf.setResolution(600);
    pdf.setTitle(GroupDemandTexts::Title);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return printOnDevice(pdf, {}, in);
}

} // namespace GroupDemandSheet
