// Every window inside its screen's available area on the screens the pharmacies have (1366×768 and
// 1920×1080, less the taskbar) at 100, 125 and 150 %: each case runs this program again on a screen of
// that size and scale. Inside, a window shows its whole content, or it spans the room there is and
// scrolls.
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
#include "ui/ScreenFit.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
const char* const CaseVariable = "BRENTOVAL_FIT_CASE";

struct Screen {
    int width, height, taskbar; // device pixels
    double scale;
};
const Screen Screens[] = {{1366, 768, 40, 1.0},  {1366, 768, 40, 1.25},  {1366, 768, 40, 1.5},
                          {1920, 1080, 48, 1.0}, {1920, 1080, 48, 1.25}, {1920, 1080, 48, 1.5}};

using Make = std::function<QWidget*(QWidget* owner)>;
const std::pair<const char*, Make> Windows[] = {
    {"FormMain", [](QWidget*) { return new FormMain; }},
    {"FFFLOGIN", [](QWidget* o) { return new FFFLOGIN(o); }},
    {"FormSplash", [](QWidget*) { return new FormSplash; }},
    {"FormUserBuy", [](QWidget* o) { return new FormUserBuy(o); }},
    {"FFFMyOrders", [](QWidget* o) { return new FFFMyOrders(o); }},
    {"FormDrugsEditor", [](QWidget* o) { return new FormDrugsEditor(o); }},
    {"FormBuyCollect", [](QWidget* o) { return new FormBuyCollect(o); }},
    {"FormGroupDemand", [](QWidget* o) { return new FormGroupDemand(o); }},
    {"FormPurchaseOrders", [](QWidget* o) { return new FormPurchaseOrders(o); }},
    {"FormWholesalers", [](QWidget* o) { return new FormWholesalers(o); }},
    {"FormConnection",
     [](QWidget* o) { return new FormConnection(QStringLiteral("connection.ini"), ConnectionConfig::Scope::User, o); }},
};

// In a case's own process: every window, shown over the main window at a place drawn at random,
// lies inside the available area; it shows all its content or spans the room in the direction it scrolls.
int checkWindows(const QString& shots) {
    int failures = 0;
    auto fail = [&](const QString& what) {
        ++failures;
        qWarning().noquote() << what;
    };
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QTemporaryDir book;
    ModOmla::setBookFolder(book.path());
    FormMain owner;
    owner.show();
    for (const auto& [name, make] : Windows) {
        std::unique_ptr<QWidget> w(make(&owner));
        // Wherever it was left the last time.
        QRandomGenerator& random = *QRandomGenerator::global();
        w->move(available.left() + int(random.bounded(available.width())) - available.width() / 4,
                available.top() + int(random.bounded(available.height())) - available.height() / 4);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            fail(QStringLiteral("%1 not shown").arg(name));
        QCoreApplication::processEvents();
        const QRect frame = w->frameGeometry(), inner = w->geometry();
        const QString where = QStringLiteral("%1: frame %2,%3 %4×%5 in %6,%7 %8×%9")
                                  .arg(name).arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())
                                  .arg(available.x()).arg(available.y()).arg(available.width()).arg(available.height());
        qInfo().noquote() << where;
        if (!available.contains(frame))
            fail(QStringLiteral("outside: ") + where);
        const QSize wanted = ScreenFit::wantedSize(*w);
        if (!wanted.isValid())
            fail(QStringLiteral("%1: not fitted to the screen").arg(name));
        // Narrower or lower than asked only where the screen has no more room, and then it scrolls.
        const auto* area = w->findChild<QScrollArea*>(QString::fromLatin1(name) + QStringLiteral("Scroll"));
        if (!area) {
            fail(QStringLiteral("%1: no scrolling content").arg(name));
            continue;
        }
        const QWidget* content = area->widget();
        const bool cutWide = content->width() > area->viewport()->width();
        const bool cutHigh = content->height() > area->viewport()->height();
        // The room, less the most a Windows frame takes (which the window system may not have said).
        if (cutWide && !(area->horizontalScrollBar()->isVisible() && frame.width() >= available.width() - 16))
            fail(QStringLiteral("%1: cut across without need or without a scroll bar: ").arg(name) + where);
        if (cutHigh && !(area->verticalScrollBar()->isVisible() && frame.height() >= available.height() - 39))
            fail(QStringLiteral("%1: cut down without need or without a scroll bar: ").arg(name) + where);
        if (inner.width() < wanted.width() && !cutWide && !cutHigh)
            fail(QStringLiteral("%1: narrower than asked although nothing is cut").arg(name));
        if (!shots.isEmpty())
            w->grab().save(shots + u'/' + QString::fromLatin1(name) + QStringLiteral(".png"));
        w->close();
    }
    return failures;
}
} // namespace

