#pragma once

#include <QString>

// The pick lists' texts: their menu titles, and what printing them tells.
namespace PickListTexts {
inline const QString MenuPickList = QStringLiteral("قائمة تحضير الاوردر");
inline const QString MenuPickListsAll = QStringLiteral("قوائم تحضير كل الاوردرات المرسلة");
inline const QString ListReadFailed = QStringLiteral("تعذرت قراءة الطلبيات من الخادم:\n");
inline const QString OrderReadFailed = QStringLiteral("تعذرت قراءة الاوردر من الخادم:\n");
inline const QString NoOrderShown = QStringLiteral("اختر اوردر من القائمة اولا ثم اطبع قائمة تحضيره");
inline const QString OrderGone = QStringLiteral("هذا الاوردر لم يعد موجودا على الخادم");
inline const QString NoSentOrders = QStringLiteral("لا توجد اوردرات مرسلة الي التحضير");
inline const QString LeftOutWithoutLines = QStringLiteral("تركت %1 اوردرات مرسلة لا سطور فيها");
inline const QString NotMarked = QStringLiteral("طبعت القوائم، ولم يتأكد تسجيل طباعتها على الخادم:\n");
inline const QString NotMarkedNoTable = QStringLiteral("طبعت القوائم لكن لم تسجل طباعتها.\n");
inline const QString FileNotSaved = QStringLiteral("تعذر حفظ الملف ");
inline const QString PickListsNotPrinted = QStringLiteral("تعذرت طباعة قوائم التحضير");
} // namespace PickListTexts
