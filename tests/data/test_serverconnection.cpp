// The connection layer and statement procedures against SQLite and PostgreSQL through ODBC.
#include "TestDb.h"
#include "data/FieldText.h"
#include "data/FlexGrid.h"
#include "data/EmbeddedDatabase.h"
#include "data/GroupTables.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"

#include <QtTest>

class TestServerConnection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data() { TestDb::addBackendRows(); }
    void initTestCase() { TestDb::installRecordingHooks(); }
    void init() {
        TESTDB_INIT();
        TestDb::fatalErrors().clear();
    }

    void connectOpensOnceAndKeepsTheConnection() {
        ServerConnection& sc = ServerConnection::instance();
        QCOMPARE(sc.State(), 0);
        QVERIFY(ModSQL::ConnectServer());
        QCOMPARE(sc.State(), 1);
        QVERIFY(ModSQL::ConnectServer());
        QCOMPARE(sc.State(), 1);
        QVERIFY(TestDb::fatalErrors().isEmpty());
    }

    void recordsAffectedFollowTheStatementKind() {
        QVERIFY(ModSQL::ConnectServer());
        ServerConnection& sc = ServerConnection::instance();
        long n = 99;
        sc.Execute(QStringLiteral("INSERT INTO bown2 (orderid,tel) VALUES('1','01000000001')"), n);
        QCOMPARE(n, 1L);
        sc.Execute(QStringLiteral("INSERT INTO bown2 (orderid,tel) VALUES('2','01000000001')"), n);
        sc.Execute(QStringLiteral("UPDATE bown2 SET submitted = '101' WHERE tel='01000000001'"), n);
        QCOMPARE(n, 2L);
        Recordset rs = sc.Execute(QStringLiteral("SELECT * FROM bown2"), n);
        QCOMPARE(n, -1L);
        QCOMPARE(rs.FieldCount(), 11);
        QCOMPARE(rs.FieldName(1).toLower(), QStringLiteral("orderid"));
        // A SELECT right after a change must not report the change's count.
        sc.Execute(QStringLiteral("SELECT * FROM bown2 WHERE orderid='none'"), n);
        QCOMPARE(n, -1L);
        QString error;
        sc.Execute(QStringLiteral("SELECT * FROM no_such_table"), n, &error);
        QCOMPARE(n, 0L);
        QVERIFY(!error.isEmpty());
        sc.Execute(QStringLiteral("DELETE FROM bown2 WHERE orderid='none'"), n);
        QCOMPARE(n, 0L);
    }

    void recordsetWalksForwardWithFieldsByNameAndPosition() {
        QVERIFY(
            TestDb::exec(QStringLiteral("INSERT INTO bown2 (orderid,tel,date) VALUES('a','t1','261207')")));
        QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO bown2 (orderid,tel,date) VALUES('b','t2','10.3')")));
        QVERIFY(ModSQL::ConnectServer());
        long n = 0;
        Recordset rs =
            ServerConnection::instance().Execute(QStringLiteral("SELECT * FROM bown2 ORDER BY orderid"), n);
        QVERIFY(!rs.isEOF());
        QCOMPARE(FieldText(rs.Fields(1)), QStringLiteral("a"));
        QCOMPARE(FieldText(rs.Fields(QStringLiteral("TEL"))), QStringLiteral("t1"));
        QCOMPARE(FieldText(rs.Fields(2)), QStringLiteral("261207"));
        QCOMPARE(FieldText(rs.Fields(0)), QString()); // NULL drug
        QCOMPARE(FieldText(rs.Fields(7)), QString()); // NULL integer, not "0"
        QCOMPARE(FieldText(rs.Fields(99)), QString());
        rs.MoveNext();
        QCOMPARE(FieldText(rs.Fields(2)), QStringLiteral("10.3"));
        rs.MoveNext();
        QVERIFY(rs.isEOF());
        QCOMPARE(FieldText(rs.Fields(1)), QString()); // no current record reads empty
    }

    void quotedValuesKeepApostrophesAndArabic() {
        QVERIFY(ModSQL::ConnectServer());
        const QString name = QStringLiteral("O'Brien's دواء \"x\" ; --");
        long n = 0;
        ServerConnection::instance().Execute(QStringLiteral("INSERT INTO bowndrugs (drug,price) VALUES(") +
                                                 ModSQL::SqlQuote(name) + QStringLiteral(",'12.5')"),
                                             n);
        QCOMPARE(n, 1L);
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT drug FROM bowndrugs")), name);
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT price FROM bowndrugs")), QStringLiteral("12.5"));
        QCOMPARE(ModSQL::SqlQuote(QStringLiteral("a'b")), QStringLiteral("'a''b'"));
        QCOMPARE(ModSQL::SqlQuote(QStringLiteral("plain")), QStringLiteral("'plain'"));
    }

    void textsLongerThanAPageSurviveTheDriver() {
        QVERIFY(ModSQL::ConnectServer());
        const QString longText = QString(u'^') + QString(20000, u'ب') + u'|';
        long n = 0;
        ServerConnection::instance().Execute(QStringLiteral("INSERT INTO bown2 (drug,orderid) VALUES(") +
                                                 ModSQL::SqlQuote(longText) + QStringLiteral(",'L')"),
                                             n);
        QCOMPARE(n, 1L);
        Recordset rs = ServerConnection::instance().Execute(QStringLiteral("SELECT * FROM bown2"), n);
        QCOMPARE(FieldText(rs.Fields(0)), longText);
    }

    void deleteTextIsExact() {
        QVERIFY(ModSQL::ConnectServer());
        QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO bown2 (orderid) VALUES('261207101010')")));
        QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO bown2 (orderid) VALUES('261207101011')")));
        ServerConnection::instance().clearExecutedStatements();
        const long n =
            ModSQL::SQLDelete(QStringLiteral("bown2"), QStringLiteral(" orderid = '261207101010'; "));
        QCOMPARE(n, 1L);
        QCOMPARE(ServerConnection::instance().executedStatements().last(),
                 QStringLiteral("DELETE  FROM bown2 WHERE  orderid = '261207101010'; "));
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2")), QStringLiteral("1"));
    }

    // A copy left running keeps only the latest statements; a count taken before some of them
    // still finds exactly those after it.
    void keptStatementsAreBoundedAndCounted() {
        QVERIFY(ModSQL::ConnectServer());
        ServerConnection& server = ServerConnection::instance();
        server.clearExecutedStatements();
        const qsizetype kept = ServerConnection::KeptStatements, mark = 4 * kept + 1;
        for (long i = 0, n = 0; i < 5 * kept + 3; ++i) {
            server.Execute(QStringLiteral("SELECT %1").arg(i), n);
            QVERIFY(server.executedStatements().size() <= 2 * kept);
        }
        const QStringList since = server.executedSince(mark);
        QCOMPARE(server.executedCount(), 5 * kept + 3);
        QCOMPARE(since.size(), kept + 2);
        QCOMPARE(since.first(), QStringLiteral("SELECT %1").arg(mark));
    }

    void selectToFlexShowsRecordsReversedWithNullsEmpty() {
        QVERIFY(
            TestDb::exec(QStringLiteral("INSERT INTO bowndrugs (drug,price,disc) VALUES('first','1',NULL)")));
        QVERIFY(TestDb::exec(
            QStringLiteral("INSERT INTO bowndrugs (drug,price,disc) VALUES('second','2','20')")));
        QVERIFY(TestDb::exec(
            QStringLiteral("INSERT INTO bowndrugs (drug,price,disc) VALUES('third',NULL,'30')")));
        FlexGrid grid(5, 3);
        grid.setTextMatrix(0, 0, QStringLiteral("header"));
        grid.setTextMatrix(3, 1, QStringLiteral("old"));
        ServerConnection::instance().clearExecutedStatements();
        QVERIFY(ModSQL::SQLSelectToFlex(grid, QStringLiteral("bowndrugs ORDER BY drug;")));
        QCOMPARE(ServerConnection::instance().executedStatements().last(),
                 QStringLiteral("SELECT * FROM bowndrugs ORDER BY drug;"));
        QCOMPARE(grid.Rows(), 4);
        QCOMPARE(grid.Cols(), 9);
        QCOMPARE(grid.TextMatrix(0, 0), QStringLiteral("header"));
        QCOMPARE(grid.TextMatrix(1, 0), QStringLiteral("third"));
        QCOMPARE(grid.TextMatrix(2, 0), QStringLiteral("second"));
        QCOMPARE(grid.TextMatrix(3, 0), QStringLiteral("first"));
        QCOMPARE(grid.TextMatrix(1, 1), QString());
        QCOMPARE(grid.TextMatrix(1, 2), QStringLiteral("30"));
        QCOMPARE(grid.TextMatrix(3, 2), QString());
    }

    void selectToFlexLaysOutOtherColumnsWhileReading() {
        QVERIFY(TestDb::exec(
            QStringLiteral("INSERT INTO bowndrugs (drug,price,disc,lastdate) VALUES('a','1','2','x')")));
        QVERIFY(TestDb::exec(
            QStringLiteral("INSERT INTO bowndrugs (drug,price,disc,lastdate) VALUES('b',NULL,'3','y')")));
        FlexGrid grid(3, 2);
        QVERIFY(ModSQL::SQLSelectToFlex(grid, QStringLiteral("bowndrugs ORDER BY drug;"), nullptr,
                                        {4, 2, QStringLiteral("=>")}));
        QCOMPARE(grid.Cols(), 4);
        QCOMPARE(grid.Rows(), 3);
        const QStringList want[] = {{"b", "", "=>", "y"}, {"a", "1", "=>", "x"}};
        for (int r = 1; r <= 2; ++r)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(grid.TextMatrix(r, c), want[r - 1][c]);
        // More columns than fields: the ones past the fields stay empty.
        QVERIFY(ModSQL::SQLSelectToFlex(grid, QStringLiteral("smartertable ;"), nullptr, {6, -1, {}}));
        QCOMPARE(grid.Cols(), 6);
        QCOMPARE(grid.TextMatrix(1, 4), QString());
        QCOMPARE(grid.TextMatrix(1, 0), QStringLiteral("BRENTOVAL"));
    }

    void selectToFlexWithNoRowsKeepsHeaderAndFieldCount() {
        FlexGrid grid(7, 2);
        QVERIFY(ModSQL::SQLSelectToFlex(grid, QStringLiteral("bown2")));
        QCOMPARE(grid.Rows(), 1);
        QCOMPARE(grid.Cols(), 11);
    }

    void failedSelectLeavesTheGridAsItWas() {
        FlexGrid grid(4, 3);
        grid.setTextMatrix(2, 2, QStringLiteral("keep"));
        QString error;
        QVERIFY(!ModSQL::SQLSelectToFlex(grid, QStringLiteral("missing_table"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(grid.Rows(), 4);
        QCOMPARE(grid.TextMatrix(2, 2), QStringLiteral("keep"));
    }

    // A missing group table is told apart from a server that cannot answer at all.
    void groupTablesAreCheckedWithoutMistakingAFailureForAMissingTable() {
        QVERIFY(ModSQL::ConnectServer());
        QString error;
        QCOMPARE(GroupTables::Check({QStringLiteral("bown2"), QStringLiteral("bowndrugs")}, &error),
                 GroupTables::Presence::Present);
        QCOMPARE(GroupTables::Check({QStringLiteral("bown2"), QStringLiteral("grp_not_made")}, &error),
                 GroupTables::Presence::Missing);
        QVERIFY(GroupTables::MissingMessage().contains(GroupTables::ServerScript));
        for (const QString& stmt : EmbeddedDatabase::schemaStatements(QStringLiteral("group-sqlite")))
            QCOMPARE(GroupTables::Check({EmbeddedDatabase::tableOf(stmt)}), GroupTables::Presence::Present);
        ServerConnection::instance().beforeExecute = [](const QString&) { ServerConnection::instance().Close(); };
        const auto presence = GroupTables::Check({QStringLiteral("grp_not_made")}, &error);
        ServerConnection::instance().beforeExecute = nullptr;
        QCOMPARE(presence, GroupTables::Presence::ServerFailed);
        QVERIFY(!error.isEmpty());
    }

    void unreachableServerGivesTheDriversText() {
        ConnectionSettings s = TestDb::settings();
        if (s.qtDriver == QLatin1String("QSQLITE"))
            s.connectionString = QStringLiteral("/nonexistent-folder/for/sure/brentoval.db");
        else
            s.connectionString.replace(QRegularExpression(QStringLiteral("Port=\\d+")),
                                       QStringLiteral("Port=1"));
        s.loginTimeoutSeconds = 3;
        ServerConnection::instance().configure(s);
        QVERIFY(!ModSQL::ConnectServer());
        QCOMPARE(TestDb::fatalErrors().size(), 1);
        QVERIFY2(!TestDb::fatalErrors().first().trimmed().isEmpty(), "the driver's error text");
        QCOMPARE(ServerConnection::instance().State(), 0);
    }
};

QTEST_GUILESS_MAIN(TestServerConnection)
#include "test_serverconnection.moc"
