#pragma once

#include <QFont>
#include <QStringList>

// The window designs name two faces that today's machines lack or cannot use for Arabic
// ("Arabic Transparent"; "MS Sans Serif", on Windows a bitmap face without Arabic). Each is given
// explicitly the faces of this platform that draw Arabic, in order of preference.
namespace DesignFonts {

inline const QString ArabicTransparent = QStringLiteral("Arabic Transparent");
inline const QString MsSansSerif = QStringLiteral("MS Sans Serif");

// The platform's faces for a design face; any other face stands for itself.
QStringList faces(const QString& designFace);
// The design face at its size and weight, asking for the platform's faces by name.
QFont font(const QString& designFace, int pointSize = -1, int weight = QFont::Normal);
// For fonts still built from a design name: maps both names to the platform's faces where the
// name itself is missing.
void installSubstitutes();

} // namespace DesignFonts
