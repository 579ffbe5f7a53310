#pragma once

#include "data/WriteRoad.h"

#include <QString>

// The order editor's own texts: captions and grid headers; what its order pane asks and tells is
// in OrderPaneTexts.
namespace FormUserBuyTexts {
inline const QString Title = QStringLiteral("فاتورة شراء");
inline const QString DeleteOrder = QStringLiteral("حذف الاوردر الحالي");
inline const QString SendToPrepare = QStringLiteral("ارسال الي التحضير");
inline const QString CallOrder = QStringLiteral("عرض الاوردرات السابقة");
inline const QString NewOrder = QStringLiteral("انشاء اوردر جديد");
inline const QString StatusLabel = QStringLiteral("حالة الاوردر");
inline const QString DateLabel = QStringLiteral("التاريخ");
inline const QString OrderIdLabel = QStringLiteral(" رقم الاوردر");
inline const QString TelLabel = QStringLiteral("التليفون");
inline const QString SearchLabel = QStringLiteral("بحث");
inline const QString CatalogueLabel = QStringLiteral("الادوية المتاحة في مخازن الترافين الصيدلي");
inline const QString OrderLabel = QStringLiteral("طلبيتك");
inline const QString CashLabel = QStringLiteral("قيمة الفاتورة عند الدفع نقدا");
inline const QString DeferredLabel = QStringLiteral("قيمة الفاتورة عند الدفع  اجل");
inline const QString PaymentNote =
    QStringLiteral("يوجد نظامان للدفع الاول هو نقدي للسيارة والثاني اجل 30 يوم بفارق 2% من نسبة الخصم المعروضة");
inline const QString HeaderDrug = QStringLiteral("الدواء");
inline const QString HeaderPrice = QStringLiteral("السعر");
inline const QString HeaderDiscount = QStringLiteral("الخصم");
inline const QString HeaderQuantity = QStringLiteral("المطلوب");
inline const QString CatalogueNotRead =
    QStringLiteral("تعذرت قراءة قائمة الادوية من الخادم، اغلق النافذة وافتحها بعد قليل:\n");
inline const QString OutcomeUnknown = WriteRoad::UnknownText;
} // namespace FormUserBuyTexts
