// Message and input boxes show every button's whole word, right to left.
#include "Shots.h"
#include "ui/Dialogs.h"
#include "ui/FileQuestion.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
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
    Shots::widget(box, box.objectName() + QString::number(texts.size()));
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

    // Every window's file question: the kind's suffix added once, the next question starting where
    // the last chosen file lies (home at first, and again when that folder is gone), answers taken
    // in order among the boxes', none left: cancelled.
    void fileQuestionsStartWhereTheLastFileWent() {
        using FileQuestion::Kind;
        Dialogs::setTestMode(true);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QCOMPARE(FileQuestion::StartFolder(), QDir::homePath());
        QCOMPARE(FileQuestion::SavePath(nullptr, "t", Kind::Pdf, "a.pdf"), QString());
        QCOMPARE(Dialogs::filesAsked().back().startPath, QDir::home().filePath("a.pdf"));
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        const QString sub = dir.filePath("sub");
        const struct {
            Kind kind;
            QString typed, saved, filter;
        } cases[] = {
            {Kind::Pdf, sub + "/x", sub + "/x.pdf", "PDF (*.pdf)"},
            {Kind::Pdf, dir.filePath("y.PDF "), dir.filePath("y.PDF"), "PDF (*.pdf)"},
            {Kind::Xlsx, sub + "/x.pdf", sub + "/x.pdf.xlsx", "Excel (*.xlsx)"},
            {Kind::Csv, dir.filePath("z.csv"), dir.filePath("z.csv"), "CSV (*.csv)"},
            {Kind::Csv, QString(), QString(), "CSV (*.csv)"}, // cancelled: the folder stays
        };
        QString folder = QDir::homePath();
        for (const auto& c : cases) {
            Dialogs::setNextAnswer(Dialogs::vbYes); // a box's answer is not a file's
            Dialogs::setNextPath(c.typed);
            QCOMPARE(FileQuestion::SavePath(nullptr, "t", c.kind, "d"), c.saved);
            QCOMPARE(Dialogs::filesAsked().back().startPath, QDir(folder).filePath("d"));
            QCOMPARE(Dialogs::filesAsked().back().filter, c.filter);
            QVERIFY(Dialogs::filesAsked().back().save);
            QCOMPARE(Dialogs::MsgBox("q", Dialogs::vbYesNo), int(Dialogs::vbYes));
            if (!c.saved.isEmpty())
                folder = QFileInfo(c.saved).absolutePath();
        }
        Dialogs::setNextPath(sub + "/offers.xlsx");
        QCOMPARE(FileQuestion::OpenPath(nullptr, "o", Kind::Xlsx), sub + "/offers.xlsx");
        QCOMPARE(Dialogs::filesAsked().back().startPath, folder);
        QVERIFY(!Dialogs::filesAsked().back().save);
        QCOMPARE(FileQuestion::StartFolder(), sub);
        QVERIFY(QDir(sub).removeRecursively());
        QCOMPARE(FileQuestion::StartFolder(), QDir::homePath());
        Dialogs::clearShown();
        QVERIFY(Dialogs::filesAsked().empty());
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
