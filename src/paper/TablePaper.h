#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;

// The table paper every listing is printed on: A4 pages read from the right, a bold title, a few
// lines under it and a small note, then a table whose header row stands again on every page. A
// text too wide for its cell wraps onto more lines and its row grows; nothing prints under 8 points.
// The closing lines follow the last row; the foot carries when it was printed and, over more than
// one page, "صفحة n من m". Drawn from the paper's corner, nothing nearer its edges than
// PaperForm::Inset. Coordinates in millimetres.
namespace TablePaper {

inline constexpr double RowHeight = 6;
inline constexpr double TextPoints = 9;

struct Input {
    QString title;
    QStringList lines;          // under the title
    QString note;               // in small print under the lines
    QStringList headers;
    std::vector<double> widths; // per column from the right edge, in proportion: scaled to the table
    QSet<int> textColumns;      // read from the right edge of their cells; the others stand centred
    QList<QStringList> rows;
    QSet<int> boldRows;         // by place, as a totals row
    QStringList closing;        // after the last row
    QDateTime printedAt;
};

// Where the table stands on the page (the same on every page).
struct Geometry {
    double tableTop = 0;
    double headerHeight = 0;
    double tableBottom = 0;          // no row goes below
    std::vector<double> lefts, widths; // per column
    std::vector<double> rowTops, rowHeights; // per row, on its page
};
Geometry GeometryOf(const Input& in);
// The first row of each page.
std::vector<int> PageStarts(const Input& in);
int PageCount(const Input& in);

bool printOnDevice(QPagedPaintDevice& device, const Input& in);
bool printToPdf(const QString& path, const Input& in);

} // namespace TablePaper
