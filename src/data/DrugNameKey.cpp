#include "data/DrugNameKey.h"

QString DrugNameKey(QStringView name) {
    QString out;
    out.reserve(name.size());
    bool blank = false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (c.isSpace()) {
            blank = !out.isEmpty();
            continue;
        }
        if (u == 0x0640 || (u >= 0x064B && u <= 0x065F) || u == 0x0670 || (u >= 0x06D6 && u <= 0x06ED) ||
            (u >= 0x0610 && u <= 0x061A))
            continue;
        if (blank)
            out.append(u' ');
        blank = false;
        if (u == 0x0623 || u == 0x0625 || u == 0x0622 || u == 0x0671)
            out.append(QChar(0x0627));
        else if (u == 0x0649)
            out.append(QChar(0x064A));
        else if (u == 0x0629)
            out.append(QChar(0x0647));
        else
            out.append(QString(c).toCaseFolded());
    }
    return out;
}
