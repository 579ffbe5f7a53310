// The wildcard matcher behind the search box: every pattern element, case, brackets and bad input.
#include "ui/WildcardMatch.h"

#include <QtTest>

class TestWildcardMatch : public QObject {
    Q_OBJECT
private slots:
    void rules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("match");
        // plain text and case
        QTest::newRow("equal") << "Brufen"
                               << "Brufen" << true;
        QTest::newRow("case ignored") << "BRUFEN 400"
                                      << "brufen 400" << true;
        QTest::newRow("no prefix match") << "Brufen"
                                         << "Bru" << false;
        QTest::newRow("empty both") << ""
                                    << "" << true;
        QTest::newRow("empty pattern") << "a"
                                       << "" << false;
        QTest::newRow("empty text") << ""
                                    << "a" << false;
        // star
        QTest::newRow("star alone on empty") << ""
                                             << "*" << true;
        QTest::newRow("star prefix") << "amoxil"
                                     << "amox*" << true;
        QTest::newRow("star inner") << "amoxicillin 500 mg"
                                    << "a*500*mg" << true;
        QTest::newRow("star needs backtracking") << "abcbcd"
                                                 << "a*bcd" << true;
        QTest::newRow("star then missing tail") << "abcbc"
                                                << "a*bcd" << false;
        QTest::newRow("stars in a row") << "ab"
                                        << "a***b" << true;
        QTest::newRow("star takes nothing") << "ab"
                                            << "a*b" << true;
        QTest::newRow("last char must fit") << "abx"
                                            << "*b" << false;
        // question mark and number sign
        QTest::newRow("question one char") << "cat"
                                           << "c?t" << true;
        QTest::newRow("question not zero") << "ct"
                                           << "c?t" << false;
        QTest::newRow("question not two") << "caat"
                                          << "c?t" << false;
        QTest::newRow("hash digit") << "500"
                                    << "5##" << true;
        QTest::newRow("hash not letter") << "5a0"
                                         << "5##" << false;
        QTest::newRow("hash not arabic digit") << "٥"
                                               << "#" << false;
        QTest::newRow("hash not empty") << ""
                                        << "#" << false;
        // lists
        QTest::newRow("list") << "b"
                              << "[abc]" << true;
        QTest::newRow("list miss") << "d"
                                   << "[abc]" << false;
        QTest::newRow("list case") << "B"
                                   << "[abc]" << true;
        QTest::newRow("range") << "m"
                               << "[a-z]" << true;
        QTest::newRow("range case") << "M"
                                    << "[a-z]" << true;
        QTest::newRow("upper range lower text") << "m"
                                                << "[A-Z]" << true;
        QTest::newRow("range miss") << "5"
                                    << "[a-z]" << false;
        QTest::newRow("two ranges") << "7"
                                    << "[a-c0-9]" << true;
        QTest::newRow("reversed range") << "m"
                                        << "[z-a]" << false;
        QTest::newRow("dash first is itself") << "-"
                                              << "[-a]" << true;
        QTest::newRow("dash last is itself") << "-"
                                             << "[a-]" << true;
        QTest::newRow("dash after range is itself") << "-"
                                                    << "[a-c-e]" << true;
        QTest::newRow("after range not widened") << "d"
                                                 << "[a-c-e]" << false;
        QTest::newRow("negated") << "d"
                                 << "[!abc]" << true;
        QTest::newRow("negated miss") << "A"
                                      << "[!abc]" << false;
        QTest::newRow("negated range") << "5"
                                       << "[!a-z]" << true;
        QTest::newRow("negated takes one char") << ""
                                                << "[!a]" << false;
        QTest::newRow("specials inside a list") << "*"
                                                << "[*?#]" << true;
        QTest::newRow("star inside list is no star") << "ab"
                                                     << "[*]" << false;
        QTest::newRow("list in the middle") << "x1y"
                                            << "x[0-9]y" << true;
        QTest::newRow("empty list is nothing") << "ab"
                                               << "a[]b" << true;
        QTest::newRow("empty negated list any") << "axb"
                                                << "a[!]b" << true;
        // unbalanced brackets
        QTest::newRow("open bracket alone") << "["
                                            << "[" << true;
        QTest::newRow("unclosed list is literal") << "[ab"
                                                  << "[ab" << true;
        QTest::newRow("unclosed list not a list") << "a"
                                                  << "[ab" << false;
        QTest::newRow("closing bracket alone") << "]"
                                               << "]" << true;
        QTest::newRow("bracket after list") << "a]"
                                            << "[a]]" << true;
        QTest::newRow("star before unclosed") << "x[y"
                                              << "*[y" << true;
        // Arabic and other scripts
        QTest::newRow("arabic equal") << "باراسيتامول"
                                      << "باراسيتامول" << true;
        QTest::newRow("arabic star") << "أموكسيسيلين ٥٠٠"
                                     << "أموكس*" << true;
        QTest::newRow("arabic question") << "دواء"
                                         << "د?اء" << true;
        QTest::newRow("arabic list") << "ب"
                                     << "[أبت]" << true;
        QTest::newRow("arabic negated") << "ث"
                                        << "[!أبت]" << true;
        QTest::newRow("mixed scripts") << "Panadol بانادول"
                                       << "*ol ب*" << true;
        QTest::newRow("greek case") << "ΑΜΟΞ"
                                    << "αμοξ" << true;
        QTest::newRow("pair of surrogates is one char") << "a😀b"
                                                        << "a?b" << true;
        QTest::newRow("surrogate pair in a list") << "😀"
                                                  << "[😀x]" << true;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << "?" << true;
    }
    void rules() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, match);
        QCOMPARE(WildcardMatch(text, pattern), match);
        QCOMPARE(WildcardPattern(pattern).matches(text), match);
    }

    void longTextsAndPatterns() {
        const QString text = QString(5000, u'a') + u'b';
        QVERIFY(WildcardMatch(text, QStringLiteral("*b")));
        QVERIFY(!WildcardMatch(text, QStringLiteral("*c")));
        // Many stars on a text that nearly matches: must not explode combinatorially.
        QString stars;
        for (int i = 0; i < 200; ++i)
            stars += QStringLiteral("*a");
        QVERIFY(!WildcardMatch(QString(3000, u'a'), stars + u'b'));
        QVERIFY(WildcardMatch(QString(3000, u'a'), stars));
        QVERIFY(WildcardMatch(text, QString(5000, u'?') + u'B'));
        QVERIFY(!WildcardMatch(text, QString(5001, u'?') + u'B'));
        QString lists;
        for (int i = 0; i < 1000; ++i)
            lists += QStringLiteral("[!b]");
        QVERIFY(WildcardMatch(QString(1000, u'a'), lists));
        QVERIFY(!WildcardMatch(QString(999, u'a') + u'b', lists));
        QVERIFY(WildcardMatch(QString(2000, u'['), QString(2000, u'[')));
    }
};

QTEST_GUILESS_MAIN(TestWildcardMatch)
#include "test_wildcardmatch.moc"
