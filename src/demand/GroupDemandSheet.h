#pragma once

#include <QDateTime>
#include <QPointF>
#include <QString>

class FlexGrid;
class QPagedPaintDevice;
class QPrinterInfo;

// The printed group demand: A4 pages read from the right, a title with the period and the counts,
// the demand table with its header repeated on every page, page numbers when there is more than
// one page. A text too wide for its cell at 8 points takes more lines and its row grows. Coordinates in millimetres.
namespace GroupDemandSheet {

inline constexpr double PageWidth = 210;
inline constexpr double PageHeight = 297;
inline constexpr double Left = 9;
inline constexpr double TableWidth = 192;
inline constexpr double TableTop = 33;
inline constexpr double RowHeight = 6;
// Room for headers on two lines.
inline constexpr double HeaderHeight = 10;
inline constexpr int RowsPerPage = 40; // rows of one line below the header row
// Column widths from the right-hand edge, in the grid's column order.
inline constexpr double ColumnWidths[] = {58, 16, 18, 18, 24, 18, 14, 26};

struct Input {
    const FlexGrid* grid = nullptr; // demand grid as shown, header row 0, totals row last
    QString periodText;             // "من ... الي ..."
    QString countsText;
    QDateTime printedAt;
    bool totalsRow = true; // the grid's last row is the totals row, printed bold
    QString cashNote;      // how a drug's cash value is reckoned, under the counts
};

int PageCount(const Input& in);
// The x of a column's left edge.
double ColumnLeft(int column);

bool printOnDevice(QPagedPaintDevice& device, QPointF originMm, const Input& in);
bool printToPdf(const QString& path, const Input& in);

} // namespace GroupDemandSheet
