#pragma once

#include <QString>

// Every text of the start-up: the splash's captions and what start-up tells the user.
namespace FormSplashTexts {
inline const QString Title = QStringLiteral("BRENTOVAL");
inline const QString Wait = QStringLiteral("Wait please....");
// Followed by the build's version text.
inline const QString TitleWithVersion = QStringLiteral("BRENTO VAL  ");
inline const QString LocalDatabaseFailed = QStringLiteral("تعذر انشاء قاعدة البيانات المحلية: ");
// A server lost after start-up: the window stays, the action was not done.
inline const QString ServerLost =
    QStringLiteral("تعذر الاتصال بالخادم، لم يتم تنفيذ العملية. حاول مرة اخرى بعد قليل");
} // namespace FormSplashTexts
