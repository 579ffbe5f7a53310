#pragma once

#include <QString>

// Every text of the connection settings window; start-up's connection failures are in
// ConnectionStartTexts.
namespace FormConnectionTexts {
inline const QString Title = QStringLiteral("اعدادات الاتصال بالخادم");
inline const QString Intro = QStringLiteral(
    "قيم الاتصال بخادم المجموعة على هذا الجهاز. تحفظ كلمة السر مشفرة لهذا المستخدم (او لهذا الجهاز في التثبيت لكل المستخدمين).");
inline const QString Driver = QStringLiteral("برنامج تشغيل ODBC:");
inline const QString Server = QStringLiteral("الخادم:");
inline const QString Database = QStringLiteral("قاعدة البيانات:");
inline const QString Uid = QStringLiteral("اسم المستخدم:");
inline const QString Pwd = QStringLiteral("كلمة السر:");
inline const QString Extra = QStringLiteral("خصائص اضافية:");
inline const QString Test = QStringLiteral("اختبار الاتصال");
inline const QString Save = QStringLiteral("حفظ");
inline const QString Close = QStringLiteral("اغلاق");
inline const QString Testing = QStringLiteral("جاري الاتصال بالخادم...");
inline const QString TestOk = QStringLiteral("تم الاتصال بالخادم. رد الخادم:\n");
inline const QString TestFailed = QStringLiteral("تعذر الاتصال بالخادم. رد برنامج التشغيل:\n");
// %1 the file
inline const QString Saved = QStringLiteral("تم حفظ اعدادات الاتصال في:\n%1");
inline const QString SaveFailed = QStringLiteral("تعذر حفظ اعدادات الاتصال:\n");
inline const QString ServerRequired = QStringLiteral("اكتب اسم الخادم");
} // namespace FormConnectionTexts
