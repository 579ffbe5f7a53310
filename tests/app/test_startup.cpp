// Start-up: the splash's fixed order of work, and a server that cannot be reached.
#include "TestDb.h"
#include "WindowCaseTest.h"
#include "app/AppStart.h"
#include "app/FormMain.h"
#include "app/FormSplash.h"
#include "data/AppGlobals.h"
#include "data/ServerConnection.h"
#include "ui/Dialogs.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <cstdio>
#include <cstdlib>

namespace {
const QString Query = QStringLiteral("SELECT * FROM smartertable WHERE  appname ='BRENTOVAL' ");

// The settings of a server that refuses: a SQLite file in a folder that does not exist, or a
// database the cluster does not have.
ConnectionSettings unreachable() {
    if (TestDb::currentBackend() == QLatin1String("sqlite"))
        return {QStringLiteral("QSQLITE"), QStringLiteral("/nonexistent-brentoval-dir/none/brentoval.db"), 5};
    return {QStringLiteral("QODBC"), TestDb::pgConnectionString(QStringLiteral("no_such_brentoval_db")), 5};
}

// In the child: what had been shown when the program ended.
void reportAtExit() {
    std::printf("exit-messages:%s\n", qPrintable(Dialogs::shownTexts().join(QStringLiteral("|"))));
    QStringList visible;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            visible << w->objectName();
    std::printf("exit-visible:%s\n", qPrintable(visible.join(QStringLiteral(","))));
    std::fflush(stdout);
}

// The program's own start-up against a refusing server, with its real fatal handling.
int serverDownChild(int argc, char** argv) {
    QApplication app(argc, argv);
    Dialogs::setTestMode(true);
    ServerConnection::instance().configure({QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]), 5});
    AppStart::installConnectHooks();
    std::atexit(reportAtExit);
    FormSplash splash;
    splash.loadClientBook = [] { std::printf("client-book\n"); };
    splash.show();
    app.exec();
    std::printf("returned\n");
    return 0;
}
} // namespace

class TestStartup : public WindowCaseTest {
    Q_OBJECT
private slots:

    void splashDoesItsWorkInOrderAfterTwoSeconds() {
        QVERIFY(TestDb::setControl(QStringLiteral("appmsg"), QStringLiteral("الطلبيات حتى الساعة ١٢ ظهرا")));
        QElapsedTimer clock;
        clock.start();
        FormSplash splash;
        int bookLoads = 0;
        int stateAtBook = -1;
        qsizetype statementsAtBook = -1;
        splash.loadClientBook = [&] {
            ++bookLoads;
            stateAtBook = ServerConnection::instance().State();
            statementsAtBook = ServerConnection::instance().executedStatements().size();
        };
        splash.show();
        QCOMPARE(splash.Timer1->interval(), 2000);
        QVERIFY(splash.Timer1->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(splash.mainWindow() != nullptr, 10000);
        QVERIFY(clock.elapsed() >= 2000);
        FormMain* m = splash.mainWindow();

        QCOMPARE(bookLoads, 1);
        QCOMPARE(stateAtBook, 0);
        QCOMPARE(statementsAtBook, 0);
        QCOMPARE(ServerConnection::instance().executedStatements(), QStringList{Query});
        QCOMPARE(AppGlobals::AppMessage, QStringLiteral("الطلبيات حتى الساعة ١٢ ظهرا"));
        // Read before the main window loaded: its button carries it.
        QCOMPARE(m->cccMsgCaption(), AppGlobals::AppMessage);
        QCOMPARE(m->CccMsg->text(), AppGlobals::AppMessage);
        QCOMPARE(splash.windowTitle(), QStringLiteral("BRENTO VAL  9.00"));
        QVERIFY(m->isVisible());
        QVERIFY(!m->isModal());
        QCOMPARE(m->parentWidget(), nullptr);
        QVERIFY(!splash.isVisible());
        QVERIFY(!splash.Timer1->isActive());
        QVERIFY(TestDb::fatalErrors().isEmpty());
        m->close();
    }

    void emptyMessageStillOpensTheMainWindow() {
        QVERIFY(TestDb::setControl(QStringLiteral("appmsg"), QString()));
        FormSplash splash;
        splash.Timer1->stop();
        splash.Timer1_Timer();
        QVERIFY(splash.mainWindow());
        QVERIFY(splash.mainWindow()->isVisible());
        QCOMPARE(splash.mainWindow()->CccMsg->text(), QString());
        splash.mainWindow()->close();
    }

    void missingControlRowStillOpensTheMainWindow() {
        QVERIFY(TestDb::exec(QStringLiteral("DELETE FROM smartertable")));
        FormSplash splash;
        splash.Timer1->stop();
        splash.Timer1_Timer();
        QVERIFY(splash.mainWindow());
        QCOMPARE(AppGlobals::AppMessage, QString());
        QVERIFY(TestDb::fatalErrors().isEmpty());
        splash.mainWindow()->close();
    }

    void unreachableServerShowsNoMainWindow() {
        ServerConnection::instance().configure(unreachable());
        FormSplash splash;
        splash.Timer1->stop();
        splash.show();
        splash.Timer1_Timer();
        QCOMPARE(TestDb::fatalErrors().size(), 1);
        QVERIFY(!TestDb::fatalErrors().first().trimmed().isEmpty());
        QVERIFY(!splash.mainWindow());
        QVERIFY(!splash.isVisible());
        QVERIFY(ServerConnection::instance().executedStatements().isEmpty());
    }

    void unreachableServerEndsTheProgramAfterTheDriversText() {
        const ConnectionSettings bad = unreachable();
        ServerConnection::instance().configure(bad);
        QString driverText;
        QVERIFY(!ServerConnection::instance().Open(&driverText));
        QVERIFY(!driverText.isEmpty());

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--server-down-child"), bad.qtDriver, bad.connectionString});
        QVERIFY(child.waitForFinished(60000));
        // Text-mode stdout ends Windows lines with CR LF.
        const QString out = QString::fromUtf8(child.readAllStandardOutput()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 1);
        QVERIFY2(out.contains(QStringLiteral("client-book\n")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("exit-messages:") + driverText + u'\n'), qPrintable(out));
        // Only the splash was ever up when the program ended.
        QVERIFY2(out.contains(QStringLiteral("exit-visible:FormSplash\n")), qPrintable(out));
        QVERIFY(!out.contains(QStringLiteral("returned")));
    }
};

int main(int argc, char** argv) {
    if (argc >= 4 && qstrcmp(argv[1], "--server-down-child") == 0)
        return serverDownChild(argc, argv);
    QApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_startup.moc"
