// The order-lines text: encoding, decoding into grids, the order value and its rounding, and the
// leading-number parse the value rests on, with a short run of random and malformed texts.
#include "data/ModGFun.h"
#include "ordering/OrderLines.h"

#include <QRandomGenerator>
#include <QtTest>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <string>

using namespace OrderLines;

static const QString EmptySlot = QStringLiteral("^||||");

static QString emptySlots(int n) {
    return EmptySlot.repeated(n);
}

static std::vector<Line> oneLine(const QString& qty, const QString& price, const QString& disc) {
    return {Line{QStringLiteral("A"), qty, price, disc}};
}

static QString randomField(QRandomGenerator& rng) {
    static const QString alphabet = QStringLiteral("abcXYZ 0123456789.-'\"بانادول");
    QString s;
    const int len = rng.bounded(12);
    for (int i = 0; i < len; ++i)
        s += alphabet.at(rng.bounded(int(alphabet.size())));
    return s;
}

// Any text, "^" and "|" frequent so that slots and fields of every shape turn up.
static QString randomText(QRandomGenerator& rng) {
    static const QString alphabet = QStringLiteral("^^^|||||a1.e-+ \t\nبX");
    QString s;
    const int len = rng.bounded(1200);
    for (int i = 0; i < len; ++i) {
        if (rng.bounded(50) == 0)
            s += QChar(char16_t(rng.bounded(0x10000))); // anything, lone surrogates included
        else
            s += alphabet.at(rng.bounded(int(alphabet.size())));
    }
    return s;
}


// The reference for the value rounding: the number's shortest text in scientific form, then
// rounded to tenths on its decimal digits, written as plain text without trailing zeros.
template <typename T> static QString tenthsByDigits(T value) {
    // The fewest significant digits that read back as the same number, from the C library's exact
    // decimal expansion (printf) and reading (strtod): not the printer the code under test uses.
    char buf[64];
    for (int precision = 0; precision < 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*e", precision, double(value));
        if (T(std::strtod(buf, nullptr)) == value && (sizeof(T) == sizeof(double) || std::strtof(buf, nullptr) == float(value)))
            break;
    }
    const std::string sci(buf);
    const bool negative = sci[0] == '-';
    const size_t e = sci.find('e');
    std::string digits; // significant digits, the first one before the point
    for (size_t i = negative ? 1 : 0; i < e; ++i)
        if (sci[i] != '.')
            digits += sci[i];
    const int exponent = std::stoi(sci.substr(e + 1));
    // Digits of value * 10: the first exponent + 2 of them form the whole tenths.
    const int wholeCount = exponent + 2;
    std::string tenths = wholeCount > 0 ? digits.substr(0, size_t(std::min<int>(wholeCount, int(digits.size())))) : "";
    if (wholeCount > int(digits.size()))
        tenths.append(size_t(wholeCount) - digits.size(), '0');
    std::string rest = wholeCount >= 0 ? (wholeCount < int(digits.size()) ? digits.substr(size_t(wholeCount)) : "")
                                       : std::string(size_t(-wholeCount), '0') + digits;
    if (tenths.empty())
        tenths.assign(1, '0');
    const bool half = !rest.empty() && rest[0] == '5' && rest.find_first_not_of('0', 1) == std::string::npos;
    const bool above = !rest.empty() && (rest[0] > '5' || (rest[0] == '5' && !half));
    if (above || (half && (tenths.back() - '0') % 2 == 1)) {
        int i = int(tenths.size()) - 1;
        for (; i >= 0 && tenths[size_t(i)] == '9'; --i)
            tenths[size_t(i)] = '0';
        if (i < 0)
            tenths.insert(tenths.begin(), '1');
        else
            ++tenths[size_t(i)];
    }
    tenths.erase(0, std::min(tenths.find_first_not_of('0'), tenths.size() - 1));
    QString out = QString::fromStdString(tenths.size() > 1 ? tenths.substr(0, tenths.size() - 1) : "0");
    if (tenths.back() != '0')
        out += u'.' + QChar(tenths.back());
    if (negative && out != QLatin1String("0"))
        out.prepend(u'-');
    return out;
}

