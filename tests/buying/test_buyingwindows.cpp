// The buying windows over SQLite and PostgreSQL: purchase orders made, moved, kept, printed and
// received from the window; offers imported from spreadsheets good and bad; the catalogue
// editor's best offer; and the windows on a server without the buying tables.
#include "ManagerWindowTest.h"
#include "GridText.h"
#include "BuyingFixture.h"
#include "PdfReadBack.h"
#include "data/Clock.h"
#include "paper/PaperRoute.h"
#include "TestDb.h"
#include "buying/BuyingPapers.h"
#include "buying/BuyingTexts.h"
#include "buying/FormPurchaseOrders.h"
#include "buying/FormWholesalers.h"
#include "catalogue/DrugsCatalogue.h"
#include "catalogue/FormDrugsEditor.h"
#include "demand/GroupDemandTexts.h"
#include "collection/ModOmla.h"
#include "data/GroupTables.h"
#include "sheets/XlsxReader.h"
#include "ui/Dialogs.h"
#include "ui/FlexGridView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtGui/private/qzipwriter_p.h>
#include <QtTest>

using GridText::column;

using namespace BuyingFixture;

namespace {
const QDateTime Now(QDate(2026, 12, 8), QTime(10, 0, 0));

void seed() {
    QVERIFY(TestDb::addDrug("Panadol", "20", "10", {}, "2") && TestDb::addDrug("Zyrtec", "30", "5") &&
            TestDb::addDrug("أوجمنتين 1 جم", "78", "9"));
    QVERIFY(sentOrder("261203100000", "261203", "01011111111", {{"Panadol", "2", "20", "10"}}));
    QVERIFY(sentOrder("261201090000", "261201", "01022222222",
                      {{"panadol", "3", "20", "10"}, {"Zyrtec", "1", "30", "5"}, {"Vit C", "5", "7", "0"}}));
    QVERIFY(sentOrder("261205090000", "261205", "01033333333", {{"PANADOL", "4", "20", "10"}}));
    QVERIFY(wholesaler(1, "مخزن الامل") && wholesaler(2, "مخزن الشفاء"));
    QVERIFY(offer(1, "Panadol", "12", "20261201") && offer(2, "Zyrtec", "6", "20261201"));
}

// A spreadsheet as a wholesaler's program writes one: shared texts, a number cell, an inline text.
QByteArray sheetXml(const QList<QStringList>& rows, QStringList& shared) {
    QByteArray x = "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
    for (int r = 0; r < rows.size(); ++r) {
        x += "<row r=\"" + QByteArray::number(r + 1) + "\">";
        for (int c = 0; c < rows[r].size(); ++c) {
            const QByteArray ref = QByteArray(1, char('A' + c)) + QByteArray::number(r + 1);
            bool number = false;
            rows[r][c].toDouble(&number);
            if (number) {
                x += "<c r=\"" + ref + "\"><v>" + rows[r][c].toUtf8() + "</v></c>";
            } else if (c == 0 && r % 2) {
                x += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + rows[r][c].toHtmlEscaped().toUtf8() + "</t></is></c>";
            } else {
                x += "<c r=\"" + ref + "\" t=\"s\"><v>" + QByteArray::number(shared.size()) + "</v></c>";
                shared << rows[r][c];
            }
        }
        x += "</row>";
    }
    return x + "</sheetData></worksheet>";
}

bool writeXlsx(const QString& path, const QList<QStringList>& rows) {
    QStringList shared;
    const QByteArray sheet = sheetXml(rows, shared);
    QByteArray sst = "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (const QString& s : shared)
        sst += "<si><r><t>" + s.left(3).toHtmlEscaped().toUtf8() + "</t></r><r><t>" + s.mid(3).toHtmlEscaped().toUtf8() + "</t></r></si>";
    sst += "</sst>";
    QZipWriter z(path);
    z.addFile("xl/workbook.xml", "<?xml version=\"1.0\"?><workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets><sheet name=\"عروض\" sheetId=\"1\" r:id=\"rId7\"/></sheets></workbook>");
    z.addFile("xl/_rels/workbook.xml.rels", "<?xml version=\"1.0\"?><Relationships><Relationship Id=\"rId7\" Target=\"worksheets/offers.xml\"/></Relationships>");
    z.addFile("xl/worksheets/offers.xml", sheet);
    z.addFile("xl/sharedStrings.xml", sst);
    z.close();
    return z.status() == QZipWriter::NoError;
}
} // namespace

