#pragma once

#include <QDate>
#include <QString>

// Days as the tables hold them and as the windows and papers show them.
namespace Days {

// bown2's date: YYMMDD read as a number ("261207"; 5 January 2000 is "105").
QString DateNumber(const QDate& day);
// A day as windows and papers show it: "2026/12/07"; the empty text for no day.
QString Text(const QDate& day);

} // namespace Days
