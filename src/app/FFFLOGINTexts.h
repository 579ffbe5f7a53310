#pragma once

#include <QString>

// Every text the login window shows.
namespace FFFLOGINTexts {
inline const QString Title = QStringLiteral("Brentoval");
inline const QString PhoneLabel = QStringLiteral("رقم تلفونك المحمول");
inline const QString GovernorateLabel = QStringLiteral("اختر  المحافظة");
inline const QString DistrictLabel = QStringLiteral("اختر المركز");
inline const QString Ok = QStringLiteral("OK");
inline const QString BadPhone = QStringLiteral("رقم تلفون غير صحيح");
inline const QString NoDistrict = QStringLiteral("اختر مركزك");
inline const QString GovernorateOnly =
    QStringLiteral("هذا التطبيق خاص بكفر الشيخ  فقط اتصل بالترافين الصيدلي للحصول علي تطبيق محافظتك");
} // namespace FFFLOGINTexts
