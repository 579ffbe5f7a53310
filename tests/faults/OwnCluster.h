#pragma once

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

// A PostgreSQL cluster of one test's own, so stopping it disturbs no other test.
class OwnCluster {
public:
    bool start() {
        if (!m_dir.isValid())
            return false;
        return run(QStringLiteral("start"));
    }
    bool stop() { return run(QStringLiteral("stop-server")); }
    bool restart() { return run(QStringLiteral("start-server")); }
    void destroy() { run(QStringLiteral("stop")); }
    QString connectionString(const QString& db) const {
        QFile f(m_dir.filePath(QStringLiteral("conn.txt")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).trimmed() + QStringLiteral(";Database=") + db;
    }
    // Ends every session of database db but the asking one.
    bool terminateSessionsOf(const QString& db) {
        bool ok = false;
        {
            QSqlDatabase a =
                QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("cluster-admin"));
            a.setDatabaseName(connectionString(QStringLiteral("postgres")));
            ok = a.open();
            if (ok) {
                QSqlQuery q(a);
                ok = q.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                                           "datname = '%1' AND pid <> pg_backend_pid()")
                                .arg(db));
            }
            a.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("cluster-admin"));
        return ok;
    }

private:
    bool run(const QString& cmd) {
        QProcess p;
        p.start(QStringLiteral("bash"), {QStringLiteral(PG_CLUSTER_SCRIPT), cmd, m_dir.path()});
        p.waitForFinished(120000);
        if (p.exitCode() != 0)
            qWarning("%s", p.readAllStandardError().constData());
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    QTemporaryDir m_dir;
};
