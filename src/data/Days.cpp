#include "data/Days.h"

namespace Days {

QString DateNumber(const QDate& day) {
    return QString::number(day.toString(QStringLiteral("yyMMdd")).toInt());
}

QString Text(const QDate& day) {
    return day.toString(QStringLiteral("yyyy/MM/dd"));
}

} // namespace Days
