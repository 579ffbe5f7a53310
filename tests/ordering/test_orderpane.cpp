// The order pane and its statements without a screen: what is sent to the server and what the
// pane then shows.
#include "TestDb.h"
#include "data/Clock.h"
#include "data/AppGlobals.h"
#include "data/FlexGrid.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/Catalogue.h"
#include "ordering/MyOrdersList.h"
#include "ordering/OrderPane.h"
#include "ui/FLXMod.h"

#include <QSet>

#include <QtTest>

class TestOrderPane : public QObject {
    Q_OBJECT

    QStringList messages;
    QList<bool> answers;
    QStringList inputs;

    OrderPane::Prompts prompts() {
        return {[this](const QString& t) { messages << t; },
                [this](const QString&, bool) { return answers.isEmpty() ? false : answers.takeFirst(); },
                [this](const QString&) { return inputs.isEmpty() ? QString() : inputs.takeFirst(); }};
    }

private slots:
    void initTestCase_data() { TestDb::addBackendRows(); }
    void init() {
        TESTDB_INIT();
        QVERIFY(ModSQL::ConnectServer()); // the editor has connected by loading its catalogue
        AppGlobals::reset();
        messages.clear();
        answers.clear();
        inputs.clear();
    }

    void statementsQuoteEveryValue() {
        QCOMPARE(OrderStatements::Insert(QStringLiteral("1'"), QStringLiteral("01'"), QStringLiteral("a'b"),
                                         QStringLiteral("m"), QStringLiteral("260101"),
                                         QStringLiteral("000001")),
                 QStringLiteral(
                     "INSERT INTO bown2 (orderid,tel,markaz,mohafaza,date,timee) SELECT '1''','01''','a''b',"
                     "'m','260101','000001' WHERE NOT EXISTS (SELECT orderid FROM bown2 WHERE orderid = '1''')"));
        QCOMPARE(OrderStatements::Show(QStringLiteral("x'y"), QStringLiteral("0'1")),
                 QStringLiteral("select *  from bown2 where orderid = 'x''y' AND tel = '0''1' ;"));
        QCOMPARE(OrderStatements::Send(QStringLiteral("x'y"), QStringLiteral("0'1")),
                 QStringLiteral(" UPDATE bown2  SET  submitted = '101'  WHERE orderid='x''y' AND tel = '0''1' AND (submitted IS NULL OR submitted <> '101');"));
        QCOMPARE(OrderStatements::DeleteWhere(QStringLiteral("x'y"), QStringLiteral("0'1")),
                 QStringLiteral(" orderid = 'x''y' AND tel = '0''1' AND (submitted IS NULL OR submitted <> '101'); "));
        QCOMPARE(OrderStatements::Made({QStringLiteral("0'1"), QStringLiteral("x'y"), QStringLiteral("260101"), QStringLiteral("000001")}),
                 QStringLiteral("select orderid from bown2 where orderid = 'x''y' AND tel = '0''1' AND date = '260101' AND timee = '000001' ;"));
        QCOMPARE(MyOrdersList::Statement(QStringLiteral("0'1")),
                 QStringLiteral("SELECT * FROM bown2 WHERE TEL ='0''1'"));
    }

    void loginValuesWithApostrophesReachTheServerIntact() {
        AppGlobals::LoginTel = QStringLiteral("01'23");
        AppGlobals::LoginMarkaz = QStringLiteral("كفر الشيخ'");
        FlexGrid lines(101, 5);
        OrderPane pane(lines, prompts());
        Clock::set([] { return QDateTime(QDate(2031, 12, 31), QTime(23, 59, 59)); });
        answers << true;
        pane.NewOrder();
        QVERIFY(messages.isEmpty());
        QCOMPARE(AppGlobals::CurrentOrderId, QStringLiteral("311231235959"));
        QCOMPARE(TestDb::rows(QStringLiteral("select tel, markaz, date, timee from bown2")),
                 (QList<QStringList>{{QStringLiteral("01'23"), QStringLiteral("كفر الشيخ'"),
                                      QStringLiteral("311231"), QStringLiteral("235959")}}));
        QCOMPARE(pane.labels().tel, QStringLiteral("01'23"));
        FlexGrid list;
        QVERIFY(MyOrdersList::Load(list, AppGlobals::LoginTel));
        QCOMPARE(list.Rows(), 2);
        QCOMPARE(*MyOrdersList::OrderAt(list, 1), QStringLiteral("311231235959"));
    }

