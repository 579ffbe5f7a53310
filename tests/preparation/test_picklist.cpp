// Preparation lists from the collected-orders window, saved as a PDF (no printer here) and read
// back with poppler (pdftotext -bbox): text, its place on the page and the page order.
#include "InkSpan.h"
#include "ManagerWindowTest.h"
#include "OrderRows.h"
#include "data/Clock.h"
#include "../buying/BuyingFixture.h"
#include "PdfReadBack.h"
#include "Shots.h"
#include "TestDb.h"
#include "WindowOpeners.h"
#include "buying/PeriodDemand.h"
#include "buying/PurchasePlan.h"
#include "data/DrugNameKey.h"
#include "collection/BuyCollectCore.h"
#include "collection/FormBuyCollect.h"
#include "collection/FormBuyCollectTexts.h"
#include "preparation/PickListTexts.h"
#include "collection/ModOmla.h"
#include "preparation/PickList.h"
#include "preparation/PickListPrint.h"
#include "paper/PaperRoute.h"
#include "data/GroupTables.h"
#include "ordering/OrderLines.h"
#include "ui/Dialogs.h"
#include "ui/FlexGridView.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Word = PdfWord;
using Page = QList<Word>;

QList<Page> pdfPages(const QString& pdf) {
    return pdfWordsByPage(pdf);
}

// The pages of a PDF file as its page objects count them, without reading it back; -1: no file.
int pageCount(const QString& pdf) {
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}

const Word* find(const Page& page, const QString& text) {
    for (const Word& w : page)
        if (w.text == text)
            return &w;
    return nullptr;
}

bool insert(const QString& id, const QString& tel, const QString& markaz, const QString& submitted,
            const QString& lines) {
    return OrderRows::insert({id, QStringLiteral("261207"), tel, markaz, submitted, lines});
}


} // namespace

class TestPickList : public ManagerWindowTest {
    Q_OBJECT

    // Triggers the action on this machine without a printer: the one question is answered Yes (as
    // is every box before it; they only say OK), and the PDF goes to pdf. Returns the file's page
    // count, or -1 when no file was written.
    int printPicks(QAction* action, const QString& pdf) {
        QFile::remove(pdf);
        for (int i = 0; i < 3; ++i)
            Dialogs::setNextAnswer(Dialogs::vbYes);
        Dialogs::setNextPath(pdf);
        action->trigger();
        Dialogs::clearAnswers();
        return pageCount(pdf);
    }

    // The message boxes shown, the question of the missing printer left out.
    static QStringList told() {
        QStringList out = Dialogs::shownTexts();
        out.removeAll(PaperRoute::NoPrinterOfferPdf);
        return out;
    }

public:
    TestPickList() : ManagerWindowTest(QDateTime(QDate(2026, 12, 7), QTime(9, 13))) {}

private slots:

    void shownOrderOnOnePage() {
        ModOmla::BookStatus st;
        QVERIFY(ModOmla::AddClient("01011111111", "Amal", &st) > 0);
        QVERIFY(
            insert("261207101530", "01011111111", "دسوق", "101",
                   OrderLines::Encode({{"Alpha", "2", "10", "10"}, {}, {"Bravo", "3 boxes", "12.5", "0"}})));
        QVERIFY(insert("261206090000", "01099999999", "بيلا", {}, {}));
        FormBuyCollect w(nullptr, WindowOpeners::buyCollect());
        const QString pdf = m_dir.filePath("one.pdf");

        QCOMPARE(printPicks(w.mnuPickList, pdf), -1);
        QCOMPARE(told(), QStringList{PickListTexts::NoOrderShown});

        w.XXX->clickCell(w.XXX->grid().TextMatrix(1, 1) == "261207101530" ? 1 : 2, 1);
        QCOMPARE(printPicks(w.mnuPickList, pdf), 1);
        Shots::pages(pdf, "picklist-one");
        READ_BACK_OR_SKIP(pdf);
        const QList<Page> pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        const Page& p = pages[0];
        for (const char* t : {"Amal", "01011111111", "261207101530", "2026/12/07"})
            QVERIFY2(find(p, t), t);
        // Lines in slot order without the empty slot, names right-aligned in the drug column,
        // line values 18 and 37.5; cash 55.5, deferred 57.165 rounded.
        const Word* alpha = find(p, "Alpha");
        const Word* bravo = find(p, "Bravo");
        QVERIFY(alpha && bravo);
        QVERIFY(qAbs(alpha->x1 - bravo->x1) < 0.3 && alpha->x1 > 180 && alpha->x1 < 190);
        QVERIFY(qAbs(bravo->cy() - alpha->cy() - 6) < 0.5);
        for (const char* t : {"18", "37.5", "55.5", "57.2", "3"})
            QVERIFY2(find(p, t), t);
        QVERIFY(qAbs(find(p, "37.5")->cy() - bravo->cy()) < 0.5);
        QVERIFY(find(p, "55.5")->cy() > bravo->cy() + 6);
    }

