#pragma once

#include <QString>

// The administrator's control row in smartertable: one field per call, read afresh each time.
namespace ModSmarterControl {

// The statement every reader sends for an application key.
QString ControlQuery(const QString& key);

// One field of the control row. A NULL field or a missing row is the empty value; a server that
// could not be asked is a failure with the driver's text, never an empty value.
struct ControlValue {
    QString value;
    bool failed = false;
    QString error;
    bool told = false; // the failure was shown already (by the connect step)
};
ControlValue ReadAppMessage(const QString& key);
ControlValue ReadAdminPassword(const QString& key);
ControlValue ReadAppVersion(const QString& key);

enum class Gate { Passes, Refused, ServerFailed };
struct GateResult {
    Gate gate = Gate::Refused;
    QString error;
    bool told = false;
};

// Reads the server's version into AppVersionOnServer; passes when it is exactly the build's.
GateResult VersionGate();
// Passes when the stored administrator value is the logged-in phone. Both must be non-empty, so
// an empty control value does not open the management windows to someone who never logged in.
GateResult ManagementGate();

} // namespace ModSmarterControl
