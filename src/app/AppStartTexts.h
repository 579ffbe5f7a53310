#pragma once

#include <QString>

// What the start tells about the program's folder, its database and a lost server.
namespace AppStartTexts {
inline const QString LocalDatabaseFailed = QStringLiteral("تعذر انشاء قاعدة البيانات المحلية: ");
// The program's folder (%1) cannot be written and holds no database yet.
inline const QString FolderNotWritable = QStringLiteral(
    "لا يمكن الكتابة في مجلد البرنامج:\n%1\n"
    "ثبت البرنامج ببرنامج التثبيت، او انقل مجلد البرنامج الي مجلد تستطيع الكتابة فيه (مثل المستندات) "
    "وشغله من هناك.");
// The program's folder (%1) cannot be written but holds a database: it opens for reading only.
inline const QString ReadOnlyFolder = QStringLiteral(
    "لا يمكن الكتابة في مجلد البرنامج:\n%1\n"
    "البيانات معروضة للاطلاع فقط، ولن يحفظ اي تغيير. لحفظ التغييرات ثبت البرنامج ببرنامج التثبيت، "
    "او انقل مجلد البرنامج الي مجلد تستطيع الكتابة فيه وشغله من هناك.");
// A server lost after start-up: the window stays, the action was not done.
inline const QString ServerLost =
    QStringLiteral("تعذر الاتصال بالخادم، لم يتم تنفيذ العملية. حاول مرة اخرى بعد قليل");
} // namespace AppStartTexts
