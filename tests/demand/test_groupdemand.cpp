// The group demand: one fixed set of orders added up on SQLite and on PostgreSQL through ODBC, the
// window opened, sorted and clicked, the CSV file byte for byte and the printed pages through
// poppler.
#include "ManagerWindowTest.h"
#include "OrderRows.h"
#include "GridText.h"
#include "data/Clock.h"
#include "../buying/BuyingFixture.h"
#include "PdfReadBack.h"
#include "Shots.h"
#include "TestDb.h"
#include "WindowOpeners.h"
#include "buying/FormPurchaseOrders.h"
#include "collection/BuyCollectCore.h"
#include "collection/FormBuyCollect.h"
#include "demand/FormGroupDemand.h"
#include "demand/GroupDemandTexts.h"
#include "data/GroupTables.h"
#include "collection/ModOmla.h"
#include "data/ModSQL.h"
#include "ordering/OrderLines.h"
#include "ui/Dialogs.h"
#include "ui/FlexGridView.h"
#include "paper/CurrentPrinter.h"
#include "paper/TablePaper.h"
#include "ui/FormSetPrinter.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QDateEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <random>
#include <ranges>
#include <QtTest>

using GridText::row;
using GridText::rows;

namespace {
const QString VitC = QStringLiteral("Vit \"C\", 500"); // not in the catalogue
const QString Para = QStringLiteral("باراسيتامول");

bool insert(const QString& id, const QString& date, const QString& tel, const QString& markaz, bool sent,
            const QVariant& lines) {
    return OrderRows::insert({id, date, tel, markaz, sent ? QStringLiteral("101") : QString(),
                              lines.isNull() ? QString() : lines.toString()});
}

QString lines(const std::vector<OrderLines::Line>& l) {
    return OrderLines::Encode(l);
}

// The fixed set: three sent orders of two pharmacies in the period with lines, one sent without
// lines (NULL) and one with an empty text, one open order, and two sent orders just outside.
bool fixedOrders() {
    return TestDb::addDrug("Panadol Extra", "20", "10", {}, {}, {}, "15") &&
           TestDb::addDrug(Para, "12.5", "0") && TestDb::addDrug("Zyrtec", "30", "5", {}, {}, {}, "8") &&
           insert("261201090000", "261201", "01011111111", "دسوق", true,
                  lines({{"PANADOL EXTRA", "2", "20", "10"}, {Para, "3 boxes", "12.5", "0"}})) &&
           insert("261203100000", "261203", "01011111111", "دسوق", true,
                  lines({{"panadol extra", "1", "20", "10"}, {VitC, "4", "7.5", "0"}})) &&
           insert("261205110000", "261205", "01022222222", "بيلا", true,
                  lines({{"Panadol Extra", "5", "20", "10"}, {"Zyrtec", "1", "30", "5"}, {"ZYRTEC", "2", "30", "5"}})) &&
           insert("261206120000", "261206", "01033333333", "فوه", true, QVariant()) &&
           insert("261206130000", "261206", "01033333333", "فوه", true, QString("")) &&
           insert("261207140000", "261207", "01044444444", "فوه", false,
                  lines({{"Zyrtec", "2", "30", "5"}, {Para, "1", "12.5", "0"}})) &&
           insert("261130150000", "261130", "01055555555", "دسوق", true,
                  lines({{"Panadol Extra", "100", "20", "10"}})) &&
           insert("261208090000", "261208", "01055555555", "دسوق", true, lines({{"Zyrtec", "50", "30", "5"}}));
}

using Word = PdfWord;
QList<Word> pdfWords(const QString& pdf, int page) {
    return pdfWordsByPage(pdf).value(page - 1);
}
// The Latin and number words printed below the table area, at the foot of the page (poppler
// splits this face's Arabic into single letters).
QStringList foot(const QList<Word>& words) {
    static const QRegularExpression latin(QStringLiteral("^[\\x21-\\x7e]+$"));
    QStringList out;
    for (const Word& w : words)
        if (w.y0 > 276 && latin.match(w.text).hasMatch())
            out << w.text;
    out.sort();
    return out;
}
const Word* find(const QList<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}
int pdfPages(const QString& pdf) {
    return int(pdfWordsByPage(pdf).size());
}
} // namespace

