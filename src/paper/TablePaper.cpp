#include "paper/TablePaper.h"

#include "paper/A4Pdf.h"
#include "paper/PaperForm.h"
#include "paper/SheetPrinter.h"

#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <algorithm>
#include <numeric>

namespace TablePaper {

namespace {
using PaperForm::Inset;
constexpr double Left = Inset + 0.5;
constexpr double Width = PaperForm::PageWidth - 2 * Left;
constexpr double TitleTop = Inset + 0.5;
constexpr double TitlePoints = 14;
constexpr double LinePoints = 10;
constexpr double ClosingPoints = 10;
constexpr double CellPadding = 2;
constexpr double HeaderMargin = 1.6;
constexpr double FootHeight = 6;
constexpr double FootTop = PaperForm::PageHeight - Inset - FootHeight;
constexpr double TableBottom = FootTop - 2;

struct Row {
    std::vector<SheetPrinter::Fit> cells;
    double height = RowHeight;
    bool bold = false;
};

struct Layout {
    Geometry g;
    SheetPrinter::Fit title; // a drug's name in it may take a second line
    std::vector<SheetPrinter::Fit> lines; // the lines under the title, then the note
    double closingHeight = 0;
    Row header;
    std::vector<Row> rows;
    std::vector<int> starts;
};

double titleHeight(const Layout& l) {
    return double(std::max<qsizetype>(1, l.title.lines.size())) * SheetPrinter::lineHeight(l.title.size);
}

std::vector<double> scaledWidths(const Input& in) {
    const double sum = std::accumulate(in.widths.begin(), in.widths.end(), 0.0);
    std::vector<double> w;
    for (double x : in.widths)
        w.push_back(sum > 0 ? x * Width / sum : 0);
    return w;
}

Row layOutRow(SheetPrinter& p, const QStringList& cells, const std::vector<double>& widths, bool bold) {
    Row r;
    r.bold = bold;
    p.setFontBold(bold);
    for (size_t c = 0; c < widths.size(); ++c) {
        const QString text = cells.value(qsizetype(c));
        SheetPrinter::Fit fit = text.isEmpty()
                                    ? SheetPrinter::Fit{TextPoints, {}}
                                    : p.fitInto(text, widths[c] - CellPadding, TextPoints, PaperForm::SmallestPoints);
        r.height = std::max(r.height, SheetPrinter::heightOf(fit));
        r.cells.push_back(std::move(fit));
    }
    p.setFontBold(false);
    return r;
}

Layout layOut(SheetPrinter& p, const Input& in) {
    Layout l;
    l.g.widths = scaledWidths(in);
    double right = Left + Width;
    for (double w : l.g.widths) {
        right -= w;
        l.g.lefts.push_back(right);
    }
    p.setFontBold(true);
    l.title = p.fitInto(in.title, Width, TitlePoints, PaperForm::SmallestPoints);
    p.setFontBold(false);
    double y = TitleTop + titleHeight(l) + 1.5;
    for (const QString& line : in.lines) {
        l.lines.push_back(p.fitInto(line, Width, LinePoints, PaperForm::SmallestPoints));
        y += SheetPrinter::heightOf(l.lines.back());
    }
    if (!in.note.isEmpty()) {
        l.lines.push_back(p.fitInto(in.note, Width, PaperForm::SmallestPoints, PaperForm::SmallestPoints));
        y += SheetPrinter::heightOf(l.lines.back());
    }
    l.g.tableTop = y + 2;
    l.g.tableBottom = TableBottom;
    l.header = layOutRow(p, in.headers, l.g.widths, true);
    // The header's letters reach above its rule otherwise: the face's Arabic marks stand tall.
    for (const SheetPrinter::Fit& f : l.header.cells)
        l.header.height = std::max(l.header.height, SheetPrinter::heightOf(f, HeaderMargin));
    l.g.headerHeight = l.header.height;
    for (int r = 0; r < in.rows.size(); ++r)
        l.rows.push_back(layOutRow(p, in.rows[r], l.g.widths, in.boldRows.contains(r)));
    p.setFontSize(ClosingPoints);
    for (const QString& c : in.closing)
        l.closingHeight += double(p.wrapped(c, Width).size()) * SheetPrinter::lineHeight(ClosingPoints) + 2;
    if (!in.closing.isEmpty())
        l.closingHeight += 4;
    // A row starts a new page when it would run past the table's foot; the closing lines go with the
    // last rows, or alone on a page of their own when no row is left for them.
    l.starts.push_back(0);
    const double first = l.g.tableTop + l.g.headerHeight;
    y = first;
    for (size_t i = 0; i < l.rows.size(); ++i) {
        if (y + l.rows[i].height > TableBottom + 0.01 && int(i) > l.starts.back()) {
            l.starts.push_back(int(i));
            y = first;
        }
        l.g.rowTops.push_back(y);
        l.g.rowHeights.push_back(l.rows[i].height);
        y += l.rows[i].height;
    }
    if (y + l.closingHeight > TableBottom + 0.01 && !l.rows.empty())
        l.starts.push_back(int(l.rows.size()));
    return l;
}

void drawRow(SheetPrinter& p, const Layout& l, const Row& row, double top, const Input& in, bool header) {
    p.setDrawWidth(4);
    const double right = Left + Width;
    p.line(Left, top, right, top);
    p.line(Left, top + row.height, right, top + row.height);
    p.line(right, top, right, top + row.height);
    for (double x : l.g.lefts)
        p.line(x, top, x, top + row.height);
    p.setFontBold(row.bold);
    for (size_t c = 0; c < row.cells.size(); ++c)
        p.printInCell(row.cells[c], l.g.lefts[c], l.g.widths[c], top, row.height,
                      !header && in.textColumns.contains(int(c)) ? SheetPrinter::Align::Right
                                                                 : SheetPrinter::Align::Centre);
    p.setFontBold(false);
}

void centred(SheetPrinter& p, const QString& text, double x, double width, double y, double points) {
    p.setFontSize(points);
    p.setCurrentX(x + (width - p.textWidth(text)) / 2);
    p.setCurrentY(y);
    p.print(text);
}

// Measured on a page of the printed size.
template <typename Use> auto onProbe(Use use) {
    QPdfWriter probe(QStringLiteral(""));
    probe.setResolution(600);
    SheetPrinter p(&probe);
    return use(p);
}
} // namespace

Geometry GeometryOf(const Input& in) {
    return onProbe([&](SheetPrinter& p) { return layOut(p, in).g; });
}

std::vector<int> PageStarts(const Input& in) {
    return onProbe([&](SheetPrinter& p) { return layOut(p, in).starts; });
}

int PageCount(const Input& in) {
    return int(PageStarts(in).size());
}

bool printOnDevice(QPagedPaintDevice& device, const Input& in) {
    SheetPrinter p(&device);
    if (!p.begin())
        return false;
    const Layout l = layOut(p, in);
    const int pages = int(l.starts.size());
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !p.newPage())
            return false;
        p.setFontBold(true);
        p.printInCell(l.title, Left, Width, TitleTop, titleHeight(l), SheetPrinter::Align::Centre);
        p.setFontBold(false);
        double y = TitleTop + titleHeight(l) + 1.5;
        for (const SheetPrinter::Fit& f : l.lines) {
            const double h = SheetPrinter::heightOf(f);
            p.printInCell(f, Left, Width, y, h, SheetPrinter::Align::Centre);
            y += h;
        }
        drawRow(p, l, l.header, l.g.tableTop, in, true);
        y = l.g.tableTop + l.g.headerHeight;
        const int end = page + 1 < pages ? l.starts[size_t(page) + 1] : int(l.rows.size());
        for (int r = l.starts[size_t(page)]; r < end; ++r) {
            drawRow(p, l, l.rows[size_t(r)], y, in, false);
            y += l.rows[size_t(r)].height;
        }
        if (page == pages - 1 && !in.closing.isEmpty()) {
            y += 4;
            p.setFontSize(ClosingPoints);
            for (const QString& c : in.closing) {
                const SheetPrinter::Fit f{ClosingPoints, p.wrapped(c, Width)};
                const double h = double(f.lines.size()) * SheetPrinter::lineHeight(ClosingPoints);
                p.printInCell(f, Left, Width, y, h, SheetPrinter::Align::Right);
                y += h + 2;
            }
        }
        if (pages > 1)
            centred(p, QStringLiteral("صفحة %1 من %2").arg(page + 1).arg(pages), Left + Width - 40, 40, FootTop, 9);
        centred(p, PaperForm::DateText(in.printedAt), Left, 40, FootTop, 9);
    }
    return p.endDoc();
}

bool printToPdf(const QString& path, const Input& in) {
    return A4Pdf::Write(path, in.title, [&](QPagedPaintDevice& device) { return printOnDevice(device, in); });
}

} // namespace TablePaper
