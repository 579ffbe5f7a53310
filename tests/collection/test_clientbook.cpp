// The client book on real files made byte by byte: layout, code page, damage, refusals and two
// copies of the program adding to one file.
#include "collection/Cp1256.h"
#include "collection/ModOmla.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace ModOmla;

namespace {
// "أحمد" and "علي" in Windows-1256.
const QByteArray AhmadBytes("\xC3\xCD\xE3\xCF", 4);
const QString Ahmad = QStringLiteral("أحمد");
const QByteArray AliBytes("\xDA\xE1\xED", 3);
const QString Ali = QStringLiteral("علي");

QByteArray text(const QByteArray& bytes) {
    QByteArray out;
    out += char(bytes.size() & 0xFF);
    out += char(bytes.size() >> 8);
    return out + bytes;
}

// One record, filled to 128 bytes with pad, or left short without one.
QByteArray record(const QByteArray& name, const QByteArray& spare, const QByteArray& tel, int pad = -1) {
    QByteArray r = text(name) + text(spare) + text(tel);
    if (pad >= 0)
        r.append(RecordLength - r.size(), char(pad));
    return r;
}

QByteArray emptyRecords(int n) {
    return QByteArray(n * RecordLength, '\0');
}
} // namespace

class TestClientBook : public QObject {
    Q_OBJECT
    QTemporaryDir* m_dir = nullptr;

    QString path() const { return m_dir->filePath(FileName); }
    void writeFile(const QByteArray& bytes) {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray readFile() {
        QFile f(path());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }
    QByteArray fileRecord(int n) { return readFile().mid((n - 1) * RecordLength, RecordLength); }

private slots:
    void init() {
        delete m_dir;
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        setBookFolder(m_dir->path());
        ClientBook.clear();
    }
    void cleanupTestCase() {
        delete m_dir;
        setBookFolder({});
    }

    void codePageTableMatchesIcuAndRoundTrips() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        const QString decoded = Cp1256::decode(all);
        QCOMPARE(decoded.size(), 256);
        QCOMPARE(Cp1256::encode(decoded).value_or(QByteArray()), all);
        QCOMPARE(Cp1256::decode(AhmadBytes), Ahmad);
        QVERIFY(!Cp1256::encode(QStringLiteral("李")).has_value());
        QVERIFY(!Cp1256::encode(QStringLiteral("a😀")).has_value());
        QVERIFY(!Cp1256::encode(QStringLiteral("\uFEE3")).has_value()); // presentation form of meem
        QStringDecoder icu("windows-1256");
        if (!icu.isValid())
            QSKIP("this Qt has no windows-1256 codec to compare with");
        QCOMPARE(decoded, QString(icu(all)));
    }

    void missingFileIsCreatedAndFirstAdditionFillsEntryOne() {
        QVERIFY(!QFile::exists(path()));
        const BookStatus loaded = LoadClientBook();
        QVERIFY(loaded.ok);
        QVERIFY(loaded.message.isEmpty());
        QVERIFY(QFile::exists(path()));
        QCOMPARE(QFileInfo(path()).size(), 0);
        QCOMPARE(ClientNameByTel(QStringLiteral("01011111111")), QString());
        QCOMPARE(FindFreeClientSlot(), 1);

        BookStatus st;
        QCOMPARE(AddClient(QStringLiteral("01011111111"), Ahmad, &st), 1);
        QVERIFY2(st.ok, qPrintable(st.message));
        const QByteArray file = readFile();
        QCOMPARE(file.size(), BookSize * RecordLength);
        QCOMPARE(file.left(RecordLength), record(AhmadBytes, {}, "01011111111", '\0'));
        QCOMPARE(file.mid(RecordLength), emptyRecords(BookSize - 1));
        QCOMPARE(ClientNameByTel(QVariant(QStringLiteral("01011111111"))), Ahmad);
    }

    void readsArabicSparesAndIgnoresFiller() {
        writeFile(record(AhmadBytes, "spare one", " 01022222222 ", 0xFF) +
                  record(QByteArray("Mona\0\0 ", 7), {}, QByteArray("01033333333\0\0", 13), ' ') +
                  emptyRecords(1) + record(AliBytes, AhmadBytes, "01044444444"));
        QVERIFY(LoadClientBook().message.isEmpty());
        QCOMPARE(ClientBook.entry(1).ClientName, Ahmad);
        QCOMPARE(ClientBook.entry(1).ClientSpare, QStringLiteral("spare one"));
        QCOMPARE(ClientBook.entry(1).ClientTel, QStringLiteral(" 01022222222 "));
        QCOMPARE(ClientBook.entry(4).ClientSpare, Ahmad);
        // Lookups work on cleaned texts, in both directions.
        QCOMPARE(ClientNameByTel(QStringLiteral("01022222222")), Ahmad);
        QCOMPARE(ClientNameByTel(QStringLiteral("  01033333333")), QStringLiteral("Mona"));
        QCOMPARE(ClientNameByTel(QStringLiteral("01044444444")), Ali); // short last record
        QCOMPARE(FindFreeClientSlot(), 3);
        QVERIFY(ClientBook.entry(0).ClientTel.isEmpty());
    }

