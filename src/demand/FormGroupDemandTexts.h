#pragma once

#include <QString>

// The group demand window's own texts; the report's are in GroupDemandTexts.
namespace FormGroupDemandTexts {
inline const QString CashNote = QStringLiteral(
    "القيمة نقدا للدواء: مجموع (الكمية × السعر بعد الخصم) لسطوره. الاجمالي: مجموع قيم الاوردرات كما تظهر في نافذة الطلبيات");
inline const QString SentOnly = QStringLiteral("المرسلة فقط");
inline const QString Show = QStringLiteral("عرض");
inline const QString SaveCsv = QStringLiteral("حفظ كملف CSV");
inline const QString SaveXlsx = QStringLiteral("حفظ كملف Excel");
inline const QString Print = QStringLiteral("طباعة");
inline const QString From = QStringLiteral("من");
inline const QString To = QStringLiteral("الي");
inline const QString PeriodSentOnly = QStringLiteral(" (المرسلة فقط)");
inline const QString Counts = QStringLiteral("عدد الاصناف %1   عدد الاوردرات %2   عدد الصيدليات %3");
inline const QString FileNotSaved = QStringLiteral("تعذر حفظ الملف ");
inline const QString PurchaseOrders = QStringLiteral("اوامر الشراء");
} // namespace FormGroupDemandTexts
