#include "ui/DesignFonts.h"

namespace DesignFonts {

QStringList faces(const QString& designFace) {
#ifdef Q_OS_WIN
    // Faces of every Windows 10/11 that carry Arabic. Tahoma first: Windows itself puts it in place
    // of MS Sans Serif in its dialogs, and it is the one a wine prefix has too (there a missing Arial
    // is still matched, by a serif face of the host). Arial carries the Arabic Transparent letters.
    if (designFace == ArabicTransparent)
        return {QStringLiteral("Tahoma"), QStringLiteral("Arial"), QStringLiteral("Segoe UI")};
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