    void lookupAndFreeEntryRules() {
        writeFile(record("Free name", {}, "  ", '\0') + record("", {}, "0105", '\0') +
                  record("First", {}, "0106", '\0') + record("Second", {}, "0106", '\0'));
        LoadClientBook();
        QCOMPARE(ClientNameByTel(QStringLiteral("0106")), QStringLiteral("First"));
        QCOMPARE(ClientNameByTel(QStringLiteral("0105")), QString()); // phone without a name
        QVERIFY(!ClientBook.isFree(2));
        // An empty phone matches the first free entry, here one that still holds a name.
        QCOMPARE(ClientNameByTel(QString()), QStringLiteral("Free name"));
        QCOMPARE(FindFreeClientSlot(), 1);
        BookStatus st;
        QCOMPARE(AddClient(QStringLiteral("0107"), Ali, &st), 1); // the free entry with a name is reused
        QCOMPARE(ClientNameByTel(QStringLiteral("0107")), Ali);
        QCOMPARE(FindFreeClientSlot(), 5);
        QCOMPARE(ClientNameByTel(QString()), QString());
        // An entry written directly is found at once.
        ClientBook.setEntry(9, {QStringLiteral("Direct"), {}, QStringLiteral("0109")});
        QCOMPARE(ClientNameByTel(QStringLiteral("0109")), QStringLiteral("Direct"));
    }

    void spareTextsAndUntouchedRecordsSurviveASave() {
        const QByteArray first = record(AhmadBytes, "keep me", "0101", 0x5A);
        writeFile(first + record(AliBytes, AliBytes, "0102"));
        LoadClientBook();
        BookStatus st;
        QCOMPARE(AddClient(QStringLiteral("0103"), QStringLiteral("Sara"), &st), 3);
        QCOMPARE(fileRecord(1), first);
        QCOMPARE(fileRecord(2), record(AliBytes, AliBytes, "0102", '\0'));
        QCOMPARE(fileRecord(3), record("Sara", {}, "0103", '\0'));
        ClientBook.clear();
        LoadClientBook();
        QCOMPARE(ClientBook.entry(1).ClientSpare, QStringLiteral("keep me"));
        QCOMPARE(ClientBook.entry(2).ClientSpare, Ali);
    }

    void damagedCountsAreReportedKeptAndNeverReused() {
        // Record 1 claims 500 name bytes; record 2's phone count runs past the record; the file
        // then ends in the middle of record 3's count.
        QByteArray r1 = QByteArray("\xF4\x01", 2) + QByteArray("abc");
        r1.append(RecordLength - r1.size(), 'x');
        QByteArray r2 = text("B") + text({}) + QByteArray("\x7F\x00", 2) + "0102";
        r2.append(RecordLength - r2.size(), 'y');
        const QByteArray r3("\x05", 1);
        writeFile(r1 + r2 + r3);
        const BookStatus loaded = LoadClientBook();
        QVERIFY(loaded.ok);
        QVERIFY(!loaded.message.isEmpty());
        QVERIFY(ClientBook.isDamaged(1));
        QVERIFY(ClientBook.isDamaged(2));
        QVERIFY(ClientBook.isDamaged(3));
        QCOMPARE(ClientBook.entry(1).ClientName.size(), RecordLength - 2); // cut at the record's end
        QVERIFY(ClientBook.entry(1).ClientTel.isEmpty());
        QVERIFY(ClientBook.entry(2).ClientTel.startsWith(QStringLiteral("0102")));
        QCOMPARE(FindFreeClientSlot(), 4);
        BookStatus st;
        QCOMPARE(AddClient(QStringLiteral("0104"), QStringLiteral("D"), &st), 4);
        QCOMPARE(fileRecord(1), r1);
        QCOMPARE(fileRecord(2), r2);
        QCOMPARE(fileRecord(3), r3 + QByteArray(RecordLength - 1, '\0'));
    }

