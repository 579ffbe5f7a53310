#include "app/ModSmarterControl.h"

#include "data/AppGlobals.h"
#include "data/FieldText.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"

namespace ModSmarterControl {

namespace {
QString readField(const QString& key, const QString& column) {
    if (!ModSQL::ConnectServer())
        return QString();
    long affected = 0;
    Recordset rs = ServerConnection::instance().Execute(ControlQuery(key), affected);
    // A missing row leaves the recordset at its end, where every field reads as NULL.
    if (affected != -1 || rs.isEOF())
        return QString();
    return FieldText(rs.Fields(column));
}
} // namespace

QString ControlQuery(const QString& key) {
    return QStringLiteral("SELECT * FROM smartertable WHERE  appname =") + ModSQL::SqlQuote(key) +
           QStringLiteral(" ");
}

QString ReadAppMessage(const QString& key) {
    return readField(key, QStringLiteral("appmsg"));
}
QString ReadAdminPassword(const QString& key) {
    return readField(key, QStringLiteral("appadminpassword"));
}
QString ReadAppVersion(const QString& key) {
    return readField(key, QStringLiteral("appversion"));
}

bool VersionGatePasses() {
    AppGlobals::AppVersionOnServer = ReadAppVersion(AppGlobals::AppKey);
    return AppGlobals::AppVersionOnServer == AppGlobals::BuildVersion;
}

bool ManagementGatePasses() {
    const QString admin = ReadAdminPassword(AppGlobals::AppKey);
    return !admin.isEmpty() && !AppGlobals::LoginTel.isEmpty() && admin == AppGlobals::LoginTel;
}

} // namespace ModSmarterControl
