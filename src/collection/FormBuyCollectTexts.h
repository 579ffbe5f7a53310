#pragma once

#include <QString>

// The collected-orders window's own texts: captions, menus, prompts and messages; the pick lists'
// are in PickListTexts.
namespace FormBuyCollectTexts {
inline const QString Title = QStringLiteral("الاطلاع علي طلبيات الشراء المعلقة");
inline const QString MenuOperations = QStringLiteral("عمليات");
inline const QString MenuDeleteOlderThan = QStringLiteral("حذف الطلبيات التي مر عليها اكثر من عدد ايام");
inline const QString MenuClients = QStringLiteral("العملاء");
inline const QString MenuAddClient = QStringLiteral("اضافة عميل جديد");
inline const QString MenuSort = QStringLiteral("ترتيب");
inline const QString MenuSortName = QStringLiteral("حسب الاسم");
inline const QString MenuSortDate = QStringLiteral("حسب التاريخ");
inline const QString MenuSortAddress = QStringLiteral("حسب العنوان");
inline const QString MenuReports = QStringLiteral("تقارير");
inline const QString MenuGroupDemand = QStringLiteral("اجمالي طلبات المجموعة");
inline const QString OrderIdLabel = QStringLiteral(" رقم الاوردر");
inline const QString DateLabel = QStringLiteral("التاريخ");
inline const QString TelLabel = QStringLiteral("التليفون");
inline const QString StatusLabel = QStringLiteral("حالة الاوردر");
inline const QString CashLabel = QStringLiteral("قيمة الفاتورة عند الدفع نقدا");
inline const QString DeferredLabel = QStringLiteral("قيمة الفاتورة عند الدفع  اجل");
inline const QString DaysPrompt = QStringLiteral("Delete Orders before days Ex:50");
inline const QString TooFewDays = QStringLiteral("Can not delate orders newer than 50 day frm now");
inline const QString TooManyDays = QStringLiteral("عدد الايام اكبر من المسموح به، اكتب عددا من 50 الي 32767");
inline const QString ConfirmDelete = QStringLiteral("هل تود حذف  الطلبيات القديمة");
inline const QString NamePrompt = QStringLiteral("الاسم");
inline const QString KeptUndelivered =
    QStringLiteral("بقيت %1 طلبية قديمة لم تحذف: لها اصناف في اوامر شراء او لم تسلم بعد.");
inline const QString MenuPickListsNew = QStringLiteral("قوائم تحضير ما لم يطبع بعد");
inline const QString MenuPickListsPeriod = QStringLiteral("قوائم تحضير اوردرات فترة");
inline const QString MenuPickListsDistrict = QStringLiteral("قوائم تحضير اوردرات مركز");
inline const QString PeriodFromPrompt = QStringLiteral("من تاريخ (مثال 2026/12/01)");
inline const QString PeriodToPrompt = QStringLiteral("الي تاريخ (مثال 2026/12/07)");
inline const QString BadDate = QStringLiteral("التاريخ غير صحيح، اكتبه هكذا: 2026/12/01");
inline const QString FromAfterTo = QStringLiteral("تاريخ البداية بعد تاريخ النهاية، لم يطبع شيء");
inline const QString DistrictPrompt = QStringLiteral("اسم المركز");
} // namespace FormBuyCollectTexts
