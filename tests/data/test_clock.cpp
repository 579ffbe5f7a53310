// The one clock, the one stored form of a moment and the days' texts.
#include "data/Clock.h"
#include "data/Days.h"

#include <QRandomGenerator>
#include <QtTest>

class TestClock : public QObject {
    Q_OBJECT
private slots:
    // Random moments: the stored form reads back as the moment, the older rows' form too, and
    // texts of the one form sort as their moments do.
    void storedMoments() {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        const QDateTime base(QDate(1990, 1, 1), QTime(0, 0));
        QString before;
        QDateTime beforeAt;
        for (int i = 0; i < 2000; ++i) {
            const QDateTime at = base.addSecs(qint64(rng.bounded(110u * 366 * 24 * 3600)));
            const QString stamp = Clock::Stamp(at);
            QCOMPARE(stamp.size(), Clock::StampLength);
            QCOMPARE(Clock::FromStamp(stamp), at);
            QCOMPARE(Clock::FromStamp(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))), at);
            if (i > 0)
                QCOMPARE(stamp < before, at < beforeAt);
            before = stamp;
            beforeAt = at;
        }
        for (const char* bad : {"", "2026120709130", "20261307091300", "2026-12-07 09:13", "not a time"})
            QVERIFY2(!Clock::FromStamp(QString::fromLatin1(bad)).isValid(), bad);
    }

    // Random days through every form a day takes: each reads back as the day, the group tables'
    // form sorts as the days do, and bown2's number (a real) is the drugs' six digits as a number.
    void dayForms() {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        QDate before;
        for (int i = 0; i < 2000; ++i) {
            const QDate day = QDate(2000, 1, 1).addDays(rng.bounded(36524));
            QCOMPARE(Days::FromDateNumber(Days::DateNumber(day)), day);
            QCOMPARE(Days::DateNumberText(Days::DateNumber(day)), Days::Text(day));
            QCOMPARE(Days::FromText(Days::Text(day)), day);
            QCOMPARE(Days::FromKey(Days::Key(day)), day);
            QCOMPARE(Days::DrugsDate(day).size(), 6);
            QCOMPARE(Days::DrugsDate(day).toInt(), Days::DateNumber(day).toInt());
            if (before.isValid())
                QCOMPARE(Days::Key(day) < Days::Key(before), day < before);
            before = day;
        }
        QCOMPARE(Days::FromText(QStringLiteral(" 2026/2/7 ")), QDate(2026, 2, 7));
        for (const char* notADay : {"", "abc", "261232", "-1", "2612.5", "1000000"})
            QCOMPARE(Days::DateNumberText(QString::fromLatin1(notADay)), QString::fromLatin1(notADay));
    }

    void fixedByTests() {
        const QDateTime fixed(QDate(2026, 12, 7), QTime(23, 59, 59));
        Clock::set([fixed] { return fixed; });
        QCOMPARE(Clock::now(), fixed);
        Clock::set({});
        QVERIFY(qAbs(Clock::now().secsTo(QDateTime::currentDateTime())) < 5);
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "test_clock.moc"
