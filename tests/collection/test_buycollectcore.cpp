// The collected-orders window's arithmetic and statement texts.
#include "collection/BuyCollectCore.h"

#include <QtTest>

using BuyCollect::DaysAnswer;

class TestBuyCollectCore : public QObject {
    Q_OBJECT
private slots:
    void daysAreRoundedHalvesToEvenAndChecked_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("check");
        QTest::addColumn<int>("days");
        QTest::newRow("50") << "50" << int(DaysAnswer::Ok) << 50;
        QTest::newRow("49") << "49" << int(DaysAnswer::TooFew) << 49;
        QTest::newRow("abc") << "abc" << int(DaysAnswer::TooFew) << 0;
        QTest::newRow("empty") << "" << int(DaysAnswer::TooFew) << 0;
        QTest::newRow("49.5 to 50") << "49.5" << int(DaysAnswer::Ok) << 50;
        QTest::newRow("50.5 to 50") << "50.5" << int(DaysAnswer::Ok) << 50;
        QTest::newRow("51.5 to 52") << "51.5" << int(DaysAnswer::Ok) << 52;
        QTest::newRow("blanks and tail") << " 6 0days" << int(DaysAnswer::Ok) << 60;
        QTest::newRow("negative") << "-70" << int(DaysAnswer::TooFew) << -70;
        QTest::newRow("32767") << "32767" << int(DaysAnswer::Ok) << 32767;
        QTest::newRow("32767.5 overflows") << "32767.5" << int(DaysAnswer::TooMany) << 0;
        QTest::newRow("32768") << "32768" << int(DaysAnswer::TooMany) << 0;
        QTest::newRow("-32769 is too few") << "-32769" << int(DaysAnswer::TooFew) << 0;
        QTest::newRow("-40000 is too few") << "-40000" << int(DaysAnswer::TooFew) << 0;
        QTest::newRow("-1e400 is too few") << "-1e400" << int(DaysAnswer::TooFew) << 0;
        QTest::newRow("1e400") << "1e400" << int(DaysAnswer::TooMany) << 0;
    }
    void daysAreRoundedHalvesToEvenAndChecked() {
        QFETCH(QString, answer);
        QFETCH(int, check);
        QFETCH(int, days);
        const DaysAnswer a = BuyCollect::ParseDays(answer);
        QCOMPARE(int(a.check), check);
        if (check != DaysAnswer::TooMany)
            QCOMPARE(a.days, days);
    }

    void cutoffIsTheDayDaysBeforeNow_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("cutoff");
        const QDateTime dec7(QDate(2026, 12, 7), QTime(23, 59, 59));
        QTest::newRow("worked example") << dec7 << 50 << "261018";
        QTest::newRow("just after midnight")
            << QDateTime(QDate(2026, 12, 7), QTime(0, 0, 1)) << 50 << "261018";
        QTest::newRow("over a leap day") << QDateTime(QDate(2028, 4, 19), QTime(12, 0)) << 50 << "280229";
        QTest::newRow("leading zero dropped") << QDateTime(QDate(2005, 3, 1), QTime(9, 0)) << 59 << "50101";
        QTest::newRow("before 2000 stops there") << dec7 << 10000 << "101";
        QTest::newRow("largest count") << dec7 << 32767 << "101";
    }
    void cutoffIsTheDayDaysBeforeNow() {
        QFETCH(QDateTime, now);
        QFETCH(int, days);
        QFETCH(QString, cutoff);
        QCOMPARE(BuyCollect::DeleteCutoff(now, days), cutoff);
    }

    void statementTexts() {
        QCOMPARE(BuyCollect::DeleteClause(QStringLiteral("261018")), QStringLiteral(" date < '261018'; "));
        QCOMPARE(BuyCollect::OrderQuery(BuyCollect::OrderIdText(QStringLiteral(" 2612 07101530x"))),
                 QStringLiteral("select *  from bown2 where orderid = '261207101530' ;"));
        QCOMPARE(BuyCollect::OrderIdText(QString()), QStringLiteral("0"));
        QCOMPARE(BuyCollect::OrderIdText(QStringLiteral("1.5e3")), QStringLiteral("1500"));
    }
};

QTEST_GUILESS_MAIN(TestBuyCollectCore)
#include "test_buycollectcore.moc"
