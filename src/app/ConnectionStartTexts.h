#pragma once

#include <QString>

// What the start tells about the connection settings before any window is up.
namespace ConnectionStartTexts {
// %1 the driver's name
inline const QString DriverMissing = QStringLiteral(
    "برنامج تشغيل قاعدة البيانات \"%1\" غير مثبت على هذا الجهاز.\n"
    "ثبت \"%1\" من موقع مايكروسوفت (او اطلب ذلك من مسؤول الاجهزة)، ثم شغل البرنامج مرة اخرى.");
inline const QString SettingsUnreadable = QStringLiteral("تعذر قراءة اعدادات الاتصال:\n");
inline const QString OfferSettings = QStringLiteral("\n\nهل تريد فتح اعدادات الاتصال لتصحيحها؟");
} // namespace ConnectionStartTexts
