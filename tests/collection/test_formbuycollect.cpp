// The collected-orders window through its widgets, on SQLite and on PostgreSQL through ODBC.
#include "ManagerWindowTest.h"
#include "OrderRows.h"
#include "GridText.h"
#include "Shots.h"
#include "TestDb.h"
#include "collection/BuyCollectCore.h"
#include "collection/FormBuyCollect.h"
#include "collection/FormBuyCollectTexts.h"
#include "preparation/PickListTexts.h"
#include "collection/ModOmla.h"
#include "data/ServerConnection.h"
#include "ordering/OrderLines.h"
#include "ui/Dialogs.h"
#include "ui/FlexGridView.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

using GridText::column;

namespace {
using OrderRows::insert;

QString lines(std::vector<OrderLines::Line> l) {
    return OrderLines::Encode(l);
}

int rowOf(const FlexGrid& g, const QString& id) {
    return GridText::rowOf(g, 1, id);
}

QStringList sqlSince(qsizetype from) {
    return ServerConnection::instance().executedSince(from);
}
} // namespace

class TestFormBuyCollect : public ManagerWindowTest {
    Q_OBJECT

    void addClients(const QList<QPair<QString, QString>>& clients) {
        for (const auto& [tel, name] : clients) {
            ModOmla::BookStatus st;
            QVERIFY(ModOmla::AddClient(tel, name, &st) > 0);
        }
    }

public:
    TestFormBuyCollect() : ManagerWindowTest(QDateTime(QDate(2026, 12, 7), QTime(10, 0))) {}

private slots:

    void windowCarriesItsTitleMenusAndCaptions() {
        FormBuyCollect w;
        QCOMPARE(w.windowTitle(), QStringLiteral("الاطلاع علي طلبيات الشراء المعلقة"));
        QVERIFY(w.isModal());
        const QList<QAction*> top = w.menuBar->actions();
        QCOMPARE(top.size(), 4);
        QCOMPARE(top[0]->text(), QStringLiteral("عمليات"));
        QCOMPARE(top[1]->text(), QStringLiteral("العملاء"));
        QCOMPARE(top[2]->text(), QStringLiteral("ترتيب"));
        QCOMPARE(top[3]->text(), QStringLiteral("تقارير"));
        QCOMPARE(top[3]->menu()->objectName(), QStringLiteral("mnuReports"));
        auto item = [&](const char* name) { return w.findChild<QAction*>(QLatin1String(name))->text(); };
        QCOMPARE(item("mnuDeletOlderThan"), QStringLiteral("حذف الطلبيات التي مر عليها اكثر من عدد ايام"));
        QCOMPARE(item("mnuAddNewAmil"), QStringLiteral("اضافة عميل جديد"));
        QCOMPARE(item("MNUSORTNAME"), QStringLiteral("حسب الاسم"));
        QCOMPARE(item("MNUSORTDATE"), QStringLiteral("حسب التاريخ"));
        QCOMPARE(item("MNUSORTADRESS"), QStringLiteral("حسب العنوان"));
        QCOMPARE(item("mnuGroupDemand"), QStringLiteral("اجمالي طلبات المجموعة"));
        QCOMPARE(item("mnuPickList"), QStringLiteral("قائمة تحضير الاوردر"));
        QCOMPARE(item("mnuPickListsAll"), QStringLiteral("قوائم تحضير كل الاوردرات المرسلة"));
        QStringList captions;
        for (QLabel* l : w.findChildren<QLabel*>())
            if (l->objectName().startsWith(QLatin1String("Label")))
                captions << l->text();
        QCOMPARE(captions, QStringList({QStringLiteral(" رقم الاوردر"), QStringLiteral("التاريخ"),
                                        QStringLiteral("التليفون"), QStringLiteral("حالة الاوردر"),
                                        QStringLiteral("قيمة الفاتورة عند الدفع نقدا"),
                                        QStringLiteral("قيمة الفاتورة عند الدفع  اجل")}));
        QVERIFY(w.LLLOrderID->text().isEmpty() && w.LLLNaqdyValue->text().isEmpty());
    }