class TestBuyingWindows : public ManagerWindowTest {
    Q_OBJECT

private slots:
    void initTestCase() {
        ManagerWindowTest::initTestCase();
        if (qEnvironmentVariableIsSet("BUYING_PAPERS_DIR"))
            m_dir.setAutoRemove(false);
    }
    void init() {
        ManagerWindowTest::init();
        seed();
    }

    // Made from the period, Panadol moved to the other wholesaler with a new quantity, kept,
    // printed, received short and shared.
    void makeMoveKeepPrintReceive() {
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        FormPurchaseOrders w;
        QLocale::setDefault(QLocale::c());
        QVERIFY2(QRegularExpression("^[0-9/]+$").match(w.dateFrom->text()).hasMatch(), qPrintable(w.dateFrom->text()));
        Clock::set([] { return Now; });
        w.dateFrom->setDate(QDate(2026, 12, 9)); // after To: told, nothing read
        w.dateTo->setDate(QDate(2026, 12, 7));
        w.buttonMake_Click();
        QCOMPARE(Dialogs::shownTexts(), QStringList{GroupDemandTexts::FromAfterTo});
        w.dateFrom->setDate(QDate(2026, 12, 1));
        w.dateTo->setDate(QDate(2026, 12, 7));
        w.buttonMake_Click();
        QCOMPARE(column(w.gridPlan->grid(), 0), (QStringList{"Panadol", "Zyrtec"}));
        QCOMPARE(column(w.gridPlan->grid(), 3), (QStringList{"7", "1"})); // 9 asked less 2 in stock
        QCOMPARE(column(w.gridUnoffered->grid(), 0), QStringList{"Vit C"});

        Dialogs::setNextInput("6");
        w.gridPlan->clickCell(1, 3);
        w.comboWholesaler->setCurrentIndex(w.comboWholesaler->findText("مخزن الشفاء"));
        w.buttonMove_Click();
        QCOMPARE(column(w.gridPlan->grid(), 4), (QStringList{"مخزن الشفاء", "مخزن الشفاء"}));
        QCOMPARE(column(w.gridPlan->grid(), 5), (QStringList{"0", "6"}));
        Dialogs::setNextInput("-2");
        w.gridPlan->clickCell(1, 3);
        QCOMPARE(Dialogs::shownTexts().last(), BuyingTexts::BadQuantity);

        // A second copy of the window, made before w kept, is told the period was taken; one made
        // after is told the period's orders were made before.
        FormPurchaseOrders early, late;
        auto make = [](FormPurchaseOrders& f) {
            f.dateFrom->setDate(QDate(2026, 12, 1));
            f.dateTo->setDate(QDate(2026, 12, 7));
            f.buttonMake_Click();
        };
        make(early);
        w.buttonKeep_Click();
        QCOMPARE(int(w.kept().size()), 1);
        early.buttonKeep_Click();
        QCOMPARE(Dialogs::shownTexts().last(), BuyingTexts::AlreadyMade);
        QCOMPARE(TestDb::rows("SELECT drug,quantity,discount,linevalue FROM grp_purchaselines ORDER BY lineseq"),
                 (QList<QStringList>{{"Panadol", "6", "0", "120"}, {"Zyrtec", "1", "6", "28.2"}}));
        make(late); // the kept lines are no longer open: only the drug without an offer is left
        QCOMPARE(late.gridPlan->grid().Rows(), 1);
        QCOMPARE(column(late.gridUnoffered->grid(), 0), QStringList{"Vit C"});

        const QString pdf = m_dir.filePath("purchase-order.pdf");
        Dialogs::setNextPath(pdf);
        w.buttonPdf_Click();
        READ_BACK_OR_SKIP(pdf);
        QStringList words;
        for (const PdfWord& word : pdfWordsByPage(pdf).value(0))
            words << word.text.normalized(QString::NormalizationForm_KC);
        for (const char* expected : {"Panadol", "Zyrtec", "148.2", "0400", "261208100000/1"})
            QVERIFY2(words.contains(QString::fromUtf8(expected)), expected);

        // The .xlsx the wholesaler gets reads back through the offers' own reader.
        const QString xlsx = m_dir.filePath("purchase-order");
        Dialogs::setNextPath(xlsx);
        w.buttonXlsx_Click();
        QList<QStringList> cells;
        QString error;
        QVERIFY2(XlsxReader::ReadFirstSheet(xlsx + ".xlsx", cells, &error), qPrintable(error));
        QCOMPARE(cells.value(1), (QStringList{"1", "Panadol", "6", "20", "0", "120"}));
        QCOMPARE(cells.value(3).value(5), QStringLiteral("148.2"));

        w.gridOrderLines->clickCell(1, 0);
        Dialogs::setNextInput("4");
        w.buttonReceive_Click();
        QCOMPARE(column(w.gridOrderLines->grid(), 4), (QStringList{"4", "0"}));
        // Stock first (2 to the earliest), then what arrived, earliest first.
        QCOMPARE(TestDb::rows("SELECT orderid,allotted FROM grp_allotments WHERE drug = 'Panadol' ORDER BY orderid"),
                 (QList<QStringList>{{"261201090000", "1"}, {"261203100000", "2"}, {"261205090000", "1"}}));
        // Each drug's figures side by side, and what is still to come.
        QCOMPARE(w.gridFigures->grid().TextMatrix(1, 0), QStringLiteral("Panadol"));
        QCOMPARE(column(w.gridFigures->grid(), 2).value(0) + column(w.gridFigures->grid(), 3).value(0) + column(w.gridFigures->grid(), 4).value(0),
                 QStringLiteral("621")); // allotted, on order, open of 9 asked
        QCOMPARE(column(w.gridPending->grid(), 5), (QStringList{"2", "1"}));
        // Received again under the other rule on purpose; the box then shows the stored rule.
        w.comboRule->setCurrentIndex(1);
        Dialogs::setNextInput("5");
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w.buttonReceive_Click();
        w.comboRule->setCurrentIndex(0);
        w.gridOrderLines->clickCell(1, 0);
        QCOMPARE(w.comboRule->currentIndex(), 1);
        w.comboRule->setCurrentIndex(0); // the sheet states the rule stored with the shares, not the box's
        QVERIFY(w.distributionPaper().closing.contains(BuyingTexts::RuleProportional));
        const QString sheet = m_dir.filePath("distribution.pdf");
        Dialogs::setNextPath(sheet);
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w.buttonDistribution_Click(); // no printer here: told so, then offered as a PDF
        QCOMPARE(Dialogs::shownTexts().back(), PaperRoute::NoPrinterOfferPdf);
        words.clear();
        for (const PdfWord& word : pdfWordsByPage(sheet).value(0))
            words << word.text.normalized(QString::NormalizationForm_KC);
        for (const char* expected : {"01022222222", "261205090000", "Panadol", "261208100000/1"})
            QVERIFY2(words.contains(QString::fromUtf8(expected)), expected);
    }

