#include "app/ModSmarterControl.h"

#include "data/AppGlobals.h"
#include "data/FieldText.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"

namespace ModSmarterControl {

namespace {
ControlValue readField(const QString& key, const QString& column) {
    ControlValue v;
    if (!ModSQL::ConnectServer()) {
        v.failed = true;
        v.error = ServerConnection::instance().lastError();
        v.told = true;
        return v;
    }
    long affected = 0;
    Recordset rs = ServerConnection::instance().Execute(ControlQuery(key), affected, &v.error);
    if (affected != -1) {
        v.failed = true;
        return v;
    }
    // A missing row leaves the recordset at its end, where every field reads as NULL.
    v.error.clear();
    v.value = FieldText(rs.Fields(column));
    return v;
}

GateResult failure(const ControlValue& v) {
    return {Gate::ServerFailed, v.error, v.told};
}
} // namespace

QString ControlQuery(const QString& key) {
    return QStringLiteral("SELECT * FROM smartertable WHERE  appname =") + ModSQL::SqlQuote(key) +
           QStringLiteral(" ");
}

ControlValue ReadAppMessage(const QString& key) {
    return readField(key, QStringLiteral("appmsg"));
}
ControlValue ReadAdminPassword(const QString& key) {
    return readField(key, QStringLiteral("appadminpassword"));
}
ControlValue ReadAppVersion(const QString& key) {
    return readField(key, QStringLiteral("appversion"));
}

GateResult VersionGate() {
    const ControlValue v = ReadAppVersion(AppGlobals::AppKey);
    AppGlobals::AppVersionOnServer = v.value;
    if (v.failed)
        return failure(v);
    return {v.value == AppGlobals::BuildVersion ? Gate::Passes : Gate::Refused, {}, false};
}

GateResult ManagementGate() {
    const ControlValue admin = ReadAdminPassword(AppGlobals::AppKey);
    if (admin.failed)
        return failure(admin);
    const bool manager =
        !admin.value.isEmpty() && !AppGlobals::LoginTel.isEmpty() && admin.value == AppGlobals::LoginTel;
    return {manager ? Gate::Passes : Gate::Refused, {}, false};
}

} // namespace ModSmarterControl