class TestGroupDemand : public ManagerWindowTest {
    Q_OBJECT

public:
    // The default period is then 261201 to 261207.
    TestGroupDemand() : ManagerWindowTest(QDateTime(QDate(2026, 12, 7), QTime(10, 0))) {}

private slots:

    void totalsOfThePeriod_data() {
        QTest::addColumn<bool>("sentOnly");
        QTest::addColumn<QList<QStringList>>("expected");
        QTest::newRow("sent only") << true
                                   << QList<QStringList>{{"Panadol Extra", "8", "2", "3", "144", "20", "10", "15"},
                                                         {VitC, "4", "1", "1", "30", "", "", ""},
                                                         {"Zyrtec", "3", "1", "1", "85.5", "30", "5", "8"},
                                                         {Para, "3", "1", "1", "37.5", "12.5", "0", ""},
                                                         {"الاجمالي", "18", "2", "3", "297", "", "", ""}};
        QTest::newRow("open orders too")
            << false
            << QList<QStringList>{{"Panadol Extra", "8", "2", "3", "144", "20", "10", "15"},
                                  {VitC, "4", "1", "1", "30", "", "", ""},
                                  {"Zyrtec", "5", "2", "2", "142.5", "30", "5", "8"},
                                  {Para, "4", "2", "2", "50", "12.5", "0", ""},
                                  {"الاجمالي", "21", "3", "4", "366.5", "", "", ""}};
    }
    void totalsOfThePeriod() {
        QFETCH(bool, sentOnly);
        QFETCH(QList<QStringList>, expected);
        QVERIFY(fixedOrders());
        const qsizetype before = ServerConnection::instance().executedStatements().size();
        const GroupDemand::Report r = GroupDemand::Build({QDate(2026, 12, 1), QDate(2026, 12, 7), sentOnly});
        QVERIFY2(r.ok, qPrintable(r.error));
        const QStringList sent = ServerConnection::instance().executedStatements().mid(before);
        QCOMPARE(sent.filter(QStringLiteral("bown2")).size(), 1);
        QCOMPARE(r.ordersRead(), sentOnly ? 5 : 6); // orders without lines are read, not counted
        FlexGrid g;
        GroupDemand::FillDemandGrid(g, r);
        QCOMPARE(row(g, 0), GroupDemand::DemandHeaders());
        QCOMPARE(rows(g), expected);
    }

    // A line whose quantity or value is beyond any number counts for nothing, and is reported.
    void notFiniteLinesAreLeftOutAndCounted() {
        GroupDemand::Accumulator acc;
        acc.addOrder(u"^A|1e400|5|0|^B|2|10|0|^C|1e39||0|", QStringLiteral("1"), QStringLiteral("261201"), QStringLiteral("010"), {});
        const GroupDemand::Report r = acc.finish({QDate(2026, 12, 1), QDate(2026, 12, 7), true});
        QCOMPARE(int(r.skipped.size()), 2);
        QCOMPARE(r.skipped[0].drug + r.skipped[1].drug, QStringLiteral("AC"));
        QVERIFY(GroupDemand::SkippedText(r.skipped).contains(QLatin1String("1e400")));
        FlexGrid g;
        GroupDemand::FillDemandGrid(g, r);
        const QStringList total = row(g, g.Rows() - 1);
        QCOMPARE(total.mid(0, 5), (QStringList{QStringLiteral("الاجمالي"), "2", "1", "1", "20"}));
        for (const QStringList& r : rows(g))
            QVERIFY2(!r.join(u' ').contains(QLatin1String("inf")) && !r.join(u' ').contains(QLatin1String("nan")), qPrintable(r.join(u' ')));
    }

