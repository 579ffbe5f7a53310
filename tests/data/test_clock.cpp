// The one clock, the one stored form of a moment and the days' texts.
#include "data/Clock.h"

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
