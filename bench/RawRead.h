#pragma once

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <ctime>
#include <vector>

// The yardstick of the window-opening figures: Qt's own forward-only read of a query's rows on the
// program's connection, every field fetched, nothing kept. Milliseconds; negative when it failed.
namespace RawRead {
inline double ms(const QString& sql) {
    QElapsedTimer t;
    t.start();
    QSqlQuery q(QSqlDatabase::database(QStringLiteral("brentoval-server"), false));
    q.setForwardOnly(true);
    if (!q.exec(sql))
        return -1;
    const int fields = q.record().count();
    qsizetype nulls = 0;
    while (q.next())
        for (int i = 0; i < fields; ++i)
            nulls += q.value(i).isNull();
    volatile qsizetype sink = nulls;
    (void)sink;
    return double(t.nsecsElapsed()) / 1e6;
}

// The window's opening time over the raw read's, from rounds that take one of each in turn: a
// machine busy with other work then slows both alike. Medians, so a stall in one round does not
// decide the figure.
inline double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// The process's processor time so far, every thread's (an opening's second threads included).
inline double cpuMs() {
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}
} // namespace RawRead
