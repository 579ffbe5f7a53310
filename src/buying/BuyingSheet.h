#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;

// A buying paper for the wholesaler or the preparation room: A4 pages read from the right, a title
// and a few lines under it, a table whose header repeats on every page, then closing lines (a
// total, a signature) after the last row. Coordinates in millimetres.
namespace BuyingSheet {

inline constexpr double PageWidth = 210;
inline constexpr double PageHeight = 297;
inline constexpr double Left = 9;
inline constexpr double TableWidth = 192;
inline constexpr double RowHeight = 7;
inline constexpr int RowsPerPage = 34;

struct Input {
    QString title;
    QStringList lines;          // under the title
    QStringList headers;
    std::vector<double> widths; // per column, from the right edge; they add up to TableWidth
    QList<QStringList> rows;
    QSet<int> boldRows;
    QStringList closing;        // after the table, on the last page
    QDateTime printedAt;
};

int PageCount(const Input& in);
bool printOnDevice(QPagedPaintDevice& device, const Input& in);
bool printToPdf(const QString& path, const Input& in);

} // namespace BuyingSheet