    void loadListsNewestFirstWithWidthsAndAlignments() {
        QVERIFY(insert({"261201090000", "261201", "0101", "دسوق", {}, {}}));
        QVERIFY(insert({"261207101530", "261207", "0102", "بيلا", "101", {}}));
        QVERIFY(insert({"261105080000", "261105", "0103", "فوه", {}, {}}));
        FormBuyCollect w;
        const FlexGrid& g = w.XXX->grid();
        QCOMPARE(g.Cols(), 11);
        QCOMPARE(column(g, 1), QStringList({"261207101530", "261201090000", "261105080000"}));
        QCOMPARE(g.TextMatrix(0, 1), QString()); // header cells are not written
        const int widths[] = {0, 2000, 1000, 1000, 2000, 2200, 1800, 2200, 960, 960, 960};
        for (int c = 0; c < 11; ++c) {
            QCOMPARE(g.ColWidth(c), widths[c]);
            QCOMPARE(g.ColAlignment(c), c == 0 ? 2 : 3);
        }
        QVERIFY(w.XXX->isColumnHidden(0));
        const FlexGrid& l = w.Xxx2->grid();
        QCOMPARE(l.ColWidth(0), 3000);
        QCOMPARE(l.ColWidth(3), 1100);
        QCOMPARE(l.ColAlignment(0), 2);
        QCOMPARE(l.ColAlignment(1), 3);
    }

    void emptyTableGivesHeaderOnly() {
        FormBuyCollect w;
        QCOMPARE(w.XXX->grid().Rows(), 1);
        const qsizetype before = ServerConnection::instance().executedCount();
        w.XXX->clickCell(0, 1); // a click on the header finds no order and asks for none
        QVERIFY(sqlSince(before).isEmpty());
        QVERIFY(Dialogs::shown().empty());
    }

