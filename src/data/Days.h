#pragma once

#include <QDate>
#include <QString>

// Days as the tables hold them and as the windows and papers show them.
namespace Days {

// bown2's date: YYMMDD read as a number ("261207"; 5 January 2000 is "105").
QString DateNumber(const QDate& day);
// A bown2 date back to its day; invalid when the text reads as none.
QDate FromDateNumber(const QString& stored);
// A bown2 date as shown ("2026/12/05"); the text as it is when it reads as no day.
QString DateNumberText(const QString& stored);

// A day as windows and papers show it: "2026/12/07"; the empty text for no day.
QString Text(const QDate& day);
// A day typed as shown, the leading zeros free ("2026/12/7"); invalid when it is none.
QDate FromText(const QString& typed);

// The group tables' day: "20261207", year first so that the texts sort as the days do.
QString Key(const QDate& day);
QDate FromKey(const QString& key);

// bowndrugs' day of a change: YYMMDD with its leading zeros ("050105").
QString DrugsDate(const QDate& day);

} // namespace Days
