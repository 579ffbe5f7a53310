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
    // The cells go straight from the query into the cells the grid takes over: no record kept on
    // the way, no list per record, no second copy.
    FlexCells cells;
    // The grid's columns for a statement of count fields.
    const auto colsFor = [&layout](int count) {
        return layout.cols < 0 ? count + std::max(layout.added, 0) : layout.cols;
    };
    int cols = layout.cols;
    int read = 0;
    int records = 0;
    long affected = 0;
    const int fields = ServerConnection::instance().ExecuteEach(
        QStringLiteral("SELECT * FROM ") + queryTail, affected, error, [&](const QSqlQuery& q) {
            if (records == 0) {
                const int count = q.record().count();
                cols = colsFor(count);
                read = std::min(cols, count);
                cells = FlexCells(cols);
                cells.append(); // the header's place
            }
            QString* row = cells.append();
            for (int i = 0; i < read; ++i)
                if (i != layout.fillColumn)
                    row[i] = FieldText(q.value(i));
            if (layout.fillColumn >= 0 && layout.fillColumn < cols)
                row[layout.fillColumn] = layout.fill;
            if (layout.eachRow)
                layout.eachRow(std::span<QString>(row, size_t(cols)));
            ++records;
        });
    if (affected == 0)
        return false;
    if (records == 0)
        cells = FlexCells(colsFor(fields));
    grid.loadReversed(std::move(cells));
    return true;
}

} // namespace ModSQL
