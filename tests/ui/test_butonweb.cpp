// The label-style button: colours, layout, press feedback and when Click is raised.
#include "ui/ButonWeb.h"
#include "ui/VbUnits.h"

#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestButonWeb : public QObject {
    Q_OBJECT

    static QColor textColor(const ButonWeb& b) {
        return b.captionLabel()->palette().color(QPalette::WindowText);
    }
    static QPoint labelCentre(const ButonWeb& b) { return b.captionLabel()->rect().center(); }
    static void send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                     Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

private slots:
    void startsWithItsDesignLook() {
        ButonWeb b;
        QCOMPARE(b.Caption(), QStringLiteral("ButtonWeb"));
        QCOMPARE(b.palette().color(QPalette::Window), QColor(41, 142, 203));
        QCOMPARE(textColor(b), QColor(255, 255, 0));
        QCOMPARE(b.size(), QSize(VbUnits::px(1830), VbUnits::px(420)));
        QVERIFY(b.captionLabel()->font().bold());
        QCOMPARE(b.captionLabel()->font().pointSize(), 12);
        QVERIFY(b.captionLabel()->alignment() & Qt::AlignHCenter);
        QCOMPARE(b.captionLabel()->objectName(), QStringLiteral("LLLCaption"));
    }

    void layoutFollowsTheWidth() {
        ButonWeb b;
        const int h = b.captionLabel()->height();
        b.show();
        b.resize(VbUnits::px(2000), VbUnits::px(600));
        QCOMPARE(b.captionLabel()->x(), VbUnits::px(240));
        QCOMPARE(b.captionLabel()->width(), VbUnits::px(1500));
        QCOMPARE(b.captionLabel()->height(), h);
        QCOMPARE(b.captionLabel()->y(), (VbUnits::px(600) - h) / 2);
        b.resize(VbUnits::px(4605), VbUnits::px(450));
        QCOMPARE(b.captionLabel()->x(), qRound(VbUnits::px(4605) * 0.12));
        QCOMPARE(b.captionLabel()->width(), qRound(VbUnits::px(4605) * 0.75));
    }

    void aLongCaptionIsCondensedNotCut() {
        ButonWeb b;
        b.show();
        b.resize(VbUnits::px(2475), VbUnits::px(450));
        b.setCaption(QStringLiteral("عرض الاوردرات السابقة"));
        QLabel* l = b.captionLabel();
        QVERIFY(QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->width());
        QVERIFY(l->font().stretch() < 100);
        QCOMPARE(l->font().pointSize(), 12);
        b.setCaption(QStringLiteral("OK"));
        QCOMPARE(l->font().stretch(), int(QFont::Unstretched));
    }

    void hoverAndSurfaceColours() {
        ButonWeb b;
        send(b.captionLabel(), QEvent::MouseMove, labelCentre(b), Qt::NoButton, Qt::NoButton);
        QCOMPARE(b.captionColor(), ButonWeb::HoverColor);
        QCOMPARE(textColor(b), QColor(0, 0, 255));
        send(&b, QEvent::MouseMove, QPoint(1, 1), Qt::NoButton, Qt::NoButton);
        QCOMPARE(b.captionColor(), ButonWeb::RestColor);
    }

    void pressAndReleaseOnTheText_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }
    void pressAndReleaseOnTheText() {
        QFETCH(int, button);
        const auto btn = Qt::MouseButton(button);
        ButonWeb b;
        QSignalSpy clicks(&b, &ButonWeb::Click);
        const int size = b.captionLabel()->font().pointSize();
        send(b.captionLabel(), QEvent::MouseButtonPress, labelCentre(b), btn, btn);
        QCOMPARE(b.captionColor(), ButonWeb::PressedColor);
        QCOMPARE(b.captionLabel()->font().pointSize(), size - 3);
        QCOMPARE(clicks.count(), 0);
        send(b.captionLabel(), QEvent::MouseButtonRelease, labelCentre(b), btn, Qt::NoButton);
        QCOMPARE(b.captionColor(), ButonWeb::RestColor);
        QCOMPARE(b.captionLabel()->font().pointSize(), size);
        QCOMPARE(clicks.count(), 1);
    }

    void releaseOffTheControlStillClicks() {
        ButonWeb b;
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        QSignalSpy clicks(&b, &ButonWeb::Click);
        QTest::mousePress(b.captionLabel(), Qt::LeftButton, {}, labelCentre(b));
        // The release lands far outside the control; the label that took the press still gets it.
        QTest::mouseRelease(b.captionLabel(), Qt::LeftButton, {}, QPoint(-500, -500));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(b.captionColor(), ButonWeb::RestColor);
    }

    void fontSizeComesBackAfterManyClicks() {
        ButonWeb b;
        QSignalSpy clicks(&b, &ButonWeb::Click);
        const int size = b.captionLabel()->font().pointSize();
        for (int i = 0; i < 25; ++i) {
            QTest::mouseClick(b.captionLabel(), i % 2 ? Qt::RightButton : Qt::LeftButton, {}, labelCentre(b));
            if (i % 5 == 0) { // a double click as the platform delivers it
                QLabel* l = b.captionLabel();
                send(l, QEvent::MouseButtonPress, labelCentre(b), Qt::LeftButton, Qt::LeftButton);
                send(l, QEvent::MouseButtonRelease, labelCentre(b), Qt::LeftButton, Qt::NoButton);
                send(l, QEvent::MouseButtonPress, labelCentre(b), Qt::LeftButton, Qt::LeftButton);
                send(l, QEvent::MouseButtonDblClick, labelCentre(b), Qt::LeftButton, Qt::LeftButton);
                send(l, QEvent::MouseButtonRelease, labelCentre(b), Qt::LeftButton, Qt::NoButton);
            }
        }
        QCOMPARE(b.captionLabel()->font().pointSize(), size);
        QCOMPARE(clicks.count(), 25 + 2 * 5);
    }

    void clickOnTheBareSurface() {
        ButonWeb b;
        QSignalSpy clicks(&b, &ButonWeb::Click);
        QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(clicks.count(), 1);
        QTest::mouseClick(&b, Qt::RightButton, {}, QPoint(b.width() - 2, b.height() - 2));
        QCOMPARE(clicks.count(), 2);
        // Pressed on the surface but released away from it: no click.
        send(&b, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
        send(&b, QEvent::MouseButtonRelease, QPoint(-50, 400), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(b.captionLabel()->font().pointSize(), 12);
    }

    void captionIsAPropertyThatSurvivesTheStore() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("design.ini"));
        {
            ButonWeb b;
            QSignalSpy changed(&b, &ButonWeb::propertyChanged);
            QVERIFY(!b.captionChanged());
            QVERIFY(b.setProperty("Caption", QStringLiteral("انشاء اوردر جديد")));
            QCOMPARE(b.Caption(), QStringLiteral("انشاء اوردر جديد"));
            QCOMPARE(b.property("Caption").toString(), b.captionLabel()->text());
            QVERIFY(b.captionChanged());
            QCOMPARE(changed.count(), 1);
            QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Caption"));
            QSettings s(file, QSettings::IniFormat);
            b.WriteProperties(s);
        }
        QSettings s(file, QSettings::IniFormat);
        ButonWeb reloaded;
        reloaded.ReadProperties(s);
        QCOMPARE(reloaded.Caption(), QStringLiteral("انشاء اوردر جديد"));

        // An empty store gives the design caption; the current caption is always written.
        QVariantMap empty;
        reloaded.ReadProperties(empty);
        QCOMPARE(reloaded.Caption(), QStringLiteral("ButtonWeb"));
        QVariantMap bag;
        reloaded.WriteProperties(bag);
        QCOMPARE(bag, (QVariantMap{{QStringLiteral("Caption"), QStringLiteral("ButtonWeb")}}));
    }
};

QTEST_MAIN(TestButonWeb)
#include "test_butonweb.moc"
