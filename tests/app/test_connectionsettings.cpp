// Connection settings per machine: the values as the ODBC driver receives them (whatever ".dsn",
// ";", braces, "$" or blanks they hold), the settings file and its sealed password, the window that
// tests and saves them, and the installer's hand-over, against the PostgreSQL cluster.
#include "TestDb.h"
#include "app/AppStart.h"
#include "app/FormConnection.h"
#include "app/ConnectionStartTexts.h"
#include "app/FormConnectionTexts.h"
#include "data/ConnectionCheck.h"
#include "ui/Dialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using Values = ConnectionConfig::Values;

namespace {
// The attributes of a connection string as a driver manager reads them: "{…}" with "}}" for "}".
QMap<QString, QString> attributes(const QString& s) {
    QMap<QString, QString> out;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype eq = s.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = s.mid(i, eq - i).toUpper();
        QString value;
        i = eq + 1;
        if (i < s.size() && s[i] == u'{') {
            for (++i; i < s.size(); ++i) {
                if (s[i] == u'}' && i + 1 < s.size() && s[i + 1] == u'}')
                    value += s[i++];
                else if (s[i] == u'}')
                    break;
                else
                    value += s[i];
            }
            i += 2; // "}" and ";"
        } else {
            const qsizetype end = s.indexOf(u';', i);
            value = s.mid(i, end < 0 ? -1 : end - i);
            i = end < 0 ? s.size() : end + 1;
        }
        out.insert(key, value);
    }
    return out;
}

QString randomValue(QRandomGenerator& rng) {
    static const QStringList pieces{"a", "Z", "9", ".dsn", ".DSN", ";", "{", "}", "}}", "$", " ", "=", "@",
                                    "ص", "'", "\"", "-", "sql.dsnet.local"};
    QString v;
    for (int n = rng.bounded(0, 6); n > 0; --n)
        v += pieces[rng.bounded(qsizetype(pieces.size()))];
    return v;
}

Values randomValues(QRandomGenerator& rng) {
    return {QStringLiteral("ODBC Driver 18 for SQL Server"), randomValue(rng) + u'h', randomValue(rng), randomValue(rng),
            randomValue(rng), rng.bounded(2) ? QStringLiteral("Encrypt=yes;ServerSPN=MSSQLSvc/a.dsn") : QString()};
}

// Values that reach the test cluster as a role and a database whose names hold everything a
// connection string can trip on, with a password the server checks.
struct OddServer {
    Values values;
    bool ready = false;
};
} // namespace

class TestConnectionSettings : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;
    quint32 m_seed = 0;
    OddServer m_odd;

    OddServer makeOddServer() {
        OddServer o;
        const QString conn = TestDb::pgConnectionString(QStringLiteral("postgres"));
        const QString port = QRegularExpression(QStringLiteral("Port=(\\d+)")).match(conn).captured(1);
        const QString tag = QString::number(m_seed);
        o.values = {QStringLiteral("PostgreSQL Unicode"), QStringLiteral("127.0.0.1"),
                    QStringLiteral("d.dsn$ r") + tag, QStringLiteral("u.DSN$2026 y") + tag,
                    QStringLiteral("Ph@rma$2026 .dsn;{a}}b "), QStringLiteral("Port=") + port};
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("odd-admin"));
        admin.setDatabaseName(conn);
        if (!admin.open())
            return o;
        QSqlQuery q(admin);
        const auto ident = [](QString s) { return u'"' + s.replace(u'"', QStringLiteral("\"\"")) + u'"'; };
        const auto literal = [](QString s) { return u'\'' + s.replace(u'\'', QStringLiteral("''")) + u'\''; };
        q.exec(QStringLiteral("SHOW hba_file"));
        const QString hba = q.next() ? q.value(0).toString() : QString();
        // The odd role alone must give its password; the other tests' roles stay trusted.
        const QString line = QStringLiteral("host all %1 127.0.0.1/32 scram-sha-256").arg(ident(o.values.uid));
        // COPY empties its file before its query runs: the old lines are read first.
        q.exec(QStringLiteral("SELECT pg_read_file(%1)").arg(literal(hba)));
        const QString lines = q.next() ? line + u'\n' + q.value(0).toString() : QString();
        o.ready = !lines.isEmpty() &&
                  q.exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD %2").arg(ident(o.values.uid), literal(o.values.pwd))) &&
                  q.exec(QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(ident(o.values.database), ident(o.values.uid))) &&
                  q.exec(QStringLiteral("COPY (SELECT unnest(string_to_array(%1, chr(10)))) TO %2").arg(literal(lines), literal(hba))) &&
                  q.exec(QStringLiteral("SELECT pg_reload_conf()"));
        if (!o.ready)
            qWarning() << q.lastError().text();
        return o;
    }