class TestOrderLines : public QObject {
    Q_OBJECT
private slots:
    void nullTextIsAnOrderWithoutLines() {
        FlexGrid g(7, 5);
        g.setTextMatrix(0, 0, QStringLiteral("header"));
        g.setTextMatrix(3, 0, QStringLiteral("old line"));
        g.setTextMatrix(3, 4, QStringLiteral("X"));
        DrugFieldToFlex(g, QVariant(), true);
        QCOMPARE(g.Rows(), 101);
        QCOMPARE(g.TextMatrix(0, 0), QStringLiteral("header"));
        for (int r = 1; r <= 100; ++r)
            for (int c = 0; c < 5; ++c)
                QVERIFY(g.TextMatrix(r, c).isEmpty());
        const Value v = OrderValue(g);
        QCOMPARE(v.cashText(), QStringLiteral("0"));
        QCOMPARE(v.deferredText(), QStringLiteral("0"));
        QCOMPARE(EncodeGrid(g), emptySlots(100));
        QCOMPARE(Encode({}), emptySlots(100));
        QCOMPARE(Encode({}).size(), 500);
    }

    void oneLineIsStoredAndValued() {
        const QString text = Encode(oneLine("2", "10", "10"));
        QCOMPARE(text, QStringLiteral("^A|2|10|10|") + emptySlots(99));
        FlexGrid g(1, 5);
        DrugFieldToFlex(g, text, true);
        QCOMPARE(g.TextMatrix(1, 0), QStringLiteral("A"));
        QCOMPARE(g.TextMatrix(1, 3), QStringLiteral("10"));
        QCOMPARE(g.TextMatrix(1, 4), QStringLiteral("X"));
        QCOMPARE(g.TextMatrix(2, 4), QString());
        QCOMPARE(EncodeGrid(g), text); // the mark column is not written
        const Value v = OrderValue(g);
        QCOMPARE(v.cashText(), QStringLiteral("18"));
        QCOMPARE(v.deferredText(), QStringLiteral("18.5"));
        DrugFieldToFlex(g, text, false); // the collected-orders variant: no marks
        QCOMPARE(g.TextMatrix(1, 4), QString());
    }

    void shortAndLongTexts() {
        QString three;
        for (int i = 1; i <= 3; ++i)
            three += QStringLiteral("^d%1|%1|5|0|").arg(i);
        FlexGrid g(1, 5);
        DrugFieldToFlex(g, three, true);
        QCOMPARE(g.TextMatrix(3, 0), QStringLiteral("d3"));
        QCOMPARE(g.TextMatrix(4, 0), QString());
        QCOMPARE(g.TextMatrix(100, 0), QString());
        QCOMPARE(OrderValue(g).cashText(), QStringLiteral("30"));

        QString many;
        for (int i = 1; i <= 120; ++i)
            many += QStringLiteral("^d%1|1|1|0|").arg(i);
        DrugFieldToFlex(g, many, true);
        QCOMPARE(g.Rows(), 101);
        QCOMPARE(g.TextMatrix(100, 0), QStringLiteral("d100"));
        const QString stored = EncodeGrid(g);
        QCOMPARE(stored, many.left(stored.size()));
        QVERIFY(!stored.contains(QStringLiteral("d101")));
        QCOMPARE(Decode(stored).size(), size_t(100));
        QCOMPARE(OrderValue(Decode(many)).cashText(), QStringLiteral("100")); // 120 read, 100 counted
    }

    void malformedPiecesLeaveCellsEmpty() {
        const std::vector<Line> lines = Decode(QStringLiteral("junk^a|1^^b|2|3|4|5|6^c"));
        QCOMPARE(lines.size(), size_t(100));
        QCOMPARE(lines[0], (Line{"a", "1", "", ""}));
        QCOMPARE(lines[1], Line{});
        QCOMPARE(lines[2], (Line{"b", "2", "3", "4"}));
        QCOMPARE(lines[3], (Line{"c", "", "", ""}));
        QVERIFY(lines[4].isEmpty());
        QCOMPARE(Decode(QStringLiteral("no slots at all"))[0], Line{});
    }

