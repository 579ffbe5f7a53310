// Message and input boxes show every button's whole word, right to left.
#include "ui/Dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {
QStringList buttonTexts(QWidget& box) {
    box.show();
    QApplication::processEvents();
    QStringList texts;
    for (QPushButton* b : box.findChildren<QPushButton*>()) {
        if (!b->isVisible())
            continue;
        texts << b->text();
        // The text must fit beside whatever icon the style gives the button.
        const int needed = b->fontMetrics().horizontalAdvance(b->text()) +
                           (b->icon().isNull() ? 0 : b->iconSize().width() + 4);
        if (needed > b->width())
            texts << QStringLiteral("(clipped)");
    }
    const QString shots = qEnvironmentVariable("BRENTOVAL_SCREENSHOTS");
    if (!shots.isEmpty())
        box.grab().save(shots + u'/' + box.objectName() + QString::number(texts.size()) + QStringLiteral(".png"));
    texts.sort();
    return texts;
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }

    void everyButtonShowsItsWholeWord() {
        auto info = Dialogs::buildMessageBox(QStringLiteral("لقد اضفته فعلا"), Dialogs::vbOKOnly);
        QCOMPARE(buttonTexts(*info), QStringList{Dialogs::OkText});
        auto question = Dialogs::buildMessageBox(QStringLiteral("هل تود حذف هذا الاوردر  فعلا"),
                                                 Dialogs::vbYesNo + Dialogs::vbQuestion + Dialogs::vbMsgBoxRight);
        QCOMPARE(buttonTexts(*question), (QStringList{Dialogs::NoText, Dialogs::YesText}));
        QCOMPARE(question->defaultButton(), question->button(QMessageBox::Yes));
        auto input = Dialogs::buildInputBox(QStringLiteral("ادخل الكمية المطلوبة"), QStringLiteral("3"));
        QCOMPARE(buttonTexts(*input), (QStringList{Dialogs::CancelText, Dialogs::OkText}));
        QCOMPARE(input->textValue(), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
