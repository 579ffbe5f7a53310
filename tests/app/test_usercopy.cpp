// What belongs to the user running the program: one copy (a second start brings the first
// forward) and a log in the application-data folder, rotated, with the server's refusals and
// never the password.
#include "app/AppStart.h"
#include "app/SingleCopy.h"
#include "data/UserLog.h"
#include "data/ServerConnection.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestUserCopy : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    void secondStartBringsTheFirstForward() {
        const QString name = SingleCopy::nameForUser() + QStringLiteral("-test-") + QString::number(QCoreApplication::applicationPid());
        QVERIFY(!SingleCopy(name).forwardToRunning(500));
        int asked = 0;
        {
            SingleCopy first(name);
            QVERIFY(first.listen([&] { ++asked; }));
            for (int start = 1; start <= 3; ++start) {
                QVERIFY(SingleCopy(name).forwardToRunning());
                QTRY_COMPARE(asked, start);
            }
            QVERIFY(!SingleCopy(name + QStringLiteral("-other")).forwardToRunning(500));
            // Closed before the program starts itself again: the new start is a first.
            first.close();
            QVERIFY(!SingleCopy(name).forwardToRunning(500));
            QVERIFY(first.listen([&] { ++asked; }));
        }
        // The first has ended: the next start is a first again.
        QVERIFY(!SingleCopy(name).forwardToRunning(500));
        QCOMPARE(asked, 3);
    }

    void logHoldsRefusalsRotatesAndNeverThePassword() {
        qputenv("LOCALAPPDATA", QDir::toNativeSeparators(m_home.filePath("local")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        AppStart::startLog();
        const QString log = UserLog::filePath();
        QVERIFY(log.startsWith(QDir::fromNativeSeparators(m_home.path())));
        const QString secret = QStringLiteral("Ph@rma$2026");
        UserLog::addSecret(secret);
        ServerConnection& sc = ServerConnection::instance();
        sc.configure({QStringLiteral("QSQLITE"), m_home.filePath("db.sqlite")});
        QVERIFY(sc.Open(nullptr));
        long n = 0;
        QString error;
        sc.Execute(QStringLiteral("SELECT '%1' FROM no_such_table").arg(secret), n, &error);
        QVERIFY(!error.isEmpty());
        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        f.close();
        QVERIFY2(text.contains(QLatin1String(" sql: refused: ")) && text.contains(QLatin1String("no_such_table")), qPrintable(text));
        QVERIFY2(!text.contains(secret), qPrintable(text));
        // Rotated at 1 MB, three older files kept: the folder never holds much more than 4 MB.
        const QString line(300, u'x');
        for (int i = 0; i < 20000; ++i)
            qWarning().noquote() << line << i;
        qint64 total = 0;
        const QStringList files = QDir(QFileInfo(log).absolutePath()).entryList({QStringLiteral("brentoval.log*")});
        QCOMPARE(files, (QStringList{"brentoval.log", "brentoval.log.1", "brentoval.log.2", "brentoval.log.3"}));
        for (const QString& name : files) {
            const qint64 size = QFileInfo(QDir(QFileInfo(log).absolutePath()).filePath(name)).size();
            QVERIFY2(size <= 1024 * 1024 + 1024, qPrintable(name));
            total += size;
        }
        QVERIFY(total > 3 * 1024 * 1024);
        sc.Close();
    }
};

QTEST_GUILESS_MAIN(TestUserCopy)
#include "test_usercopy.moc"
