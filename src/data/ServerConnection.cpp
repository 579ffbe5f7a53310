#include "data/ServerConnection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

Q_LOGGING_CATEGORY(lcSql, "brentoval.sql", QtWarningMsg)

QVariant Recordset::Fields(int i) const {
    if (isEOF() || i < 0 || i >= m_names.size())
        return {};
    const QVariantList& row = m_rows[m_pos];
    return i < row.size() ? row.at(i) : QVariant();
}

QVariant Recordset::Fields(const QString& name) const {
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return Fields(i);
    return {};
}

ServerConnection& ServerConnection::instance() {
    static ServerConnection connection;
    return connection;
}

void ServerConnection::configure(const ConnectionSettings& settings) {
    Close();
    m_settings = settings;
}

QSqlDatabase ServerConnection::db() const { return QSqlDatabase::database(m_connectionName, false); }

int ServerConnection::State() const { return (m_open && db().isOpen()) ? 1 : 0; }

bool ServerConnection::Open(QString* error) {
    const bool dropped = m_dropped;
    Close();
    m_dropped = dropped; // a failed reopen keeps the next statements trying
    if (!QSqlDatabase::isDriverAvailable(m_settings.qtDriver)) {
        m_lastError = QStringLiteral("Driver not loaded: %1").arg(m_settings.qtDriver);
        if (error)
            *error = m_lastError;
        return false;
    }
    QSqlDatabase d = QSqlDatabase::addDatabase(m_settings.qtDriver, m_connectionName);
    d.setDatabaseName(m_settings.connectionString);
    const bool sqlite = m_settings.qtDriver == QLatin1String("QSQLITE");
    if (sqlite) {
        // Two copies on one machine wait for each other instead of failing.
        d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    } else {
        d.setConnectOptions(
            QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1").arg(m_settings.loginTimeoutSeconds));
    }
    if (!d.open()) {
        m_lastError = d.lastError().text();
        if (m_lastError.trimmed().isEmpty())
            m_lastError = QStringLiteral("Cannot connect to the server");
        if (error)
            *error = m_lastError;
        d = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        return false;
    }
    if (sqlite) {
        QSqlQuery q(d);
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        q.exec(QStringLiteral("PRAGMA busy_timeout=15000"));
    }
    m_open = true;
    m_dropped = false;
    return true;
}

void ServerConnection::Close() {
    m_open = false;
    m_dropped = false;
    if (QSqlDatabase::contains(m_connectionName)) {
        {
            QSqlDatabase d = db();
            d.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

Recordset ServerConnection::Execute(const QString& sql, long& recordsAffected, QString* error) {
    Recordset rs;
    int n = 0;
    run(
        sql, recordsAffected, error,
        [&](const QSqlRecord& rec) {
            n = rec.count();
            for (int i = 0; i < n; ++i)
                rs.m_names.append(rec.fieldName(i));
        },
        [&](const QSqlQuery& q) {
            QVariantList row;
            row.reserve(n);
            for (int i = 0; i < n; ++i)
                row.append(q.value(i));
            rs.m_rows.push_back(std::move(row));
        });
    if (recordsAffected == 0)
        rs = Recordset(); // nothing half read
    return rs;
}

int ServerConnection::ExecuteEach(const QString& sql, long& recordsAffected, QString* error,
                                  const std::function<void(const QSqlQuery&)>& record) {
    int fields = 0;
    run(sql, recordsAffected, error, [&](const QSqlRecord& rec) { fields = rec.count(); }, record);
    return fields;
}

void ServerConnection::run(const QString& sql, long& recordsAffected, QString* error,
                           const std::function<void(const QSqlRecord&)>& fields,
                           const std::function<void(const QSqlQuery&)>& record) {
    recordsAffected = 0;
    m_executed.append(sql);
    qCDebug(lcSql).noquote() << sql;
    if (State() != 1 && m_dropped) {
        QString reopenError;
        Open(&reopenError);
    }
    if (State() != 1) {
        m_lastError = QStringLiteral("Operation is not allowed when the object is closed.");
        if (error)
            *error = m_lastError;
        return;
    }
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        m_lastError = q.lastError().text();
        if (m_lastError.trimmed().isEmpty())
            m_lastError = QStringLiteral("The statement failed");
        if (error)
            *error = m_lastError;
        q.finish();
        probeAfterFailure();
        return;
    }
    if (q.isSelect()) {
        recordsAffected = -1;
        fields(q.record());
        QElapsedTimer since;
        since.start();
        while (q.next()) {
            record(q);
            if (since.elapsed() > 30) {
                if (yieldHook)
                    yieldHook();
                since.restart();
            }
        }
        if (q.lastError().isValid() && q.lastError().type() != QSqlError::NoError) {
            // The fetch broke off: report it, and show nothing half read.
            m_lastError = q.lastError().text();
            if (error)
                *error = m_lastError;
            recordsAffected = 0;
            q.finish();
            probeAfterFailure();
            return;
        }
    } else {
        recordsAffected = q.numRowsAffected();
        if (recordsAffected < 0)
            recordsAffected = 0;
    }
    q.finish();
    return;
}

void ServerConnection::probeAfterFailure() {
    // A dropped ODBC connection still claims to be open; ask the server once to find out.
    if (m_settings.qtDriver == QLatin1String("QSQLITE"))
        return;
    QSqlQuery probe(db());
    if (!probe.exec(QStringLiteral("SELECT 1")) || !probe.next()) {
        probe.finish();
        m_open = false;
        m_dropped = true;
        QSqlDatabase d = db();
        d.close();
    }
}
