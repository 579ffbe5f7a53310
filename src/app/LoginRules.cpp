#include "app/LoginRules.h"

#include "data/AppGlobals.h"

namespace LoginRules {

QStringList districts() {
    return {QStringLiteral("KaferElsheikh"), QStringLiteral("SidiSalim"), QStringLiteral("Disouq"),
            QStringLiteral("Alryiad"),       QStringLiteral("AlHamool"),  QStringLiteral("Baltim"),
            QStringLiteral("Biala"),         QStringLiteral("Fowa"),      QStringLiteral("Motobus"),
            QStringLiteral("Kallin")};
}

Verdict check(const QString& tel, const QString& markaz) {
    if (tel.size() != 11 || !tel.startsWith(QStringLiteral("01")))
        return Verdict::BadPhone;
    if (markaz.isEmpty())
        return Verdict::NoDistrict;
    return Verdict::Accepted;
}

Verdict apply(const QString& tel, const QString& markaz) {
    const Verdict v = check(tel, markaz);
    if (v == Verdict::Accepted) {
        AppGlobals::LoginTel = tel;
        AppGlobals::LoginMarkaz = markaz;
        AppGlobals::LoginMohafaza = AppGlobals::Mohafaza;
    }
    return v;
}

} // namespace LoginRules
