// Every window's work against a real server whose sessions are killed or which stops and comes
// back: the user is told, the window goes on showing what the server holds, the next action after
// the server is back works, and the rows on the server are whole.
#include "OrderEditorDriver.h"
#include "OrderRows.h"
#include "OwnCluster.h"
#include "data/Clock.h"
#include "ordering/OrderPaneTexts.h"
#include "app/AppStart.h"
#include "app/FormMain.h"
#include "app/FormMainTexts.h"
#include "app/ModSmarterControl.h"
#include "catalogue/DrugsCatalogue.h"
#include "catalogue/FormDrugsEditor.h"
#include "collection/BuyCollectCore.h"
#include "collection/FormBuyCollect.h"
#include "collection/FormBuyCollectTexts.h"
#include "collection/ModOmla.h"
#include "data/AppGlobals.h"
#include "data/EmbeddedDatabase.h"
#include "data/FieldText.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/FFFMyOrders.h"
#include "ordering/FormUserBuy.h"
#include "ordering/OrderLines.h"
#include "ordering/OrderPane.h"
#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"

#include <QApplication>
#include <QLabel>
#include <QSqlError>
#include <QSqlRecord>
#include <QTimer>
#include <QtTest>

namespace {
const QString Db = QStringLiteral("wfaults");
const QString Tel = QStringLiteral("01012345678");
const QDateTime At(QDate(2024, 5, 6), QTime(10, 20, 30));

using OrderRows::stored;
using OrderEditorDriver::add;
using OrderEditorDriver::editorWithOrder;

enum class Fault { KilledSession, StoppedServer };
} // namespace
Q_DECLARE_METATYPE(Fault)

class TestWindowFaults : public QObject {
    Q_OBJECT
    OwnCluster m_cluster;
    bool m_serverUp = false;
    int m_injected = 0;
    int m_survived = 0;

    // A fresh session per look, so what the test reads never rides on the program's connection.
    QList<QStringList> rows(const QString& sql) {
        QList<QStringList> out;
        {
            QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("inspect"));
            d.setDatabaseName(m_cluster.connectionString(Db));
            if (d.open()) {
                QSqlQuery q(d);
                if (!q.exec(sql))
                    qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
                while (q.isSelect() && q.next()) {
                    QStringList r;
                    for (int i = 0; i < q.record().count(); ++i)
                        r << FieldText(q.value(i));
                    out << r;
                }
            } else {
                qWarning("inspect: %s", qPrintable(d.lastError().text()));
            }
            d.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("inspect"));
        return out;
    }
    QString scalar(const QString& sql) {
        const auto r = rows(sql);
        return r.isEmpty() || r.first().isEmpty() ? QString() : r.first().first();
    }
    QString lines(const QString& id) {
        return scalar(QStringLiteral("SELECT drug FROM bown2 WHERE orderid = '%1'").arg(id));
    }
    int orderCount() { return scalar(QStringLiteral("SELECT COUNT(*) FROM bown2")).toInt(); }

    void inject() {
        QFETCH(Fault, fault);
        ++m_injected;
        Dialogs::clearShown();
        if (fault == Fault::KilledSession) {
            QCOMPARE(m_cluster.terminateSessionsOf(Db), 1);
        } else {
            QVERIFY(m_cluster.stop());
            m_serverUp = false;
        }
    }
    void recover() {
        if (!m_serverUp) {
            QVERIFY(m_cluster.restart());
            m_serverUp = true;
        }
        Dialogs::clearShown();
    }
    // The user was told, exactly once per failed action.
    void told(int expected = 1) {
        QVERIFY2(Dialogs::shownTexts().size() == expected, qPrintable(Dialogs::shownTexts().join(u'/')));
        for (const QString& t : Dialogs::shownTexts())
            QVERIFY(!t.trimmed().isEmpty());
    }
    // After recovery the next action ran without a word.
    void quiet() { QVERIFY2(Dialogs::shownTexts().isEmpty(), qPrintable(Dialogs::shownTexts().join(u'/'))); }

    // Nothing half written: every lines text is whole, every order keeps its id and phone.
    void serverRowsAreWhole() {
        for (const QStringList& r : rows(QStringLiteral("SELECT drug, orderid, tel FROM bown2"))) {
            if (!r[0].isEmpty()) {
                QCOMPARE(int(OrderLines::Decode(r[0]).size()), OrderLines::Slots);
                QCOMPARE(OrderLines::Encode(OrderLines::Decode(r[0])), r[0]);
            }
            QCOMPARE(r[1].size(), 12);
            QCOMPARE(r[2], Tel);
        }
    }

    // The order the pane shows is the server's row, line for line.
    void paneShowsServer(FormUserBuy& w) {
        const QString id = w.LLLOrderID->text();
        QVERIFY(!id.isEmpty());
        QCOMPARE(OrderLines::EncodeGrid(w.Xxx2->grid()), OrderLines::Encode(OrderLines::Decode(lines(id))));
        QCOMPARE(w.LLLSubmitted->text(),
                 scalar(QStringLiteral("SELECT submitted FROM bown2 WHERE orderid = '%1'").arg(id)));
    }

    void addOrder(const QString& id, double date, const QStringList& filled, const QString& submitted = {}) {
        rows(OrderRows::insertSql(
            {id, QString::number(date, 'f', 0), Tel, QStringLiteral("Disouq"), submitted, stored(filled), "102030"}));
    }

    static void faultRows() {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("killed session") << Fault::KilledSession;
        QTest::newRow("stopped server") << Fault::StoppedServer;
    }

