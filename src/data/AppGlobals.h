#pragma once

#include <QString>

// State shared between windows for the whole run.
namespace AppGlobals {
inline const QString AppKey = QStringLiteral("BRENTOVAL");
inline const QString BuildVersion = QStringLiteral("9.00");
inline const QString Mohafaza = QStringLiteral("kafrelsheikh");

inline QString LoginTel;
inline QString LoginMarkaz;
inline QString LoginMohafaza;
inline QString CurrentOrderId;
inline QString AppMessage;
inline QString AppVersionOnServer;

// Forgets everything a run has set; tests start each case from here.
inline void reset() {
    LoginTel.clear();
    LoginMarkaz.clear();
    LoginMohafaza.clear();
    CurrentOrderId.clear();
    AppMessage.clear();
    AppVersionOnServer.clear();
}
} // namespace AppGlobals