    void windowOpensSortsAndShowsWhoOrderedADrug() {
        QVERIFY(fixedOrders());
        ModOmla::BookStatus st;
        QVERIFY(ModOmla::AddClient("01011111111", "صيدلية النور", &st) > 0);
        FormGroupDemand w(nullptr, WindowOpeners::groupDemand());
        QVERIFY(w.isModal());
        QCOMPARE(w.layoutDirection(), Qt::RightToLeft);
        QCOMPARE(w.dateFrom->date(), QDate(2026, 12, 1));
        QCOMPARE(w.dateTo->date(), QDate(2026, 12, 7));
        QVERIFY(w.checkSentOnly->isChecked());
        QCOMPARE(w.checkSentOnly->text(), QStringLiteral("المرسلة فقط"));
        const FlexGrid& g = w.gridDemand->grid();
        QCOMPARE(g.Rows(), 6); // opened on the default period
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QTest::mouseClick(w.gridDemand->viewport(), Qt::LeftButton, {}, w.gridDemand->cellRect(1, 0).center());
        QCOMPARE(g.TextMatrix(1, 0), QStringLiteral("Panadol Extra"));
        const QList<QStringList> places{{"01022222222", "01022222222", "بيلا", "261205110000", "2026/12/05", "5"},
                                        {"صيدلية النور", "01011111111", "دسوق", "261201090000", "2026/12/01", "2"},
                                        {"صيدلية النور", "01011111111", "دسوق", "261203100000", "2026/12/03", "1"}};
        QCOMPARE(rows(w.gridOrders->grid()), places);
        QCOMPARE(row(w.gridOrders->grid(), 0), GroupDemand::PlaceHeaders());
        if (TestDb::currentBackend() == QLatin1String("sqlite"))
            QVERIFY(Shots::widget(w, "FormGroupDemand"));

        // Header clicks: numbers largest first, then the other way; the totals row stays last.
        w.gridDemand->clickCell(0, GroupDemand::ColCash);
        QCOMPARE(QStringList({g.TextMatrix(1, 0), g.TextMatrix(4, 0), g.TextMatrix(5, 0)}),
                 QStringList({"Panadol Extra", VitC, "الاجمالي"}));
        w.gridDemand->clickCell(0, GroupDemand::ColCash);
        QCOMPARE(QStringList({g.TextMatrix(1, 0), g.TextMatrix(4, 0), g.TextMatrix(5, 0)}),
                 QStringList({VitC, "Panadol Extra", "الاجمالي"}));
        w.gridDemand->clickCell(0, GroupDemand::ColDrug);
        QCOMPARE(g.TextMatrix(1, 0), QStringLiteral("Panadol Extra"));
        w.gridDemand->clickCell(0, GroupDemand::ColDrug);
        QCOMPARE(QStringList({g.TextMatrix(1, 0), g.TextMatrix(5, 0)}), QStringList({Para, "الاجمالي"}));

        // The totals row is no drug: the distribution stays; open orders come in when asked.
        w.gridDemand->clickCell(5, 0);
        QCOMPARE(w.gridOrders->grid().Rows(), 4);
        w.checkSentOnly->setChecked(false);
        QTest::mouseClick(w.buttonShow, Qt::LeftButton);
        QCOMPARE(g.TextMatrix(g.Rows() - 1, 1), QStringLiteral("21"));
        QVERIFY(Dialogs::shown().empty());
    }

    // Spellings that differ in blanks, case, alef forms, final yeh, teh marbuta, tatweel or marks are
    // one drug, shown as the catalogue spells it and with its price.
    void spellingsOfOneDrugAreOneRow() {
        QVERIFY(TestDb::addDrug("Panadol Extra", "20", "10") && TestDb::addDrug("أدول", "5", "0") &&
                TestDb::addDrug("قطرة عين", "8", "0"));
        QVERIFY(insert("261201090000", "261201", "0101", "دسوق", true,
                       lines({{"Panadol Extra", "1", "20", "10"}, {" Panadol Extra", "1", "20", "10"},
                              {"Panadol Extra ", "1", "20", "10"}, {"panadol \t EXTRA", "1", "20", "10"},
                              {"brufen", "1", "3", "0"}, {"Brufen ", "1", "3", "0"}})));
        QVERIFY(insert("261202090000", "261202", "0102", "بيلا", true,
                       lines({{"أدول", "1", "5", "0"}, {"ادول", "2", "5", "0"}, {"إدول", "3", "5", "0"},
                              {"آدول", "1", "5", "0"}, {"قطره عين", "1", "8", "0"}, {"قَطرة عيـن", "1", "8", "0"},
                              {"قطرة عينى", "1", "8", "0"}, {"قطرة عيني", "1", "8", "0"}})));
        const GroupDemand::Report r = GroupDemand::Build({QDate(2026, 12, 1), QDate(2026, 12, 7), true});
        FlexGrid g;
        GroupDemand::FillDemandGrid(g, r);
        QCOMPARE(rows(g), (QList<QStringList>{{"Brufen", "2", "1", "1", "6", "", "", ""},
                                               {"Panadol Extra", "4", "1", "1", "72", "20", "10", ""},
                                               {"أدول", "7", "1", "1", "35", "5", "0", ""},
                                               {"قطرة عين", "2", "1", "1", "16", "8", "0", ""},
                                               {"قطرة عينى", "2", "1", "1", "16", "", "", ""},
                                               {"الاجمالي", "17", "2", "2", "145", "", "", ""}}));
    }