class TestScreenFit : public QObject {
    Q_OBJECT
private slots:
    void placedLiesInsideAndKeepsItsCentreWhereItCan() {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator random(seed);
        for (int i = 0; i < 2000; ++i) {
            const QRect available(int(random.bounded(-2000, 2000)), int(random.bounded(0, 200)),
                                  int(random.bounded(200, 2600)), int(random.bounded(200, 1500)));
            const QSize wanted(int(random.bounded(50, 3000)), int(random.bounded(50, 2000)));
            const QPoint centre(int(random.bounded(-4000, 4000)), int(random.bounded(-2000, 3000)));
            const QRect r = ScreenFit::placed(wanted, centre, available);
            QVERIFY2(available.contains(r), qPrintable(QStringLiteral("seed %1 case %2").arg(seed).arg(i)));
            QCOMPARE(r.size(), wanted.boundedTo(available.size()));
            // Where the centre can stay, it stays.
            QRect around(QPoint(), r.size());
            around.moveCenter(centre);
            if (available.contains(around))
                QCOMPARE(r, around);
        }
    }

    void everyWindowFitsEveryScreen_data() {
        QTest::addColumn<int>("screen");
        for (int i = 0; i < int(std::size(Screens)); ++i)
            QTest::newRow(qPrintable(QStringLiteral("%1x%2 at %3%").arg(Screens[i].width).arg(Screens[i].height)
                                         .arg(Screens[i].scale * 100)))
                << i;
    }
    void everyWindowFitsEveryScreen() {
        QFETCH(int, screen);
        const Screen s = Screens[screen];
        QTemporaryDir dir;
        // The offscreen platform's screen has no taskbar: it is made as large as the area above one.
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral(R"({"screens": [{"name": "fit", "x": 0, "y": 0, "width": %1, "height": %2,
                                        "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                         .arg(s.width).arg(s.height - s.taskbar).toUtf8());
        config.close();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(CaseVariable), QString::number(screen));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=screen.json"));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(s.scale));
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(dir.path());
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(300000));
        const QString said = QString::fromUtf8(child.readAll());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(said));
        QVERIFY2(said.count(QStringLiteral(": frame ")) == int(std::size(Windows)), qPrintable(said));
    }
};

int main(int argc, char** argv) {
    const QByteArray fitCase = qgetenv(CaseVariable);
    if (fitCase.isEmpty()) {
        QApplication app(argc, argv);
        TestScreenFit t;
        return QTest::qExec(&t, argc, argv);
    }
    QApplication app(argc, argv);
    app.setLayoutDirection(Qt::RightToLeft);
    Dialogs::setTestMode(true);
    QString error;
    if (!TestDb::open(QStringLiteral("sqlite"), &error)) {
        qWarning().noquote() << error;
        return 1;
    }
    const Screen s = Screens[fitCase.toInt()];
    const QSize logical = QGuiApplication::primaryScreen()->availableGeometry().size();
    qInfo().noquote() << QStringLiteral("available %1×%2 at %3").arg(logical.width()).arg(logical.height()).arg(s.scale);
    return checkWindows(qEnvironmentVariable("BRENTOVAL_FIT_SHOTS"));
}

#include "test_screenfit.moc"