    // The header holds no order: a click on it copies the cell and leaves the shown order alone.
    void headerClickKeepsTheShownOrder() {
        QVERIFY(insert({"261207101530", "261207", "0101", "دسوق", {}, lines({{"A", "2", "10", "10"}})}));
        FormBuyCollect w;
        w.XXX->clickCell(1, 1);
        QCOMPARE(w.LLLNaqdyValue->text(), QStringLiteral("18"));
        const qsizetype before = ServerConnection::instance().executedCount();
        w.XXX->grid().setTextMatrix(0, 2, QStringLiteral("التاريخ"));
        w.XXX->clickCell(0, 2);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("التاريخ"));
        QVERIFY(sqlSince(before).isEmpty());
        QCOMPARE(w.LLLOrderID->text(), QStringLiteral("261207101530"));
        QCOMPARE(w.Xxx2->grid().TextMatrix(1, 0), QStringLiteral("A"));
        QCOMPARE(w.LLLNaqdyValue->text(), QStringLiteral("18"));
    }

    void namesReplacePhonesWhateverTheNumberOfOrders_data() {
        QTest::addColumn<int>("orders");
        QTest::newRow("one") << 1;
        QTest::newRow("two") << 2;
        QTest::newRow("five") << 5;
    }
    void namesReplacePhonesWhateverTheNumberOfOrders() {
        QFETCH(int, orders);
        addClients({{"01000000001", "صيدلية الشفاء"}, {" 01000000003 ", "Nour"}});
        for (int i = 1; i <= orders; ++i)
            QVERIFY(insert({QStringLiteral("2612070000%1").arg(i, 2, 10, QChar('0')),
                            "261207",
                            QStringLiteral("0100000000%1").arg(i),
                            "x",
                            {},
                            {}}));
        FormBuyCollect w;
        const FlexGrid& g = w.XXX->grid();
        for (int r = 1; r < g.Rows(); ++r) {
            const int i = g.TextMatrix(r, 1).right(2).toInt();
            const QString expected = i == 1   ? QStringLiteral("صيدلية الشفاء")
                                     : i == 3 ? QStringLiteral("Nour")
                                              : QStringLiteral("0100000000%1").arg(i);
            QCOMPARE(g.TextMatrix(r, 4), expected);
        }
    }

    void clickOpensTheOrderWithItsValues_data() {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<QString>("submitted");
        QTest::addColumn<QString>("cash");
        QTest::addColumn<QString>("deferred");
        QTest::newRow("2 x 10 at 10%") << "2"
                                       << "10"
                                       << "10"
                                       << "101"
                                       << "18"
                                       << "18.5";
        QTest::newRow("1 x 12.5 at 0%") << "1"
                                        << "12.5"
                                        << "0" << QString() << "12.5"
                                        << "12.9";
    }
    void clickOpensTheOrderWithItsValues() {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, discount);
        QFETCH(QString, submitted);
        QFETCH(QString, cash);
        QFETCH(QString, deferred);
        QVERIFY(insert({"261207101530", "261207", "01012345678", "دسوق", submitted,
                        lines({{QStringLiteral("باراسيتامول 500"), quantity, price, discount}})}));
        QVERIFY(
            insert({"261206090000", "261206", "01099999999", "بيلا", {}, lines({{"Other", "5", "5", "5"}})}));
        FormBuyCollect w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const int row = rowOf(w.XXX->grid(), "261207101530");
        const QRect cell = w.XXX->cellRect(row, 5);
        const qsizetype before = ServerConnection::instance().executedCount();
        QTest::mouseClick(w.XXX->viewport(), Qt::LeftButton, {}, cell.center());

        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("دسوق"));
        QCOMPARE(sqlSince(before), QStringList("select *  from bown2 where orderid = '261207101530' ;"));
        const FlexGrid& l = w.Xxx2->grid();
        QCOMPARE(l.Rows(), 101);
        QCOMPARE(l.TextMatrix(1, 0), QStringLiteral("باراسيتامول 500"));
        QCOMPARE(l.TextMatrix(1, 1), quantity);
        QCOMPARE(l.TextMatrix(2, 0), QString());
        QCOMPARE(w.LLLNaqdyValue->text(), cash);
        QCOMPARE(w.LLLLAgelValue->text(), deferred);
        QCOMPARE(w.LLLOrderID->text(), QStringLiteral("261207101530"));
        QCOMPARE(w.LLLDate->text(), QStringLiteral("261207"));
        QCOMPARE(w.LLLOrderTel->text(), QStringLiteral("01012345678"));
        QCOMPARE(w.LLLSubmitted->text(), submitted.isNull() ? QString() : submitted);

        if (QTest::currentDataTag() == QLatin1String("2 x 10 at 10%"))
            QVERIFY(Shots::widget(w, "FormBuyCollect-" + TestDb::currentBackend()));
    }

    void clickPutsExactlyTheCellOnTheClipboard() {
        QVERIFY(insert({"261207101530", "261207", "0101", "دسوق", {}, {}}));
        FormBuyCollect w;
        QGuiApplication::clipboard()->setText(QStringLiteral("stale"));
        w.XXX->clickCell(1, 9); // telesels is NULL
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        w.XXX->clickCell(1, 2);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("261207"));
    }

    void orderDeletedMeanwhileShowsEmptyLines() {
        QVERIFY(insert({"261207101530", "261207", "0101", "دسوق", "101", lines({{"A", "1", "10", "0"}})}));
        QVERIFY(insert({"261207111111", "261207", "0102", "دسوق", {}, {}}));
        FormBuyCollect w;
        w.XXX->clickCell(rowOf(w.XXX->grid(), "261207101530"), 1);
        QCOMPARE(w.LLLNaqdyValue->text(), QStringLiteral("10"));
        QVERIFY(TestDb::exec(QStringLiteral("DELETE FROM bown2 WHERE orderid='261207101530'")));
        w.XXX->clickCell(rowOf(w.XXX->grid(), "261207101530"), 1);
        QCOMPARE(w.Xxx2->grid().Rows(), 101);
        QCOMPARE(w.Xxx2->grid().TextMatrix(1, 0), QString());
        QCOMPARE(w.LLLNaqdyValue->text(), QStringLiteral("0"));
        QCOMPARE(w.LLLLAgelValue->text(), QStringLiteral("0"));
        QCOMPARE(w.LLLOrderID->text(), QString());
        QCOMPARE(w.LLLSubmitted->text(), QString());
    }

    void sortsActOnNameAddressAndDate() {
        addClients({{"0102", "Zeinab"}, {"0103", "Amal"}});
        QVERIFY(insert({"261201000000", "261201", "0101", "Qallin", {}, {}}));
        QVERIFY(insert({"261203000000", "261203", "0102", "Desouk", {}, {}}));
        QVERIFY(insert({"261202000000", "261202", "0103", "Biyala", {}, {}}));
        FormBuyCollect w;
        const FlexGrid& g = w.XXX->grid();
        w.MNUSORTNAME->trigger();
        QCOMPARE(column(g, 4), QStringList({"0101", "Amal", "Zeinab"}));
        w.MNUSORTADRESS->trigger();
        QCOMPARE(column(g, 5), QStringList({"Biyala", "Desouk", "Qallin"}));
        w.MNUSORTDATE->trigger();
        QCOMPARE(column(g, 1), QStringList({"261203000000", "261202000000", "261201000000"}));
    }

    void deleteRemovesOrdersBeforeTheCutoffDay() {
        QVERIFY(insert({"261017230000", "261017", "0101", "Qallin", "101", {}}));
        QVERIFY(insert({"261018000000", "261018", "0102", "Desouk", {}, {}}));
        QVERIFY(insert({"261207000000", "261207", "0103", "Biyala", {}, {}}));
        QVERIFY(insert({"250101000000", "250101", "0104", "Fuwa", {}, {}}));
        addClients({{"0103", "Amal"}});
        FormBuyCollect w;
        w.XXX->clickCell(rowOf(w.XXX->grid(), "261017230000"), 1);
        Dialogs::clearShown();
        Dialogs::setNextInput(QStringLiteral("50"));
        Dialogs::setNextAnswer(Dialogs::vbYes);
        const qsizetype before = ServerConnection::instance().executedCount();
        w.mnuDeletOlderThan->trigger();

        QCOMPARE(Dialogs::shown().size(), size_t(2));
        QCOMPARE(Dialogs::shown()[0].kind, QStringLiteral("input"));
        QCOMPARE(Dialogs::shown()[0].text, QStringLiteral("Delete Orders before days Ex:50"));
        QCOMPARE(Dialogs::shown()[0].defaultText, QString());
        QCOMPARE(Dialogs::shown()[1].text, QStringLiteral("هل تود حذف  الطلبيات القديمة"));
        QCOMPARE(Dialogs::shown()[1].style, 36);
        const QStringList sent = sqlSince(before).filter(QStringLiteral("DELETE"));
        QVERIFY(!sent.isEmpty());
        QCOMPARE(sent.first(), QStringLiteral("DELETE  FROM bown2 WHERE  date < '261018'; "));
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2")), QStringLiteral("2"));
        // Reloaded, names back in, sorted on the district.
        const FlexGrid& g = w.XXX->grid();
        QCOMPARE(column(g, 5), QStringList({"Biyala", "Desouk"}));
        QCOMPARE(column(g, 4), QStringList({"Amal", "0102"}));
        QCOMPARE(w.LLLOrderID->text(), QStringLiteral("261017230000")); // the opened order stays shown
    }

    // Old orders whose lines are in a purchase order, or not yet delivered, stay and are counted;
    // those delivered or cancelled in full go.
    void deleteKeepsOrdersStillBeingBought() {
        QVERIFY(insert({"261001000000", "261001", "0101", "a", "101", {}}));
        QVERIFY(insert({"261002000000", "261002", "0102", "b", "101", {}}));
        QVERIFY(insert({"261003000000", "261003", "0103", "c", "101", {}}));
        QVERIFY(insert({"261004000000", "261004", "0104", "d", "101", {}}));
        for (const char* row : {"'261001000000','k','K','0101','3','0','3','0',NULL,NULL",  // delivered
                                "'261002000000','k','K','0102','3','1','2','0','P/1','1'",  // on order
                                "'261003000000','k','K','0103','3','0','1','0',NULL,NULL",  // open again
                                "'261004000000','k','K','0104','3','0','1','2',NULL,NULL"}) // rest cancelled
            QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO grp_orderlines (orderid,drugkey,drug,tel,asked,onorder,allotted,"
                                                "cancelled,poid,lineseq) VALUES (%1)").arg(QString::fromLatin1(row))));
        FormBuyCollect w;
        Dialogs::setNextInput(QStringLiteral("50"));
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w.mnuDeletOlderThan->trigger();
        QCOMPARE(Dialogs::shownTexts().last(), FormBuyCollectTexts::KeptUndelivered.arg(2));
        QCOMPARE(column(w.XXX->grid(), 1), QStringList({"261002000000", "261003000000"}));
    }

    void deleteAnswers_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("refusal"); // message shown instead of the confirmation
        QTest::addColumn<QString>("cutoff");  // when confirmed
        const QString tooFew = QStringLiteral("Can not delate orders newer than 50 day frm now");
        QTest::newRow("49") << "49" << tooFew << QString();
        QTest::newRow("abc") << "abc" << tooFew << QString();
        QTest::newRow("cancelled") << QString() << tooFew << QString();
        QTest::newRow("49.5") << "49.5" << QString() << "261018";
        QTest::newRow("50.5") << "50.5" << QString() << "261018";
        QTest::newRow("51") << "51" << QString() << "261017";
        QTest::newRow("32768") << "32768" << FormBuyCollectTexts::TooManyDays << QString();
        QTest::newRow("10000 before 2000") << "10000" << QString() << "101";
    }
    void deleteAnswers() {
        QFETCH(QString, answer);
        QFETCH(QString, refusal);
        QFETCH(QString, cutoff);
        QVERIFY(insert({"261017000000", "261017", "0101", "a", {}, {}}));
        QVERIFY(insert({"261018000000", "261018", "0102", "b", {}, {}}));
        QVERIFY(insert({"991231000000", "991231", "0103", "c", {}, {}}));
        FormBuyCollect w;
        if (answer.isNull())
            Dialogs::setNextInputCancelled();
        else
            Dialogs::setNextInput(answer);
        Dialogs::setNextAnswer(Dialogs::vbYes);
        const qsizetype before = ServerConnection::instance().executedCount();
        w.mnuDeletOlderThan->trigger();
        QCOMPARE(Dialogs::shown().size(), size_t(2));
        if (!refusal.isEmpty()) {
            QCOMPARE(Dialogs::shown()[1].text, refusal);
            QCOMPARE(Dialogs::shown()[1].style, 0);
            QVERIFY(sqlSince(before).isEmpty());
            QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2")), QStringLiteral("3"));
            return;
        }
        QCOMPARE(sqlSince(before).filter(QStringLiteral("DELETE")).value(0), "DELETE  FROM bown2 WHERE  date < '" + cutoff + "'; ");
        const int kept = cutoff == "261018" ? 2 : 3;
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2")), QString::number(kept));
    }

    void noToTheConfirmationDeletesNothingAndKeepsTheList() {
        QVERIFY(insert({"261017000000", "261017", "0101", "b", {}, {}}));
        QVERIFY(insert({"261207000000", "261207", "0102", "a", {}, {}}));
        FormBuyCollect w;
        Dialogs::setNextInput(QStringLiteral("50"));
        Dialogs::setNextAnswer(Dialogs::vbNo);
        const qsizetype before = ServerConnection::instance().executedCount();
        w.mnuDeletOlderThan->trigger();
        QVERIFY(sqlSince(before).isEmpty());
        QCOMPARE(column(w.XXX->grid(), 1), QStringList({"261207000000", "261017000000"}));
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2")), QStringLiteral("2"));
    }

    void refusedDeleteSaysSoAndTheWindowGoesOn() {
        QVERIFY(insert({"261017000000", "261017", "0101", "b", {}, {}}));
        FormBuyCollect w;
        QVERIFY(TestDb::exec(QStringLiteral("DROP TABLE bown2")));
        Dialogs::setNextInput(QStringLiteral("60"));
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w.mnuDeletOlderThan->trigger();
        QCOMPARE(Dialogs::shown().size(), size_t(3));
        QVERIFY(Dialogs::shown()[2].text.startsWith(WriteRoad::RefusedText)); // answered: a refusal, not a cut line
        QCOMPARE(column(w.XXX->grid(), 1), QStringList({"261017000000"})); // not wiped by a failed reload
        Dialogs::clearShown();
        w.XXX->clickCell(1, 1);
        QCOMPARE(Dialogs::shown().size(), size_t(1));
        QVERIFY(Dialogs::shown()[0].text.startsWith(PickListTexts::OrderReadFailed));
    }

    void addClientWritesTheBookFile() {
        QVERIFY(insert({"261207000000", "261207", "01012345678", "a", {}, {}}));
        FormBuyCollect w;
        Dialogs::setNextInput(QStringLiteral("01012345678"));
        Dialogs::setNextInput(QStringLiteral("أحمد علي"));
        w.mnuAddNewAmil->trigger();
        QCOMPARE(Dialogs::shown().size(), size_t(2));
        QCOMPARE(Dialogs::shown()[0].text, QString());
        QCOMPARE(Dialogs::shown()[1].text, QStringLiteral("الاسم"));
        QFile f(ModOmla::BookPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray file = f.readAll();
        QCOMPARE(file.size(), 128000);
        QByteArray expected("\x08\x00\xC3\xCD\xE3\xCF\x20\xDA\xE1\xED\x00\x00\x0B\x00"
                            "01012345678",
                            25);
        expected.append(128 - expected.size(), '\0');
        QCOMPARE(file.left(128), expected);
        QCOMPARE(file.mid(128), QByteArray(999 * 128, '\0'));
        QCOMPARE(w.XXX->grid().TextMatrix(1, 4),
                 QStringLiteral("01012345678")); // shown from the next load on
        FormBuyCollect again;
        QCOMPARE(again.XXX->grid().TextMatrix(1, 4), QStringLiteral("أحمد علي"));

        // A phone that already has a name asks nothing more.
        Dialogs::clearShown();
        Dialogs::setNextInput(QStringLiteral(" 01012345678"));
        again.mnuAddNewAmil->trigger();
        QCOMPARE(Dialogs::shown().size(), size_t(1));
        QCOMPARE(ModOmla::FindFreeClientSlot(), 2);
    }

    void addClientAsksAgainForAPhoneWithoutAName() {
        addClients({{"0105", ""}});
        FormBuyCollect w;
        Dialogs::setNextInput(QStringLiteral("0105"));
        Dialogs::setNextInput(QStringLiteral("Hala"));
        w.mnuAddNewAmil->trigger();
        QCOMPARE(Dialogs::shown().size(), size_t(2));
        QCOMPARE(ModOmla::ClientBook.entry(2).ClientTel, QStringLiteral("0105"));
        QCOMPARE(ModOmla::ClientBook.entry(2).ClientName, QStringLiteral("Hala"));
        QCOMPARE(ModOmla::ClientNameByTel(QStringLiteral("0105")),
                 QString()); // the first entry still answers

        // A cancelled phone is stored as typed, empty, and its entry stays free.
        Dialogs::clearShown();
        Dialogs::setNextInputCancelled();
        Dialogs::setNextInput(QStringLiteral("Nameless"));
        w.mnuAddNewAmil->trigger();
        QCOMPARE(Dialogs::shown().size(), size_t(2));
        QCOMPARE(ModOmla::ClientBook.entry(3).ClientName, QStringLiteral("Nameless"));
        QCOMPARE(ModOmla::FindFreeClientSlot(), 3);
    }

    void addClientRefusalsShowAMessage() {
        FormBuyCollect w;
        Dialogs::setNextInput(QStringLiteral("0101"));
        Dialogs::setNextInput(QString(130, u'ن'));
        w.mnuAddNewAmil->trigger();
        QCOMPARE(Dialogs::shown().size(), size_t(3));
        QCOMPARE(Dialogs::shown()[2].kind, QStringLiteral("msgbox"));
        QCOMPARE(ModOmla::FindFreeClientSlot(), 1);
        QCOMPARE(QFileInfo(ModOmla::BookPath()).size(), 0);

        for (int n = 1; n <= ModOmla::BookSize; ++n)
            ModOmla::ClientBook.setEntry(n, {QStringLiteral("x"), {}, QString::number(n)});
        Dialogs::clearShown();
        Dialogs::setNextInput(QStringLiteral("0101"));
        Dialogs::setNextInput(QStringLiteral("Late"));
        w.mnuAddNewAmil->trigger();
        QCOMPARE(Dialogs::shown().size(), size_t(3));
        QVERIFY(Dialogs::shown()[2].text.contains(QStringLiteral("ممتلئ")));
        QCOMPARE(ModOmla::ClientNameByTel(QStringLiteral("0101")), QString());
    }
};

QTEST_MAIN(TestFormBuyCollect)
#include "test_formbuycollect.moc"
