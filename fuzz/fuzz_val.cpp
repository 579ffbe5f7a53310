// The leading-number parse on any text.
#include "FuzzCheck.h"
#include "data/ModGFun.h"

#include <QString>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const double v = ModGFun::Val(text);
    FUZZ_CHECK(!std::isnan(v));
    // Whatever follows the number does not change it; blanks, tabs and line feeds count for nothing.
    FUZZ_CHECK(ModGFun::Val(text + QStringLiteral("x1")) == v);
    FUZZ_CHECK(ModGFun::Val(QStringLiteral(" \t\n") + text) == v);
    // A sign in front negates, unless the text brings a sign of its own.
    const QString trimmed = QString(text).remove(u' ').remove(u'\t').remove(u'\n');
    if (!trimmed.startsWith(u'-') && !trimmed.startsWith(u'+'))
        FUZZ_CHECK(ModGFun::Val(u'-' + text) == -v);
    // The number's text reads back as the number.
    if (std::isfinite(v))
        FUZZ_CHECK(ModGFun::Val(ModGFun::ShortestText(v)) == v);
    return 0;
}
