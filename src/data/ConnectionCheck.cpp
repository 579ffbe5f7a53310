#include "data/ConnectionCheck.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace ConnectionCheck {

bool isDriverMissing(const QString& errorText, const QString& code) {
    // Windows' driver manager says IM002; unixODBC (and so wine) cannot open the driver's library.
    return errorText.contains(QLatin1String("Can't open lib"), Qt::CaseInsensitive) || code.contains(QLatin1String("IM002")) || errorText.contains(QLatin1String("IM002")) ||
           errorText.contains(QLatin1String("no default driver specified"), Qt::CaseInsensitive);
}

Result test(const BuildSettings::OdbcValues& values, int timeoutSeconds) {
    const QString name = QStringLiteral("brentoval-connection-test");
    Result r;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        const BuildSettings::OdbcOpen o = BuildSettings::OdbcOpenParts(values);
        d.setDatabaseName(o.databaseName);
        d.setUserName(o.userName);
        d.setPassword(o.password);
        d.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1").arg(timeoutSeconds));
        if (!d.isValid()) {
            r.answer = QStringLiteral("Driver not loaded: QODBC");
        } else if (!d.open()) {
            r.answer = d.lastError().text();
            r.driverMissing = isDriverMissing(r.answer, d.lastError().nativeErrorCode());
        } else {
            // SQL Server names itself with @@VERSION; other servers (the tests' PostgreSQL) with version().
            QSqlQuery q(d);
            for (const char* sql : {"SELECT @@VERSION", "SELECT version()"}) {
                if (q.exec(QLatin1String(sql)) && q.next()) {
                    r.ok = true;
                    r.answer = q.value(0).toString().simplified();
                    break;
                }
                r.answer = q.lastError().text();
            }
            q.finish();
            d.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return r;
}

} // namespace ConnectionCheck
