#include "catalogue/OrderSheet.h"

#include "paper/A4Pdf.h"
#include "paper/PaperForm.h"
#include "paper/SheetPrinter.h"
#include "data/FlexGrid.h"
#include "data/ModGFun.h"

#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace OrderSheet {

namespace {
// Display positions of the catalogue grid.
constexpr int ColName = 0;
constexpr int ColPrice = 1;
constexpr int ColDiscount = 2;
constexpr int ColLastChange = 4;

constexpr float L = 3;
constexpr float T = 25;
// The name column is 34 wide and its text starts 1 in.
constexpr double NameRoom = 32;

QString timeSeparator() {
    const QString f = QLocale::system().timeFormat(QLocale::ShortFormat);
    const qsizetype h = f.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    if (h >= 0) {
        for (qsizetype i = h; i < f.size(); ++i) {
            const QChar c = f.at(i);
            if (c != u'h' && c != u'H')
                return (c == u'm' || c.isSpace()) ? QStringLiteral(":") : QString(c);
        }
    }
    return QStringLiteral(":");
}
} // namespace

void DrawTableGrid(SheetPrinter& p, float left, float top, int rows, float rowHeight, int lineWidth,
                   const QString& widthList) {
    p.setScaleModeMillimetres();
    std::vector<float> widths;
    for (const QString& piece : widthList.split(u';'))
        widths.push_back(float(ModGFun::Val(piece)));
    p.setDrawWidth(lineWidth);
    float total = 0;
    for (float w : widths)
        total += w;
    const float height = float(rows) * rowHeight;
    float x = left;
    DrawVLine(p, x, top, height);
    for (float w : widths) {
        x += w;
        DrawVLine(p, x, top, height);
    }
    for (int k = 0; k <= rows; ++k)
        DrawHLine(p, left, top + float(k) * rowHeight, total);
}

void DrawHLine(SheetPrinter& p, float x, float y, float length) {
    p.line(x, y, x + length, y);
}
void DrawVLine(SheetPrinter& p, float x, float y, float length) {
    p.line(x, y, x, y + length);
}

void PrintCentred(SheetPrinter& p, const QString& text, float width, float x, float y, float size) {
    const double saved = p.fontSize();
    if (size > 0)
        p.setFontSize(size);
    // A text wider than its place (another font draws it wider) is set smaller, never under the
    // smallest size a paper prints.
    p.setFontSize(p.fittingSize(text, width, PaperForm::SmallestPoints));
    p.setCurrentX(x + (width - p.textWidth(text)) / 2);
    p.setCurrentY(y);
    p.print(text);
    if (size > 0)
        p.setFontSize(saved);
}

void PrintAt(SheetPrinter& p, const QString& text, float x, float y, float size) {
    const double saved = p.fontSize();
    if (size > 0)
        p.setFontSize(size);
    p.setCurrentX(x);
    p.setCurrentY(y);
    p.print(text);
    if (size > 0)
        p.setFontSize(saved);
}

bool DiscountShown(int block, const QString& name, const QString& price) {
    return block == 1 ? !price.isEmpty() : !name.isEmpty();
}

bool MarkShown(int block, const QString& name, const QString& price, double value) {
    if (block == 0)
        return !price.isEmpty() && value == 0;
    return !name.isEmpty() && value <= 0;
}

QString PrintDateText(const QDateTime& when) {
    return when.toString(QStringLiteral("yy.MM.dd ")) + when.toString(QStringLiteral("HH")) +
           timeSeparator() + when.toString(QStringLiteral("mm"));
}

