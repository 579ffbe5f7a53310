// A wholesaler's offers sheet as Excel shows it: percent cells are percents, a discount outside
// 0-100 stops the import at its row; the change list the manager confirms before writing; and a
// sheet imported again the same day, on SQLite and PostgreSQL.
#include "BuyingFixture.h"
#include "TestDb.h"
#include "buying/BuyingTexts.h"
#include "buying/OfferImport.h"
#include "data/DrugNameKey.h"

#include <QTemporaryDir>
#include <QtTest>
#include <limits>
#include <xlsxwriter.h>

class TestOfferImport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // format: "#9" a built-in format, else a custom code (empty: General); a text instead of the
    // number when given. expected < 0: refused at row 2.
    void discountAsExcelShowsIt_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("general fraction stays") << "" << 0.14 << "" << 0.14;
        QTest::newRow("built-in 0%") << "#9" << 0.14 << "" << 14.0;
        QTest::newRow("built-in 0.00%") << "#10" << 0.075 << "" << 7.5;
        QTest::newRow("custom, colour and sections") << "[Red]0.0%;-0.0%" << 0.145 << "" << 14.5;
        QTest::newRow("hundred percent") << "#9" << 1.0 << "" << 100.0;
        QTest::newRow("quoted % is a literal") << "0\"%\"" << 14.0 << "" << 14.0;
        QTest::newRow("escaped % is a literal") << "0\\%" << 12.0 << "" << 12.0;
        QTest::newRow("% only for negatives") << "0;-0%" << 0.12 << "" << 0.12;
        QTest::newRow("text with a % sign") << "" << 0.0 << " 14 % " << 14.0;
        QTest::newRow("typed in arabic") << "" << 0.0 << "١٤٫٥٪" << 14.5;
        QTest::newRow("percent cell above 100") << "#9" << 1.4 << "" << -1.0;
        QTest::newRow("typed 14 in a percent cell") << "0%" << 14.0 << "" << -1.0;
        QTest::newRow("negative percent") << "#9" << -0.05 << "" << -1.0;
        QTest::newRow("nan text") << "" << 0.0 << "nan" << -1.0;
        QTest::newRow("a % inside the text") << "" << 0.0 << "1%4" << -1.0;
    }
    void discountAsExcelShowsIt() {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, text);
        QFETCH(double, expected);
        const QString path = m_dir.filePath(QStringLiteral("offers.xlsx"));
        lxw_workbook* book = workbook_new(path.toUtf8().constData());
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        lxw_format* cell = workbook_add_format(book);
        if (format.startsWith(u'#'))
            format_set_num_format_index(cell, uint8_t(format.mid(1).toInt()));
        else if (!format.isEmpty())
            format_set_num_format(cell, format.toUtf8().constData());
        worksheet_write_string(sheet, 0, 0, "الدواء", nullptr);
        worksheet_write_string(sheet, 0, 1, "الخصم", nullptr);
        worksheet_write_string(sheet, 1, 0, "panadol", nullptr);
        if (text.isEmpty())
            worksheet_write_number(sheet, 1, 1, value, cell);
        else
            worksheet_write_string(sheet, 1, 1, text.toUtf8().constData(), cell);
        QCOMPARE(workbook_close(book), LXW_NO_ERROR);

        const OfferImport::Result r =
            OfferImport::FromFile(path, 3, "20261208", {{QStringLiteral("panadol"), {"Panadol", 20, 0}}});
        if (expected < 0) {
            QVERIFY(!r.ok && r.offers.empty());
            QCOMPARE(r.error, BuyingTexts::BadOfferRow.arg(2));
        } else {
            QVERIFY2(r.ok && r.offers.size() == 1, qPrintable(r.error));
            QVERIFY2(r.offers[0].discount == expected, qPrintable(QString::number(r.offers[0].discount, 'g', 17)));
        }
    }

    // Old beside new, once per drug of the sheet (its last row wins) in sheet order; the other
    // wholesaler's offer and an offer of a later day stay.
    void changesShowOldAndNew() {
        const OfferBook book({{1, "مخزن الامل", {}, {}}, {2, "مخزن الشفاء", {}, {}}},
                             {{1, "Panadol", 12, "20261201"}, {1, "Zyrtec", 6, "20261201"},
                              {2, "Brufen 400", 9, "20261201"}, {1, "Concor 5", 8, "20261210"}});
        const auto changes = OfferImport::Changes(
            book, {{1, "Panadol", 14, "20261208"}, {1, "Zyrtec", 6, "20261208"}, {1, "Brufen 400", 5, "20261208"},
                   {1, "PANADOL", 15, "20261208"}, {1, "Concor 5", 3, "20261208"}});
        QStringList got;
        for (const auto& c : changes)
            got << QStringLiteral("%1 %2 %3>%4").arg(c.drug).arg(int(c.kind)).arg(c.before).arg(c.after);
        using K = OfferImport::Change::Kind;
        QCOMPARE(got, (QStringList{QStringLiteral("Panadol %1 12>15").arg(int(K::Changed)),
                                   QStringLiteral("Zyrtec %1 6>6").arg(int(K::Same)),
                                   QStringLiteral("Brufen 400 %1 0>5").arg(int(K::New)),
                                   QStringLiteral("Concor 5 %1 8>8").arg(int(K::Same))}));
        const QString text = OfferImport::ChangesText(changes, 1);
        QVERIFY2(text.startsWith(BuyingTexts::OfferChangesHead.arg(1).arg(1).arg(2)), qPrintable(text));
        QVERIFY(text.contains(BuyingTexts::OfferChanged.arg("Panadol", "12", "15")));
        QVERIFY2(!text.contains("Brufen") && text.endsWith(u'…'), "one line shown, the rest left out");
    }

    // Sheets of wholesaler 1 imported on one day, each after the change list was read: the sheet's
    // last row of a drug replaces that day's offers of the drug (other spellings, old ties), the
    // list shows what the book holds after, and the rows left are the expected ones. The rows stored
    // first come back after those written later, as an engine may hand them over: SQLite draws
    // rowids at random below the highest, PostgreSQL fills line slots a vacuum freed before them.
    void reimportTheSameDay_data() {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QStringList>("stored"); // wholesaler|drug|discount|day
        QTest::addColumn<QStringList>("sheets"); // drug=discount;...
        QTest::addColumn<QString>("rows");       // wholesaler 1's rows after: drug|discount|day ...
        for (const char* b : {"sqlite", "postgres"}) {
            QTest::addRow("%s: corrected the same day", b) << b << QStringList{"1|Panadol|12|20261208", "1|Zyrtec|6|20261201", "2|Panadol|15|20261208"}
                << QStringList{"Panadol=14;Zyrtec=7", "panadol=10"} << "Panadol|10|20261208 Zyrtec|6|20261201 Zyrtec|7|20261208";
            QTest::addRow("%s: the sheet's last row of a drug", b) << b << QStringList{} << QStringList{"Panadol=14;Zyrtec=7;PANADOL=11"}
                << "Panadol|11|20261208 Zyrtec|7|20261208";
            QTest::addRow("%s: other spellings, an old tie", b) << b << QStringList{"1|PANADOL|12|20261208", "1|panadol|13|20261208", "1|Brufen 400|5|20261208"}
                << QStringList{"Panadol=9"} << "Brufen 400|5|20261208 Panadol|9|20261208";
            QTest::addRow("%s: the same sheet twice", b) << b << QStringList{"1|Panadol|14|20261208"} << QStringList{"Panadol=14", "Panadol=14"}
                << "Panadol|14|20261208";
        }
    }
    void reimportTheSameDay() {
        QFETCH(QString, backend);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, sheets);
        QFETCH(QString, rows);
        QString e;
        QVERIFY2(TestDb::open(backend, &e), qPrintable(e));
        QVERIFY(BuyingFixture::wholesaler(1, "A") && BuyingFixture::wholesaler(2, "B"));
        const bool sqlite = backend == QLatin1String("sqlite");
        for (int i = 0; !sqlite && i < 8; ++i)
            QVERIFY(BuyingFixture::offer(9, "filler", "1", "20000101"));
        for (qsizetype i = 0; i < stored.size(); ++i) {
            const QStringList f = stored[i].split(u'|');
            QVERIFY(sqlite ? TestDb::exec(QStringLiteral("INSERT INTO grp_offers (rowid,wholesaler,drug,discount,offerdate) VALUES (%1,%2,%3,%4,%5)")
                                              .arg(std::numeric_limits<qint64>::max() - i)
                                              .arg(f[0], ModSQL::SqlQuote(f[1]), f[2], ModSQL::SqlQuote(f[3])))
                           : BuyingFixture::offer(f[0].toInt(), f[1], f[2], f[3]));
        }
        QVERIFY(sqlite || (TestDb::exec("DELETE FROM grp_offers WHERE wholesaler = 9") && TestDb::exec("VACUUM grp_offers")));
        QHash<QString, PeriodDemand::CatalogueItem> catalogue;
        for (const QString name : {"Panadol", "Zyrtec", "Brufen 400"})
            catalogue.insert(DrugNameKey(name), {name, 20, 0});
        for (const QString& sheet : sheets) {
            QList<QStringList> cells;
            for (const QString& row : sheet.split(u';'))
                cells << row.split(u'=');
            const OfferImport::Result r = OfferImport::FromRows(cells, 1, "20261208", catalogue);
            OfferBook before, after;
            QVERIFY(r.ok && BuyingStore::ReadOfferBook(before, &e));
            const auto changes = OfferImport::Changes(before, r.offers);
            const WriteRoad::Result w = BuyingStore::AddOffers(r.offers);
            QVERIFY2(w.saved() && BuyingStore::ReadOfferBook(after, &e), qPrintable(WriteRoad::Text(w) + e));
            for (const OfferImport::Change& c : changes)
                QCOMPARE(after.offerOf(1, DrugNameKey(c.drug)) ? after.offerOf(1, DrugNameKey(c.drug))->discount : -1.0, c.after);
        }
        QStringList left;
        for (const QStringList& row : TestDb::rows("SELECT drug, discount, offerdate FROM grp_offers WHERE wholesaler = 1 ORDER BY drug, offerdate"))
            left << row.join(u'|');
        QCOMPARE(left.join(u' '), rows);
    }
};

QTEST_GUILESS_MAIN(TestOfferImport)
#include "test_offerimport.moc"
