#pragma once

#include <QString>
#include <QStringList>

// The buying windows' texts.
namespace BuyingTexts {
inline const QString ReadFailed = QStringLiteral("تعذرت قراءة الطلبيات من الخادم: ");
inline const QString WholesalerThere = QStringLiteral("هذا التاجر مسجل من قبل بنفس الاسم والتليفون برقم %1");
inline const QString AlreadyMade = QStringLiteral(
    "بعض سطور هذه الطلبيات لم تعد مفتوحة: اشتريت او خصصت او الغيت من نسخة اخري منذ قراءتها. لم يحفظ شيء؛ اعد عمل الخطة.");
inline const QString ReceivedTaken = QStringLiteral(
    "تغيرت الكمية المستلمة لهذا الصنف علي الخادم منذ قراءتها، او استبدل امر الشراء. اعد القراءة ثم سجل مرة اخري.");
inline const QString StockShort = QStringLiteral(
    "الزيادة التي سجلت من قبل لهذا السطر وزعت من رصيد المجموعة، فلا يمكن انقاص المستلم هكذا. لم يحفظ شيء.");
inline const QString BadQuantity = QStringLiteral("الكمية يجب ان تكون عددا صحيحا غير سالب.");
inline const QString RuleEarliest = QStringLiteral(
    "قاعدة التوزيع: وحدات كاملة، الاسبق ارسالا اولا، ولا تزيد حصة اوردر عما طلبه.");
inline const QString RuleProportional = QStringLiteral(
    "قاعدة التوزيع: وحدات كاملة بنسبة الكمية المطلوبة، والباقي من التقريب لاكبر الكسور ثم الاسبق، ولا تزيد حصة اوردر عما طلبه.");
inline const QString Surplus = QStringLiteral("زيادة عن المطلوب");
inline const QString NoOffer = QStringLiteral("اصناف بلا عروض");
inline const QString BadOfferFile = QStringLiteral("تعذرت قراءة ملف العروض، لم يستورد شيء. الملف المطلوب xlsx بعمودين: الدواء والخصم. ");
inline const QString BadOfferRow = QStringLiteral("الصف %1 من ملف العروض ليس دواء وخصما بين 0 و 100، لم يستورد شيء.");
inline const QString OffersChanged = QStringLiteral(
    "تغيرت عروض هذا المخزن لهذا اليوم علي الخادم منذ قراءتها (ربما من جهاز اخر). لم يحفظ شيء؛ راجع العروض ثم احفظ مرة اخري.");
inline const QString EmptyOfferSheet = QStringLiteral("ملف العروض لا يحوي اي صف.");
inline const QString PurchaseOrderTitle = QStringLiteral("امر شراء رقم %1");
inline const QString WholesalerLine = QStringLiteral("المخزن: %1    تليفون: %2    %3");
inline const QString OrderDateLine = QStringLiteral("التاريخ: %1    عن طلبيات الفترة من %2 الي %3");
inline const QStringList OrderHeaders = {QStringLiteral("م"), QStringLiteral("الدواء"), QStringLiteral("الكمية"),
                                         QStringLiteral("السعر"), QStringLiteral("الخصم %"), QStringLiteral("القيمة")};
inline const QString TotalLine = QStringLiteral("الاجمالي: %1 جنيه");
inline const QString ReplacedLine = QStringLiteral("امر الشراء هذا مغلق ولا يسجل له استلام.");
inline const QString DistributionTitle = QStringLiteral("توزيع صنف: %1");
inline const QString DistributionLine = QStringLiteral("امر الشراء %1    المستلم %2    الموزع %3");
inline const QStringList DistributionHeaders = {QStringLiteral("م"),        QStringLiteral("الصيدلية"),
                                                QStringLiteral("التليفون"),   QStringLiteral("رقم الاوردر"),
                                                QStringLiteral("المطلوب"),    QStringLiteral("الحصة"),
                                                QStringLiteral("تم")};
inline const QString TotalCaption = QStringLiteral("الاجمالي");
inline const QString SurplusLine = QStringLiteral("زيادة عن المطلوب حفظت في رصيد المجموعة للخطة القادمة: %1");
inline const QString PurchaseOrdersTitle = QStringLiteral("اوامر الشراء من المخازن");
inline const QString From = QStringLiteral("من");
inline const QString To = QStringLiteral("الي");
inline const QString Make = QStringLiteral("اعمل اوامر الشراء من الطلبيات المرسلة");
inline const QStringList PlanHeaders = {QStringLiteral("الدواء"), QStringLiteral("المفتوح"), QStringLiteral("الرصيد"),
                                        QStringLiteral("الكمية"), QStringLiteral("المخزن"),  QStringLiteral("الخصم"),
                                        QStringLiteral("السعر"),  QStringLiteral("القيمة"), QStringLiteral("من الرصيد")};
inline const QStringList FigureHeaders = {
    QStringLiteral("الدواء"),   QStringLiteral("المطلوب"), QStringLiteral("المخصص"),     QStringLiteral("تحت الطلب"),
    QStringLiteral("مفتوح"),    QStringLiteral("ملغي"),    QStringLiteral("المستلم"),    QStringLiteral("من الرصيد"),
    QStringLiteral("زيادة للرصيد"), QStringLiteral("الرصيد")};
inline const QStringList PendingHeaders = {QStringLiteral("المخزن"), QStringLiteral("امر الشراء"), QStringLiteral("الدواء"),
                                           QStringLiteral("الكمية"), QStringLiteral("المستلم"), QStringLiteral("الباقي")};
inline const QString AllOpen = QStringLiteral("كل السطور المفتوحة");
inline const QString CancelDrug = QStringLiteral("الغاء المفتوح من الصنف المختار / اعادته");
inline const QString CancelQuestion = QStringLiteral("الغاء الوحدات المفتوحة من %1 (لا تشتري وتظهر غير متوفرة للصيدليات)؟");
inline const QString Cancelled = QStringLiteral("ملغي");
inline const QString CloseOrder = QStringLiteral("اغلاق امر الشراء: الباقي لن يصل");
inline const QString CloseQuestion = QStringLiteral("اغلاق امر الشراء %1؟ لن يسجل له استلام بعد ذلك.");
inline const QString CancelRestQuestion = QStringLiteral(
    "هل تلغي الوحدات التي لم تصل (تظهر غير متوفرة للصيدليات)؟ اختر لا لتعود مفتوحة فتشتريها الخطة القادمة.");
inline const QString OrderTaken = QStringLiteral("تغير امر الشراء علي الخادم منذ قراءته. اعد القراءة ثم حاول مرة اخري.");
inline const QString RuleChanged = QStringLiteral("وزع هذا السطر من قبل بقاعدة \"%1\". هل تعيد توزيعه بقاعدة \"%2\"؟");
inline const QString Count = QStringLiteral("جرد رصيد الصنف المختار");
inline const QString CountPrompt = QStringLiteral("رصيد المجموعة من %1 بعد الجرد");
inline const QString FiguresCaption = QStringLiteral("ارقام كل صنف");
inline const QString PendingCaption = QStringLiteral("الباقي عند المخازن");
inline const QString StatusNames = QStringLiteral("محفوظ,مستلم جزئيا,مستلم,مغلق");
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
inline const QString PeriodLine = QStringLiteral("طلبيات مرسلة من %1 الي %2: %3 اوردر، %4 وحدة مفتوحة");
inline const QString PlanTotal = QStringLiteral("%1 امر شراء، الاجمالي %2 جنيه");
inline const QString NewQuantity = QStringLiteral("الكمية المطلوب شراؤها من %1");
inline const QString ChooseDrug = QStringLiteral("اختر صنفا ومخزنا اولا.");
inline const QString ChooseLine = QStringLiteral("اختر سطرا من امر الشراء اولا.");
inline const QString ChooseOrder = QStringLiteral("اختر امر شراء محفوظا اولا.");
inline const QString NothingToKeep = QStringLiteral("لا يوجد صنف له مخزن وكمية لشرائه.");
inline const QString KeptLine = QStringLiteral("حفظت الخطة %1: %2 امر شراء.");
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
inline const QString SomeUnmatched = QStringLiteral("%1 اسم في الملف لا يطابق دواء في الكتالوج ولن يستورد:");
inline const QString OfferChangesHead = QStringLiteral("هل تحفظ عروض الملف؟ %1 عرض يتغير، %2 عرض جديد، %3 كما هو:");
inline const QString OfferChanged = QStringLiteral("%1: كان %2% ويصبح %3%");
inline const QString OfferNew = QStringLiteral("%1: عرض جديد %2%");
inline const QString Imported = QStringLiteral("استوردت %1 عروض.");
inline const QString NoBestOffer = QStringLiteral("لا يوجد عرض لهذا الدواء بخصم يقبله الكتالوج (اكثر من 1 وحتي 95).");
inline const QString SaveXlsx = QStringLiteral("حفظ xlsx");
} // namespace BuyingTexts