    // The totals row is the sum of the orders' own cash values; one order shows exactly its value,
    // also where a 32-bit sum and a 64-bit one part (2^24 + 1 + 1).
    void totalsAreTheOrdersOwnValues() {
        QFETCH_GLOBAL(QString, backend);
        std::mt19937 rnd(16);
        const QString big = OrderLines::Encode({{"Big", "1", "16777216", "0"}, {"One", "1", "1", "0"}, {"One", "1", "1", "0"}});
        QVERIFY(insert("261201080000", "261201", "0100", "دسوق", true, big));
        GroupDemand::Report r = GroupDemand::Build({QDate(2026, 12, 1), QDate(2026, 12, 1), true});
        QCOMPARE(GroupDemand::CashText(r.total.cash), OrderLines::OrderValue(QStringView(big)).cashText());
        double sum = OrderLines::OrderValue(QStringView(big)).cash;
        const int orders = backend == QLatin1String("sqlite") ? 400 : 60;
        TestDb::exec(QStringLiteral("BEGIN"));
        for (int o = 0; o < orders; ++o) {
            std::vector<OrderLines::Line> l;
            for (int i = 0; i < 30; ++i)
                l.push_back({QStringLiteral("D%1").arg(rnd() % 50), QString::number(rnd() % 9 + 1),
                             QString::number((rnd() % 100000) / 100.0), QString::number(rnd() % 30)});
            const QString text = OrderLines::Encode(l);
            sum += OrderLines::OrderValue(QStringView(text)).cash;
            QVERIFY(insert(QStringLiteral("2612020%1").arg(o, 5, 10, QChar('0')), "261202", "0101", "دسوق", true, text));
        }
        TestDb::exec(QStringLiteral("COMMIT"));
        r = GroupDemand::Build({QDate(2026, 12, 1), QDate(2026, 12, 2), true});
        QCOMPARE(GroupDemand::CashText(r.total.cash), GroupDemand::CashText(sum));
    }

    // Lines without a name stand in a row of their own; a negative or non-number quantity is told,
    // not added; a drug named like the totals row is an ordinary row.
    void malformedLinesAndATotalsNamedDrug() {
        const QString total = GroupDemandTexts::TotalCaption;
        QVERIFY(insert("261203080000", "261203", "0100", "دسوق", true,
                       lines({{"", "2", "10", "0"}, {total, "1", "7", "0"}, {"X", "-3", "10", "0"}})));
        QVERIFY(insert("261203090000", "261203", "0100", "دسوق", true, lines({{"Y", "1e400", "5", "0"}})));
        FormGroupDemand w(nullptr, WindowOpeners::groupDemand());
        QCOMPARE(rows(w.gridDemand->grid()), (QList<QStringList>{{total, "1", "1", "1", "7", "", "", ""},
                                                            {GroupDemandTexts::NoName, "2", "1", "1", "20", "", "", ""},
                                                            {total, "3", "1", "1", "-3", "", "", ""}}));
        const QString told = Dialogs::shownTexts().value(0);
        QVERIFY2(told.startsWith(GroupDemandTexts::Skipped) && told.contains("1e400") && told.contains("-3"),
                 qPrintable(told));
        // Clicked, the drug shows its pharmacy; sorted the other way it stays above the totals row.
        w.gridDemand->clickCell(1, 0);
        QCOMPARE(w.gridOrders->grid().Rows(), 2);
        w.gridDemand->clickCell(0, GroupDemand::ColDrug);
        QCOMPARE(row(w.gridDemand->grid(), 2), (QStringList{total, "1", "1", "1", "7", "", "", ""}));
        QCOMPARE(row(w.gridDemand->grid(), 3).value(1), QStringLiteral("3"));
        w.gridDemand->clickCell(3, 0);
        QCOMPARE(w.gridOrders->grid().Rows(), 2);
    }

