#pragma once

#include <QString>

// The group demand's own texts: its totals caption, the report's notes and failures, the title its
// pages carry.
namespace GroupDemandTexts {
inline const QString Title = QStringLiteral("اجمالي طلبات المجموعة");
inline const QString TotalCaption = QStringLiteral("الاجمالي");
inline const QString NoName = QStringLiteral("بدون اسم");
inline const QString Skipped = QStringLiteral("سطور لم تضف الي الطلب لان كميتها سالبة او ليست رقما صالحا:");
inline const QString SkippedOrder = QStringLiteral("اوردر %1: %2 (الكمية %3)");
inline const QString SkippedValue = QStringLiteral("اوردر %1: قيمته ليست رقما صالحا ولم تضف الي الاجمالي");
inline const QString SkippedMore = QStringLiteral("و %1 سطور اخري");
inline const QString FromAfterTo =
    QStringLiteral("تاريخ البداية بعد تاريخ النهاية. صحح الفترة ثم اضغط عرض؛ بقي التقرير السابق كما هو.");
inline const QString ReadFailed = QStringLiteral("تعذرت قراءة الطلبيات من الخادم:\n");
inline const QString CatalogueFailed = QStringLiteral("تعذرت قراءة الادوية من الخادم:\n");
// The best-discount column: an offer of the group's offer book, and the column's header by where
// its figures come from (the catalogue's alone keeps the plain header).
inline const QString BestOffer = QStringLiteral("%1 (%2)");
inline const QString BestFromOffers = QStringLiteral("اعلي خصم (عروض المخازن)");
inline const QString BestFromBoth = QStringLiteral("اعلي خصم (عروض المخازن، والا الدليل)");
inline const QString OffersNotRead =
    QStringLiteral("تعذرت قراءة عروض المخازن، والخصم المعروض من دليل الادوية: ");
} // namespace GroupDemandTexts
