// Everything a user can type, in every field that takes typing: quotes, the separators of the
// stored order lines, NUL, very long texts, Arabic, numbers out of range and SQL. Each either
// does what it should to exactly the rows it should, or is refused; the other rows never move.
#include "OrderEditorDriver.h"
#include "OrderRows.h"
#include "TestDb.h"
#include "WindowCaseTest.h"
#include "data/Clock.h"
#include "app/LoginRules.h"
#include "catalogue/DrugsCatalogue.h"
#include "catalogue/FormDrugsEditor.h"
#include "collection/BuyCollectCore.h"
#include "collection/FormBuyCollect.h"
#include "collection/FormBuyCollectTexts.h"
#include "collection/ModOmla.h"
#include "data/AppGlobals.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/FFFMyOrders.h"
#include "ordering/FormUserBuy.h"
#include "ordering/MyOrdersList.h"
#include "ordering/OrderLines.h"
#include "ordering/OrderPane.h"
#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {
const QString Tel = QStringLiteral("01012345678");
const QString OtherTel = QStringLiteral("01099999999");
const QDateTime At(QDate(2024, 5, 6), QTime(10, 20, 30));
const QString Panadol = QStringLiteral("^Panadol|2|10|10|");

using OrderRows::stored;

using Dump = QList<QList<QStringList>>;
Dump dumpAll() {
    return {TestDb::rows(QStringLiteral("SELECT * FROM bown2 ORDER BY orderid, tel")),
            TestDb::rows(QStringLiteral("SELECT * FROM bowndrugs ORDER BY drug")),
            TestDb::rows(QStringLiteral("SELECT * FROM smartertable"))};
}

// The inputs every typed field gets.
void typedInputs() {
    QTest::addColumn<QString>("input");
    const auto row = [](const char* name, const QString& text) { QTest::newRow(name) << text; };
    row("apostrophe", QStringLiteral("3'"));
    row("lone apostrophe", QStringLiteral("'"));
    row("caret", QStringLiteral("^"));
    row("pipe", QStringLiteral("|"));
    row("separators after a number", QStringLiteral("4^|x|"));
    row("NUL inside", QStringLiteral("5") + QChar(0) + QStringLiteral("7"));
    row("NUL only", QString(QChar(0)));
    row("10000 letters", QString(10000, u'x'));
    row("10000 digits", QString(10000, u'9'));
    row("60 then 10000 blanks", QStringLiteral("60") + QString(10000, u' '));
    row("Arabic", QStringLiteral("بانادول اكسترا"));
    row("Arabic-Indic digits", QStringLiteral("٣٠"));
    row("1e39", QStringLiteral("1e39"));
    row("1e999", QStringLiteral("1e999"));
    row("-1e999", QStringLiteral("-1e999"));
    row("-0", QStringLiteral("-0"));
    row("NaN", QStringLiteral("NaN"));
    row("inf", QStringLiteral("inf"));
    row("exponent D", QStringLiteral("6D1"));
    row("or 1=1", QStringLiteral("x' OR '1'='1"));
    row("delete", QStringLiteral("'; DELETE FROM bown2; --"));
    row("number then delete", QStringLiteral("60'; DELETE FROM bown2; --"));
    row("drop", QStringLiteral("1'); DROP TABLE bowndrugs; --"));
    row("update all", QStringLiteral("30' WHERE 1=1; UPDATE bowndrugs SET price = '0"));
    row("comment", QStringLiteral("7 /* x */ --"));
}

// A varchar column on PostgreSQL drops the blanks beyond its length instead of refusing them.
QString rtrim(QString t) {
    while (t.endsWith(u' '))
        t.chop(1);
    return t;
}

bool finiteText(const QString& t) {
    return !t.contains(QStringLiteral("inf"), Qt::CaseInsensitive) &&
           !t.contains(QStringLiteral("nan"), Qt::CaseInsensitive);
}
} // namespace

class TestBadInput : public WindowCaseTest {
    Q_OBJECT
    QTemporaryDir m_bookDir;
    int m_tried = 0;