private slots:
    void initTestCase() {
        Dialogs::setTestMode(true);
        // The program's own handling of a lost server after start-up: a message, the run goes on.
        AppStart::startupFinished();
        AppStart::installConnectHooks();
        QVERIFY(m_cluster.start());
        m_serverUp = true;
        {
            QSqlDatabase a = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("setup"));
            a.setDatabaseName(m_cluster.connectionString(QStringLiteral("postgres")));
            QVERIFY2(a.open(), qPrintable(a.lastError().text()));
            QSqlQuery(a).exec(QStringLiteral("CREATE DATABASE ") + Db + QStringLiteral(" ENCODING 'UTF8'"));
            a.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));
        QFile::remove(ModOmla::BookPath());
        ModOmla::ClientBook.clear();
        ModOmla::LoadClientBook();
        Clock::set([] { return At; });
    }
    void cleanupTestCase() {
        ServerConnection::instance().Close();
        m_cluster.destroy();
        qInfo("faults injected: %d, survived: %d", m_injected, m_survived);
    }
    void init() {
        if (!m_serverUp) {
            QVERIFY(m_cluster.restart());
            m_serverUp = true;
        }
        for (const char* t : {"bown2", "bowndrugs", "smartertable"})
            rows(QStringLiteral("DROP TABLE IF EXISTS %1").arg(QLatin1String(t)));
        for (const QString& s : EmbeddedDatabase::schemaStatements(QStringLiteral("postgresql")))
            rows(s);
        rows(QStringLiteral(
            "INSERT INTO bowndrugs (drug,price,disc,lastdate) VALUES ('Panadol',10,10,'240101'),"
            "('Brufen',5,20,'240101'),('Congestal',7.5,15,'240101')"));
        ServerConnection::instance().configure({QStringLiteral("QODBC"), m_cluster.connectionString(Db), 3});
        QVERIFY(ModSQL::ConnectServer());
        OrderEditorDriver::logIn(Tel, QStringLiteral("Disouq"));
        Dialogs::clearAnswers();
        Dialogs::clearShown();
    }
    void cleanup() {
        if (!QTest::currentTestFailed())
            ++m_survived;
    }

    // A lost server closes the gates with the server's message, never with the version message.
    void gatesUnderALostServer_data() { faultRows(); }
    void gatesUnderALostServer() {
        AppGlobals::LoginTel = QStringLiteral("01000000000");
        rows(QStringLiteral("INSERT INTO smartertable (appname,appversion,appmsg,appadminpassword) "
                            "VALUES ('BRENTOVAL','9.00','','01000000000')"));
        QStringList opened;
        FormMain m({[&](QWidget*) { opened << "order"; }, [&](QWidget*) { opened << "drugs"; },
                    [&](QWidget*) { opened << "collected"; }, [&](QWidget*) { opened << "purchase"; }});
        inject();
        m.Command3_Click();
        QVERIFY(opened.isEmpty());
        told();
        QVERIFY(Dialogs::shownTexts().first().startsWith(FormMainTexts::ServerMessage));
        recover();
        m.Command3_Click();
        QCOMPARE(opened, QStringList{"order"});
        inject();
        m.mnuDruEdit_Click();
        QCOMPARE(opened, QStringList{"order"});
        told();
        QVERIFY(Dialogs::shownTexts().first() != FormMainTexts::VersionMessage);
        recover();
        m.mnuBuyReport_Click();
        QCOMPARE(opened, (QStringList{"order", "collected"}));
        quiet();
    }

    void catalogueLoad_data() { faultRows(); }
    void catalogueLoad() {
        inject();
        FormUserBuy w;
        told();
        QCOMPARE(w.Xxx1->grid().TextMatrix(1, 0), QString()); // nothing half read
        recover();
        // Opening the editor again reads the whole catalogue; the earlier window goes on working.
        FormUserBuy again;
        QCOMPARE(again.Xxx1->grid().Rows(), 4);
        OrderEditorDriver::newOrder(w);
        QCOMPARE(Dialogs::shownTexts(), QStringList{OrderPaneTexts::AskNewOrder});
        QCOMPARE(orderCount(), 1);
        paneShowsServer(w);
        serverRowsAreWhole();
    }

    void newOrder_data() { faultRows(); }
    void newOrder() {
        auto w = editorWithOrder(At);
        const QString first = w->LLLOrderID->text();
        inject();
        OrderEditorDriver::newOrder(*w);
        const QStringList said = Dialogs::shownTexts();
        recover();
        paneShowsServer(*w);
        // The session dies at the check for a free id: no order may be made on a guess, since the
        // reconnected insert could take the id of one made in the same second.
        QCOMPARE(orderCount(), 1);
        QCOMPARE(said, (QStringList{OrderPaneTexts::AskNewOrder,
                                     OrderPaneTexts::NotSaved + u'\n' + OrderPaneTexts::ShownNow.arg(first)}));
        QCOMPARE(w->LLLOrderID->text(), first);
        QCOMPARE(AppGlobals::CurrentOrderId, first);
        OrderEditorDriver::newOrder(*w);
        QCOMPARE(Dialogs::shownTexts(), QStringList{OrderPaneTexts::AskNewOrder});
        QCOMPARE(orderCount(), 2);
        QCOMPARE(scalar(QStringLiteral("SELECT COUNT(DISTINCT orderid) FROM bown2")), QStringLiteral("2"));
        QVERIFY(w->LLLOrderID->text() != first);
        QCOMPARE(lines(first), stored({QStringLiteral("^Panadol|2|10|10|")})); // the first order is kept
        paneShowsServer(*w);
        serverRowsAreWhole();
    }

    void addLine_data() { faultRows(); }
    void addLine() {
        auto w = editorWithOrder(At);
        inject();
        add(*w, QStringLiteral("Brufen"), QStringLiteral("3"));
        told();
        QCOMPARE(w->Xxx2->grid().TextMatrix(2, 0), QString());
        QCOMPARE(w->LLLNaqdyValue->text(), QStringLiteral("18"));
        recover();
        paneShowsServer(*w);
        add(*w, QStringLiteral("Brufen"), QStringLiteral("3"));
        quiet();
        QCOMPARE(lines(w->LLLOrderID->text()),
                 stored({QStringLiteral("^Panadol|2|10|10|"), QStringLiteral("^Brufen|3|5|20|")}));
        paneShowsServer(*w);
        serverRowsAreWhole();
    }

    void removeLine_data() { faultRows(); }
    void removeLine() {
        auto w = editorWithOrder(At);
        add(*w, QStringLiteral("Brufen"), QStringLiteral("3"));
        inject();
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w->Xxx2->clickCell(1, 4);
        told(2); // the question, then what became of it
        QCOMPARE(w->Xxx2->grid().TextMatrix(1, 0), QStringLiteral("Panadol"));
        QCOMPARE(w->Xxx2->grid().TextMatrix(2, 0), QStringLiteral("Brufen"));
        recover();
        paneShowsServer(*w);
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w->Xxx2->clickCell(1, 4);
        QCOMPARE(Dialogs::shownTexts(), QStringList{OrderPaneTexts::AskRemoveLine});
        QCOMPARE(lines(w->LLLOrderID->text()), stored({QStringLiteral("^Brufen|3|5|20|")}));
        paneShowsServer(*w);
        serverRowsAreWhole();
    }

    void changeQuantity_data() { faultRows(); }
    void changeQuantity() {
        auto w = editorWithOrder(At);
        inject();
        Dialogs::setNextInput(QStringLiteral("9"));
        w->Xxx2->clickCell(1, 1);
        told();
        QCOMPARE(w->Xxx2->grid().TextMatrix(1, 1), QStringLiteral("2"));
        recover();
        paneShowsServer(*w);
        Dialogs::setNextInput(QStringLiteral("9"));
        w->Xxx2->clickCell(1, 1);
        quiet();
        QCOMPARE(lines(w->LLLOrderID->text()), stored({QStringLiteral("^Panadol|9|10|10|")}));
        paneShowsServer(*w);
        serverRowsAreWhole();
    }

    void send_data() { faultRows(); }
    void send() {
        auto w = editorWithOrder(At);
        inject();
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w->ButonWebSendToPrepare_Click();
        told(2);
        QCOMPARE(w->LLLSubmitted->text(), QString());
        recover();
        paneShowsServer(*w);
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w->ButonWebSendToPrepare_Click();
        QCOMPARE(Dialogs::shownTexts(), QStringList{OrderPaneTexts::AskSend});
        QCOMPARE(w->LLLSubmitted->text(), QStringLiteral("101"));
        paneShowsServer(*w);
        // A sent order keeps its lines.
        QCOMPARE(lines(w->LLLOrderID->text()), stored({QStringLiteral("^Panadol|2|10|10|")}));
        serverRowsAreWhole();
    }

    void deleteOrder_data() { faultRows(); }
    void deleteOrder() {
        auto w = editorWithOrder(At);
        const QString id = w->LLLOrderID->text();
        inject();
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w->ButonWeb1_Click();
        told(2);
        QCOMPARE(w->LLLOrderID->text(), id);
        QCOMPARE(w->Xxx2->grid().TextMatrix(1, 0), QStringLiteral("Panadol"));
        recover();
        QCOMPARE(orderCount(), 1); // not lost
        paneShowsServer(*w);
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w->ButonWeb1_Click();
        QCOMPARE(Dialogs::shownTexts(), QStringList{OrderPaneTexts::AskDeleteOrder});
        QCOMPARE(orderCount(), 0);
        QCOMPARE(w->LLLOrderID->text(), QString());
    }

    void recall_data() { faultRows(); }
    void recall() {
        addOrder(QStringLiteral("240101101010"), 240101, {QStringLiteral("^Brufen|4|5|20|")});
        auto w = editorWithOrder(At);
        const QString shown = w->LLLOrderID->text();
        // Picks the older order in the list when it lists anything, else closes it.
        auto pickOlder = [] {
            auto* list = qobject_cast<FFFMyOrders*>(QApplication::activeModalWidget());
            if (!list)
                return;
            const int row = FLXMod::FlexFindText(list->XXX->grid(), QStringLiteral("240101101010"), 1);
            if (row > 0)
                list->XXX->clickCell(row, 1);
            else
                list->reject();
        };
        inject();
        QTimer::singleShot(0, pickOlder);
        w->ButonWebCallOrder_Click();
        // The list could not be read; a stopped server cannot give the order again either.
        QVERIFY(!Dialogs::shownTexts().isEmpty());
        QVERIFY(Dialogs::shownTexts().size() <= 2);
        QCOMPARE(w->LLLOrderID->text(), shown);
        QCOMPARE(w->Xxx2->grid().TextMatrix(1, 0), QStringLiteral("Panadol"));
        recover();
        paneShowsServer(*w);
        QTimer::singleShot(0, pickOlder);
        w->ButonWebCallOrder_Click();
        quiet();
        QCOMPARE(w->LLLOrderID->text(), QStringLiteral("240101101010"));
        paneShowsServer(*w);
        QCOMPARE(orderCount(), 2);
        serverRowsAreWhole();
    }

    void collectedLoad_data() { faultRows(); }
    void collectedLoad() {
        addOrder(QStringLiteral("240101101010"), 240101, {QStringLiteral("^Brufen|4|5|20|")});
        inject();
        FormBuyCollect w;
        told();
        QCOMPARE(w.XXX->grid().TextMatrix(1, BuyCollect::OrderIdColumn), QString());
        recover();
        FormBuyCollect again;
        quiet();
        QCOMPARE(again.XXX->grid().Rows(), 2);
        QCOMPARE(again.XXX->grid().TextMatrix(1, BuyCollect::OrderIdColumn), QStringLiteral("240101101010"));
        // The window that failed is usable: a click on its empty list reads nothing harmful.
        w.XXX->clickCell(0, 1);
        QCOMPARE(w.LLLOrderID->text(), QString());
    }

    void collectedClick_data() { faultRows(); }
    void collectedClick() {
        addOrder(QStringLiteral("240101101010"), 240101, {QStringLiteral("^Brufen|4|5|20|")});
        addOrder(QStringLiteral("240202101010"), 240202, {QStringLiteral("^Panadol|2|10|10|")},
                 QStringLiteral("101"));
        FormBuyCollect w;
        QCOMPARE(w.XXX->grid().Rows(), 3);
        w.XXX->clickCell(1, 1); // newest first
        QCOMPARE(w.LLLOrderID->text(), QStringLiteral("240202101010"));
        inject();
        w.XXX->clickCell(2, 1);
        told();
        // Still the order read last, as the server holds it.
        QCOMPARE(w.LLLOrderID->text(), QStringLiteral("240202101010"));
        QCOMPARE(w.Xxx2->grid().TextMatrix(1, 0), QStringLiteral("Panadol"));
        recover();
        w.XXX->clickCell(2, 1);
        quiet();
        QCOMPARE(w.LLLOrderID->text(), QStringLiteral("240101101010"));
        QCOMPARE(w.Xxx2->grid().TextMatrix(1, 0), QStringLiteral("Brufen"));
        QCOMPARE(w.LLLNaqdyValue->text(), QStringLiteral("16"));
        QCOMPARE(OrderLines::EncodeGrid(w.Xxx2->grid()), lines(QStringLiteral("240101101010")));
    }

    void collectedDelete_data() { faultRows(); }
    void collectedDelete() {
        addOrder(QStringLiteral("231001101010"), 231001, {QStringLiteral("^Brufen|4|5|20|")});
        addOrder(QStringLiteral("240501101010"), 240501, {QStringLiteral("^Panadol|2|10|10|")});
        FormBuyCollect w;
        QCOMPARE(w.XXX->grid().Rows(), 3);
        inject();
        Dialogs::setNextInput(QStringLiteral("60"));
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w.mnuDeletOlderThan_Click();
        told(2); // the question, then the failure
        QCOMPARE(w.XXX->grid().Rows(), 3);
        recover();
        QCOMPARE(orderCount(), 2);
        Dialogs::setNextInput(QStringLiteral("60"));
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w.mnuDeletOlderThan_Click();
        QCOMPARE(Dialogs::shownTexts(), QStringList{FormBuyCollectTexts::ConfirmDelete});
        QCOMPARE(orderCount(), 1);
        QCOMPARE(w.XXX->grid().Rows(), 2);
        QCOMPARE(w.XXX->grid().TextMatrix(1, BuyCollect::OrderIdColumn), QStringLiteral("240501101010"));
        serverRowsAreWhole();
    }

    void catalogueEdits_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<bool>("rename");
        QTest::newRow("discount, killed session") << Fault::KilledSession << false;
        QTest::newRow("discount, stopped server") << Fault::StoppedServer << false;
        QTest::newRow("rename, killed session") << Fault::KilledSession << true;
        QTest::newRow("rename, stopped server") << Fault::StoppedServer << true;
    }
    void catalogueEdits() {
        QFETCH(bool, rename);
        FormDrugsEditor w;
        Clock::set([] { return At; });
        FlexGrid& g = w.Xxx1->grid();
        const auto dump = [this] {
            return rows(QStringLiteral(
                "SELECT drug, price, disc, lastdate, highistdiskout FROM bowndrugs ORDER BY drug"));
        };
        const auto before = dump();
        const auto edit = [&] {
            w.Xxx1->clickCell(FLXMod::FlexFindText(g, QStringLiteral("Panadol"), DrugsCatalogue::ColName),
                              DrugsCatalogue::ColName);
            QCOMPARE(w.LLLDrug->text(), QStringLiteral("Panadol"));
            Dialogs::setNextInput(rename ? QStringLiteral("Panadol Extra") : QStringLiteral("30"));
            if (rename)
                w.EditChangeName_Click();
            else
                w.Command1_Click();
        };
        inject();
        edit();
        QVERIFY(!Dialogs::shownTexts().isEmpty());
        recover();
        QCOMPARE(dump(), before);
        // The grid still lists the catalogue as the server holds it.
        QCOMPARE(g.Rows(), 4);
        QVERIFY(FLXMod::FlexFindText(g, QStringLiteral("Panadol"), DrugsCatalogue::ColName) > 0);
        QCOMPARE(w.LLLDrug->text(), QStringLiteral("Panadol"));
        edit();
        quiet();
        if (rename) {
            QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM bowndrugs WHERE drug = 'Panadol Extra'")),
                     QStringLiteral("1"));
            QCOMPARE(w.LLLDrug->text(), QStringLiteral("Panadol Extra"));
        } else {
            QCOMPARE(scalar(QStringLiteral("SELECT highistdiskout FROM bowndrugs WHERE drug = 'Panadol'")),
                     QStringLiteral("30"));
        }
        QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM bowndrugs")), QStringLiteral("3"));
        QCOMPARE(g.Rows(), 4);
    }
};

QTEST_MAIN(TestWindowFaults)
#include "test_window_faults.moc"
