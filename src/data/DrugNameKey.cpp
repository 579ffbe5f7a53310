#include "data/DrugNameKey.h"

static bool isArabicMark(char16_t c) {
    return (c >= 0x0610 && c <= 0x061A) || (c >= 0x064B && c <= 0x065F) || c == 0x0670 ||
           (c >= 0x06D6 && c <= 0x06DC) || (c >= 0x06DF && c <= 0x06E8) || (c >= 0x06EA && c <= 0x06ED);
}

QString DrugNameKey(QStringView name) {
    QString key;
    key.reserve(name.size());
    bool blankPending = false;
    for (QChar ch : name) {
        char16_t c = ch.unicode();
        // Most of a catalogue is plain ASCII: no table lookups for it.
        if (c < 0x80 && c > 0x20) {
            if (c >= 'A' && c <= 'Z')
                c = char16_t(c + 32);
            if (blankPending) {
                key.append(u' ');
                blankPending = false;
            }
            key.append(QChar(c));
            continue;
        }
        // The Arabic block has no blank and no case; its format characters are the number signs,
        // the letter mark and the end of ayah.
        const bool arabic = c >= 0x0600 && c <= 0x06FF;
        if (!arabic && ch.isSpace()) {
            blankPending = !key.isEmpty();
            continue;
        }
        if (c == 0x0640 || isArabicMark(c) ||
            (arabic ? (c <= 0x0605 || c == 0x061C || c == 0x06DD) : ch.category() == QChar::Other_Format))
            continue;
        switch (c) {
        case 0x0622: case 0x0623: case 0x0625: case 0x0671: c = 0x0627; break; // آ أ إ ٱ -> ا
        case 0x0649: case 0x06CC: c = 0x064A; break;                           // ى ی -> ي
        case 0x0629: c = 0x0647; break;                                        // ة -> ه
        default:
            if (c < 0x80 || arabic) {
                if (c >= 'A' && c <= 'Z')
                    c = char16_t(c + 32);
            } else {
                c = ch.toCaseFolded().unicode();
            }
        }
        if (blankPending) {
            key.append(u' ');
            blankPending = false;
        }
        key.append(QChar(c));
    }
    return key;
}
