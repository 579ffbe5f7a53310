#pragma once

#include "data/WriteRoad.h"

#include <QString>

// What the order pane asks and tells: the questions before a change and every outcome of one.
namespace OrderPaneTexts {
inline const QString NoOrder = QStringLiteral("قم باستدعاء اوردر موجود مسبقا  او قم بعمل اوردر جديد");
inline const QString SentNoChange =
    QStringLiteral("لقد قمت بارسال هذا الاوردر للتحضير ولا يمكنك التعديل فيه");
inline const QString AlreadyAdded = QStringLiteral("لقد اضفته فعلا");
inline const QString QuantityPrompt = QStringLiteral("ادخل الكمية المطلوبة");
inline const QString AskRemoveLine = QStringLiteral("هل تود حذف هذا الدواء من الاوردر");
inline const QString AskNewOrder = QStringLiteral("هل تود انشاء اوردر  جديد");
inline const QString NothingToDelete = QStringLiteral("لا يوجد اوردر لحذفه");
inline const QString SentNoDelete =
    QStringLiteral("لقد قمت بارسال هذا الاوردر للتحضير ولا يمكنك التعديل فيه  او حذفه");
inline const QString AskDeleteOrder = QStringLiteral("هل تود حذف هذا الاوردر  فعلا");
inline const QString AlreadySent = QStringLiteral("لقد قمت بارسال هذا الاوردر من قبل");
inline const QString AskSend = QStringLiteral(
    "تنيفذ هذا الامر يعني ارساله الي غرفة التحضير والغاء امكانية التعديل فيه هل تود الاستمرار");
// Messages of this system's own for what the order road otherwise leaves unsaid.
inline const QString NotSaved = WriteRoad::NotSavedText;
inline const QString OrderGone = QStringLiteral("هذا الاوردر لم يعد موجودا على الخادم (ربما تم حذفه)");
inline const QString NotRead = QStringLiteral("تعذرت قراءة الاوردر من الخادم.");
// Completes NotRead: which order the pane shows, so the pharmacist knows what the next action changes.
inline const QString ShownNow = QStringLiteral("المعروض الان هو الاوردر رقم %1 كما يحفظه الخادم");
inline const QString ShownNone = QStringLiteral("لا يوجد اوردر معروض الان");
// After a change whose outcome is not known, or a change the server took, and a read that failed:
// what is shown is what the program last knew, not what was read.
inline const QString ShownBefore =
    QStringLiteral("المعروض الان هو الاوردر رقم %1 كما عرفه البرنامج اخر مرة، وسيقرأ من الخادم قبل اي تعديل اخر");
inline const QString SentBefore =
    QStringLiteral("هذا الاوردر تم ارساله الي التحضير من قبل (ربما من جهاز اخر) ولم يتم هذا التعديل.");
inline const QString GoneNotMade =
    QStringLiteral("هذا الاوردر لم يعد موجودا على الخادم (ربما تم حذفه) ولم يتم هذا التعديل.");
inline const QString NotMade = QStringLiteral("لم يتم هذا التعديل.");
inline const QString ReadFirstFailed = QStringLiteral(
    "لم يتم هذا التعديل: تعذرت قراءة الاوردر من الخادم بعد عملية لم يعرف مصيرها. حاول مرة اخرى بعد قليل.");
inline const QString Refreshed =
    QStringLiteral("قرئ الاوردر من الخادم من جديد ولم يتم هذا التعديل. راجع المعروض ثم اعد المحاولة.");
inline const QString MadeBefore =
    QStringLiteral("الاوردر الجديد رقم %1 تم انشاؤه فعلا في المحاولة السابقة ولم ينشأ اوردر اخر.");
inline const QString OrderFull = QStringLiteral("الاوردر ممتلئ: لا يمكن اضافة اكثر من 100 صنف في اوردر واحد");
inline const QString BadDrugName =
    QStringLiteral("لا يمكن اضافة هذا الدواء لان اسمه يحتوي على احدى العلامتين ^ او |");
inline const QString AskReorder = QStringLiteral("هل تود عمل اوردر جديد بنفس اصناف وكميات هذا الاوردر بأسعار اليوم");
inline const QString ReorderMissing =
    QStringLiteral("هذه الاصناف لم تعد في قائمة الادوية ولم تضف الى الاوردر الجديد:");
inline const QString ReorderNothing = QStringLiteral("لا يوجد في هذا الاوردر صنف موجود في قائمة الادوية اليوم");
inline const QString CatalogueEmpty =
    QStringLiteral("قائمة الادوية غير محملة، اغلق النافذة وافتحها ثم حاول مرة اخرى");
inline const QString ReorderCatalogueNotRead =
    QStringLiteral("تعذرت قراءة قائمة الادوية من الخادم، لم ينشأ الاوردر الجديد. حاول مرة اخرى بعد قليل");
inline const QString ReorderJoined = QStringLiteral("هذه الاصناف تكررت في الاوردر القديم فصارت سطرا واحدا:");
// "name: 2 + 3 = 5" where both quantities are plain numbers, else the first kept.
inline const QString JoinedSum = QStringLiteral("%1: %2 + %3 = %4");
inline const QString JoinedKept = QStringLiteral("%1: بقيت الكمية الاولى %2 (الكمية الاخرى %3 ليست رقما)");
} // namespace OrderPaneTexts
