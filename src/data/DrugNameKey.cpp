#include "data/DrugNameKey.h"

#include <QVarLengthArray>

static bool isArabicMark(char16_t c) {
    return (c >= 0x0610 && c <= 0x061A) || (c >= 0x064B && c <= 0x065F) || c == 0x0670 ||
           (c >= 0x06D6 && c <= 0x06DC) || (c >= 0x06DF && c <= 0x06E8) || (c >= 0x06EA && c <= 0x06ED);
}

// The letters of the Arabic block (tatweel aside, which is dropped before this is asked).
static bool isArabicLetter(char16_t c) {
    return (c >= 0x0620 && c <= 0x064A && c != 0x0640) || c == 0x066E || c == 0x066F ||
           (c >= 0x0671 && c <= 0x06D3) || c == 0x06D5 || c == 0x06EE || c == 0x06EF ||
           (c >= 0x06FA && c <= 0x06FC) || c == 0x06FF;
}

namespace {
enum class Kind : unsigned char { Other, Letter, Digit };
}

QString DrugNameKey(QStringView name) {
    // Each character gives at most itself and a blank before it. Names are short: built on the
    // stack, the key is allocated once at its size.
    QVarLengthArray<char16_t, 256> buffer(name.size() * 2);
    char16_t* const begin = buffer.data();
    char16_t* out = begin;
    bool blankPending = false;
    Kind last = Kind::Other;
    // A letter against a digit gets the blank pharmacists often leave out.
    auto append = [&](char16_t c, Kind kind) {
        if (blankPending || (kind != Kind::Other && last != Kind::Other && kind != last)) {
            *out++ = u' ';
            blankPending = false;
        }
        *out++ = c;
        last = kind;
    };
    for (QChar ch : name) {
        char16_t c = ch.unicode();
        // Most of a catalogue is plain ASCII: no table lookups for it.
        if (c < 0x80 && c > 0x20) {
            if (c >= 'A' && c <= 'Z')
                c = char16_t(c + 32);
            append(c, (c >= 'a' && c <= 'z') ? Kind::Letter : (c >= '0' && c <= '9') ? Kind::Digit : Kind::Other);
            continue;
        }
        // The Arabic block has no blank and no case; its format characters are the number signs,
        // the letter mark and the end of ayah.
        const bool arabic = c >= 0x0600 && c <= 0x06FF;
        if (!arabic && ch.isSpace()) {
            blankPending = out != begin;
            last = Kind::Other;
            continue;
        }
        if (c == 0x0640 || isArabicMark(c) ||
            (arabic ? (c <= 0x0605 || c == 0x061C || c == 0x06DD) : ch.category() == QChar::Other_Format))
            continue;
        if (arabic) {
            if (c >= 0x0660 && c <= 0x0669) { // ٠..٩
                append(char16_t(u'0' + (c - 0x0660)), Kind::Digit);
                continue;
            }
            if (c >= 0x06F0 && c <= 0x06F9) { // ۰..۹
                append(char16_t(u'0' + (c - 0x06F0)), Kind::Digit);
                continue;
            }
            switch (c) {
            case 0x0622: case 0x0623: case 0x0625: case 0x0671: c = 0x0627; break; // آ أ إ ٱ -> ا
            case 0x0649: case 0x06CC: c = 0x064A; break;                           // ى ی -> ي
            case 0x06A9: c = 0x0643; break;                                        // ک -> ك
            case 0x0629: c = 0x0647; break;                                        // ة -> ه
            default: break;
            }
            append(c, isArabicLetter(c) ? Kind::Letter : Kind::Other);
            continue;
        }
        if (c < 0x80) { // controls below the blank that are no blank
            append(c, Kind::Other);
            continue;
        }
        c = ch.toCaseFolded().unicode();
        const QChar folded(c);
        append(c, folded.isLetter() ? Kind::Letter : folded.isDigit() ? Kind::Digit : Kind::Other);
    }
    return QString(reinterpret_cast<const QChar*>(begin), out - begin);
}