    // Two pharmacists' orders and a three-drug catalogue, so that a statement reaching too far
    // shows in rows that should not move.
    void seed() {
        QVERIFY(TestDb::addDrug("Panadol", "10", "10", "240101"));
        QVERIFY(TestDb::addDrug("Brufen", "5", "20", "240101"));
        QVERIFY(TestDb::addDrug("Congestal", "7.5", "15", "240101"));
        QVERIFY(OrderRows::insert({"231001101010", "231001", OtherTel, "Baltim", {}, stored({"^Brufen|4|5|20|"}), "101010"}));
        QVERIFY(OrderRows::insert(
            {"240501101010", "240501", OtherTel, "Baltim", "101", stored({"^Congestal|1|7.5|15|"}), "101010"}));
    }
    std::unique_ptr<FormUserBuy> editorWithOrder() {
        auto w = OrderEditorDriver::editorWithOrder(At);
        if (TestDb::scalar(QStringLiteral("SELECT drug FROM bown2 WHERE tel = '%1'").arg(Tel)) !=
            stored({Panadol}))
            return nullptr;
        Dialogs::clearShown();
        Dialogs::clearAnswers();
        return w;
    }
    // The tables before and after the editor's edit of Panadol, its question answered with input.
    static std::pair<Dump, Dump> editPanadol(FormDrugsEditor& w, const QString& input, void (FormDrugsEditor::*edit)()) {
        Clock::set([] { return At; });
        w.Xxx1->clickCell(
            FLXMod::FlexFindText(w.Xxx1->grid(), QStringLiteral("Panadol"), DrugsCatalogue::ColName),
            DrugsCatalogue::ColName);
        const Dump before = dumpAll();
        Dialogs::setNextInput(input);
        (w.*edit)();
        return {before, dumpAll()};
    }
    // The dump with the rows of one order replaced.
    static Dump withOrderLines(Dump d, const QString& id, const QString& lines) {
        for (QStringList& r : d[0])
            if (r.value(1) == id)
                r[0] = lines;
        return d;
    }
    void noValueReadsInfinite(FormUserBuy& w) {
        QVERIFY2(finiteText(w.LLLNaqdyValue->text()), qPrintable(w.LLLNaqdyValue->text()));
        QVERIFY2(finiteText(w.LLLLAgelValue->text()), qPrintable(w.LLLLAgelValue->text()));
    }

private slots:
    void initTestCase() {
        WindowCaseTest::initTestCase();
        ModOmla::setBookFolder(m_bookDir.path());
        Clock::set([] { return At; });
    }
    void init() {
        WindowCaseTest::init();
        seed();
        OrderEditorDriver::logIn(Tel, QStringLiteral("Disouq"));
        ++m_tried;
    }
    void cleanupTestCase() { qInfo("inputs tried: %d", m_tried); }

    void addQuantity_data() { typedInputs(); }
    void addQuantity() {
        QFETCH(QString, input);
        auto w = editorWithOrder();
        QVERIFY(w);
        const QString id = w->LLLOrderID->text();
        const Dump before = dumpAll();
        Dialogs::setNextInput(input);
        w->Xxx1->clickCell(FLXMod::FlexFindText(w->Xxx1->grid(), QStringLiteral("Brufen"), 0), 3);
        QVERIFY(Dialogs::shownTexts().isEmpty()); // accepted or refused, silently
        const double q = ModGFun::Val(input);
        if (q > 0 && q <= 1000) {
            const QString line =
                QStringLiteral("^Brufen|") + ModGFun::ShortestText(q) + QStringLiteral("|5|20|");
            QCOMPARE(dumpAll(), withOrderLines(before, id, stored({Panadol, line})));
        } else {
            QCOMPARE(dumpAll(), before);
            QCOMPARE(w->Xxx2->grid().TextMatrix(2, 0), QString());
        }
        noValueReadsInfinite(*w);
    }

    void changeQuantity_data() { typedInputs(); }
    void changeQuantity() {
        QFETCH(QString, input);
        auto w = editorWithOrder();
        QVERIFY(w);
        const QString id = w->LLLOrderID->text();
        const Dump before = dumpAll();
        Dialogs::setNextInput(input);
        w->Xxx2->clickCell(1, 1);
        QVERIFY(Dialogs::shownTexts().isEmpty());
        const double q = ModGFun::Val(input);
        const QString quantity = w->Xxx2->grid().TextMatrix(1, 1);
        if (q > 0 && q <= 1e6) {
            QCOMPARE(quantity, ModGFun::ShortestText(q));
            QCOMPARE(dumpAll(), withOrderLines(before, id,
                                               stored({QStringLiteral("^Panadol|%1|10|10|").arg(quantity)})));
        } else {
            QCOMPARE(quantity, QStringLiteral("2"));
            QCOMPARE(dumpAll(), before);
        }
        noValueReadsInfinite(*w);
    }