    void allSentOrdersByDistrictThenPharmacy() {
        ModOmla::BookStatus st;
        QVERIFY(ModOmla::AddClient("0101", "Zeinab", &st) > 0);
        QVERIFY(ModOmla::AddClient("0102", "Amal", &st) > 0);
        const QString l = OrderLines::Encode({{"Alpha", "1", "10", "0"}});
        QVERIFY(insert("261207000001", "0101", "دسوق", "101", l));  // Zeinab, Desouk
        QVERIFY(insert("261207000002", "0102", "دسوق", "101", l));  // Amal, Desouk
        QVERIFY(insert("261207000003", "0101", "بيلا", "101", l));  // Zeinab, Biyala
        QVERIFY(insert("261207000004", "0103", "دسوق", "101", l));  // no name: its phone
        QVERIFY(insert("261207000005", "0102", "بيلا", {}, l));     // open: not listed
        QVERIFY(insert("261207000006", "0102", "دسوق", "101", {})); // Amal again, no lines
        FormBuyCollect w(nullptr, WindowOpeners::buyCollect());
        const QString pdf = m_dir.filePath("all.pdf");
        QCOMPARE(printPicks(w.mnuPickListsAll, pdf), 4);
        QVERIFY(ServerConnection::instance().executedStatements().contains(
            QStringLiteral("SELECT * FROM bown2 WHERE submitted = '101' ;")));
        Shots::pages(pdf, "picklist-all");
        READ_BACK_OR_SKIP(pdf);
        const QList<Page> pages = pdfPages(pdf);
        QStringList ids;
        for (const Page& p : pages)
            for (const Word& w : p)
                if (w.text.startsWith(QLatin1String("2612070000")))
                    ids << w.text;
        // Biyala before Desouk; within Desouk the phone 0103 (digits) before Amal before Zeinab. The
        // order without lines is left out and counted.
        QCOMPARE(ids, QStringList({"261207000003", "261207000004", "261207000002", "261207000001"}));
        QVERIFY(find(pages[3], "Zeinab"));
        QCOMPARE(told(), QStringList{PickListTexts::LeftOutWithoutLines.arg(1)});
    }