bool PrintOrderSheet(SheetPrinter& p, const Input& in) {
    const int n = in.rowsPerBlock;
    const float h = in.rowHeight;
    const float y0 = float(n + 1) * h + T + 2;

    p.setScaleModeMillimetres();
    p.setScaleLeft(-3);
    p.setFontBold(true);
    p.paintPicture(in.header, L, 0, 192, 19);
    p.paintPicture(in.footer, L, 265, 192, 9);

    DrawTableGrid(p, L, T - 1, n + 1, h, 12, QStringLiteral("34;10;10;10;34;10;10;10;34;10;10;10"));
    for (int b = 0; b < 3; ++b) {
        const float o = L + 64.0f * float(b);
        PrintCentred(p, QStringLiteral("الدواء"), 30, b == 2 ? L + 128 : o + 1, T, 8);
        PrintCentred(p, QStringLiteral("السعر"), 10, o + 34, T, 8);
        PrintCentred(p, QStringLiteral("خصم"), 10, o + 44, T, 8);
        PrintCentred(p, QStringLiteral("الكمية"), 10, o + 54, T, 8);
    }

    const FlexGrid* g = in.grid;
    for (int b = 0; b < 3; ++b) {
        const float o = L + 64.0f * float(b);
        for (int i = 1; i <= n; ++i) {
            const int r = b * n + i;
            if (!g || r >= g->Rows())
                continue; // fewer drugs than the sheet has rows: the rest stays blank
            const float y = T + float(i) * h;
            const QString name = g->TextMatrix(r, ColName);
            const QString price = g->TextMatrix(r, ColPrice);
            const double value = ModGFun::Val(g->TextMatrix(r, ColLastChange));
            // The sheet's rows are fixed and nothing prints under 8 points: a long name is cut
            // inside its cell.
            p.setFontSize(PaperForm::SmallestPoints);
            PrintAt(p, p.elided(name, NameRoom), o + 1, y, float(PaperForm::SmallestPoints));
            PrintCentred(p, price, 10, o + 34, y, 8);
            if (DiscountShown(b, name, price))
                PrintCentred(p, g->TextMatrix(r, ColDiscount) + u'%', 10, o + 44, y, 8);
            if (MarkShown(b, name, price, value))
                PrintCentred(p, QStringLiteral("NO"), 10, o + 54, y, 8);
        }
    }

    PrintCentred(
        p,
        QStringLiteral("يوجد نظامان للدفع  الاول وهو النقدي مع السيارة  والاخر  اجل 30 يوم بفارق  2% في "
                       "نسبة الخصم"),
        192, L, y0, 11);

    DrawTableGrid(p, L, y0 + 9, 1, h, 13, QStringLiteral("10;40;46;10;40;46"));
    PrintCentred(p, QStringLiteral("قيمة الفاتورة عند الدفع نقدا"), 46, L + 50, y0 + 10, 10);
    PrintCentred(p, QStringLiteral("قيمة الفاتورة عند الدفع اجل"), 46, L + 146, y0 + 10, 10);

    DrawTableGrid(p, L, y0 + 19, 2, h, 13, QStringLiteral("30;30;66;66"));
    PrintCentred(p, QStringLiteral("تاريخ الطباعة"), 30, L, y0 + 20, 9);
    PrintCentred(p, QStringLiteral("تاريخ الفاتورة"), 30, L + 30, y0 + 20, 9);
    PrintCentred(p, QStringLiteral("التليفون"), 56, L + 60, y0 + 20, 9);
    PrintCentred(p, QStringLiteral("الصيدلية"), 56, L + 126, y0 + 20, 9);
    PrintCentred(p, PrintDateText(in.printedAt), 30, L, y0 + 20 + h, 9);

    p.setFontBold(false);
    return p.endDoc();
}

bool printOnDevice(QPagedPaintDevice& device, QPointF originMm, const Input& in) {
    SheetPrinter p(&device, originMm + QPointF(PaperForm::Inset - SheetLeft * Zoom, PaperForm::Inset));
    p.setZoom(Zoom);
    if (!p.begin())
        return false;
    return PrintOrderSheet(p, in);
}

bool printToPdf(const QString& path, const Input& in, QString* error) {
    const bool ok = A4Pdf::Write(path, {}, [&](QPagedPaintDevice& device) { return printOnDevice(device, {}, in); });
    if (!ok && error)
        *error = QFileInfo(path).absoluteFilePath();
    return ok;
}

bool printToPrinter(const QPrinterInfo& info, const Input& in, QString* error) {
    if (info.isNull()) {
        if (error)
            *error = QStringLiteral("no printer");
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    // A printer that is not really there turns into a PDF printer without a file; refuse that.
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.isValid()) {
        if (error)
            *error = info.printerName();
        return false;
    }
    printer.setFullPage(true);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("Brentoval"));
    // Drawn from the paper's corner: the sheet keeps clear of any printer's margins itself.
    const bool ok = printOnDevice(printer, {}, in) && printer.printerState() != QPrinter::Error &&
                    printer.printerState() != QPrinter::Aborted;
    if (!ok && error)
        *error = info.printerName();
    return ok;
}

} // namespace OrderSheet
