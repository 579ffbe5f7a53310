#pragma once

#include <QString>

// Every text the main window shows, and the gate messages it gives.
namespace FormMainTexts {
inline const QString Title = QStringLiteral("Brentoval");
inline const QString MenuManager = QStringLiteral("الادارة");
inline const QString MenuDrugsEditor = QStringLiteral("تعديل بيانات الادوية");
inline const QString MenuPurchaseOrders = QStringLiteral("اوامر الشراء من المخازن");
inline const QString MenuCollectedOrders = QStringLiteral("الاطلاع علي مشتريات العملاء");
inline const QString LogIn = QStringLiteral("سجل دخولك");
inline const QString Purchases = QStringLiteral("المشتريات");
inline const QString More = QStringLiteral("المزيد");
inline const QString LoggedIn = QStringLiteral(" لقد نجحت في تسجيل الدخول تفضل  بعمل طلبيات الشراء الان");
inline const QString LogInFirst = QStringLiteral("سجل دخولك اولا");
inline const QString VersionMessage = QStringLiteral("يوجد نسخة احدث برجاء تحديث البرنامج");
// Ours: a server that cannot be read says nothing about the version or the manager.
inline const QString ServerMessage =
    QStringLiteral("تعذرت قراءة بيانات التحكم من الخادم، لم تفتح النافذة. حاول مرة اخرى بعد قليل");
} // namespace FormMainTexts