    void lineValues_data() {
        QTest::addColumn<QString>("qty");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("disc");
        QTest::addColumn<QString>("cash");
        QTest::addColumn<QString>("deferred");
        QTest::newRow("words after the quantity") << "3 boxes"
                                                  << "10"
                                                  << "0"
                                                  << "30"
                                                  << "30.9";
        QTest::newRow("discount 100") << "5"
                                      << "12.5"
                                      << "100"
                                      << "0"
                                      << "0";
        QTest::newRow("negative discount") << "1"
                                           << "10"
                                           << "-10"
                                           << "11"
                                           << "11.3";
        QTest::newRow("empty fields") << ""
                                      << ""
                                      << ""
                                      << "0"
                                      << "0";
        QTest::newRow("no quantity") << "abc"
                                     << "10"
                                     << "10"
                                     << "0"
                                     << "0";
        QTest::newRow("blanks inside numbers") << " 1 0"
                                               << "2 .5"
                                               << ""
                                               << "25"
                                               << "25.8";
        QTest::newRow("12.9") << "1"
                              << "12.875"
                              << "0"
                              << "12.9"
                              << "13.3";
        QTest::newRow("12.85 to even") << "1"
                                       << "12.85"
                                       << "0"
                                       << "12.8"
                                       << "13.2";
        // Halves round to the even neighbour, in the precision the value has.
        QTest::newRow("0.25 down") << "1"
                                   << "0.25"
                                   << "0"
                                   << "0.2"
                                   << "0.3";
        QTest::newRow("0.35 up") << "1"
                                 << "0.35"
                                 << "0"
                                 << "0.4"
                                 << "0.4";
        QTest::newRow("1.45 down") << "1"
                                   << "1.45"
                                   << "0"
                                   << "1.4"
                                   << "1.5";
        // 15 * 1.03 is the double 15.450000000000001: above the half, whatever 15.45 would do.
        QTest::newRow("deferred 15.450000000000001 up") << "1"
                                                        << "15"
                                                        << "0"
                                                        << "15"
                                                        << "15.5";
        // Sums whose float reads with two or more decimals: rounded once, from what they read.
        QTest::newRow("104857.66") << "1"
                                   << "104857.66"
                                   << "0"
                                   << "104857.7"
                                   << "108003.4";
        QTest::newRow("300000.34") << "1"
                                   << "300000.34"
                                   << "0"
                                   << "300000.3"
                                   << "309000.4";
        QTest::newRow("1677721.9") << "1"
                                   << "1677721.9"
                                   << "0"
                                   << "1677721.9"
                                   << "1728053.5";
        QTest::newRow("102.450005") << "1"
                                    << "102.450005"
                                    << "0"
                                    << "102.5"
                                    << "105.5";
        QTest::newRow("deferred 5.15 up") << "1"
                                          << "5"
                                          << "0"
                                          << "5"
                                          << "5.2";
        QTest::newRow("just above a half") << "1"
                                           << "0.2501"
                                           << "0"
                                           << "0.3"
                                           << "0.3";
        // Not finite: left out of the value and counted, never shown as NaN or Inf.
        QTest::newRow("1e39 with empty price") << "1e39" << "" << "0" << "0 (سطر لم يحسب)" << "0";
        QTest::newRow("1e400") << "1e400" << "5" << "0" << "0 (سطر لم يحسب)" << "0";
        QTest::newRow("negative half") << "-1"
                                       << "0.25"
                                       << "0"
                                       << "-0.2"
                                       << "-0.3";
    }
    void lineValues() {
        QFETCH(QString, qty);
        QFETCH(QString, price);
        QFETCH(QString, disc);
        QFETCH(QString, cash);
        QFETCH(QString, deferred);
        const Value v = OrderValue(oneLine(qty, price, disc));
        QCOMPARE(v.cashText(), cash);
        QCOMPARE(v.deferredText(), deferred);
    }

    // Every float of several ranges, as a sum of line values: the cash value is the decimal the
    // float reads as, rounded once; the deferred value the same for the double sum * 1.03.
    void valuesRoundWhatTheSumReads() {
        struct Range {
            float from, to;
        };
        std::vector<Range> ranges{{104500.0f, 105000.0f}, {300000.0f, 300200.0f}, {999000.0f, 1001000.0f},
                                  {1677500.0f, 1678000.0f}, {16747216.0f, 16807216.0f}};
        // Around every multiple of 0.05 up to 200, and a few negative ones.
        for (int k = -200; k <= 4000; ++k) {
            float lo = float(k) * 0.05f, hi = lo;
            for (int u = 0; u < 12; ++u) {
                lo = std::nextafter(lo, -INFINITY);
                hi = std::nextafter(hi, INFINITY);
            }
            ranges.push_back({lo, hi});
        }
        qint64 checked = 0;
        for (const Range& r : ranges) {
            for (float f = r.from; f <= r.to; f = std::nextafter(f, INFINITY), ++checked) {
                const Value v = ValueOfSum(f);
                if (v.cashText() != tenthsByDigits(f) || v.deferredText() != tenthsByDigits(double(f) * 1.03))
                    QFAIL(qPrintable(QStringLiteral("%1: %2 %3, expected %4 %5")
                                         .arg(ModGFun::ShortestText(f), v.cashText(), v.deferredText(),
                                              tenthsByDigits(f), tenthsByDigits(double(f) * 1.03))));
            }
        }
        QVERIFY(checked > 250000);
    }

