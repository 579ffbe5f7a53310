#pragma once

#include <QString>

// The buying windows' texts.
namespace BuyingTexts {
inline const QString ReadFailed = QStringLiteral("تعذرت قراءة الطلبيات من الخادم: ");
inline const QString WriteFailed = QStringLiteral("تعذر الحفظ علي الخادم، لم يحفظ شيء: ");
inline const QString MaybeSaved =
    QStringLiteral("انقطع الاتصال بالخادم قبل تأكيد الحفظ. اعد فتح النافذة لتري ما حفظ فعلا.");
inline const QString AlreadyMade = QStringLiteral(
    "سبق عمل اوامر شراء من طلبيات هذه الفترة (من نسخة اخري او من قبل). اعد فتح الفترة لتراها قبل عمل غيرها.");
inline const QString ReceivedTaken = QStringLiteral(
    "تغيرت الكمية المستلمة لهذا الصنف علي الخادم منذ قراءتها، او استبدل امر الشراء. اعد القراءة ثم سجل مرة اخري.");
inline const QString HasReceipts =
    QStringLiteral("لا يمكن استبدال اوامر شراء سجل لها استلام.");
inline const QString BadQuantity = QStringLiteral("الكمية يجب ان تكون عددا صحيحا غير سالب.");
inline const QString RuleEarliest = QStringLiteral(
    "قاعدة التوزيع: وحدات كاملة، الاسبق ارسالا اولا، ولا تزيد حصة اوردر عما طلبه.");
inline const QString RuleProportional = QStringLiteral(
    "قاعدة التوزيع: وحدات كاملة بنسبة الكمية المطلوبة، والباقي من التقريب لاكبر الكسور ثم الاسبق، ولا تزيد حصة اوردر عما طلبه.");
inline const QString Surplus = QStringLiteral("زيادة عن المطلوب");
inline const QString NoOffer = QStringLiteral("اصناف بلا عروض");
inline const QString BadOfferFile = QStringLiteral("تعذرت قراءة ملف العروض، لم يستورد شيء. الملف المطلوب xlsx بعمودين: الدواء والخصم. ");
inline const QString BadOfferRow = QStringLiteral("الصف %1 من ملف العروض ليس دواء وخصما بين 0 و 100، لم يستورد شيء.");
inline const QString EmptyOfferSheet = QStringLiteral("ملف العروض لا يحوي اي صف.");
} // namespace BuyingTexts
