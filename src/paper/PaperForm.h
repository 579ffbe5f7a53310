#pragma once

#include <QDateTime>
#include <QString>

// What every paper shares: the room left at the paper's edges and the one way a date is written.
namespace PaperForm {

inline constexpr double PageWidth = 210;
inline constexpr double PageHeight = 297;
// The widest margin a printer leaves (half an inch); a paper drawn from the paper's corner with
// nothing nearer its edges than Inset prints whole on any such printer.
inline constexpr double PrinterMarginRoom = 12.7;
inline constexpr double Inset = 13.5;
// The smallest print a person reads at arm's length: a longer text takes more lines.
inline constexpr double SmallestPoints = 8;

// "2026/12/08 10:00": year first, as the papers write their other dates.
inline QString DateText(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

} // namespace PaperForm
