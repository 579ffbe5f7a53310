#include "data/ModSQL.h"

#include "data/FieldText.h"
#include "data/ServerConnection.h"

#include <QCoreApplication>

namespace ModSQL {

namespace {
ConnectHooks& hooks() {
    static ConnectHooks h;
    return h;
}
} // namespace

QString SqlEscape(const QString& value) {
    QString s = value;
    s.remove(QChar(u'\0'));
    s.replace(u'\'', QStringLiteral("''"));
    return s;
}

QString SqlQuote(const QString& value) { return u'\'' + SqlEscape(value) + u'\''; }

void setConnectHooks(const ConnectHooks& h) { hooks() = h; }

bool ConnectServer() {
    ServerConnection& sc = ServerConnection::instance();
    if (sc.State() == 1)
        return true;
    if (hooks().busyOn)
        hooks().busyOn();
    QString error;
    const bool ok = sc.Open(&error);
    if (hooks().busyOff)
        hooks().busyOff();
    if (!ok && hooks().fatal)
        hooks().fatal(error);
    return ok;
}

long SQLDelete(const QString& tableName, const QString& whereClause, QString* error) {
    long affected = 0;
    ServerConnection::instance().Execute(QStringLiteral("DELETE  FROM ") + tableName + QStringLiteral(" WHERE ") +
                                             whereClause,
                                         affected, error);
    return affected;
}

bool SQLSelectToFlex(FlexGrid& grid, const QString& queryTail, QString* error) {
    if (!ConnectServer()) {
        if (error)
            *error = ServerConnection::instance().lastError();
        return false;
    }
    long affected = 0;
    Recordset rs = ServerConnection::instance().Execute(QStringLiteral("SELECT * FROM ") + queryTail, affected, error);
    if (affected == 0)
        return false;
    const int fields = rs.FieldCount();
    std::vector<QStringList> rows;
    rows.reserve(rs.RecordCount());
    while (!rs.isEOF()) {
        QStringList row;
        row.reserve(fields);
        for (int i = 0; i < fields; ++i)
            row.append(FieldText(rs.Fields(i)));
        rows.push_back(std::move(row));
        rs.MoveNext();
    }
    grid.loadReversed(fields, std::move(rows));
    return true;
}

} // namespace ModSQL
