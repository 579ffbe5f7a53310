#include "data/ServerConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

Q_LOGGING_CATEGORY(lcSql, "brentoval.sql", QtWarningMsg)

namespace {
// Every statement goes to the logging category and, when BRENTOVAL_SQL_LOG names a file, is
// appended to it, each ended by an ASCII record separator: the tests gather what they sent there
// and check it against SQL Server's dialect. Several processes may append to one file.
void logStatement(const QString& sql) {
    qCDebug(lcSql).noquote() << sql;
    static QMutex lock;
    static QFile* const file = [] {
        const QString path = qEnvironmentVariable("BRENTOVAL_SQL_LOG");
        auto* f = path.isEmpty() ? nullptr : new QFile(path);
        if (f && !f->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            delete f;
            f = nullptr;
        }
        return f;
    }();
    if (!file)
        return;
    QMutexLocker locked(&lock);
    file->write(sql.toUtf8() + "\x1e\n");
}
} // namespace

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
    d.setUserName(m_settings.userName);
    d.setPassword(m_settings.password);
    m_openErrorCode.clear();
    const bool sqlite = m_settings.qtDriver == QLatin1String("QSQLITE");
    if (sqlite) {
        // Two copies on one machine wait for each other instead of failing. A file: name carries
        // its own options (a read-only folder's database opens for reading only).
        d.setConnectOptions(m_settings.connectionString.startsWith(QLatin1String("file:"))
                                ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000;QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY")
                                : QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    } else {
        d.setConnectOptions(
            QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1").arg(m_settings.loginTimeoutSeconds));
    }
    if (!d.open()) {
        m_lastError = d.lastError().text();
        m_openErrorCode = d.lastError().nativeErrorCode();
        if (m_lastError.trimmed().isEmpty())
            m_lastError = QStringLiteral("Cannot connect to the server");
        qCInfo(lcSql).noquote() << "cannot connect:" << m_lastError;
        if (error)
            *error = m_lastError;
        d = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        return false;
    }
    if (sqlite) {
        // The rollback journal holds no lock between statements. Write-ahead logging holds its locks
        // for as long as the file is open, and on Linux a process loses its POSIX locks on a file when
        // any of its descriptors of that file closes, as a file or print dialog's look at the folder
        // does: a second copy then took the database for unused and removed its -wal and -shm under
        // the first. (Windows' locks belong to the handle that took them and never went.)
        QSqlQuery q(d);
        q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
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

void ServerConnection::remember(const QString& sql) {
    // A statement that saves an order holds its whole text: once twice the kept number have
    // gathered, the older half goes, so the list is moved only now and then.
    if (m_executed.size() >= 2 * KeptStatements) {
        m_executed.remove(0, KeptStatements);
        m_executedBefore += KeptStatements;
    }
    m_executed.append(sql);
}

bool ServerConnection::start(QSqlQuery& q, const QString& sql, QString* error) {
    m_failure = Failure::None;
    if (beforeExecute)
        beforeExecute(sql);
    remember(sql);
    logStatement(sql);
    if (State() != 1 && m_dropped) {
        QString reopenError;
        Open(&reopenError);
    }
    if (State() != 1) {
        m_lastError = QStringLiteral("Operation is not allowed when the object is closed.");
        m_failure = Failure::NotSent;
        if (error)
            *error = m_lastError;
        return false;
    }
    q = QSqlQuery(db());
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        m_lastError = q.lastError().text();
        if (m_lastError.trimmed().isEmpty())
            m_lastError = QStringLiteral("The statement failed");
        qCInfo(lcSql).noquote() << "refused:" << m_lastError << "::" << sql;
        if (error)
            *error = m_lastError;
        const QSqlError e = q.lastError();
        q.finish();
        m_failure = refusal(e);
        return false;
    }
    return true;
}

bool ServerConnection::fetch(QSqlQuery& q, const std::function<void(const QSqlQuery&)>& onRow, QString* error) {
    QElapsedTimer since;
    since.start();
    unsigned rows = 0;
    while (q.next()) {
        onRow(q);
        // The clock is read every 16 rows: read for every row it is a measurable part of a long
        // read, and 16 rows take far less than the 30 ms between yields.
        if ((++rows & 15) == 0 && since.elapsed() > 30) {
            if (yieldHook)
                yieldHook();
            since.restart();
        }
    }
    if (q.lastError().isValid() && q.lastError().type() != QSqlError::NoError) {
        // The fetch broke off: report it, and show nothing half read.
        m_lastError = q.lastError().text();
        qCInfo(lcSql).noquote() << "fetch broke off:" << m_lastError << "::" << q.lastQuery();
        if (error)
            *error = m_lastError;
        q.finish();
        m_failure = probeAfterFailure() ? Failure::Refused : Failure::NoReply;
        return false;
    }
    return true;
}

Recordset ServerConnection::Execute(const QString& sql, long& recordsAffected, QString* error) {
    recordsAffected = 0;
    Recordset rs;
    QSqlQuery q;
    if (!start(q, sql, error))
        return rs;
    if (q.isSelect()) {
        const QSqlRecord rec = q.record();
        const int n = rec.count();
        for (int i = 0; i < n; ++i)
            rs.m_names.append(rec.fieldName(i));
        const bool read = fetch(
            q,
            [&](const QSqlQuery& row) {
                QVariantList values;
                values.reserve(n);
                for (int i = 0; i < n; ++i)
                    values.append(row.value(i));
                rs.m_rows.push_back(std::move(values));
            },
            error);
        if (!read)
            return Recordset();
        recordsAffected = -1;
    } else {
        recordsAffected = q.numRowsAffected();
        if (recordsAffected < 0)
            recordsAffected = 0;
    }
    q.finish();
    if (replyLost(sql, error)) {
        recordsAffected = 0;
        return Recordset();
    }
    return rs;
}

bool ServerConnection::replyLost(const QString& sql, QString* error) {
    if (!afterExecute || !afterExecute(sql))
        return false;
    m_lastError = QStringLiteral("The server's reply was lost");
    if (error)
        *error = m_lastError;
    probeAfterFailure();
    m_failure = Failure::NoReply;
    return true;
}

bool ServerConnection::transactionStep(const QString& what, bool (QSqlDatabase::*step)(), QString* error) {
    m_failure = Failure::None;
    if (beforeExecute)
        beforeExecute(what);
    remember(what);
    logStatement(what);
    // A dropped connection is opened again the way a statement would, but only to begin: a
    // commit on a new connection would have nothing to commit.
    if (step == &QSqlDatabase::transaction && State() != 1 && m_dropped)
        Open(nullptr);
    if (State() == 1) {
        QSqlDatabase d = db();
        if ((d.*step)()) {
            if (!replyLost(what, error))
                return true;
            return false;
        }
        m_lastError = d.lastError().text();
        m_failure = refusal(d.lastError());
    } else {
        m_lastError = QStringLiteral("Operation is not allowed when the object is closed.");
        m_failure = Failure::NotSent;
    }
    if (m_lastError.trimmed().isEmpty())
        m_lastError = QStringLiteral("The transaction failed");
    if (error)
        *error = m_lastError;
    return false;
}

bool ServerConnection::BeginTrans(QString* error) {
    return transactionStep(QStringLiteral("BEGIN TRANSACTION"), &QSqlDatabase::transaction, error);
}

bool ServerConnection::CommitTrans(QString* error) {
    if (transactionStep(QStringLiteral("COMMIT"), &QSqlDatabase::commit, error))
        return true;
    const Failure f = m_failure; // what the commit left known, not what the rollback did
    const QString e = m_lastError;
    RollbackTrans();
    m_failure = f;
    m_lastError = e;
    return false;
}

void ServerConnection::RollbackTrans() {
    transactionStep(QStringLiteral("ROLLBACK"), &QSqlDatabase::rollback, nullptr);
}

int ServerConnection::ExecuteEach(const QString& sql, long& recordsAffected, QString* error,
                                  const std::function<void(const QSqlQuery&)>& record) {
    recordsAffected = 0;
    QSqlQuery q;
    if (!start(q, sql, error))
        return 0;
    if (!q.isSelect()) {
        recordsAffected = std::max(q.numRowsAffected(), 0);
        q.finish();
        if (replyLost(sql, error))
            recordsAffected = 0;
        return 0;
    }
    const int fields = q.record().count();
    if (!fetch(q, record, error))
        return fields;
    recordsAffected = -1;
    q.finish();
    if (replyLost(sql, error))
        recordsAffected = 0;
    return fields;
}

ServerConnection::Failure ServerConnection::refusal(const QSqlError& e) {
    if (!probeAfterFailure())
        return Failure::NoReply;
    // SQLITE_READONLY and its extended codes: a database opened for reading only, or a file or
    // folder that cannot be written.
    bool number = false;
    const int code = e.nativeErrorCode().toInt(&number);
    if (m_settings.qtDriver == QLatin1String("QSQLITE") && number && (code & 0xff) == 8)
        return Failure::ReadOnly;
    return Failure::Refused;
}

QString ServerConnection::databaseFolder() const {
    if (m_settings.qtDriver != QLatin1String("QSQLITE"))
        return {};
    const QString name = m_settings.connectionString;
    const QString path = name.startsWith(QLatin1String("file:")) ? QUrl(name).toLocalFile() : name;
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

bool ServerConnection::probeAfterFailure() {
    // A dropped ODBC connection still claims to be open; ask the server once to find out.
    if (m_settings.qtDriver == QLatin1String("QSQLITE"))
        return State() == 1;
    QSqlQuery probe(db());
    if (!probe.exec(QStringLiteral("SELECT 1")) || !probe.next()) {
        probe.finish();
        m_open = false;
        m_dropped = true;
        QSqlDatabase d = db();
        d.close();
        return false;
    }
    return true;
}