    // Older copies gave one id to two pharmacies: each is shown its own row and the store reaches it
    // alone; of one pharmacy's two rows the first delivered is shown.
    void severalRowsWithOneIdShowTheFirstDelivered() {
        QVERIFY(TestDb::exec(QStringLiteral("DROP INDEX bown2_orderid"))); // a server made before the key
        QVERIFY(TestDb::exec(
            QStringLiteral("INSERT INTO bown2 (drug,orderid,submitted,tel) VALUES('^A|1|1|0|','7',101,'01')")));
        QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO bown2 (drug,orderid,tel) VALUES('^B|1|1|0|','7','01')")));
        QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO bown2 (drug,orderid,tel) VALUES('^C|1|1|0|','7','02')")));
        AppGlobals::LoginTel = QStringLiteral("02");
        FlexGrid lines(101, 5);
        OrderPane pane(lines, prompts());
        QVERIFY(pane.ShowMyList(QStringLiteral("7")));
        QCOMPARE(lines.TextMatrix(1, 0), QStringLiteral("C"));
        inputs << QStringLiteral("5");
        pane.LinesClick(1, 1);
        QCOMPARE(TestDb::scalar(QStringLiteral("select count(*) from bown2 where drug like '%|5|%'")), QStringLiteral("1"));
        QCOMPARE(TestDb::scalar(QStringLiteral("select drug from bown2 where drug like '%|5|%'")).left(4), QStringLiteral("^C|5"));
        AppGlobals::LoginTel = QStringLiteral("01");
        const QString first =
            TestDb::rows(QStringLiteral("select drug from bown2 where orderid = '7' and tel = '01'")).value(0).value(0);
        QVERIFY(pane.ShowMyList(QStringLiteral("7")));
        QCOMPARE(QStringLiteral("^") + lines.TextMatrix(1, 0) + QStringLiteral("|1|1|0|"), first);
        QVERIFY(!pane.ShowMyList(QStringLiteral("8")));
        QCOMPARE(pane.labels().orderId, QString());
        QCOMPARE(pane.labels().cash, QStringLiteral("0"));
        QCOMPARE(lines.Rows(), 101);
    }

    void ordersOfOthersNeverListedAndNewestDeliveredOnTop() {
        for (int i = 1; i <= 3; ++i)
            QVERIFY(TestDb::exec(
                QStringLiteral("INSERT INTO bown2 (orderid,tel) VALUES('%1','01011111111')").arg(i)));
        QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO bown2 (orderid,tel) VALUES('9','01022222222')")));
        FlexGrid list;
        QVERIFY(MyOrdersList::Load(list, QStringLiteral("01011111111")));
        QCOMPARE(list.Rows(), 4);
        QStringList delivered;
        for (const QStringList& r :
             TestDb::rows(QStringLiteral("select orderid from bown2 where tel='01011111111'")))
            delivered << r.value(0);
        QStringList shown;
        for (int r = list.Rows() - 1; r >= 1; --r)
            shown << list.TextMatrix(r, 1);
        QCOMPARE(shown, delivered);
        QCOMPARE(list.TextMatrix(0, 4), QStringLiteral("التلفون"));
        QCOMPARE(list.TextMatrix(0, 0), QString());
        QCOMPARE(list.TextMatrix(0, 8), QString());
        QVERIFY(!MyOrdersList::OrderAt(list, 0));
        QVERIFY(!MyOrdersList::OrderAt(list, 4));
    }

    void searchRecoloursOnlyTheRowsItMarks() {
        FlexGrid cat;
        std::vector<QStringList> rows;
        for (int i = 0; i < 500; ++i)
            rows.push_back({QStringLiteral("Drug %1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("1"),
                            QStringLiteral("0"), QStringLiteral("=>")});
        cat.loadReversed(4, std::move(rows));
        cat.setForeColor(Catalogue::TextColor);
        FLXMod::FlexSort(cat, 0, QStringLiteral("AZ"));
        Catalogue::Search search;
        QSet<int> touched;
        connect(&cat, &QAbstractItemModel::dataChanged, this,
                [&](const QModelIndex& a, const QModelIndex& b) {
                    for (int r = a.row(); r <= b.row(); ++r)
                        touched.insert(r + 1);
                });
        QCOMPARE(search.TextSearch_Change(cat, QStringLiteral("drug 12")),
                 130); // Drug 129 is the last "drug 12*"
        QCOMPARE(search.TextSearch_Change(cat, QStringLiteral("drug 120")), 121);
        QCOMPARE(search.TextSearch_Change(cat, QStringLiteral("drug 9")), 0);
        QCOMPARE(search.TextSearch_Change(cat, QString()), 0);
        QCOMPARE(touched, (QSet<int>{130, 121}));
        for (int r = 1; r < cat.Rows(); ++r)
            QCOMPARE(cat.cellForeColor(r, 0), Catalogue::TextColor);
    }
};

QTEST_MAIN(TestOrderPane)
#include "test_orderpane.moc"
