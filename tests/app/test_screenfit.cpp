// Every window inside its screen's available area on 1366×768 and 1920×1080 screens (less the
// taskbar) at 100, 125 and 150 %, each case in a run of this program on such a screen: it shows all
// its content, or it spans the room there is and scrolls.
#include "TestDb.h"
#include "app/FFFLOGIN.h"
#include "app/FormConnection.h"
#include "app/FormMain.h"
#include "app/FormSplash.h"
#include "buying/FormPurchaseOrders.h"
#include "buying/FormWholesalers.h"
#include "catalogue/FormDrugsEditor.h"
#include "collection/FormBuyCollect.h"
#include "collection/ModOmla.h"
#include "demand/FormGroupDemand.h"
#include "ordering/FFFMyOrders.h"
#include "ordering/FormUserBuy.h"
#include "ui/Dialogs.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Screen { int width, height, taskbar; double scale; };
const Screen Screens[] = {{1366, 768, 40, 1}, {1366, 768, 40, 1.25}, {1366, 768, 40, 1.5},
                          {1920, 1080, 48, 1}, {1920, 1080, 48, 1.25}, {1920, 1080, 48, 1.5}};

// Shown over the main window from a place drawn at random; returns the faults found.
int checkWindows(const QString& shots) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    QTemporaryDir book;
    ModOmla::setBookFolder(book.path());
    FormMain owner;
    owner.show();
    const QList<QWidget*> windows{new FormMain, new FFFLOGIN(&owner), new FormSplash, new FormUserBuy(&owner),
                                  new FFFMyOrders(&owner), new FormDrugsEditor(&owner), new FormBuyCollect(&owner),
                                  new FormGroupDemand(&owner), new FormPurchaseOrders(&owner), new FormWholesalers(&owner),
                                  new FormConnection(QStringLiteral("c.ini"), ConnectionConfig::Scope::User, &owner)};
    int faults = 0;
    for (QWidget* w : windows) {
        w->move(room.x() + int(QRandomGenerator::global()->bounded(room.width())) - room.width() / 4,
                room.y() + int(QRandomGenerator::global()->bounded(room.height())) - room.height() / 4);
        w->show();
        const bool exposed = QTest::qWaitForWindowExposed(w);
        const QRect f = w->frameGeometry();
        const auto* area = w->findChild<QScrollArea*>(w->objectName() + QStringLiteral("Scroll"));
        // Cut only where the room (less the most a Windows frame takes) is spanned, and then scrolling.
        auto cut = [&](int content, int view, const QScrollBar* bar, int size, int roomSize, int frame) {
            return content > view && !(bar->isVisible() && size >= roomSize - frame);
        };
        const bool bad = !exposed || !room.contains(f) || !area ||
                         cut(area->widget()->width(), area->viewport()->width(), area->horizontalScrollBar(), f.width(), room.width(), 16) ||
                         cut(area->widget()->height(), area->viewport()->height(), area->verticalScrollBar(), f.height(), room.height(), 39);
        faults += bad;
        qInfo().noquote() << (bad ? "FAULT" : "ok") << w->objectName() << f << "in" << room;
        if (!shots.isEmpty())
            w->grab().save(shots + u'/' + w->objectName() + QStringLiteral(".png"));
        w->close();
    }
    qDeleteAll(windows);
    return faults;
}
} // namespace

class TestScreenFit : public QObject {
    Q_OBJECT
private slots:
    void everyWindowFitsEveryScreen_data() {
        QTest::addColumn<int>("screen");
        for (int i = 0; i < 6; ++i)
            QTest::addRow("%dx%d at %d%%", Screens[i].width, Screens[i].height, int(Screens[i].scale * 100)) << i;
    }
    void everyWindowFitsEveryScreen() {
        QFETCH(int, screen);
        const Screen s = Screens[screen];
        QTemporaryDir dir;
        // The offscreen platform's screen has no taskbar: it is as large as the area above one.
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral(R"({"screens": [{"name": "fit", "x": 0, "y": 0, "width": %1, "height": %2,
            "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})").arg(s.width).arg(s.height - s.taskbar).toUtf8());
        config.close();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("BRENTOVAL_FIT_CASE"), QString::number(screen));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=screen.json"));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(s.scale));
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(dir.path()); // a relative name: a Windows path's colon would end the option
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(300000));
        const QString said = QString::fromUtf8(child.readAll());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(said));
        QVERIFY2(said.count(QStringLiteral("ok ")) == 11, qPrintable(said));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("BRENTOVAL_FIT_CASE")) {
        TestScreenFit t;
        return QTest::qExec(&t, argc, argv);
    }
    app.setLayoutDirection(Qt::RightToLeft);
    Dialogs::setTestMode(true);
    QString error;
    if (!TestDb::open(QStringLiteral("sqlite"), &error))
        qFatal("%s", qPrintable(error));
    return checkWindows(qEnvironmentVariable("BRENTOVAL_FIT_SHOTS"));
}

#include "test_screenfit.moc"