    void searchText_data() {
        typedInputs();
        // Inputs that do begin a catalogue name, so the mark check below runs.
        QTest::newRow("start of a name") << QStringLiteral("pan");
        QTest::newRow("start of a name in capitals, blanks around") << QStringLiteral("  BRU ");
    }
    void searchText() {
        QFETCH(QString, input);
        FormUserBuy w;
        const Dump before = dumpAll();
        ServerConnection::instance().clearExecutedStatements();
        w.TextSearch->setText(input);
        QVERIFY(ServerConnection::instance().executedStatements().isEmpty());
        const int marked = w.search().markedRow();
        QVERIFY(marked >= 0 && marked < w.Xxx1->grid().Rows());
        const QString cleaned = ModGFun::CleanText(input);
        bool begins = false;
        for (int r = 1; r < w.Xxx1->grid().Rows(); ++r)
            begins = begins || (!cleaned.isEmpty() && w.Xxx1->grid().TextMatrix(r, 0).startsWith(cleaned, Qt::CaseInsensitive));
        // A name that begins with the cleaned text is marked, and only such a name.
        QCOMPARE(marked > 0, begins);
        if (marked > 0)
            QVERIFY(w.Xxx1->grid().TextMatrix(marked, 0).startsWith(cleaned, Qt::CaseInsensitive));
        w.TextSearch->clear();
        QCOMPARE(dumpAll(), before);
    }

