// The control row readers and the gates in front of the working windows, on both backends.
#include "TestDb.h"
#include "WindowCaseTest.h"
#include "app/FormMain.h"
#include "app/FormMainTexts.h"
#include "app/ModSmarterControl.h"
#include "data/AppGlobals.h"
#include "data/ServerConnection.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

namespace {
const QString Query = QStringLiteral("SELECT * FROM smartertable WHERE  appname ='BRENTOVAL' ");
const QString VersionMsg = QStringLiteral("يوجد نسخة احدث برجاء تحديث البرنامج");

// Which opener ran, and over which window.
struct Opened {
    QStringList names;
    QList<QWidget*> parents;
    FormMainOpeners openers() {
        auto rec = [this](const QString& n) {
            return [this, n](QWidget* p) {
                names << n;
                parents << p;
            };
        };
        return {rec(QStringLiteral("order")), rec(QStringLiteral("drugs")), rec(QStringLiteral("collected")),
                rec(QStringLiteral("purchase"))};
    }
};
} // namespace

class TestControlRecord : public WindowCaseTest {
    Q_OBJECT
private slots:

    void readersSendTheExactQuery() {
        QVERIFY(TestDb::setControl(QStringLiteral("appmsg"), QStringLiteral("اهلا بكم")));
        QCOMPARE(ModSmarterControl::ReadAppMessage(QStringLiteral("BRENTOVAL")).value, QStringLiteral("اهلا بكم"));
        QCOMPARE(ModSmarterControl::ReadAppVersion(QStringLiteral("BRENTOVAL")).value, QStringLiteral("9.00"));
        QCOMPARE(ModSmarterControl::ReadAdminPassword(QStringLiteral("BRENTOVAL")).value, TestDb::ManagerPhone);
        QCOMPARE(ServerConnection::instance().executedStatements(), QStringList({Query, Query, Query}));
        QVERIFY(TestDb::fatalErrors().isEmpty());
    }

    void nullEmptyAndMissingReadEmpty() {
        QVERIFY(TestDb::setControl(QStringLiteral("appmsg"), QString()));
        QVERIFY(TestDb::setControl(QStringLiteral("appversion"), QStringLiteral("")));
        QCOMPARE(ModSmarterControl::ReadAppMessage(AppGlobals::AppKey).value, QString());
        QCOMPARE(ModSmarterControl::ReadAppVersion(AppGlobals::AppKey).value, QString());
        QCOMPARE(ModSmarterControl::ReadAdminPassword(AppGlobals::AppKey).value, TestDb::ManagerPhone);
        // Another key, or one with an apostrophe, finds no row and reads empty without failing.
        QCOMPARE(ModSmarterControl::ReadAdminPassword(QStringLiteral("OTHERAPP")).value, QString());
        QCOMPARE(ModSmarterControl::ReadAdminPassword(QStringLiteral("BRENTO'VAL")).value, QString());
        QCOMPARE(ServerConnection::instance().executedStatements().last(),
                 QStringLiteral("SELECT * FROM smartertable WHERE  appname ='BRENTO''VAL' "));
        QVERIFY(TestDb::exec(QStringLiteral("DELETE FROM smartertable")));
        QCOMPARE(ModSmarterControl::ReadAppMessage(AppGlobals::AppKey).value, QString());
        QCOMPARE(ModSmarterControl::ReadAppVersion(AppGlobals::AppKey).value, QString());
        QCOMPARE(ModSmarterControl::ReadAdminPassword(AppGlobals::AppKey).value, QString());
        QVERIFY(TestDb::fatalErrors().isEmpty());
    }

    // A server that cannot answer is not an empty value: no gate reads it as an old version.
    void aFailedReadIsAServerFailure() {
        QVERIFY(TestDb::exec(QStringLiteral("DROP TABLE smartertable")));
        const ModSmarterControl::ControlValue v = ModSmarterControl::ReadAppVersion(AppGlobals::AppKey);
        QVERIFY(v.failed);
        QVERIFY(!v.error.isEmpty());
        AppGlobals::LoginTel = TestDb::ManagerPhone;
        QCOMPARE(ModSmarterControl::VersionGate().gate, ModSmarterControl::Gate::ServerFailed);
        QCOMPARE(ModSmarterControl::ManagementGate().gate, ModSmarterControl::Gate::ServerFailed);
        Opened opened;
        FormMain m(opened.openers());
        m.Command3->setEnabled(true);
        Dialogs::clearShown();
        QTest::mouseClick(m.Command3, Qt::LeftButton);
        m.mnuDruEdit->trigger();
        QVERIFY(opened.names.isEmpty());
        QCOMPARE(Dialogs::shownTexts().size(), 2);
        for (const QString& t : Dialogs::shownTexts()) {
            QVERIFY(t.startsWith(FormMainTexts::ServerMessage));
            QVERIFY(t.contains(v.error));
        }
    }

