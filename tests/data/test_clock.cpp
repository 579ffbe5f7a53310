// The stored form of a moment and the days' texts.
#include "data/Clock.h"
#include "data/Days.h"

#include <QRandomGenerator>
#include <QtTest>

class TestClock : public QObject {
    Q_OBJECT
private slots:
    // Random moments: every form of a moment or of its day reads back as it, a moment in the older
    // rows' form too, and the forms the group's tables keep sort as the moments and days do.
    void formsReadBackAndSort() {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        // Local wall-clock time: an hour the clocks go back repeats it.
        auto wall = [](const QDateTime& t) { return std::pair(t.date(), t.time()); };
        QDateTime before;
        for (int i = 0; i < 3000; ++i) {
            const QDateTime at = QDateTime(QDate(2000, 1, 1), QTime(0, 0)).addSecs(rng.bounded(quint64(3155760000)));
            const QDate day = at.date();
            QCOMPARE(Clock::Stamp(at).size(), Clock::StampLength);
            QCOMPARE(wall(Clock::FromStamp(Clock::Stamp(at))), wall(at));
            QCOMPARE(wall(Clock::FromStamp(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))), wall(at));
            QCOMPARE(Days::DateNumberText(Days::DateNumber(day)), Days::Text(day));
            QCOMPARE(Days::FromText(Days::Text(day)), day);
            QCOMPARE(Days::FromKey(Days::Key(day)), day);
            QCOMPARE(Days::DrugsDate(day).toInt(), Days::DateNumber(day).toInt());
            if (before.isValid()) {
                QCOMPARE(Clock::Stamp(at) < Clock::Stamp(before), wall(at) < wall(before));
                QCOMPARE(Days::Key(day) < Days::Key(before.date()), day < before.date());
            }
            before = at;
        }
        for (const char* bad : {"", "2026120709130", "20261307091300", "2026-12-07 09:13", "-1", "2612.5"}) {
            QVERIFY2(!Clock::FromStamp(QString::fromLatin1(bad)).isValid(), bad);
            QCOMPARE(Days::DateNumberText(QString::fromLatin1(bad)), QString::fromLatin1(bad));
        }
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "test_clock.moc"
