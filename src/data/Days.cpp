#include "data/Days.h"

#include <cmath>

namespace Days {

QString DateNumber(const QDate& day) {
    return QString::number(day.toString(QStringLiteral("yyMMdd")).toInt());
}

QDate FromDateNumber(const QString& stored) {
    bool ok = false;
    const double n = stored.trimmed().toDouble(&ok);
    if (!ok || n < 0 || n > 991231 || n != std::floor(n))
        return {};
    return FromKey(QStringLiteral("20") + QStringLiteral("%1").arg(qint64(n), 6, 10, QChar(u'0')));
}

QString DateNumberText(const QString& stored) {
    const QDate day = FromDateNumber(stored);
    return day.isValid() ? Text(day) : stored;
}

QString Text(const QDate& day) {
    return day.toString(QStringLiteral("yyyy/MM/dd"));
}

QDate FromText(const QString& typed) {
    return QDate::fromString(typed.trimmed(), QStringLiteral("yyyy/M/d"));
}

QString Key(const QDate& day) {
    return day.toString(QStringLiteral("yyyyMMdd"));
}

QDate FromKey(const QString& key) {
    return QDate::fromString(key, QStringLiteral("yyyyMMdd"));
}

QString DrugsDate(const QDate& day) {
    return day.toString(QStringLiteral("yyMMdd"));
}

} // namespace Days