    void versionGate_data() {
        QTest::addColumn<QString>("stored"); // a null QString stores NULL
        QTest::addColumn<bool>("passes");
        QTest::newRow("exact") << "9.00" << true;
        QTest::newRow("one digit fewer") << "9.0" << false;
        QTest::newRow("trailing blank") << "9.00 " << false;
        QTest::newRow("leading blank") << " 9.00" << false;
        QTest::newRow("newer") << "9.01" << false;
        QTest::newRow("same number other text") << "9" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("null") << QString() << false;
    }
    void versionGate() {
        QFETCH(QString, stored);
        QFETCH(bool, passes);
        QVERIFY(TestDb::setControl(QStringLiteral("appversion"), stored));
        QCOMPARE((ModSmarterControl::VersionGate().gate == ModSmarterControl::Gate::Passes), passes);
        QCOMPARE(AppGlobals::AppVersionOnServer, stored.isNull() ? QString() : stored);

        // Through the purchases button of a logged-in pharmacist.
        AppGlobals::LoginTel = QStringLiteral("01012345678");
        Opened opened;
        FormMain m(opened.openers());
        m.Command3->setEnabled(true);
        Dialogs::clearShown();
        QTest::mouseClick(m.Command3, Qt::LeftButton);
        if (passes) {
            QCOMPARE(opened.names, QStringList{"order"});
            QCOMPARE(opened.parents, QList<QWidget*>{&m});
            QVERIFY(Dialogs::shownTexts().isEmpty());
        } else {
            QVERIFY(opened.names.isEmpty());
            QCOMPARE(Dialogs::shownTexts(), QStringList{VersionMsg});
        }
        // The management items are stopped by the version first, even for the manager.
        AppGlobals::LoginTel = TestDb::ManagerPhone;
        opened.names.clear();
        Dialogs::clearShown();
        m.mnuDruEdit->trigger();
        m.mnuBuyReport->trigger();
        if (passes) {
            QCOMPARE(opened.names, QStringList({"drugs", "collected"}));
            QVERIFY(Dialogs::shownTexts().isEmpty());
        } else {
            QVERIFY(opened.names.isEmpty());
            QCOMPARE(Dialogs::shownTexts(), QStringList({VersionMsg, VersionMsg}));
        }
    }

    void purchasesNeedALogin() {
        Opened opened;
        FormMain m(opened.openers());
        m.Command3_Click();
        QVERIFY(opened.names.isEmpty());
        QCOMPARE(Dialogs::shownTexts(), QStringList{"سجل دخولك اولا"});
        // The version is read before the login is looked at.
        QCOMPARE(ServerConnection::instance().executedStatements(), QStringList{Query});
    }

    void managementGate_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("loginTel");
        QTest::addColumn<bool>("opens");
        QTest::newRow("manager") << TestDb::ManagerPhone << TestDb::ManagerPhone << true;
        QTest::newRow("other phone") << TestDb::ManagerPhone << "01099999999" << false;
        QTest::newRow("manager with trailing blank stored")
            << TestDb::ManagerPhone + " " << TestDb::ManagerPhone << false;
        QTest::newRow("not logged in") << TestDb::ManagerPhone << "" << false;
        QTest::newRow("empty stored, logged in") << ""
                                                 << "01099999999" << false;
        QTest::newRow("both empty") << ""
                                    << "" << false;
        QTest::newRow("null stored, not logged in") << QString() << "" << false;
    }
    void managementGate() {
        QFETCH(QString, stored);
        QFETCH(QString, loginTel);
        QFETCH(bool, opens);
        QVERIFY(TestDb::setControl(QStringLiteral("appadminpassword"), stored));
        AppGlobals::LoginTel = loginTel;
        QCOMPARE((ModSmarterControl::ManagementGate().gate == ModSmarterControl::Gate::Passes), opens);
        Opened opened;
        FormMain m(opened.openers());
        ServerConnection::instance().clearExecutedStatements();
        m.mnuDruEdit->trigger();
        QCOMPARE(opened.names, opens ? QStringList{"drugs"} : QStringList{});
        m.mnuBuyReport->trigger();
        QCOMPARE(opened.names, opens ? QStringList({"drugs", "collected"}) : QStringList{});
        // Refused silently; each click reads the version and the value afresh.
        QVERIFY(Dialogs::shownTexts().isEmpty());
        QCOMPARE(ServerConnection::instance().executedStatements(),
                 QStringList({Query, Query, Query, Query}));
    }

    void aServerChangeTakesEffectAtTheNextClick() {
        AppGlobals::LoginTel = QStringLiteral("01055555555");
        Opened opened;
        FormMain m(opened.openers());
        m.mnuBuyReport->trigger();
        QVERIFY(opened.names.isEmpty());
        QVERIFY(TestDb::setControl(QStringLiteral("appadminpassword"), QStringLiteral("01055555555")));
        m.mnuBuyReport->trigger();
        QCOMPARE(opened.names, QStringList{"collected"});
        QVERIFY(TestDb::setControl(QStringLiteral("appversion"), QStringLiteral("9.10")));
        m.mnuBuyReport->trigger();
        QCOMPARE(opened.names, QStringList{"collected"});
        QCOMPARE(AppGlobals::AppVersionOnServer, QStringLiteral("9.10"));
        QCOMPARE(Dialogs::shownTexts(), QStringList{VersionMsg});
    }

    void unsetOpenersOpenNothing() {
        AppGlobals::LoginTel = TestDb::ManagerPhone;
        FormMain m;
        m.Command3_Click();
        m.mnuDruEdit_Click();
        m.mnuBuyReport_Click();
        QVERIFY(Dialogs::shownTexts().isEmpty());
        QCOMPARE(ServerConnection::instance().executedStatements().size(), 5);
    }
};

QTEST_MAIN(TestControlRecord)
#include "test_controlrecord.moc"
