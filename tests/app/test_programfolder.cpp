// The program's folder as start-up finds it: writable, not writable and empty, not writable with a
// database already there (opened for reading only, nothing written beside it, and every change
// told as refused by the read-only folder, naming it).
#include "app/AppStart.h"
#include "data/AppGlobals.h"
#include "app/AppStartTexts.h"
#include "data/FieldText.h"
#include "data/ServerConnection.h"
#include "data/WriteRoad.h"
#include "ordering/OrderPane.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestProgramFolder : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    // Blanks and Arabic letters, as in a folder a pharmacy names.
    QString folder() const { return m_tmp.filePath(QStringLiteral("برنامج الطلبات 9")); }
    QString db() const { return folder() + QStringLiteral("/brentoval.db"); }

    // A statement, a transaction and the order editor's new order on the open read-only database:
    // each is told as the folder's, never as a server that was not reached or refused.
    void changesAreToldAsAReadOnlyFolder() {
        const QString told = WriteRoad::ReadOnlyText.arg(QDir::toNativeSeparators(folder()));
        const WriteRoad::Result run = WriteRoad::Run(QStringLiteral("UPDATE smartertable SET appmsg = 'x'"));
        QCOMPARE(run.outcome, WriteRoad::Outcome::ReadOnly);
        QCOMPARE(WriteRoad::Text(run), told);
        const WriteRoad::Result tx = WriteRoad::Transaction([] {
            return WriteRoad::Step(QStringLiteral("INSERT INTO bown2 (orderid, tel) VALUES ('1', '2')"));
        });
        QCOMPARE(WriteRoad::Text(tx), told);
        AppGlobals::LoginTel = QStringLiteral("01012345678");
        AppGlobals::LoginMarkaz = QStringLiteral("دسوق");
        PendingOrder::setFolder(m_tmp.filePath(QStringLiteral("pending")));
        QStringList said;
        FlexGrid lines;
        OrderPane pane(lines, {[&](const QString& t) { said << t; }, [](const QString&, bool) { return true; },
                               [](const QString&) { return QString(); }});
        pane.NewOrder();
        QVERIFY(!pane.hasOrder());
        // Then the line the pane adds on which order it shows.
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].startsWith(told + u'\n'), qPrintable(said[0]));
    }

private slots:
    void initTestCase() { QVERIFY(QDir().mkpath(folder())); }

    void writabilityIsTried() {
        QVERIFY(AppStart::folderWritable(folder()));
        QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList()); // the probe is gone
        QFile file(m_tmp.filePath(QStringLiteral("a-file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!AppStart::folderWritable(file.fileName()));
    }

    void unwritableEmptyFolderSaysWhereAndWhatToDo() {
        const AppStart::EmbeddedStart s = AppStart::openEmbedded(db(), false);
        QVERIFY(s.connectionString.isEmpty());
        QCOMPARE(s.message, AppStartTexts::FolderNotWritable.arg(QDir::toNativeSeparators(folder())));
        QVERIFY(s.message.contains(QStringLiteral("ببرنامج التثبيت")));
        QVERIFY(!QFile::exists(db()));
        // A folder that cannot even be made: the driver's reason and the folder.
        const QString under = m_tmp.filePath(QStringLiteral("a-file/sub/brentoval.db"));
        const AppStart::EmbeddedStart bad = AppStart::openEmbedded(under, true);
        QVERIFY(bad.connectionString.isEmpty());
        QVERIFY(bad.message.startsWith(AppStartTexts::LocalDatabaseFailed));
        QVERIFY(bad.message.endsWith(QDir::toNativeSeparators(QFileInfo(under).absolutePath())));
    }

    void writableFolderGetsItsDatabase() {
        const AppStart::EmbeddedStart s = AppStart::openEmbedded(db(), true);
        QCOMPARE(s.connectionString, db());
        QVERIFY(s.message.isEmpty());
        QVERIFY(QFileInfo(db()).size() > 0);
    }

    void unwritableFolderWithDatabaseOpensItForReading() {
        QVERIFY(QFile::exists(db()));
        const QStringList before = QDir(folder()).entryList(QDir::Files);
        const AppStart::EmbeddedStart s = AppStart::openEmbedded(db(), false);
        QCOMPARE(s.message, AppStartTexts::ReadOnlyFolder.arg(QDir::toNativeSeparators(folder())));
        ServerConnection& sc = ServerConnection::instance();
        sc.configure({QStringLiteral("QSQLITE"), s.connectionString});
        QString error;
        QVERIFY2(sc.Open(&error), qPrintable(error));
        long n = 0;
        Recordset rs = sc.Execute(QStringLiteral("SELECT appversion FROM smartertable WHERE appname = 'BRENTOVAL'"), n);
        QVERIFY(!rs.isEOF());
        QCOMPARE(FieldText(rs.Fields(0)), QStringLiteral("9.00"));
        changesAreToldAsAReadOnlyFolder();
        sc.Close();
        QCOMPARE(QDir(folder()).entryList(QDir::Files), before);
    }

    void readOnlyOpeningReadsWhatIsStillInTheLog() {
        // A copy that writes and has not folded its log into the file yet.
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        writer.setDatabaseName(db());
        QVERIFY(writer.open());
        QSqlQuery q(writer);
        QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode=WAL")));
        QVERIFY(q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
        QVERIFY(q.exec(QStringLiteral("UPDATE smartertable SET appmsg = 'in the log' WHERE appname = 'BRENTOVAL'")));
        QVERIFY(QFileInfo(db() + QStringLiteral("-wal")).size() > 0);
        const AppStart::EmbeddedStart s = AppStart::openEmbedded(db(), false);
        ServerConnection& sc = ServerConnection::instance();
        sc.configure({QStringLiteral("QSQLITE"), s.connectionString});
        QString error;
        QVERIFY2(sc.Open(&error), qPrintable(error));
        long n = 0;
        Recordset rs = sc.Execute(QStringLiteral("SELECT appmsg FROM smartertable WHERE appname = 'BRENTOVAL'"), n);
        QCOMPARE(FieldText(rs.Fields(0)), QStringLiteral("in the log"));
        changesAreToldAsAReadOnlyFolder();
        sc.Close();
        q.finish();
        writer.close();
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "test_programfolder.moc"