    // Seventy-character names, Arabic and Latin, stay inside their cells on both papers, and the
    // distribution sheet's title inside the page's margins.
    void longNamesStayInsideTheirCells() {
        QFETCH_GLOBAL(QString, backend);
        if (backend != QLatin1String("sqlite"))
            QSKIP("paper only: once is enough");
        const QString arabic = QStringLiteral("أقراص باراسيتامول ممتدة المفعول للبالغين والاطفال فوق اثني عشر عاما شش");
        const QString latin = QStringLiteral("Amoxicillin Clavulanate Extended Release Film Coated Tablets 1000 mgWW");
        BuyingStore::KeptOrder order{"261208100000/1", "261208100000", "20261208", 1, "20261201", "20261207", "kept", 0, {}};
        order.lines = {{order.poid, 1, latin, 3, 120, 7, 334.8, 0, {}}, {order.poid, 2, arabic, 8, 45.5, 12.5, 318.5, 5, {}}};
        const Wholesaler w{1, QStringLiteral("شركة المتحدة لتوزيع الادوية والمستلزمات الطبية فرع كفر الشيخ"), "0400", "طنطا"};
        const std::vector<BuyingStore::Allotment> shares{{order.poid, 2, "261201090000", arabic, "01022222222", 3, 3},
                                                          {order.poid, 2, "261203100000", arabic, "01011111111", 4, 2}};
        const auto name = [&](const QString& tel) { return tel.endsWith('1') ? arabic : QString(); };
        for (const TablePaper::Input& paper :
             {BuyingPapers::PurchaseOrder(order, w, Now),
              BuyingPapers::Distribution(order.lines[1], shares, DeliveryShare::Rule::EarliestFirst, name, Now)}) {
            const QString pdf = m_dir.filePath("long.pdf");
            QVERIFY(TablePaper::printToPdf(pdf, paper));
            READ_BACK_OR_SKIP(pdf);
            const TablePaper::Geometry geo = TablePaper::GeometryOf(paper);
            QCOMPARE(geo.rowTops.size(), size_t(paper.rows.size()));
            const double right = geo.lefts.front() + geo.widths.front();
            const double bottom = geo.rowTops.back() + geo.rowHeights.back();
            // Above the table and below its last row: inside the page's margins.
            QList<QRectF> cells{{geo.lefts.back(), 0, right - geo.lefts.back(), geo.tableTop},
                                {geo.lefts.back(), bottom, right - geo.lefts.back(), 297 - bottom}};
            std::vector<double> tops{geo.tableTop}, heights{geo.headerHeight};
            tops.insert(tops.end(), geo.rowTops.begin(), geo.rowTops.end());
            heights.insert(heights.end(), geo.rowHeights.begin(), geo.rowHeights.end());
            for (size_t r = 0; r < tops.size(); ++r)
                for (size_t c = 0; c < geo.widths.size(); ++c)
                    // A word's box holds its font's whole height: a little above and below the row.
                    cells << QRectF(geo.lefts[c], tops[r] - 0.8, geo.widths[c], heights[r] + 1.6);
            const QStringList outside = wordsOutsideCells(pdfWordsByPage(pdf).value(0), cells);
            QVERIFY2(outside.isEmpty(), qPrintable(paper.title + ": " + outside.join(u' ')));
        }
    }

