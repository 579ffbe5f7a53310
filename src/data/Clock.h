#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// The program's one clock, and the one form a moment takes in the group's tables.
namespace Clock {

// The local time now, or what the hook set gives.
QDateTime now();
// Every reading of the clock gives what clock gives (tests); an empty one gives the machine's again.
void set(std::function<QDateTime()> clock);

// "20261207091300": year first, so texts of the one form sort as the moments do.
inline constexpr int StampLength = 14;
QString Stamp(const QDateTime& when);
// A stored moment: the one form, or the form of older rows ("2026-12-07 09:13:00"); invalid when
// the text is neither.
QDateTime FromStamp(const QString& stored);

} // namespace Clock
