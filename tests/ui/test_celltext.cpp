// Right-to-left text where it belongs. A grid cell's text keeps its own reading order in either
// window direction: drawn, a name that begins or ends with punctuation looks exactly as the same
// name held in place by direction marks. A working window's label stays at the right edge whatever
// its text begins with.
#include "InkSpan.h"
#include "ui/FlexGridView.h"
#include "ui/WorkDialog.h"

#include <QLabel>

#include <QtTest>

class LabelWindow : public WorkDialog {
public:
    LabelWindow() : WorkDialog(nullptr, "LabelWindow", QString()) {}
    QLabel* make(const QString& text, bool wrap) { return label("Label1", text, wrap); }
};

class TestCellText : public QObject {
    Q_OBJECT
    static QImage cell(Qt::LayoutDirection direction, const QString& text, int alignment) {
        FlexGridView view;
        view.setLayoutDirection(direction);
        view.resize(400, 120);
        FlexGrid& g = view.grid();
        g.setCols(1);
        g.setRows(2);
        g.setColWidth(0, 3000);
        g.setColAlignment(0, alignment);
        g.setTextMatrix(1, 0, text);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            return {};
        return view.viewport()->grab(view.cellRect(1, 0)).toImage();
    }

private slots:
    void cellTextKeepsItsReadingOrder_data() {
        QTest::addColumn<QString>("text");
        for (const char* text : {"Pan 40-", "Kids Syrup@", "-Pan 40", "(Vit C) 500", "بانادول 500-", "-شراب كحة", "Cal 500 كالسيوم."})
            QTest::newRow(text) << QString::fromUtf8(text);
    }
    void cellTextKeepsItsReadingOrder() {
        QFETCH(QString, text);
        const QChar mark = text.isRightToLeft() ? QChar(0x200F) : QChar(0x200E);
        for (const Qt::LayoutDirection direction : {Qt::RightToLeft, Qt::LeftToRight})
            for (const int alignment : {1, 4, 7}) { // left, centre, right of the grid's codes
                const QImage drawn = cell(direction, text, alignment);
                QVERIFY(!drawn.isNull());
                QCOMPARE(drawn, cell(direction, mark + text + mark, alignment));
            }
    }

    void labelsStayAtTheRightEdge() {
        for (const bool wrap : {false, true})
            for (const char* text : {"12 طلب", "Pan 40- بانادول", "طلبيتك", "(1) سداد نقدي"}) {
                LabelWindow w;
                QLabel* l = w.make(QString::fromUtf8(text), wrap);
                l->setGeometry(0, 0, 500, 40);
                w.resize(500, 40);
                w.show();
                QVERIFY(QTest::qWaitForWindowExposed(&w));
                const InkSpan ink = InkSpan::of(l->grab().toImage());
                // The text's box ends at the right edge and begins well inside.
                QVERIFY2(ink.atRightEdge() && ink.left > ink.width / 3,
                         qPrintable(QStringLiteral("%1: ink from %2 to %3 of %4").arg(QString::fromUtf8(text)).arg(ink.left).arg(ink.right).arg(ink.width)));
            }
    }
};

QTEST_MAIN(TestCellText)
#include "test_celltext.moc"