private slots:
    void initTestCase() {
        m_seed = qEnvironmentVariableIsSet("SEED") ? qEnvironmentVariableIntValue("SEED") : QRandomGenerator::global()->generate();
        qInfo() << "seed" << m_seed << "(SEED=n repeats a run)";
        QVERIFY(m_home.isValid());
        // The user's and the machine's folders, here a temporary one.
        qputenv("LOCALAPPDATA", QDir::toNativeSeparators(m_home.filePath("local")).toUtf8());
        qputenv("ProgramData", QDir::toNativeSeparators(m_home.filePath("machine")).toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        Dialogs::setTestMode(true);
        QVERIFY(TestDb::open(QStringLiteral("postgres")));
        m_odd = makeOddServer();
        QVERIFY2(m_odd.ready, "could not make the role and database with odd names");
    }
    void init() {
        Dialogs::clearAnswers();
        Dialogs::clearShown();
    }

    void everyValueReachesTheDriverAsTyped() {
        QRandomGenerator rng(m_seed);
        for (int round = 0; round < 3000; ++round) {
            const Values v = randomValues(rng);
            const BuildSettings::OdbcOpen o = BuildSettings::OdbcOpenParts(v);
            const QString why = QStringLiteral("round %1 of seed %2: ").arg(round).arg(m_seed) + o.databaseName;
            // Qt's driver reads a name holding ".dsn" as a file DSN and joins the rest as below.
            QVERIFY2(!o.databaseName.contains(QLatin1String(".dsn"), Qt::CaseInsensitive), qPrintable(why));
            QString joined = o.databaseName;
            if (!o.userName.isEmpty())
                joined += QStringLiteral(";UID=") + o.userName;
            if (!o.password.isEmpty())
                joined += QStringLiteral(";PWD=") + o.password;
            QMap<QString, QString> read = attributes(joined);
            QCOMPARE(read.value("DRIVER"), v.driver);
            QCOMPARE(read.value("SERVER"), v.host);
            QCOMPARE(read.value("DATABASE"), v.database);
            QCOMPARE(read.value("UID"), v.uid);
            QCOMPARE(read.value("PWD"), v.pwd);
            QCOMPARE(read.value("ENCRYPT"), v.extra.isEmpty() ? QString() : QStringLiteral("yes"));
            const bool plain = !v.host.contains(QLatin1String(".dsn"), Qt::CaseInsensitive) &&
                               !v.database.contains(QLatin1String(".dsn"), Qt::CaseInsensitive) && !v.uid.isEmpty() &&
                               !v.pwd.isEmpty();
            if (plain) // the string the server always had, in its order
                QCOMPARE(joined, BuildSettings::OdbcConnectionString(v));
        }
    }

    void settingsFileKeepsTheValuesWithThePasswordSealed() {
        QRandomGenerator rng(m_seed + 1);
        const QString path = m_home.filePath(QStringLiteral("round/connection.ini"));
        for (int round = 0; round < 40; ++round) {
            Values v = randomValues(rng);
            v.pwd += QStringLiteral("Secret$9");
            QString error;
            QVERIFY2(ConnectionConfig::write(path, v, ConnectionConfig::Scope::User, &error), qPrintable(error));
            QCOMPARE(ConnectionConfig::read(path, {}, &error).value_or(Values{}), v);
#ifdef Q_OS_WIN
            QFile raw(path);
            QVERIFY(raw.open(QIODevice::ReadOnly));
            const QByteArray bytes = raw.readAll();
            QVERIFY2(!bytes.contains("Secret") && !bytes.contains(QStringLiteral("Secret").toUtf8().toBase64()),
                     bytes.constData());
#endif
        }
        // A damaged seal is an error, not an empty password.
        QSettings s(path, QSettings::IniFormat);
        s.setValue(QStringLiteral("connection/password"), QStringLiteral("dpapi:AAAA"));
        s.remove(QStringLiteral("connection/database"));
        s.sync();
        QString error;
        QVERIFY(!ConnectionConfig::read(path, {}, &error));
        QVERIFY(!error.isEmpty());
        // Keys left out keep the defaults.
        s.remove(QStringLiteral("connection/password"));
        s.sync();
        const Values defaults{"d", "h", "default-db", "u", "p", "e"};
        QCOMPARE(ConnectionConfig::read(path, defaults)->database, QStringLiteral("default-db"));
    }

    void oddValuesOpenTheServer() {
        ServerConnection& sc = ServerConnection::instance();
        sc.configure(BuildSettings::connectionSettings(m_odd.values));
        QString error;
        QVERIFY2(sc.Open(&error), qPrintable(error));
        long n = 0;
        Recordset rs = sc.Execute(QStringLiteral("SELECT usename, datname FROM pg_stat_activity WHERE pid = pg_backend_pid()"), n);
        QCOMPARE(rs.Fields(0).toString(), m_odd.values.uid);
        QCOMPARE(rs.Fields(1).toString(), m_odd.values.database);
        sc.Close();
        // The password is checked: one character less does not get in.
        Values wrong = m_odd.values;
        wrong.pwd.chop(1);
        sc.configure(BuildSettings::connectionSettings(wrong));
        QVERIFY(!sc.Open(&error));
        sc.Close();
    }

    void windowTestsTheConnectionAndSaves() {
        const QString file = ConnectionConfig::filePath(ConnectionConfig::Scope::User);
        QFile::remove(file);
        FormConnection w(file, ConnectionConfig::Scope::User);
        w.setValues(m_odd.values);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Captions at the right of their fields in the right-to-left window.
        auto* form = w.findChild<QFormLayout*>();
        for (int row = 0; row < form->rowCount(); ++row) {
            QWidget* label = form->itemAt(row, QFormLayout::LabelRole)->widget();
            QWidget* field = form->itemAt(row, QFormLayout::FieldRole)->widget();
            QVERIFY2(label->geometry().left() >= field->geometry().right(), qPrintable(label->objectName()));
        }
        QTest::mouseClick(w.CommandTest, Qt::LeftButton);
        QVERIFY2(w.TextAnswer->toPlainText().startsWith(FormConnectionTexts::TestOk) &&
                     w.TextAnswer->toPlainText().contains(QLatin1String("PostgreSQL")),
                 qPrintable(w.TextAnswer->toPlainText()));
        // A driver that is not installed is named.
        w.ComDriver->setCurrentText(QStringLiteral("ODBC Driver 18 for SQL Server"));
        QTest::mouseClick(w.CommandTest, Qt::LeftButton);
        QVERIFY2(w.TextAnswer->toPlainText().startsWith(ConnectionStartTexts::DriverMissing.arg("ODBC Driver 18 for SQL Server")),
                 qPrintable(w.TextAnswer->toPlainText()));
        w.ComDriver->setCurrentText(m_odd.values.driver);
        QTest::mouseClick(w.CommandSave, Qt::LeftButton);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(Dialogs::shownTexts(), QStringList{FormConnectionTexts::Saved.arg(QDir::toNativeSeparators(file))});
        QCOMPARE(ConnectionConfig::current().source, file);
        QCOMPARE(ConnectionConfig::current().values, m_odd.values);
        QCOMPARE(ConnectionCheck::test(ConnectionConfig::current().values).ok, true);
    }

    void installerValuesAreTakenAsTyped() {
        for (const bool allUsers : {false, true}) {
#ifndef Q_OS_WIN
            if (allUsers)
                continue; // the machine's folder here is /etc
#endif
            const auto scope = allUsers ? ConnectionConfig::Scope::Machine : ConnectionConfig::Scope::User;
            const QString plain = m_home.filePath(QStringLiteral("handover.txt"));
            QFile f(plain);
            QVERIFY(f.open(QIODevice::WriteOnly));
            // As the installer writes it: UTF-16 with its mark, CR LF.
            const QString text = QStringLiteral("server=%1\r\ndatabase=%2\r\nuid=%3\r\npwd=%4\r\ndriver=%5\r\nextra=%6\r\n")
                                     .arg(m_odd.values.host, m_odd.values.database, m_odd.values.uid, m_odd.values.pwd,
                                          m_odd.values.driver, m_odd.values.extra);
            f.write("\xff\xfe");
            f.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
            f.close();
            QStringList args{QStringLiteral("brentoval"), QStringLiteral("--import-settings"), plain};
            if (allUsers)
                args << QStringLiteral("--all-users");
            QCOMPARE(AppStart::runCommandLine(args), 0);
            QVERIFY(!QFile::exists(plain));
            QCOMPARE(ConnectionConfig::read(ConnectionConfig::filePath(scope), {}).value_or(Values{}), m_odd.values);
        }
        QCOMPARE(AppStart::runCommandLine({QStringLiteral("brentoval")}), -1);
    }
};

QTEST_MAIN(TestConnectionSettings)
#include "test_connectionsettings.moc"