    void entriesThatCannotBeStoredAreRefused_data() {
        QTest::addColumn<QString>("tel");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("122 bytes fit") << QStringLiteral("012345") << QString(116, u'ب') << true;
        QTest::newRow("123 bytes do not") << QStringLiteral("012345") << QString(117, u'ب') << false;
        QTest::newRow("no code page byte") << QStringLiteral("0101") << QStringLiteral("李") << false;
        QTest::newRow("emoji phone") << QStringLiteral("01😀") << Ahmad << false;
    }
    void entriesThatCannotBeStoredAreRefused() {
        QFETCH(QString, tel);
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        LoadClientBook();
        BookStatus st;
        const int slot = AddClient(tel, name, &st);
        QCOMPARE(st.ok, accepted);
        QCOMPARE(slot, accepted ? 1 : 0);
        QCOMPARE(st.message.isEmpty(), accepted);
        QCOMPARE(ClientNameByTel(tel), accepted ? name : QString());
        QCOMPARE(QFileInfo(path()).size(), accepted ? BookSize * RecordLength : 0);
    }

    void fullBookRefusesWithoutTouchingTheFile() {
        QByteArray all;
        for (int n = 1; n <= BookSize; ++n)
            all += record("N" + QByteArray::number(n), {}, "T" + QByteArray::number(n), '\0');
        writeFile(all);
        LoadClientBook();
        QCOMPARE(FindFreeClientSlot(), 0);
        BookStatus st;
        QCOMPARE(AddClient(QStringLiteral("0109"), Ali, &st), 0);
        QVERIFY(!st.ok);
        QVERIFY(st.message.contains(QStringLiteral("ممتلئ")));
        QCOMPARE(readFile(), all);
        QCOMPARE(ClientNameByTel(QStringLiteral("T1000")), QStringLiteral("N1000"));
        QVERIFY(ClientBook.entry(0).ClientTel.isEmpty());
    }

    void fileThatCannotBeReadOrWrittenGivesAMessage() {
        QVERIFY(QDir(m_dir->path()).mkdir(FileName)); // a folder where the file should be
        const BookStatus loaded = LoadClientBook();
        QVERIFY(!loaded.ok);
        QVERIFY(!loaded.message.isEmpty());
        BookStatus st;
        QCOMPARE(AddClient(QStringLiteral("0101"), Ali, &st), 0);
        QVERIFY(!st.ok);
        QCOMPARE(ClientNameByTel(QStringLiteral("0101")), QString()); // nothing half done
        QCOMPARE(FindFreeClientSlot(), 1);

        setBookFolder(m_dir->filePath(QStringLiteral("no/such/folder")));
        QVERIFY(LoadClientBook().ok); // nothing to read yet
        QCOMPARE(AddClient(QStringLiteral("0101"), Ali, &st), 0);
        QVERIFY(!st.ok);
        QVERIFY(st.message.contains(QStringLiteral("تعذر حفظ")));
        QCOMPARE(ClientNameByTel(QStringLiteral("0101")), QString());
    }

    void twoCopiesAddingKeepBothAdditions() {
        writeFile(record(AhmadBytes, {}, "0101", '\0'));
        LoadClientBook();
        // Another copy, started at the same time, adds into entry 2 and then entry 4.
        QByteArray other = readFile();
        other += record("Other", {}, "0199", '\0') + emptyRecords(1) + record("Later", {}, "0198", '\0');
        writeFile(other);
        BookStatus st;
        QCOMPARE(AddClient(QStringLiteral("0102"), Ali, &st), 3); // entry 2 is taken: moved on
        QVERIFY2(st.ok, qPrintable(st.message));
        QCOMPARE(fileRecord(1), record(AhmadBytes, {}, "0101", '\0'));
        QCOMPARE(fileRecord(2), record("Other", {}, "0199", '\0'));
        QCOMPARE(fileRecord(3), record(AliBytes, {}, "0102", '\0'));
        QCOMPARE(fileRecord(4), record("Later", {}, "0198", '\0'));
        QCOMPARE(ClientNameByTel(QStringLiteral("0199")), QStringLiteral("Other"));
        // A file cut short meanwhile does not take this copy's entries with it.
        writeFile(readFile().left(RecordLength));
        QVERIFY(SaveClientBook().ok);
        QCOMPARE(fileRecord(1), record(AhmadBytes, {}, "0101", '\0'));
        QCOMPARE(fileRecord(3), record(AliBytes, {}, "0102", '\0'));
        QCOMPARE(ClientNameByTel(QStringLiteral("0198")), QStringLiteral("Later"));
    }
};

QTEST_GUILESS_MAIN(TestClientBook)
#include "test_clientbook.moc"
