#pragma once

#include "paper/PaperForm.h"

#include <QDateTime>
#include <QImage>
#include <QString>

class FlexGrid;
class QPagedPaintDevice;
class QPrinterInfo;
class SheetPrinter;

// The printed order sheet and the procedures it is drawn with. Coordinates and lengths are
// millimetres of the sheet printer.
namespace OrderSheet {

void DrawTableGrid(SheetPrinter& p, float left, float top, int rows, float rowHeight, int lineWidth,
                   const QString& widthList);
void DrawHLine(SheetPrinter& p, float x, float y, float length);
void DrawVLine(SheetPrinter& p, float x, float y, float length);
void PrintCentred(SheetPrinter& p, const QString& text, float width, float x, float y, float size);
void PrintAt(SheetPrinter& p, const QString& text, float x, float y, float size);

// The block rules for a grid row: block 0, 1 or 2; value is the row's last-change number.
bool DiscountShown(int block, const QString& name, const QString& price);
bool MarkShown(int block, const QString& name, const QString& price, double value);
// "yy.mm.dd HH:MM" with the system's time separator.
QString PrintDateText(const QDateTime& when);

// The sheet is laid out SheetWidth wide from SheetLeft in, its pictures from the top. Drawn from the
// paper's corner, it is made Zoom times smaller to stand inside the room any printer leaves; its
// print keeps its sizes and its rows their number.
inline constexpr double SheetLeft = 6;
inline constexpr double SheetWidth = 192;
inline constexpr double Zoom = (PaperForm::PageWidth - 2 * PaperForm::Inset) / SheetWidth;

struct Input {
    const FlexGrid* grid = nullptr; // catalogue grid in display positions
    int rowsPerBlock = 33;
    float rowHeight = 6;
    QImage header;
    QImage footer;
    QDateTime printedAt;
};

// Draws the whole page and ends the document. Rows past the grid's last row stay empty.
bool PrintOrderSheet(SheetPrinter& p, const Input& in);

// One job onto a device prepared for full-page drawing (origin: where the paper's corner lies, mm).
bool printOnDevice(QPagedPaintDevice& device, QPointF originMm, const Input& in);
// The same drawing into a PDF file of one A4 page.
bool printToPdf(const QString& path, const Input& in, QString* error = nullptr);
// The same drawing onto an installed printer; false with a reason when the job fails.
bool printToPrinter(const QPrinterInfo& printer, const Input& in, QString* error = nullptr);

} // namespace OrderSheet