    void failedReadShowsAMessageAndPrintsNothing() {
        QVERIFY(
            insert("261207101530", "0101", "دسوق", "101", OrderLines::Encode({{"Alpha", "1", "1", "0"}})));
        FormBuyCollect w(nullptr, WindowOpeners::buyCollect());
        w.XXX->clickCell(1, 1);
        QVERIFY(TestDb::exec(QStringLiteral("DROP TABLE bown2")));
        const QString pdf = m_dir.filePath("none.pdf");
        QFile::remove(pdf);
        QCOMPARE(printPicks(w.mnuPickList, pdf), -1);
        QCOMPARE(printPicks(w.mnuPickListsAll, pdf), -1);
        QVERIFY(!QFile::exists(pdf));
        const QStringList shown = told();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].startsWith(PickListTexts::OrderReadFailed) &&
                shown[0].size() > PickListTexts::OrderReadFailed.size());
        QVERIFY(shown[1].startsWith(PickListTexts::ListReadFailed) &&
                shown[1].size() > PickListTexts::ListReadFailed.size());
    }

    // A day's work: one district, then what has not been printed, then a period; each printed list
    // is marked in grp_printed. Without that table the lists still print and the script is named.
    void daysWorkPrintsWhatIsNotPrintedAndMarksIt() {
        const QString l = OrderLines::Encode({{"Alpha", "1", "10", "0"}});
        QVERIFY(insert("261205000001", "0101", "دسوق", "101", l));
        QVERIFY(insert("261207000002", "0102", "بيلا", "101", l));
        QVERIFY(insert("261207000003", "0103", "دسوق", "101", l));
        QVERIFY(insert("261207000004", "0104", "دسوق", "101", {}));
        FormBuyCollect w(nullptr, WindowOpeners::buyCollect());
        const QString pdf = m_dir.filePath("day.pdf");
        auto marks = [] { return TestDb::rows("SELECT orderid, times, firstprinted, lastprinted FROM grp_printed ORDER BY orderid"); };
        Dialogs::setNextInput(QStringLiteral("بيلا"));
        QCOMPARE(printPicks(w.mnuPickListsDistrict, pdf), 1);
        QVERIFY(ServerConnection::instance().executedStatements().contains(
            QStringLiteral("SELECT * FROM bown2 WHERE submitted = '101' AND markaz = 'بيلا' ;")));
        QCOMPARE(marks(), (QList<QStringList>{{"261207000002", "1", "20261207091300", "20261207091300"}}));
        QVERIFY(told().isEmpty());

        QCOMPARE(printPicks(w.mnuPickListsNew, pdf), 2);
        QCOMPARE(marks().size(), 3);
        QCOMPARE(told(), QStringList{PickListTexts::LeftOutWithoutLines.arg(1)});
        Dialogs::clearShown();
        QCOMPARE(printPicks(w.mnuPickListsNew, pdf), -1); // nothing left to print
        QCOMPARE(told(),
                 QStringList{PickListTexts::NoSentOrders + "\n" + PickListTexts::LeftOutWithoutLines.arg(1)});

        Dialogs::clearShown();
        Dialogs::setNextInput(QStringLiteral("2026/12/07"));
        Dialogs::setNextInput(QStringLiteral("2026/12/07"));
        QCOMPARE(printPicks(w.mnuPickListsPeriod, pdf), 3); // every order here is of that day
        for (const QStringList& m : marks())
            QCOMPARE(m.value(1), QStringLiteral("2"));
        Dialogs::setNextInput(QStringLiteral("2026/12/08"));
        Dialogs::setNextInput(QStringLiteral("2026/12/07"));
        QCOMPARE(printPicks(w.mnuPickListsPeriod, pdf), -1);
        QCOMPARE(told().last(), FormBuyCollectTexts::FromAfterTo);

        QVERIFY(TestDb::exec(QStringLiteral("DROP TABLE grp_printed")));
        Dialogs::clearShown();
        QCOMPARE(printPicks(w.mnuPickListsNew, pdf), -1);
        QCOMPARE(told(), QStringList{GroupTables::MissingMessage()});
        Dialogs::clearShown();
        QCOMPARE(printPicks(w.mnuPickListsAll, pdf), 3);
        QCOMPARE(told().value(1),
                 PickListTexts::NotMarkedNoTable + GroupTables::MissingMessage());
    }

    // Lists are marked printed only when they went out: declined, no file named or a file that
    // could not be written leave the marks as they were; saved, each list is marked once more, over
    // a mark in the older time form too, which still counts as printed.
    void markedOnlyWhenTheListsWentOut_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("file"); // empty: no name given
        QTest::addColumn<bool>("saved");
        QTest::newRow("declined") << int(Dialogs::vbNo) << "out.pdf" << false;
        QTest::newRow("no name") << int(Dialogs::vbYes) << "" << false;
        QTest::newRow("unwritable") << int(Dialogs::vbYes) << "no/such/out.pdf" << false;
        QTest::newRow("saved") << int(Dialogs::vbYes) << "out.pdf" << true;
    }
    void markedOnlyWhenTheListsWentOut() {
        QFETCH(int, answer);
        QFETCH(QString, file);
        QFETCH(bool, saved);
        const QString l = OrderLines::Encode({{"Alpha", "1", "10", "0"}});
        QVERIFY(insert("261207000001", "0101", "دسوق", "101", l));
        QVERIFY(insert("261207000002", "0102", "دسوق", "101", l));
        const QString older = QStringLiteral("2026-12-06 17:45:09");
        QVERIFY(TestDb::exec("INSERT INTO grp_printed (orderid, firstprinted, lastprinted, times) VALUES "
                             "('261207000001', '" + older + "', '" + older + "', 1)"));
        FormBuyCollect w(nullptr, WindowOpeners::buyCollect());
        const QString path = file.isEmpty() ? file : m_dir.filePath(file);
        QFile::remove(path);
        w.XXX->clickCell(w.XXX->grid().TextMatrix(1, 1) == "261207000002" ? 1 : 2, 1);
        for (QAction* a : {w.mnuPickListsAll, w.mnuPickList}) {
            Dialogs::clearShown();
            Dialogs::setNextAnswer(answer);
            Dialogs::setNextPath(path);
            a->trigger();
            Dialogs::clearAnswers();
            QStringList expected{PaperRoute::NoPrinterOfferPdf};
            if (answer == Dialogs::vbYes && !file.isEmpty() && !saved)
                expected << PickListTexts::FileNotSaved + QDir::toNativeSeparators(path);
            QCOMPARE(Dialogs::shownTexts(), expected);
            QCOMPARE(QFile::exists(path), saved);
        }
        const QString now = Clock::Stamp(Clock::now());
        const QList<QStringList> marks =
            TestDb::rows("SELECT orderid, times, firstprinted, lastprinted FROM grp_printed ORDER BY orderid");
        const QList<QStringList> expected = saved ? QList<QStringList>{{"261207000001", "2", older, now}, {"261207000002", "2", now, now}}
                                                  : QList<QStringList>{{"261207000001", "1", older, older}};
        QCOMPARE(marks, expected);
        QVERIFY(Clock::FromStamp(marks[0][2]) <= Clock::FromStamp(marks[0][3]));
        // What is left to print: the older mark counts as printed.
        QCOMPARE(printPicks(w.mnuPickListsNew, m_dir.filePath("new.pdf")), saved ? -1 : 1);
    }

    // A kept purchase order of Panadol received short (4 of 5, earliest sent first), Zyrtec not at
    // all, then closed with the rest cancelled: the lists show asked, allotted, not available and
    // the value delivered per line, and the delivered values below the order's own; an order of
    // drugs the group never took up prints as before.
    void allottedOrdersShowWhatWillBeDelivered() {
        using namespace BuyingFixture;
        QVERIFY(TestDb::addDrug("Panadol", "20", "10") && TestDb::addDrug("Zyrtec", "30", "5") && wholesaler(1, "الامل"));
        QVERIFY(sentOrder("261201090000", "261201", "0101", {{"Panadol", "3", "20", "10"}, {"Zyrtec", "1", "30", "5"}}));
        QVERIFY(sentOrder("261203100000", "261203", "0102", {{"Panadol", "2", "20", "10"}}));
        QVERIFY(sentOrder("261205100000", "261205", "0103", {{"Vit C", "2", "30", "5"}}));
        QVERIFY(offer(1, "Panadol", "12", "20261201") && offer(1, "Zyrtec", "6", "20261201"));
        const PeriodDemand demand = BuyingStore::ReadOpenDemand({QDate(2026, 12, 1), QDate(2026, 12, 7), true});
        QString e;
        OfferBook book;
        std::vector<BuyingStore::KeptOrder> kept;
        const auto rule = DeliveryShare::Rule::EarliestFirst;
        QVERIFY(BuyingStore::ReadOfferBook(book, &e));
        QVERIFY(BuyingStore::KeepPlan(PurchasePlan::Make(demand, book), demand, book, rule, Clock::now(), nullptr).saved());
        QVERIFY(BuyingStore::ReadOrders(kept, false, &e) && kept[0].lines[0].drug == QLatin1String("Panadol"));
        QVERIFY(BuyingStore::Receive(kept[0].lines[0], 4, rule, Clock::now()).saved());
        QVERIFY(BuyingStore::ReadOrders(kept, false, &e) && BuyingStore::Close(kept[0], true).saved());
        FormBuyCollect w(nullptr, WindowOpeners::buyCollect());
        const QString pdf = m_dir.filePath("allotted.pdf");
        ServerConnection::instance().clearExecutedStatements();
        QCOMPARE(printPicks(w.mnuPickListsAll, pdf), 3);
        // The three orders' allotments in one statement.
        QCOMPARE(ServerConnection::instance().executedStatements().filter("grp_orderlines WHERE orderid").size(), 1);
        Shots::pages(pdf, "picklist-allotted");
        READ_BACK_OR_SKIP(pdf);
        const QList<Page> pages = pdfPages(pdf);
        const QStringList texts = pdfTextByPage(pdf);
        QCOMPARE(pages.size(), 3);
        QCOMPARE(texts.size(), pages.size());
        // Per page (by phone): drug, asked, allotted, value delivered; last the delivered cash value.
        const QList<QStringList> expected[] = {
            {{"Panadol", "3", "3", "54"}, {"Zyrtec", "1", "0", "1", "0"}, {"54"}}, {{"Panadol", "2", "1", "1", "18"}, {"18"}}, {}};
        QList<QRectF> columns;
        for (const PickList::ColumnSpan& c : PickList::ColumnSpans(true))
            columns << QRectF(c.left, PickList::LinesTop, c.right - c.left, PickList::LinesBottom - PickList::LinesTop);
        for (int n = 0; n < 3; ++n) {
            const QList<QStringList>& x = expected[n];
            QCOMPARE(pageHasText(texts[n], "المخصص"), !x.isEmpty());
            QCOMPARE(pageHasText(texts[n], "الكمية"), x.isEmpty());
            const double linesEnd = find(pages[n], x.isEmpty() ? "Vit" : x[x.size() - 2][0])->y1 + 1;
            QList<Word> table, values; // the values: the order's own row, then what will be delivered
            for (const Word& word : pages[n])
                if (word.cy() > PickList::LinesTop && word.cy() < linesEnd)
                    table << word;
                else if (word.cy() > linesEnd && word.cy() < PickList::LinesBottom && word.text[0].isDigit())
                    values << word;
            std::sort(values.begin(), values.end(), [](const Word& a, const Word& b) { return a.cy() < b.cy(); });
            if (!x.isEmpty())
                QVERIFY2(wordsOutsideCells(table, columns).isEmpty(), qPrintable(wordsOutsideCells(table, columns).join(", ")));
            for (qsizetype l = 0; l + 1 < x.size(); ++l) {
                const Word* drug = find(pages[n], x[l][0]);
                QStringList row{x[l][0]};
                for (int c : {2, 3, 4, 8}) // asked, allotted, not available, value delivered
                    for (const Word& word : table)
                        if (qAbs(word.cy() - drug->cy()) < 1 && columns[c].contains(QPointF(word.cx(), word.cy())))
                            row << word.text;
                QCOMPARE(row, x[l]);
            }
            const OrderLines::Value delivered = OrderLines::ValueOfSum(x.isEmpty() ? 0 : x.last()[0].toFloat());
            QCOMPARE(values.size(), x.isEmpty() ? 2 : 4);
            const QSet<QString> got{values.value(2).text, values.value(3).text};
            QVERIFY(x.isEmpty() || got == QSet<QString>({delivered.cashText(), delivered.deferredText()}));
        }
    }

    void longOrdersTakeMorePagesWithTheirHeading_data() {
        QTest::addColumn<bool>("allotted");
        QTest::newRow("plain") << false;
        QTest::newRow("allotted") << true;
    }
    // A long order with 70-character names takes more pages: every word inside its column at 8
    // points or more, the heading, header row and signatures on each page, lines by drug name.
    void longOrdersTakeMorePagesWithTheirHeading() {
        QFETCH_GLOBAL(QString, backend);
        if (backend != QLatin1String("sqlite"))
            QSKIP("drawing only");
        const QString latin = QStringLiteral(" Amoxicillin Clavulanate Potassium Extended Release Tablets 1000mg");
        const QString arabic = QStringLiteral("اموكسيسيلين كلافولانات البوتاسيوم اقراص ممتدة المفعول الف مجم عدد اربعة");
        std::vector<OrderLines::Line> lines;
        for (int i = 100; i >= 1; --i) // stored last first: printed by name
            lines.push_back({i % 2 ? QStringLiteral("L%1").arg(i, 3, 10, QChar('0')) + latin.left(66) : arabic.left(70),
                             "1", "10", "0"});
        const PickList::Page plain =
            PickList::MakePage(OrderLines::Encode(lines), "261207101530", "261207", "0101", "دسوق", "101");
        QFETCH(bool, allotted);
        PickList::Page page = plain;
        for (size_t i = 0; allotted && i < page.lines.size(); ++i)
            page.allotted.push_back({1, i % 3 ? int(i % 2) : -1, i % 3 ? float(i % 2) * 10 : 10});
        const QString pdf = m_dir.filePath("full.pdf");
        QVERIFY(PickList::printToPdf(pdf, {page}, Clock::now()));
        Shots::pages(pdf, allotted ? "picklist-full-allotted" : "picklist-full");
        READ_BACK_OR_SKIP(pdf);
        const QList<Page> pages = pdfPages(pdf);
        const QStringList texts = pdfTextByPage(pdf);
        QVERIFY(pages.size() >= 3);
        QCOMPARE(texts.size(), pages.size());
        QList<QRectF> columns;
        for (const PickList::ColumnSpan& c : PickList::ColumnSpans(allotted))
            columns << QRectF(c.left, PickList::LinesTop, c.right - c.left, PickList::LinesBottom - PickList::LinesTop);
        QStringList order;
        for (int n = 0; n < pages.size(); ++n) {
            for (const char* t : {"قائمة تحضير الاوردر", "الدواء", "تم", "حضره", "راجعه", "2026/12/07"})
                QVERIFY2(pageHasText(texts[n], QString::fromUtf8(t)), t);
            QVERIFY(pageHasText(texts[n], QStringLiteral("صفحة %1 من %2").arg(n + 1).arg(pages.size())));
            // The values table follows the last lines on the last page.
            const Word* cash = n + 1 == pages.size() ? find(pages[n], "1000") : nullptr;
            const double bottom = cash ? cash->y0 - 1 : PickList::LinesBottom;
            QList<Word> table;
            for (const Word& w : pages[n])
                if (w.cy() > PickList::LinesTop && w.cy() < bottom)
                    table << w;
            QVERIFY2(wordsOutsideCells(table, columns).isEmpty(), qPrintable(wordsOutsideCells(table, columns).join(", ")));
            for (int a = 0; a < table.size(); ++a) {
                QVERIFY2(table[a].y1 - table[a].y0 > 8 * 25.4 / 72 * 0.9, qPrintable(table[a].text));
                for (int b = a + 1; b < table.size(); ++b) // no text printed over another
                    QVERIFY2(std::min(table[a].x1, table[b].x1) - std::max(table[a].x0, table[b].x0) < 0.3 ||
                                 std::min(table[a].y1, table[b].y1) - std::max(table[a].y0, table[b].y0) <
                                     0.6 * std::min(table[a].y1 - table[a].y0, table[b].y1 - table[b].y0),
                             qPrintable(table[a].text + " / " + table[b].text));
                if (QRegularExpression(QStringLiteral("^L\\d{3}$")).match(table[a].text).hasMatch())
                    order << table[a].text;
            }
        }
        QCOMPARE(order.size(), 50);
        QStringList sorted = order;
        sorted.sort();
        QCOMPARE(order, sorted);
        QVERIFY(find(pages.last(), "1000")); // the cash value below the last lines

        // No ink within half an inch of the paper's edges: a printer with margins up to that (a
        // quarter inch is common) cuts nothing off.
        QCOMPARE(PdfReadBack::run("pdftoppm", {"-r", "72", "-gray", "-png", pdf, m_dir.filePath("ink")}), 0);
        const QStringList inked = QDir(m_dir.path()).entryList({"ink-*.png"}, QDir::Files, QDir::Name);
        QCOMPARE(inked.size(), pages.size());
        const double edge = PickList::PrinterMarginRoom;
        for (const QString& name : inked) {
            const QRectF ink = InkSpan::boxMm(QImage(m_dir.filePath(name)), 210);
            QVERIFY2(QRectF(edge, edge, 210 - 2 * edge, 297 - 2 * edge).contains(ink) && ink.height() > 250,
                     qPrintable(QStringLiteral("%1: %2,%3 to %4,%5 mm").arg(name).arg(ink.left()).arg(ink.top())
                                    .arg(ink.right()).arg(ink.bottom())));
            QFile::remove(m_dir.filePath(name));
        }
    }
};

int main(int argc, char** argv) {
    // No printer, whatever the machine has: the preview prints into a PDF file.
    qputenv("CUPS_SERVER", QByteArrayLiteral("/nonexistent/brentoval-cups.sock"));
    QApplication app(argc, argv);
    TestPickList t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_picklist.moc"