    void dayCount_data() { typedInputs(); }
    void dayCount() {
        QFETCH(QString, input);
        FormBuyCollect w;
        const Dump before = dumpAll();
        Dialogs::setNextInput(input);
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w.mnuDeletOlderThan_Click();
        const BuyCollect::DaysAnswer a = BuyCollect::ParseDays(input);
        Dump expected = before;
        if (a.check == BuyCollect::DaysAnswer::Ok) {
            QCOMPARE(Dialogs::shownTexts(), QStringList{FormBuyCollectTexts::ConfirmDelete});
            const double cutoff = BuyCollect::DeleteCutoff(At, a.days).toDouble();
            expected[0].removeIf([&](const QStringList& r) { return r.value(2).toDouble() < cutoff; });
        } else {
            QCOMPARE(Dialogs::shownTexts(),
                     QStringList{a.check == BuyCollect::DaysAnswer::TooMany ? FormBuyCollectTexts::TooManyDays
                                                                            : FormBuyCollectTexts::TooFewDays});
        }
        QCOMPARE(dumpAll(), expected);
        // Whatever was typed, a day count under 50 never reaches the newest order.
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2 WHERE orderid = '240501101010'")),
                 QStringLiteral("1"));
    }

    void discount_data() { typedInputs(); }
    void discount() {
        QFETCH(QString, input);
        FormDrugsEditor w;
        const auto [before, after] = editPanadol(w, input, &FormDrugsEditor::Command1_Click);
        QCOMPARE(after[0], before[0]);
        QCOMPARE(after[2], before[2]);
        const double v = ModGFun::Val(input);
        const auto row = [](const Dump& d, const QString& name) {
            for (const QStringList& r : d[1])
                if (r.value(0) == name)
                    return r;
            return QStringList();
        };
        for (const char* other : {"Brufen", "Congestal"})
            QCOMPARE(row(after, QLatin1String(other)), row(before, QLatin1String(other)));
        if (!(v > 1 && v <= 95)) {
            QCOMPARE(after, before);
            QVERIFY(Dialogs::shownTexts().isEmpty());
        } else if (row(after, QStringLiteral("Panadol")) == row(before, QStringLiteral("Panadol"))) {
            QCOMPARE(Dialogs::shownTexts().size(), 1); // the server refused it (too long) and said so
        } else {
            QString typed = input;
            typed.remove(QChar(0));
            QCOMPARE(rtrim(row(after, QStringLiteral("Panadol")).value(8)), rtrim(typed));
            QCOMPARE(row(after, QStringLiteral("Panadol")).value(3), QStringLiteral("240506"));
            QCOMPARE(after[1].size(), 3);
        }
    }

    void rename_data() { typedInputs(); }
    void rename() {
        QFETCH(QString, input);
        FormDrugsEditor w;
        const auto [before, after] = editPanadol(w, input, &FormDrugsEditor::EditChangeName_Click);
        QCOMPARE(after[0], before[0]); // orders keep the names they were made with
        QCOMPARE(after[2], before[2]);
        QString typed = input;
        typed.remove(QChar(0));
        const QStringList names = [&] {
            QStringList n;
            for (const QStringList& r : after[1])
                n << r.value(0);
            return n;
        }();
        if (input.contains(u'^') || input.contains(u'|')) {
            QCOMPARE(after, before);
            QCOMPARE(Dialogs::shownTexts().size(), 1);
        } else if (typed.trimmed().isEmpty() && !input.contains(QChar(0))) {
            QCOMPARE(after, before);
        } else if (names.contains(QStringLiteral("Panadol"))) {
            QCOMPARE(after, before);
            QCOMPARE(Dialogs::shownTexts().size(), 1); // refused by the server and said so
        } else {
            QVERIFY2(names.contains(typed) || names.contains(rtrim(typed).leftJustified(70, u' ')),
                     qPrintable(names.join(u',')));
            QVERIFY(names.contains(QStringLiteral("Brufen")) && names.contains(QStringLiteral("Congestal")));
            QCOMPARE(after[1].size(), 3);
            QVERIFY(Dialogs::shownTexts().isEmpty());
            // The window follows the drug to its new name, and shows it.
            const FlexGrid& g = w.Xxx1->grid();
            bool shown = false;
            for (int r = 1; r < g.Rows(); ++r)
                shown = shown || rtrim(g.TextMatrix(r, DrugsCatalogue::ColName)) == rtrim(typed);
            QVERIFY(shown);
        }
    }

    void loginPhone_data() {
        typedInputs();
        QTest::newRow("11 with quote") << QStringLiteral("01' OR '1'=");
        QTest::newRow("11 with delete") << QStringLiteral("01';DELETE;");
        QTest::newRow("11 with separators") << QStringLiteral("01^|^|^|^|^");
        QTest::newRow("11 with NUL") << (QStringLiteral("0101234567") + QChar(0));
        QTest::newRow("11 Arabic") << QStringLiteral("01٠١٢٣٤٥٦٧٨");
    }
    void loginPhone() {
        QFETCH(QString, input);
        AppGlobals::reset();
        const LoginRules::Verdict v = LoginRules::apply(input, QStringLiteral("Disouq"));
        const bool wellFormed = input.size() == 11 && input.startsWith(QStringLiteral("01"));
        QCOMPARE(v == LoginRules::Verdict::Accepted, wellFormed);
        if (!wellFormed) {
            QCOMPARE(AppGlobals::LoginTel, QString());
            return;
        }
        QCOMPARE(AppGlobals::LoginTel, input);
        // The phone reaches the server only as a value: the list shows none of the other
        // pharmacist's orders, and a new order carries the phone as typed.
        FlexGrid list;
        QVERIFY(MyOrdersList::Load(list, AppGlobals::LoginTel));
        QCOMPARE(list.Rows(), 1);
        const Dump before = dumpAll();
        FormUserBuy w;
        Clock::set([] { return At; });
        Dialogs::setNextAnswer(Dialogs::vbYes);
        w.ButonWebNewOrder_Click();
        const Dump after = dumpAll();
        QCOMPARE(after[1], before[1]);
        QCOMPARE(after[0].size(), before[0].size() + 1);
        QString typed = input;
        typed.remove(QChar(0));
        QCOMPARE(
            TestDb::scalar(
                QStringLiteral("SELECT COUNT(*) FROM bown2 WHERE tel = '%1'").arg(ModSQL::SqlEscape(typed))),
            QStringLiteral("1"));
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2 WHERE tel = '%1'").arg(OtherTel)),
                 QStringLiteral("2"));
    }

    void clientBook_data() { typedInputs(); }
    void clientBook() {
        QFETCH(QString, input);
        QFile::remove(ModOmla::BookPath());
        ModOmla::ClientBook.clear();
        ModOmla::LoadClientBook();
        FormBuyCollect w;
        const Dump before = dumpAll();
        // The same text once as the phone (with a name) and once as the name (of a phone).
        Dialogs::setNextInput(input);
        Dialogs::setNextInput(QStringLiteral("Dr Ali"));
        w.mnuAddNewAmil_Click();
        Dialogs::setNextInput(QStringLiteral("01055555555"));
        Dialogs::setNextInput(input);
        w.mnuAddNewAmil_Click();
        QCOMPARE(dumpAll(), before);
        // Each addition is either in the book, and in the file, or was refused with a message.
        ModOmla::ClientBook.clear();
        QVERIFY(ModOmla::LoadClientBook().ok);
        const int refused = Dialogs::shownTexts().size();
        const int kept = (ModOmla::ClientNameByTel(input) == QStringLiteral("Dr Ali") ? 1 : 0) +
                         (!ModOmla::ClientNameByTel(QStringLiteral("01055555555")).isEmpty() ? 1 : 0);
        QVERIFY2(kept + refused == 2 || ModGFun::CleanText(input).isEmpty(),
                 qPrintable(QStringLiteral("kept %1, refused %2").arg(kept).arg(refused)));
    }
};

QTEST_MAIN(TestBadInput)
#include "test_badinput.moc"