    // From after To is told; the last report stays. The date fields write Latin digits.
    void fromAfterToKeepsTheLastReport() {
        QVERIFY(fixedOrders());
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        FormGroupDemand w(nullptr, WindowOpeners::groupDemand());
        QLocale::setDefault(QLocale::c());
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9/]+$")).match(w.dateFrom->text()).hasMatch(),
                 qPrintable(w.dateFrom->text()));
        const QList<QStringList> before = rows(w.gridDemand->grid());
        w.dateFrom->setDate(QDate(2026, 12, 8));
        w.buttonShow->click();
        QCOMPARE(Dialogs::shownTexts(), QStringList{GroupDemandTexts::FromAfterTo});
        QCOMPARE(rows(w.gridDemand->grid()), before);
    }

    void failedReadIsToldAndKeepsWhatWasShown() {
        QVERIFY(fixedOrders());
        FormGroupDemand w(nullptr, WindowOpeners::groupDemand());
        const QList<QStringList> before = rows(w.gridDemand->grid());
        QVERIFY(TestDb::exec(QStringLiteral("DROP TABLE bown2")));
        const GroupDemand::Report r = GroupDemand::Build({QDate(2026, 12, 1), QDate(2026, 12, 7), true});
        QVERIFY(!r.ok);
        QVERIFY(r.error.startsWith(GroupDemandTexts::ReadFailed));
        w.buttonShow->click();
        QCOMPARE(Dialogs::shownTexts().size(), 1);
        QVERIFY(Dialogs::shownTexts().first().startsWith(GroupDemandTexts::ReadFailed));
        QCOMPARE(rows(w.gridDemand->grid()), before);
    }

    // Best discount: the book's best offer, else the catalogue's; the header says which; no tables: told.
    void bestDiscountFromTheOfferBook_data() {
        QTest::addColumn<QStringList>("offers"); // wholesaler|drug|discount|date, or "drop"
        QTest::addColumn<QStringList>("cells");  // Panadol Extra, VitC, Zyrtec, Para, header, note
        const QString plain = GroupDemand::DemandHeaders().at(GroupDemand::ColBest);
        QTest::newRow("none") << QStringList{} << QStringList{"15", "", "8", "", plain, ""};
        QTest::newRow("one") << QStringList{"1|PANADOL  EXTRA|12.5|20261201", "2|Brufen|30|20261201"}
                             << QStringList{"12.5 (A)", "", "8", "", GroupDemandTexts::BestFromBoth, ""};
        QTest::newRow("all: highest, most recent, first") << QStringList{"1|Panadol Extra|9|20261201", "2|panadol extra|9|20261203",
            "2|" + VitC + "|4|20261201", "1|Zyrtec|3|20261201", "2|Zyrtec|3|20261201", "1|" + Para + "|20|20261101",
            "2|" + Para + "|25|20261102", "2|" + Para + "|1|20261130"}
            << QStringList{"9 (B)", "4 (B)", "3 (A)", "20 (A)", GroupDemandTexts::BestFromOffers, ""};
        QTest::newRow("no tables") << QStringList{"drop"} << QStringList{"15", "", "8", "", plain, GroupTables::MissingMessage()};
    }
    void bestDiscountFromTheOfferBook() {
        QFETCH(QStringList, offers);
        QFETCH(QStringList, cells);
        QVERIFY(fixedOrders() && BuyingFixture::wholesaler(1, "A") && BuyingFixture::wholesaler(2, "B"));
        for (const QStringList f : offers | std::views::transform([](const QString& o) { return o.split(u'|'); }))
            QVERIFY(f.size() == 4 ? BuyingFixture::offer(f[0].toInt(), f[1], f[2], f[3]) : TestDb::exec("DROP TABLE grp_offers"));
        FormGroupDemand w(nullptr, WindowOpeners::groupDemand());
        QStringList shown;
        for (int r : {1, 2, 3, 4, 5, 0})
            shown << w.gridDemand->grid().TextMatrix(r, GroupDemand::ColBest);
        QCOMPARE(shown, cells.mid(0, 4) << QString() << cells[4]);
        QCOMPARE(w.labelOffers->text(), cells[5]);
        QVERIFY(Dialogs::shown().empty());
    }

    void csvFileByteForByte() {
        QVERIFY(fixedOrders());
        FormGroupDemand w(nullptr, WindowOpeners::groupDemand());
        const QString path = m_dir.filePath("demand"); // ".csv" is added
        Dialogs::setNextPath(path);
        w.buttonCsv->click();
        QFile f(path + ".csv");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray expected =
            QByteArray("\xEF\xBB\xBF") +
            QStringLiteral("الدواء,الكمية,عدد الصيدليات,عدد الاوردرات,القيمة نقدا,السعر,الخصم,اعلي خصم في المخازن\r\n"
                             "Panadol Extra,8,2,3,144,20,10,15\r\n"
                             "\"Vit \"\"C\"\", 500\",4,1,1,30,,,\r\n"
                             "Zyrtec,3,1,1,85.5,30,5,8\r\n"
                             "باراسيتامول,3,1,1,37.5,12.5,0,\r\n"
                             "الاجمالي,18,2,3,297,,,\r\n")
                  .toUtf8();
        QCOMPARE(f.readAll(), expected);
        // Blanks at an end and line breaks are quoted too.
        FlexGrid g(2, 3);
        g.setTextMatrix(1, 0, QStringLiteral(" a"));
        g.setTextMatrix(1, 1, QStringLiteral("b\nc"));
        g.setTextMatrix(1, 2, QStringLiteral("d e"));
        QCOMPARE(GroupDemand::Csv(g), QByteArray("\xEF\xBB\xBF,,\r\n\" a\",\"b\nc\",d e\r\n"));
        // Texts a spreadsheet would run as formulas are made inert; numbers stay numbers.
        FlexGrid inert(2, 7);
        const QStringList cells{"=SUM(A1)", "+x", "-5", "@a", "-1.5e3", "-abc", "=1,2"};
        for (int c = 0; c < 7; ++c)
            inert.setTextMatrix(1, c, cells[c]);
        QCOMPARE(GroupDemand::Csv(inert), QByteArray("\xEF\xBB\xBF,,,,,,\r\n'=SUM(A1),'+x,-5,'@a,-1.5e3,'-abc,\"'=1,2\"\r\n"));
    }

    // The workbook read back with xlsx2csv: headers, Arabic names, numbers, the totals row.
    void excelWorkbookReadsBack() {
        QVERIFY(fixedOrders());
        FormGroupDemand w(nullptr, WindowOpeners::groupDemand());
        const QString path = m_dir.filePath("demand"); // ".xlsx" is added
        Dialogs::setNextPath(path);
        w.buttonXlsx->click();
        QVERIFY(Dialogs::shownTexts().isEmpty());
        if (QStandardPaths::findExecutable(QStringLiteral("xlsx2csv")).isEmpty())
            QSKIP("xlsx2csv cannot be started from here (Windows build under wine)");
        QProcess p;
        p.start(QStringLiteral("xlsx2csv"), {path + ".xlsx"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).remove(u'\r'),
                 QStringLiteral("الدواء,الكمية,عدد الصيدليات,عدد الاوردرات,القيمة نقدا,السعر,الخصم,اعلي خصم في المخازن\n"
                                "Panadol Extra,8,2,3,144,20,10,15\n"
                                "\"Vit \"\"C\"\", 500\",4,1,1,30,,,\n"
                                "Zyrtec,3,1,1,85.5,30,5,8\n"
                                "باراسيتامول,3,1,1,37.5,12.5,0,\n"
                                "الاجمالي,18,2,3,297,,,\n"));
        const XlsxSheet sheet = GroupDemand::Sheet(w.gridDemand->grid());
        QCOMPARE(sheet.rows.value(0).value(1).typeId(), QMetaType::Double);
        QCOMPARE(sheet.boldRows, QSet<int>{4});
    }

    void printedPagesCarryTitleTableAndPageNumbers() {
        QVERIFY(fixedOrders());
        FormGroupDemand w(nullptr, WindowOpeners::groupDemand());
        const QString pdf = m_dir.filePath("demand.pdf");
        if (CurrentPrinter::info().isNull()) { // the road without a printer: asked, then a PDF
            Dialogs::setNextAnswer(Dialogs::vbYes);
            Dialogs::setNextPath(pdf);
            w.buttonPrint->click();
        } else {
            QVERIFY(GroupDemandSheet::printToPdf(pdf, w.sheetInput()));
        }
        if (TestDb::currentBackend() == QLatin1String("sqlite"))
            Shots::file(pdf, "group-demand.pdf");
        READ_BACK_OR_SKIP(pdf);
        QCOMPARE(pdfPages(pdf), 1);
        const QList<Word> words = pdfWords(pdf, 1);
        const Word* zyrtec = find(words, "Zyrtec");
        const Word* price = find(words, "85.5");
        QVERIFY(zyrtec && price);
        // Names read from the right edge of the first column; numbers centred in their columns.
        const TablePaper::Geometry geo = TablePaper::GeometryOf(GroupDemandSheet::Paper(w.sheetInput()));
        QVERIFY2(qAbs(zyrtec->x1 - (geo.lefts[0] + geo.widths[0] - 0.8)) < 0.6, qPrintable(QString::number(zyrtec->x1)));
        const double cashMid = geo.lefts[GroupDemand::ColCash] + geo.widths[GroupDemand::ColCash] / 2;
        QVERIFY(qAbs((price->x0 + price->x1) / 2 - cashMid) < 0.6);
        // Both in the third drug row, below the header row.
        const double zyrtecRow = geo.tableTop + geo.headerHeight + 2 * TablePaper::RowHeight;
        for (const Word* w : {zyrtec, price})
            QVERIFY2((w->y0 + w->y1) / 2 > zyrtecRow + 1 && (w->y0 + w->y1) / 2 < zyrtecRow + TablePaper::RowHeight - 1,
                     qPrintable(QStringLiteral("%1: %2 to %3").arg(w->text).arg(w->y0).arg(w->y1)));
        QVERIFY(find(words, "2026/12/01") && find(words, "2026/12/07") && find(words, "297"));
        QCOMPARE(foot(words), QStringList({"10:00", "2026/12/07"})); // one page: no page number

        // 90 drugs and the totals row run over three pages, each as full as one-line rows make it.
        FlexGrid g(92, GroupDemand::DemandCols);
        for (int r = 1; r <= 90; ++r)
            g.setTextMatrix(r, 0, QStringLiteral("D%1").arg(r, 2, 10, QChar('0')));
        g.setTextMatrix(91, 0, GroupDemandTexts::TotalCaption);
        GroupDemandSheet::Input in = w.sheetInput();
        in.grid = &g;
        const QString longPdf = m_dir.filePath("long.pdf");
        QVERIFY(GroupDemandSheet::printToPdf(longPdf, in));
        if (TestDb::currentBackend() == QLatin1String("sqlite"))
            Shots::file(longPdf, "group-demand-long.pdf");
        QCOMPARE(pdfPages(longPdf), 3);
        const std::vector<int> starts = TablePaper::PageStarts(GroupDemandSheet::Paper(in));
        QCOMPARE(starts.size(), size_t(3));
        const TablePaper::Geometry longGeo = TablePaper::GeometryOf(GroupDemandSheet::Paper(in));
        const int perPage = int((longGeo.tableBottom - longGeo.tableTop - longGeo.headerHeight) / TablePaper::RowHeight);
        for (int page = 1; page <= 3; ++page) {
            const QList<Word> p = pdfWords(longPdf, page);
            const QStringList f = foot(p);
            QStringList expected{"10:00", "2026/12/07", QString::number(page), "3"}; // "page n of 3"
            expected.sort();
            QCOMPARE(f, expected);
            QCOMPARE(starts[size_t(page) - 1], perPage * (page - 1));
            const Word* first = find(p, QStringLiteral("D%1").arg(1 + perPage * (page - 1), 2, 10, QChar('0')));
            QVERIFY(first);
            QVERIFY(qAbs(first->y0 - (longGeo.tableTop + longGeo.headerHeight)) < 2);
        }
        QVERIFY(find(pdfWords(longPdf, 2), QStringLiteral("D%1").arg(2 * perPage)) &&
                !find(pdfWords(longPdf, 2), QStringLiteral("D%1").arg(2 * perPage + 1)));
    }

    // 70-character names wrap inside their cells at 8 points or more; every page carries the title,
    // the header row and its number.
    void longNamesWrapInsideTheirCells() {
        QFETCH_GLOBAL(QString, backend);
        if (backend != QLatin1String("sqlite"))
            QSKIP("drawing only");
        const QString latin = QStringLiteral("Amoxicillin Clavulanate Potassium Extended Release Tablets 1000mg x14");
        const QString arabic = QStringLiteral("اموكسيسيلين كلافولانات البوتاسيوم اقراص ممتدة المفعول الف مجم عدد اربعة");
        FlexGrid g(62, GroupDemand::DemandCols);
        for (int c = 0; c < GroupDemand::DemandCols; ++c)
            g.setTextMatrix(0, c, GroupDemand::DemandHeaders().at(c));
        for (int r = 1; r <= 61; ++r) {
            g.setTextMatrix(r, 0, r % 2 ? latin : arabic.left(70));
            for (int c = 1; c < GroupDemand::DemandCols; ++c)
                g.setTextMatrix(r, c, QString::number(123456.5 + r));
        }
        g.setTextMatrix(7, GroupDemand::ColBest, QStringLiteral("خصم 12% نقدا و 10% اجل من مخزن الشرق"));
        GroupDemandSheet::Input in;
        in.grid = &g;
        in.periodText = QStringLiteral("من 2026/12/01 الي 2026/12/07");
        in.printedAt = Clock::now();
        const QString pdf = m_dir.filePath("wrapped.pdf");
        QVERIFY(GroupDemandSheet::printToPdf(pdf, in));
        Shots::file(pdf, "group-demand-long-names.pdf");
        READ_BACK_OR_SKIP(pdf);
        const QList<QList<Word>> pages = pdfWordsByPage(pdf);
        const QStringList texts = pdfTextByPage(pdf);
        QVERIFY(pages.size() >= 2);
        QCOMPARE(pages.size(), GroupDemandSheet::PageCount(in));
        QCOMPARE(texts.size(), pages.size());
        const TablePaper::Geometry geo = TablePaper::GeometryOf(GroupDemandSheet::Paper(in));
        QList<QRectF> cells;
        for (int c = 0; c < GroupDemand::DemandCols; ++c)
            cells << QRectF(geo.lefts[size_t(c)], geo.tableTop, geo.widths[size_t(c)], geo.tableBottom - geo.tableTop);
        int latinNames = 0;
        for (int n = 0; n < pages.size(); ++n) {
            for (const QString& t : {GroupDemandTexts::Title, QStringLiteral("الدواء"), QStringLiteral("القيمة نقدا"),
                                     QStringLiteral("صفحة %1 من %2").arg(n + 1).arg(pages.size())})
                QVERIFY2(pageHasText(texts[n], t), qPrintable(t));
            QList<Word> table;
            for (const Word& w : pages[n])
                if (w.cy() > geo.tableTop && w.cy() < geo.tableBottom)
                    table << w;
            QVERIFY2(wordsOutsideCells(table, cells).isEmpty(), qPrintable(wordsOutsideCells(table, cells).join(", ")));
            for (const Word& w : table) {
                QVERIFY2(w.y1 - w.y0 > 8 * 25.4 / 72 * 0.9, qPrintable(w.text));
                latinNames += w.text == QLatin1String("Amoxicillin");
            }
        }
        QCOMPARE(latinNames, 31);
    }

    // Through the openers main.cpp sets: the collected orders open the group demand, which opens
    // the purchase orders on the period it shows.
    void opensFromTheCollectedOrdersMenu() {
        FormBuyCollect w(nullptr, WindowOpeners::buyCollect());
        QVERIFY(w.mnuGroupDemand && w.mnuPickList && w.mnuPickListsAll);
        QStringList opened;
        QDate from;
        QTimer::singleShot(0, [&] {
            auto* demand = qobject_cast<FormGroupDemand*>(QApplication::activeModalWidget());
            if (!demand)
                return;
            opened << demand->objectName();
            demand->dateFrom->setDate(QDate(2026, 11, 3));
            QTimer::singleShot(0, [&] {
                if (auto* orders = qobject_cast<FormPurchaseOrders*>(QApplication::activeModalWidget())) {
                    opened << orders->objectName();
                    from = orders->dateFrom->date();
                    orders->close();
                }
            });
            demand->buttonPurchaseOrders->click();
            demand->close();
        });
        w.mnuGroupDemand->trigger();
        QCOMPARE(opened, (QStringList{"FormGroupDemand", "FormPurchaseOrders"}));
        QCOMPARE(from, QDate(2026, 11, 3));
    }
};

QTEST_MAIN(TestGroupDemand)
#include "test_groupdemand.moc"
