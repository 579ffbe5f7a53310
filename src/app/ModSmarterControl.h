#pragma once

#include <QString>

// The administrator's control row in smartertable: one field per call, read afresh each time.
namespace ModSmarterControl {

// The statement every reader sends for an application key.
QString ControlQuery(const QString& key);

// Each gives the empty text when the field is NULL, the row is missing or the query failed.
QString ReadAppMessage(const QString& key);
QString ReadAdminPassword(const QString& key);
QString ReadAppVersion(const QString& key);

inline const QString VersionMessage = QStringLiteral("يوجد نسخة احدث برجاء تحديث البرنامج");

// Reads the server's version into AppVersionOnServer; true when it is exactly the build's.
bool VersionGatePasses();
// True when the stored administrator value is the logged-in phone. Both must be non-empty, so an
// empty control value does not open the management windows to someone who never logged in.
bool ManagementGatePasses();

} // namespace ModSmarterControl
