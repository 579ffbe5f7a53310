#pragma once

#include <QString>

// The catalogue editor's own texts: captions, menus, prompts and messages; the catalogue rules'
// are in DrugsCatalogueTexts.
namespace FormDrugsEditorTexts {
inline const QString Title = QStringLiteral("بيانات الادوية");
inline const QString MenuEdit = QStringLiteral("تحرير");
inline const QString MenuChangeName = QStringLiteral("تغيير الاسم");
inline const QString MenuPrint = QStringLiteral("طباعة");
inline const QString MenuChoosePrinter = QStringLiteral("اختيار الطابعة");
inline const QString MenuPrintOrder100 = QStringLiteral("طباعة اوردر 100 صنف");
inline const QString MenuPreviewOrder100 = QStringLiteral("معاينة اوردر 100 صنف قبل الطباعة");
inline const QString HighestDiscount = QStringLiteral("اعلي خصم في المخازن");
inline const QString ArrangeColumns = QStringLiteral("ترتيب  الاعمدة");
inline const QString ByName = QStringLiteral("حسب الاسم التجاري");
inline const QString ByPrice = QStringLiteral("حسب السعر");
inline const QString ByDiscount = QStringLiteral("حسب الخصم");
inline const QString ByUpdate = QStringLiteral("حسب التحديث");
inline const QString ByShortage = QStringLiteral("حسب النقص");
inline const QString SavePdfTitle = QStringLiteral("حفظ اوردر 100 صنف");
inline const QString PreviewTitle = QStringLiteral("معاينة اوردر 100 صنف");
inline const QString NewDiscountPrompt = QStringLiteral("ادخل الخصم الجديد");
inline const QString NewNamePrompt = QStringLiteral("ادخل الاسم الجديد");
inline const QString NotRead = QStringLiteral("تعذرت قراءة الادوية من الخادم:");
inline const QString PrintFailedOn = QStringLiteral("تعذرت الطباعة على الطابعة ");
inline const QString OfferPdf = QStringLiteral("\nهل تريد حفظ الاوردر في ملف PDF بدلا من ذلك؟");
inline const QString NotSavedFile = QStringLiteral("تعذر حفظ الملف ");
inline const QString MenuWholesalers = QStringLiteral("المخازن");
inline const QString MenuWholesalerOffers = QStringLiteral("المخازن وعروضها");
inline const QString MenuBestOffer = QStringLiteral("اعلي خصم من افضل عرض حالي");
} // namespace FormDrugsEditorTexts
