#pragma once

#include "paper/TablePaper.h"

#include <QDateTime>
#include <QString>

class FlexGrid;
class QPagedPaintDevice;

// The printed group demand on the table paper: a title with the period and the counts, the demand
// table with its header on every page and its totals row in bold.
namespace GroupDemandSheet {

// Column widths from the right-hand edge, in the grid's column order, in proportion.
inline constexpr double ColumnWidths[] = {58, 16, 18, 18, 24, 18, 14, 26};

struct Input {
    const FlexGrid* grid = nullptr; // demand grid as shown, header row 0, totals row last
    QString periodText;             // "من ... الي ..."
    QString countsText;
    QDateTime printedAt;
    bool totalsRow = true; // the grid's last row is the totals row, printed bold
    QString cashNote;      // how a drug's cash value is reckoned, under the counts
};

TablePaper::Input Paper(const Input& in);
int PageCount(const Input& in);
bool printOnDevice(QPagedPaintDevice& device, const Input& in);
bool printToPdf(const QString& path, const Input& in);

} // namespace GroupDemandSheet
