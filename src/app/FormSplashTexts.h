#pragma once

#include <QString>

// The splash's texts; what start-up tells the user is in AppStartTexts.
namespace FormSplashTexts {
inline const QString Title = QStringLiteral("BRENTOVAL");
inline const QString Wait = QStringLiteral("Wait please....");
// Followed by the build's version text.
inline const QString TitleWithVersion = QStringLiteral("BRENTO VAL  ");
} // namespace FormSplashTexts
