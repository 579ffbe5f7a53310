#pragma once

#include <QString>

// Every text the group demand window shows, and the totals caption its grid and pages carry.
namespace FormGroupDemandTexts {
inline const QString Title = QStringLiteral("اجمالي طلبات المجموعة");
inline const QString TotalCaption = QStringLiteral("الاجمالي");
inline const QString NoName = QStringLiteral("بدون اسم");
inline const QString CashNote = QStringLiteral(
    "القيمة نقدا للدواء: مجموع (الكمية × السعر بعد الخصم) لسطوره. الاجمالي: مجموع قيم الاوردرات كما تظهر في نافذة الطلبيات");
inline const QString Skipped = QStringLiteral("سطور لم تضف الي الطلب لان كميتها سالبة او ليست رقما صالحا:");
inline const QString SkippedOrder = QStringLiteral("اوردر %1: %2 (الكمية %3)");
inline const QString SkippedValue = QStringLiteral("اوردر %1: قيمته ليست رقما صالحا ولم تضف الي الاجمالي");
inline const QString SkippedMore = QStringLiteral("و %1 سطور اخري");
inline const QString FromAfterTo =
    QStringLiteral("تاريخ البداية بعد تاريخ النهاية. صحح الفترة ثم اضغط عرض؛ بقي التقرير السابق كما هو.");
inline const QString SentOnly = QStringLiteral("المرسلة فقط");
inline const QString Show = QStringLiteral("عرض");
inline const QString SaveCsv = QStringLiteral("حفظ كملف CSV");
inline const QString SaveXlsx = QStringLiteral("حفظ كملف Excel");
inline const QString Print = QStringLiteral("طباعة");
inline const QString From = QStringLiteral("من");
inline const QString To = QStringLiteral("الي");
inline const QString PeriodSentOnly = QStringLiteral(" (المرسلة فقط)");
inline const QString Counts = QStringLiteral("عدد الاصناف %1   عدد الاوردرات %2   عدد الصيدليات %3");
inline const QString ReadFailed = QStringLiteral("تعذرت قراءة الطلبيات من الخادم:\n");
inline const QString CatalogueFailed = QStringLiteral("تعذرت قراءة الادوية من الخادم:\n");
inline const QString FileNotSaved = QStringLiteral("تعذر حفظ الملف ");
inline const QString NoPrinterOfferPdf =
    QStringLiteral("لا توجد طابعة مثبتة على هذا الجهاز.\nهل تريد حفظ التقرير في ملف PDF بدلا من ذلك؟");
// The best-discount column: an offer of the group's offer book, and the column's header by where
// its figures come from (the catalogue's alone keeps the plain header).
inline const QString BestOffer = QStringLiteral("%1 (%2)");
inline const QString BestFromOffers = QStringLiteral("اعلي خصم (عروض المخازن)");
inline const QString BestFromBoth = QStringLiteral("اعلي خصم (عروض المخازن، والا الدليل)");
inline const QString OffersNotRead =
    QStringLiteral("تعذرت قراءة عروض المخازن، والخصم المعروض من دليل الادوية: ");
inline const QString PurchaseOrders = QStringLiteral("اوامر الشراء");
} // namespace FormGroupDemandTexts