    void offersImported_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("answer");       // to the question with the changes
        QTest::addColumn<QStringList>("stored"); // drug=discount, by drug
        QTest::addColumn<QString>("told");       // start of the last message
        QTest::newRow("all matched, headers skipped") << "good" << int(Dialogs::vbYes)
                                                      << QStringList{"Panadol=14", "Zyrtec=7.5", "أوجمنتين 1 جم=3"}
                                                      << BuyingTexts::Imported.left(6);
        QTest::newRow("unmatched, imported") << "unmatched" << int(Dialogs::vbYes) << QStringList{"Panadol=14"}
                                             << BuyingTexts::Imported.left(6);
        QTest::newRow("unmatched, refused") << "unmatched" << int(Dialogs::vbNo) << QStringList{} << QString();
        QTest::newRow("changes refused") << "good" << int(Dialogs::vbNo) << QStringList{} << QString();
        QTest::newRow("a bad discount") << "baddiscount" << int(Dialogs::vbYes) << QStringList{}
                                        << BuyingTexts::BadOfferRow.left(4);
        QTest::newRow("not a spreadsheet") << "text" << int(Dialogs::vbYes) << QStringList{}
                                           << BuyingTexts::BadOfferFile.left(20);
    }
    void offersImported() {
        QFETCH(QString, file);
        QFETCH(int, answer);
        QFETCH(QStringList, stored);
        QFETCH(QString, told);
        QVERIFY(TestDb::exec("DELETE FROM grp_offers"));
        const QString path = m_dir.filePath(file + ".xlsx");
        if (file == QLatin1String("good"))
            QVERIFY(writeXlsx(path, {{"الدواء", "الخصم"}, {" panadol ", "14"}, {"Zyrtec", "7.5"}, {"اوجمنتين  1 جم", "3"}}));
        else if (file == QLatin1String("unmatched"))
            QVERIFY(writeXlsx(path, {{"Panadol", "14"}, {"Brufen 400", "9"}}));
        else if (file == QLatin1String("baddiscount"))
            QVERIFY(writeXlsx(path, {{"Panadol", "14"}, {"Zyrtec", "خصم"}}));
        else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("drug,discount\nPanadol,14\n");
        }
        FormWholesalers w;
        Dialogs::setNextPath(path);
        w.gridWholesalers->clickCell(2, 1);
        QCOMPARE(w.chosenWholesaler(), 2);
        Dialogs::setNextAnswer(answer);
        w.buttonImport_Click();
        QStringList got;
        for (const QStringList& r : TestDb::rows("SELECT drug,discount,wholesaler FROM grp_offers"))
            got << r[0] + u'=' + r[1];
        std::sort(got.begin(), got.end());
        std::sort(stored.begin(), stored.end());
        QCOMPARE(got, stored);
        if (!told.isEmpty())
            QVERIFY2(Dialogs::shownTexts().last().startsWith(told), qPrintable(Dialogs::shownTexts().last()));
        if (file == QLatin1String("unmatched"))
            QVERIFY(Dialogs::shownTexts().join(u'\n').contains("Brufen 400"));
        if (file == QLatin1String("good")) // asked with the new offers before they were written
            QVERIFY(Dialogs::shownTexts().first().contains(BuyingTexts::OfferNew.arg("Panadol", "14")));
    }

    // The best current offer goes in through the manual entry's statement; with no offer nothing is sent.
    void catalogueTakesTheBestOffer() {
        FormDrugsEditor w;
        Clock::set([] { return Now; });
        w.LLLDrug->setText("Panadol");
        ServerConnection::instance().clearExecutedStatements();
        w.mnuBestOffer->trigger();
        QVERIFY(ServerConnection::instance().executedStatements().contains(
            *DrugsCatalogue::DiscountStatement("12", "Panadol", Now.date())));
        QCOMPARE(TestDb::scalar("SELECT highistdiskout FROM bowndrugs WHERE drug = 'Panadol'"), QStringLiteral("12"));
        w.LLLDrug->setText("أوجمنتين 1 جم");
        w.mnuBestOffer->trigger();
        QCOMPARE(Dialogs::shownTexts().last(), BuyingTexts::NoBestOffer);
    }

    void withoutTheTablesTheManagerIsToldTheScript() {
        QVERIFY(TestDb::exec("DROP TABLE grp_pobatches"));
        ServerConnection::instance().Close();
        FormPurchaseOrders p;
        QVERIFY(!p.tablesPresent() && !p.buttonMake->isEnabled());
        QCOMPARE(p.labelBatch->text(), GroupTables::MissingMessage());
        FormWholesalers w;
        QVERIFY(w.labelNote->text().contains(GroupTables::ServerScript));
        FormDrugsEditor e; // the rest of the program still opens
        QVERIFY(e.Xxx1->grid().Rows() > 1);
    }
};

QTEST_MAIN(TestBuyingWindows)
#include "test_buyingwindows.moc"
