#include "data/ModSQL.h"

#include "data/FieldText.h"
#include "data/ServerConnection.h"

#include <QCoreApplication>
#include <algorithm>

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

QString SqlQuote(const QString& value) {
    return u'\'' + SqlEscape(value) + u'\'';
}

void setConnectHooks(const ConnectHooks& h) {
    hooks() = h;
}

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
    ServerConnection::instance().Execute(QStringLiteral("DELETE  FROM ") + tableName +
                                             QStringLiteral(" WHERE ") + whereClause,
                                         affected, error);
    return affected;
}

bool SQLSelectToFlex(FlexGrid& grid, const QString& queryTail, QString* error, const FlexLayout& layout) {
    if (!ConnectServer()) {
        if (error)
            *error = ServerConnection::instance().lastError();
        return false;
    }
    // The cells go straight from the query into the rows the grid keeps: no record kept on the way,
    // no list per record, no second copy.
    std::vector<std::vector<QString>> rows;
    int cols = layout.cols;
    int read = 0;
    long affected = 0;
    const int fields = ServerConnection::instance().ExecuteEach(
        QStringLiteral("SELECT * FROM ") + queryTail, affected, error, [&](const QSqlQuery& q) {
            if (rows.empty()) {
                cols = layout.cols < 0 ? q.record().count() : layout.cols;
                read = std::min(cols, q.record().count());
                rows.reserve(1024);
            }
            // Room for one more column: windows add a computed one after the fill (the
            // catalogue editor's ratio), which then costs no second allocation per row.
            std::vector<QString>& row = rows.emplace_back();
            row.reserve(size_t(cols) + 1);
            row.resize(size_t(cols));
            for (int i = 0; i < read; ++i)
                if (i != layout.fillColumn)
                    row[size_t(i)] = FieldText(q.value(i));
            if (layout.fillColumn >= 0 && layout.fillColumn < cols)
                row[size_t(layout.fillColumn)] = layout.fill;
            if (layout.eachRow)
                layout.eachRow(row);
        });
    if (affected == 0)
        return false;
    if (cols < 0)
        cols = fields;
    if (layout.eachRow && !rows.empty())
        cols = int(rows.front().size());
    grid.loadReversed(cols, std::move(rows));
    return true;
}

} // namespace ModSQL
