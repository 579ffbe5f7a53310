// The wildcard matcher: the first line of the input is the pattern, the rest the text.
#include "FuzzCheck.h"
#include "ui/WildcardMatch.h"

#include <QList>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString all = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = all.indexOf(u'\n');
    const QString pattern = cut < 0 ? all : all.left(cut);
    const QString text = cut < 0 ? QString() : all.mid(cut + 1);
    const bool m = WildcardMatch(text, pattern);
    FUZZ_CHECK(WildcardPattern(pattern).matches(text) == m);
    // Oracles that hold for every text.
    FUZZ_CHECK(WildcardMatch(text, QStringLiteral("*")));
    FUZZ_CHECK(WildcardMatch(text, QString(text.toUcs4().size(), u'?')));
    FUZZ_CHECK(!WildcardMatch(text, QString(text.toUcs4().size() + 1, u'?')));
    FUZZ_CHECK(WildcardMatch(text, u'*' + pattern + u'*') || !m);
    if (m)
        FUZZ_CHECK(WildcardMatch(text + QStringLiteral("tail"), pattern + u'*'));
    return 0;
}
