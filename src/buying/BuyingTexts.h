#pragma once

#include <QString>
#include <QStringList>

// The buying windows' texts.
namespace BuyingTexts {
inline const QString ReadFailed = QStringLiteral("تعذرت قراءة الطلبيات من الخادم: ");
inline const QString WriteFailed = QStringLiteral("تعذر الحفظ علي الخادم، لم يحفظ شيء: ");
inline const QString WholesalerThere = QStringLiteral("هذا التاجر مسجل من قبل بنفس الاسم والتليفون برقم %1");
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
inline const QString PurchaseOrderTitle = QStringLiteral("امر شراء رقم %1");
inline const QString WholesalerLine = QStringLiteral("المخزن: %1    تليفون: %2    %3");
inline const QString OrderDateLine = QStringLiteral("التاريخ: %1    عن طلبيات الفترة من %2 الي %3");
inline const QStringList OrderHeaders = {QStringLiteral("م"), QStringLiteral("الدواء"), QStringLiteral("الكمية"),
                                         QStringLiteral("السعر"), QStringLiteral("الخصم %"), QStringLiteral("القيمة")};
inline const QString TotalLine = QStringLiteral("الاجمالي: %1 جنيه");
inline const QString ReplacedLine = QStringLiteral("هذا الامر استبدل بامر احدث ولا يعمل به.");
inline const QString DistributionTitle = QStringLiteral("توزيع صنف: %1");
inline const QString DistributionLine = QStringLiteral("امر الشراء %1    المستلم %2    الموزع %3");
inline const QStringList DistributionHeaders = {QStringLiteral("م"),        QStringLiteral("الصيدلية"),
                                                QStringLiteral("التليفون"),   QStringLiteral("رقم الاوردر"),
                                                QStringLiteral("المطلوب"),    QStringLiteral("الحصة"),
                                                QStringLiteral("تم")};
inline const QString TotalCaption = QStringLiteral("الاجمالي");
inline const QString SurplusLine = QStringLiteral("زيادة عن المطلوب لم توزع: %1");
inline const QString PurchaseOrdersTitle = QStringLiteral("اوامر الشراء من المخازن");
inline const QString From = QStringLiteral("من");
inline const QString To = QStringLiteral("الي");
inline const QString Make = QStringLiteral("اعمل اوامر الشراء من الطلبيات المرسلة");
inline const QStringList PlanHeaders = {QStringLiteral("الدواء"), QStringLiteral("المطلوب"), QStringLiteral("الرصيد"),
                                        QStringLiteral("الكمية"), QStringLiteral("المخزن"),  QStringLiteral("الخصم"),
                                        QStringLiteral("السعر"),  QStringLiteral("القيمة")};
inline const QStringList KeptHeaders = {QStringLiteral("الدواء"), QStringLiteral("الكمية"), QStringLiteral("الخصم"),
                                        QStringLiteral("القيمة"), QStringLiteral("المستلم")};
inline const QString DrugHeader = QStringLiteral("الدواء");
inline const QString QuantityHeader = QStringLiteral("الكمية");
inline const QString Move = QStringLiteral("انقل الصنف المختار لهذا المخزن");
inline const QString Keep = QStringLiteral("احفظ اوامر الشراء");
inline const QString KeptOrders = QStringLiteral("اوامر الشراء المحفوظة");
inline const QString Print = QStringLiteral("طباعة امر الشراء");
inline const QString SavePdf = QStringLiteral("حفظ PDF");
inline const QString RuleEarliestName = QStringLiteral("الاسبق اولا");
inline const QString RuleProportionalName = QStringLiteral("بنسبة المطلوب");
inline const QString Receive = QStringLiteral("سجل الكمية المستلمة للصنف المختار");
inline const QString DistributionSheet = QStringLiteral("ورقة توزيع الصنف");
inline const QString MadeBeforeSame = QStringLiteral("سبق عمل اوامر شراء من طلبيات هذه الفترة يوم %1، ولم تتغير الطلبيات منذها.");
inline const QString MadeBeforeChanged = QStringLiteral("سبق عمل اوامر شراء من هذه الفترة يوم %1، وتغيرت الطلبيات منذها. الحفظ يستبدلها.");
inline const QString PeriodLine = QStringLiteral("طلبيات مرسلة من %1 الي %2: %3 اوردر");
inline const QString PlanTotal = QStringLiteral("%1 امر شراء، الاجمالي %2 جنيه");
inline const QString NewQuantity = QStringLiteral("الكمية المطلوب شراؤها من %1");
inline const QString ChooseDrug = QStringLiteral("اختر صنفا ومخزنا اولا.");
inline const QString ChooseLine = QStringLiteral("اختر سطرا من امر الشراء اولا.");
inline const QString ChooseOrder = QStringLiteral("اختر امر شراء محفوظا اولا.");
inline const QString NothingToKeep = QStringLiteral("لا يوجد صنف له مخزن وكمية لشرائه.");
inline const QString ReplaceQuestion = QStringLiteral("توجد اوامر شراء محفوظة لهذه الفترة. هل تستبدلها بهذه؟");
inline const QString KeptLine = QStringLiteral("حفظت %1 اوامر شراء.");
inline const QString ReceivedPrompt = QStringLiteral("اجمالي الكمية المستلمة من %1");
inline const QString FileNotSaved = QStringLiteral("لم يحفظ الملف: ");
inline const QString WholesalersTitle = QStringLiteral("المخازن وعروضها");
inline const QStringList WholesalerHeaders = {QStringLiteral("رقم"), QStringLiteral("المخزن"), QStringLiteral("التليفون"),
                                              QStringLiteral("المركز")};
inline const QStringList OfferHeaders = {QStringLiteral("الدواء"), QStringLiteral("الخصم"), QStringLiteral("تاريخ العرض")};
inline const QString AddWholesaler = QStringLiteral("اضافة مخزن");
inline const QString AddOffer = QStringLiteral("اضافة عرض للمخزن المختار");
inline const QString ImportOffers = QStringLiteral("استيراد عروض المخزن المختار من ملف xlsx");
inline const QString ImportNote = QStringLiteral(
    "ملف العروض: العمود الاول اسم الدواء والثاني الخصم. تطابق الاسماء مع الكتالوج، والعرض الاحدث لمخزن يحل محل الاقدم.");
inline const QString WholesalerNamePrompt = QStringLiteral("اسم المخزن");
inline const QString WholesalerPhonePrompt = QStringLiteral("تليفون المخزن");
inline const QString WholesalerDistrictPrompt = QStringLiteral("المركز");
inline const QString ChooseWholesaler = QStringLiteral("اختر مخزنا اولا.");
inline const QString OfferDrugPrompt = QStringLiteral("اسم الدواء");
inline const QString OfferDiscountPrompt = QStringLiteral("الخصم %");
inline const QString NotInCatalogue = QStringLiteral("الدواء %1 غير موجود في الكتالوج.");
inline const QString NoneMatched = QStringLiteral("لا يطابق اي اسم في الملف دواء في الكتالوج، لم يستورد شيء:");
inline const QString SomeUnmatched = QStringLiteral("%1 اسم في الملف لا يطابق دواء في الكتالوج (القائمة ادناه). هل تستورد الـ %2 عرضا المطابقة؟");
inline const QString Imported = QStringLiteral("استوردت %1 عروض.");
inline const QString NoBestOffer = QStringLiteral("لا يوجد عرض لهذا الدواء بخصم يقبله الكتالوج (اكثر من 1 وحتي 95).");
inline const QString SaveXlsx = QStringLiteral("حفظ xlsx");
} // namespace BuyingTexts
