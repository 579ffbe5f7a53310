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
    // Ends every session of database db but the asking one; how many it ended, -1 when it could not ask.
    int terminateSessionsOf(const QString& db) {
        int ended = -1;
        {
            QSqlDatabase a =
                QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("cluster-admin"));
            a.setDatabaseName(connectionString(QStringLiteral("postgres")));
            if (a.open()) {
                QSqlQuery q(a);
                if (q.exec(QStringLiteral("WITH s AS MATERIALIZED (SELECT pid FROM pg_stat_activity WHERE datname = "
                                          "'%1' AND pid <> pg_backend_pid()) SELECT count(*) FROM s WHERE pg_terminate_backend(pid)")
                               .arg(db)) &&
                    q.next())
                    ended = q.value(0).toInt();
            }
            a.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("cluster-admin"));
        return ended;
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
