#include "collection/BuyCollectCore.h"

#include "data/Days.h"
#include "data/ModGFun.h"
#include "data/FieldText.h"
#include "data/GroupTables.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"

#include <cmath>
#include <limits>

namespace BuyCollect {

DaysAnswer ParseDays(const QString& answer) {
    const double rounded = ModGFun::RoundHalfEven(ModGFun::Val(answer), 0);
    // Any count below 50 is refused as too few, however far below the 16-bit range it lies.
    if (rounded < MinDays)
        return {DaysAnswer::TooFew, rounded >= std::numeric_limits<qint16>::min() ? int(rounded) : 0};
    if (!(rounded <= std::numeric_limits<qint16>::max()))
        return {DaysAnswer::TooMany, 0};
    const int days = int(rounded);
    return {days < MinDays ? DaysAnswer::TooFew : DaysAnswer::Ok, days};
}

QString DeleteCutoff(const QDateTime& now, int days) {
    QDate day = now.date().addDays(-days);
    if (day.year() < 2000)
        day = QDate(2000, 1, 1);
    return Days::DateNumber(day);
}

QString DeleteClause(const QString& cutoff, const QString& keep) {
    QString clause = QStringLiteral(" date < ") + ModSQL::SqlQuote(cutoff);
    if (!keep.isEmpty())
        clause += QStringLiteral(" AND orderid NOT IN (") + keep + u')';
    return clause + QStringLiteral("; ");
}

Kept CountKept(const QString& cutoff, const QString& keep, const QStringList& keepTables) {
    ServerConnection& server = ServerConnection::instance();
    long affected = 0;
    QString error;
    const Recordset rs = server.Execute(QStringLiteral("SELECT COUNT(*) FROM bown2 WHERE date < ") + ModSQL::SqlQuote(cutoff) +
                                            QStringLiteral(" AND orderid IN (") + keep + u')',
                                        affected, &error);
    if (affected != 0 && !rs.isEOF())
        return {{WriteRoad::Outcome::Saved, 0, {}}, int(ModGFun::Val(FieldText(rs.Fields(0))))};
    // Read before the server's other answers change it: the tables' check is a statement too.
    const bool refused = server.lastFailure() == ServerConnection::Failure::Refused;
    // Only a server that answers and lacks the group's tables purges as before.
    if (server.State() == 1 && GroupTables::Check(keepTables) == GroupTables::Presence::Missing)
        return {{WriteRoad::Outcome::Saved, 0, {}}, 0};
    return {{refused ? WriteRoad::Outcome::Refused : WriteRoad::Outcome::NotWritten, 0, error}, 0};
}

WriteRoad::Result Purge(const QString& cutoff, const QString& keep) {
    const QString where = DeleteClause(cutoff, keep);
    return WriteRoad::Run(QStringLiteral("DELETE  FROM bown2 WHERE ") + where, [&] {
        long affected = 0;
        const Recordset rs =
            ServerConnection::instance().Execute(QStringLiteral("SELECT COUNT(*) FROM bown2 WHERE ") + where, affected);
        if (affected == 0 || rs.isEOF())
            return -1;
        return ModGFun::Val(FieldText(rs.Fields(0))) == 0 ? 1 : 0;
    });
}

QString OrderIdText(const QString& cellText) {
    return ModGFun::ShortestText(ModGFun::Val(cellText));
}

QString OrderQuery(const QString& orderIdText) {
    return QStringLiteral("select *  from bown2 where orderid = '") + ModSQL::SqlEscape(orderIdText) +
           QStringLiteral("' ;");
}

} // namespace BuyCollect
