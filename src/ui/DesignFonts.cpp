#include "ui/DesignFonts.h"

namespace DesignFonts {

QStringList faces(const QString& designFace) {
#ifdef Q_OS_WIN
    // Faces of every Windows 10/11 that carry Arabic: Arial for the Arabic Transparent letters;
    // Tahoma, which Windows itself puts in place of MS Sans Serif in its dialogs; Segoe UI last.
    if (designFace == ArabicTransparent)
        return {QStringLiteral("Arial"), QStringLiteral("Tahoma"), QStringLiteral("Segoe UI")};
    if (designFace == MsSansSerif)
        return {QStringLiteral("Tahoma"), QStringLiteral("Segoe UI"), QStringLiteral("Arial")};
#else
    if (designFace == ArabicTransparent)
        return {QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Naskh Arabic"), QStringLiteral("DejaVu Sans")};
    if (designFace == MsSansSerif)
        return {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans Arabic")};
#endif
    return {designFace};
}

QFont font(const QString& designFace, int pointSize, int weight) {
    QFont f;
    f.setFamilies(faces(designFace));
    if (pointSize > 0)
        f.setPointSize(pointSize);
    f.setWeight(QFont::Weight(weight));
    return f;
}

void installSubstitutes() {
    for (const QString& design : {ArabicTransparent, MsSansSerif})
        QFont::insertSubstitutions(design, faces(design));
}

} // namespace DesignFonts
