#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <functional>
#include <vector>

class QSqlError;

// How to reach the server. The program builds this from its compiled-in values; tests point it
// at their own servers.
struct ConnectionSettings {
    QString qtDriver;         // "QODBC" or "QSQLITE"
    QString connectionString; // ODBC connection string, or the SQLite file path
    int loginTimeoutSeconds = 15;
    // Appended by Qt's ODBC driver as ";UID=" and ";PWD=" when not empty.
    QString userName{};
    QString password{};
};

// The rows of one query, read forward-only and held in memory so the connection is free again.
class Recordset {
public:
    bool isEOF() const { return m_pos >= m_rows.size(); }
    void MoveNext() {
        if (m_pos < m_rows.size())
            ++m_pos;
    }
    int FieldCount() const { return int(m_names.size()); }
    QString FieldName(int i) const { return m_names.value(i); }
    // A position or name that does not exist, or no current record, gives an invalid QVariant.
    QVariant Fields(int i) const;
    QVariant Fields(const QString& name) const;
    int RecordCount() const { return int(m_rows.size()); }
    void Close() {
        m_rows.clear();
        m_pos = 0;
    }

private:
    friend class ServerConnection;
    QStringList m_names;
    std::vector<QVariantList> m_rows;
    size_t m_pos = 0;
};

// The one connection to the server, with the Execute behaviour the windows rely on: the records
// affected are -1 for a row-returning query, 0 for a failed statement, else the rows changed.
class ServerConnection {
public:
    static ServerConnection& instance();

    void configure(const ConnectionSettings& settings);
    const ConnectionSettings& settings() const { return m_settings; }

    // 1 when open, 0 when closed (also after a statement found the connection dropped). A dropped
    // connection is reopened by the next ConnectServer or Execute; the failed statement is not repeated.
    int State() const;
    bool Open(QString* error);
    void Close();

    Recordset Execute(const QString& sql, long& recordsAffected, QString* error = nullptr);

    // Statements that stand or fall together. A connection lost inside leaves nothing on the
    // server: the server drops what was not committed.
    bool BeginTrans(QString* error = nullptr);
    bool CommitTrans(QString* error = nullptr);
    void RollbackTrans();

    // A query like Execute, with the records handed to record one at a time (the query stands on each) instead
    // of being kept. Returns the number of fields. When the fetch breaks off, recordsAffected is 0
    // and the error is set as with Execute, after some records may have been handed over.
    int ExecuteEach(const QString& sql, long& recordsAffected, QString* error,
                    const std::function<void(const QSqlQuery&)>& record);
    QString lastError() const { return m_lastError; }
    // What the last failed statement or transaction step left known: it never reached the server,
    // the server answered with a refusal (nothing of it written), or no reply came (it may have
    // been carried out), or the embedded database is open for reading only (nothing written).
    enum class Failure { None, NotSent, Refused, NoReply, ReadOnly };
    Failure lastFailure() const { return m_failure; }
    // The driver's code for the last failure to open (an ODBC SQLSTATE such as "IM002").
    QString lastOpenErrorCode() const { return m_openErrorCode; }
    QString driverName() const { return m_settings.qtDriver; }
    // The folder of the embedded database file (native separators); empty for a server.
    QString databaseFolder() const;

    // The last statements executed (at least the last KeptStatements), oldest first; tests read it
    // to compare texts exactly. A copy that runs for weeks keeps no more than these.
    static constexpr qsizetype KeptStatements = 256;
    const QStringList& executedStatements() const { return m_executed; }
    // How many statements were executed since start or the last clear, and those after the first
    // count of them (as many of them as are still kept).
    qsizetype executedCount() const { return m_executedBefore + m_executed.size(); }
    QStringList executedSince(qsizetype count) const {
        return m_executed.mid(std::max<qsizetype>(0, count - m_executedBefore));
    }
    void clearExecutedStatements() {
        m_executed.clear();
        m_executedBefore = 0;
    }

    // Called before every statement with its text; fault tests lose the connection here.
    std::function<void(const QString& sql)> beforeExecute;
    // Called after a statement (or transaction step) the server carried out; true makes its reply
    // lost: the caller sees a failure although the server did the work.
    std::function<bool(const QString& sql)> afterExecute;

    // Called around long fetches so the user interface can repaint; set by the application.
    std::function<void()> yieldHook;

private:
    ServerConnection() = default;
    QSqlDatabase db() const;
    bool start(QSqlQuery& q, const QString& sql, QString* error);
    bool fetch(QSqlQuery& q, const std::function<void(const QSqlQuery&)>& onRow, QString* error);
    // True when the server still answers.
    bool probeAfterFailure();
    // What a statement the server answered with an error leaves known.
    Failure refusal(const QSqlError& e);
    bool replyLost(const QString& sql, QString* error);
    bool transactionStep(const QString& what, bool (QSqlDatabase::*step)(), QString* error);
    void remember(const QString& sql);

    ConnectionSettings m_settings;
    QString m_connectionName = QStringLiteral("brentoval-server");
    QString m_lastError;
    QString m_openErrorCode;
    QStringList m_executed;
    qsizetype m_executedBefore = 0; // executed and no longer kept
    bool m_open = false;
    Failure m_failure = Failure::None;
    bool m_dropped = false; // the server dropped an open connection; the next Execute reopens it
};