    // The quick path for short numbers reads exactly what the general one does.
    void leadingNumberMatchesTheLibrary() {
        QRandomGenerator rng(2024);
        for (int i = 0; i < 20000; ++i) {
            std::string text = rng.bounded(4) == 0 ? "-" : "";
            const int digits = 1 + rng.bounded(24);
            const int point = rng.bounded(digits + 1);
            for (int d = 0; d < digits; ++d) {
                if (d == point)
                    text += '.';
                text += char('0' + rng.bounded(10));
            }
            const double expected = std::strtod(text.c_str(), nullptr);
            QCOMPARE(ModGFun::Val(QString::fromStdString(text) + QStringLiteral(" kg")), expected);
        }
    }

    void sumIsSinglePrecision() {
        // 0.1 added 100 times in 32-bit floats is 10.000002, not 10: the cash value still reads 10
        // and the deferred one 10.3, but the sum is not computed per line in double.
        std::vector<Line> lines(100, Line{"d", "1", "0.1", "0"});
        const Value v = OrderValue(lines);
        QCOMPARE(v.cashText(), QStringLiteral("10"));
        QCOMPARE(v.deferredText(), QStringLiteral("10.3"));
        // 16777216 + 1 is lost in a float sum.
        const Value big = OrderValue({Line{"a", "1", "16777216", "0"}, Line{"b", "1", "1", "0"}});
        QCOMPARE(big.cashText(), QStringLiteral("16777216"));
    }

    void hugeNumbersDoNotBreakTheValue() {
        // Beyond the float range a line counts for nothing and is counted as left out; so is one
        // that would carry a finite sum beyond it.
        const Value v = OrderValue(oneLine("1e39", "1", "0"));
        QVERIFY(v.cash == 0 && v.excluded == 1);
        const Value w = OrderValue(oneLine("-1e400", "1", "0"));
        QVERIFY(w.cash == 0 && w.excluded == 1);
        const Value two = OrderValue({Line{"a", "1", "3e38", "0"}, Line{"b", "1", "3e38", "0"}, Line{"c", "2", "1", "0"}});
        QCOMPARE(two.excluded, 1);
        QCOMPARE(two.cash, double(3e38f + 2.0f));
        QCOMPARE(two.cashText().endsWith(QStringLiteral(" (سطر لم يحسب)")), true);
    }

    void roundTrip() {
        QRandomGenerator rng(4711);
        for (int round = 0; round < 300; ++round) {
            std::vector<Line> lines;
            const int count = rng.bounded(101);
            for (int i = 0; i < count; ++i) {
                Line l{randomField(rng), randomField(rng), randomField(rng), randomField(rng)};
                if (l.isEmpty())
                    l.drug = QStringLiteral("x");
                lines.push_back(l);
            }
            const QString text = Encode(lines);
            QVERIFY(text.startsWith(u'^') && text.endsWith(u'|'));
            QCOMPARE(text.count(u'^'), 100);
            QCOMPARE(text.count(u'|'), 400);
            std::vector<Line> back = Decode(text);
            QCOMPARE(back.size(), size_t(100));
            QVERIFY(std::equal(lines.begin(), lines.end(), back.begin()));
            QVERIFY(std::all_of(back.begin() + count, back.end(), [](const Line& l) { return l.isEmpty(); }));
            FlexGrid g(1, 5);
            DrugFieldToFlex(g, text, true);
            QCOMPARE(EncodeGrid(g), text);
            QCOMPARE(OrderValue(g).cash, OrderValue(lines).cash);
        }
    }

