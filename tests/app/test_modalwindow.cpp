// A working window run modally ends when it is closed, and only then: minimised and restored it
// is the same window with the same state.
#include "app/ModalWindow.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace {
class Editor : public QMainWindow {
public:
    explicit Editor(QWidget* parent) : QMainWindow(parent) {
        setObjectName(QStringLiteral("Editor"));
        setCentralWidget(new QLineEdit(this));
    }
};
QPointer<Editor> g_opened;
int g_made = 0;
} // namespace

class TestModalWindow : public QObject {
    Q_OBJECT
private slots:
    void minimiseAndRestoreKeepTheWindowCloseEndsIt() {
        QWidget main;
        QStringList seen;
        QTimer::singleShot(0, &main, [&] {
            g_opened = main.findChild<Editor*>();
            QVERIFY(g_opened);
            ++g_made;
            static_cast<QLineEdit*>(g_opened->centralWidget())->setText(QStringLiteral("typed"));
            g_opened->showMinimized();
            QTimer::singleShot(50, &main, [&] {
                seen << (g_opened ? QStringLiteral("alive") : QStringLiteral("gone"));
                if (!g_opened)
                    return;
                g_opened->showNormal();
                QTimer::singleShot(50, &main, [&] {
                    seen << (g_opened && g_opened->isVisible() ? QStringLiteral("shown") : QStringLiteral("gone"));
                    if (g_opened) {
                        seen << static_cast<QLineEdit*>(g_opened->centralWidget())->text();
                        g_opened->close();
                    }
                });
            });
        });
        ModalWindow::open<Editor>(&main);
        QCOMPARE(seen, (QStringList{"alive", "shown", "typed"}));
        QCOMPARE(g_made, 1);
        QVERIFY(!g_opened); // unloaded once closed
    }

    void aRefusedCloseKeepsItOpen() {
        QWidget w;
        bool refuse = true;
        class Guard : public QObject {
        public:
            bool* refuse;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Close && *refuse) {
                    e->ignore();
                    return true;
                }
                return false;
            }
        } guard;
        guard.refuse = &refuse;
        w.installEventFilter(&guard);
        int tries = 0;
        QTimer::singleShot(0, &w, [&] {
            ++tries;
            w.close(); // refused: the loop goes on
            QTimer::singleShot(20, &w, [&] {
                ++tries;
                QVERIFY(w.isVisible());
                refuse = false;
                w.close();
            });
        });
        ModalWindow::run(w);
        QCOMPARE(tries, 2);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestModalWindow)
#include "test_modalwindow.moc"
