// The ODBC connection string the program builds: the exact text for ordinary values, braces where a
// value would otherwise end or split (as the SQL Server drivers read them), the extra attributes
// after the password.
#include "data/BuildSettings.h"

#include <QtTest>

using BuildSettings::OdbcConnectionString;
using BuildSettings::OdbcValues;
Q_DECLARE_METATYPE(OdbcValues)

class TestBuildSettings : public QObject {
    Q_OBJECT
private slots:
    void connectionString_data() {
        QTest::addColumn<OdbcValues>("values");
        QTest::addColumn<QString>("expected");
        const OdbcValues plain{"SQL Server", "srv", "db", "user", "12345678", ""};
        QTest::newRow("ordinary values, nothing added")
            << plain << "Driver={SQL Server};SERVER=srv;DATABASE=db;UID=user;PWD=12345678";
        OdbcValues v = plain;
        v.pwd = "ab;cd=ef";
        QTest::newRow("semicolon in the password") << v << "Driver={SQL Server};SERVER=srv;DATABASE=db;UID=user;PWD={ab;cd=ef}";
        v.pwd = "a}b{c";
        QTest::newRow("braces in the password") << v << "Driver={SQL Server};SERVER=srv;DATABASE=db;UID=user;PWD={a}}b{c}";
        v.pwd = "}";
        QTest::newRow("a lone closing brace") << v << "Driver={SQL Server};SERVER=srv;DATABASE=db;UID=user;PWD={}}}";
        v.pwd = " pass ";
        QTest::newRow("blanks at the ends kept") << v << "Driver={SQL Server};SERVER=srv;DATABASE=db;UID=user;PWD={ pass }";
        v.pwd = "p=a@s!s";
        QTest::newRow("other punctuation as it is") << v << "Driver={SQL Server};SERVER=srv;DATABASE=db;UID=user;PWD=p=a@s!s";
        v = plain;
        v.uid = "sa;x";
        v.database = "db{1}";
        QTest::newRow("user and database braced too")
            << v << "Driver={SQL Server};SERVER=srv;DATABASE={db{1}}};UID={sa;x};PWD=12345678";
        v = plain;
        v.driver = "ODBC Driver 18 for SQL Server";
        v.extra = "Encrypt=yes;TrustServerCertificate=yes";
        QTest::newRow("driver 18 with extra attributes")
            << v
            << "Driver={ODBC Driver 18 for SQL Server};SERVER=srv;DATABASE=db;UID=user;PWD=12345678;"
               "Encrypt=yes;TrustServerCertificate=yes";
        v.extra = " ;Encrypt=no; ";
        QTest::newRow("extra with stray separators") << v
            << "Driver={ODBC Driver 18 for SQL Server};SERVER=srv;DATABASE=db;UID=user;PWD=12345678;Encrypt=no";
        v.extra = ";";
        QTest::newRow("extra of separators only") << v
            << "Driver={ODBC Driver 18 for SQL Server};SERVER=srv;DATABASE=db;UID=user;PWD=12345678";
    }
    void connectionString() {
        QFETCH(OdbcValues, values);
        QFETCH(QString, expected);
        QCOMPARE(OdbcConnectionString(values), expected);
    }
};

QTEST_GUILESS_MAIN(TestBuildSettings)
#include "test_buildsettings.moc"