    void storeStatementKeepsApostrophesAndLayout() {
        const QString text = Encode({Line{"O'Neil's", "2'", "10", "0"}});
        QCOMPARE(StoreStatement(text, QStringLiteral("240101101010"), QStringLiteral("0'1")),
                 QStringLiteral(" UPDATE bown2  SET  drug = '^O''Neil''s|2''|10|0|") + emptySlots(99) +
                     QStringLiteral("'  WHERE orderid='240101101010' AND tel = '0''1' AND (submitted IS NULL OR submitted <> '101');"));
    }

    void sentStatus() {
        QVERIFY(IsSent(QStringLiteral("101")));
        QVERIFY(IsSent(QStringLiteral(" 101 ")));
        QVERIFY(IsSent(QStringLiteral("101.0")));
        QVERIFY(!IsSent(QStringLiteral("0")));
        QVERIFY(!IsSent(QString()));
        QVERIFY(!IsSent(QStringLiteral("1010")));
    }

    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("zeros before the exponent's digits") << "1e0000000000000002" << 100.0;
        QTest::newRow("long exponent of zeros") << "5e-000000000000000000" << 5.0;
        QTest::newRow("blanks in the exponent") << "1 e - 2" << 0.01;
        QTest::newRow("many leading zeros") << (QString(500, u'0') + QStringLiteral("42")) << 42.0;
        QTest::newRow("tiny without exponent") << (QStringLiteral("0.") + QString(400, u'0') + u'1') << 0.0;
        QTest::newRow("long digits then small exponent")
            << (u'1' + QString(400, u'0') + QStringLiteral("e-400")) << 1.0;
        QTest::newRow("zero with huge exponent") << "0e99999999999999999999" << 0.0;
        QTest::newRow("negative tiny") << "-1e-99999" << 0.0;
        QTest::newRow("exponent letter only after dot") << "3.e2" << 300.0;
        QTest::newRow("double exponent") << "1e2e3" << 100.0;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ModGFun::Val(text), value);
    }
    void leadingNumberOverflow() {
        QVERIFY(std::isinf(ModGFun::Val(QStringLiteral("1e99999999999999999999"))));
        QVERIFY(std::isinf(ModGFun::Val(u'9' + QString(400, u'0') + QStringLiteral(".5"))));
        QVERIFY(ModGFun::Val(QStringLiteral("-1e400")) == -std::numeric_limits<double>::infinity());
    }

    void randomAndMalformedTextsNeverBreak() {
        QRandomGenerator rng(99);
        FlexGrid g(3, 5);
        for (int i = 0; i < 3000; ++i) {
            const QString text = randomText(rng);
            DrugFieldToFlex(g, text, i % 2 == 0);
            QCOMPARE(g.Rows(), 101);
            QCOMPARE(Decode(text).size(), size_t(100));
            // What was decoded is stored back as a whole 100-slot text.
            const QString stored = EncodeGrid(g);
            QCOMPARE(stored.count(u'^') >= 100, true);
            QVERIFY(stored.startsWith(u'^') && stored.endsWith(u'|'));
            const Value v = OrderValue(g);
            QVERIFY(!std::isnan(v.cash) || text.contains(u'e') || text.contains(u'E'));
            const double x = ModGFun::Val(text);
            QVERIFY(!std::isnan(x));
            QCOMPARE(ModGFun::Val(text + QStringLiteral("zz")), x); // what follows the number is ignored
        }
    }

    void decodeReadsAsAPlainSplit() {
        // Dense and sparse marks, so the marks fall at every place of an 8-character step.
        QRandomGenerator rng(2024);
        for (int i = 0; i < 3000; ++i) {
            QString text = randomText(rng);
            if (i % 2)
                for (QChar& c : text)
                    if ((c == u'^' || c == u'|') && rng.bounded(6) != 0)
                        c = u'x';
            std::vector<Line> expected(100);
            if (const qsizetype first = text.indexOf(u'^'); first >= 0) {
                const QStringList pieces = text.mid(first + 1).split(u'^');
                for (int k = 0; k < 100 && k < pieces.size(); ++k) {
                    const QStringList f = pieces[k].split(u'|');
                    expected[size_t(k)] = {f.value(0), f.value(1), f.value(2), f.value(3)};
                }
            }
            QCOMPARE(Decode(text), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestOrderLines)
#include "test_orderlines.moc"
