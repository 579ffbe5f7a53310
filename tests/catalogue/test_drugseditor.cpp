// The catalogue editor through its widgets on both backends: the rebuilt grid, the five sorts and
// the two edits with their statements and refusals.
#include "GridText.h"
#include "Shots.h"
#include "TestDb.h"
#include "WindowCaseTest.h"
#include "data/Clock.h"
#include "data/ModSQL.h"
#include "data/WriteRoad.h"
#include "catalogue/DrugsCatalogue.h"
#include "catalogue/FormDrugsEditor.h"
#include "data/ServerConnection.h"
#include "ui/Dialogs.h"
#include "ui/FlexGridView.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <memory>

using GridText::column;

using namespace DrugsCatalogue;

namespace {
const QDateTime Now(QDate(2026, 12, 7), QTime(9, 13));

// Shown and waited for: clicks land only on a window the platform has exposed.
std::unique_ptr<FormDrugsEditor> openEditor() {
    auto w = std::make_unique<FormDrugsEditor>();
    Clock::set([] { return Now; });
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        QTest::qFail("the catalogue editor was not exposed", __FILE__, __LINE__);
    return w;
}

void clickRow(FormDrugsEditor& w, int row) {
    QAbstractItemModel* m = w.Xxx1->model();
    w.Xxx1->scrollTo(m->index(row - 1, 0));
    QTest::mouseClick(w.Xxx1->viewport(), Qt::LeftButton, {}, w.Xxx1->cellRect(row, 0).center());
}

int rowOf(const FlexGrid& g, const QString& name) {
    return GridText::rowOf(g, ColName, name);
}

QStringList updates() {
    QStringList r;
    for (const QString& s : ServerConnection::instance().executedStatements())
        if (s.contains(QStringLiteral("UPDATE")))
            r << s;
    return r;
}

bool sortedByName(const FlexGrid& g) {
    QStringList names = column(g, ColName);
    QStringList sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        if (a.isEmpty() != b.isEmpty())
            return b.isEmpty();
        return a < b;
    });
    return names == sorted;
}
} // namespace

class TestDrugsEditor : public WindowCaseTest {
    Q_OBJECT
private slots:
    void initTestCase() {
        WindowCaseTest::initTestCase();
        // The faces the program maps the window design's faces to.
        QFont::insertSubstitutions(QStringLiteral("Arabic Transparent"),
                                   {QStringLiteral("Noto Sans Arabic"), QStringLiteral("DejaVu Sans")});
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("DejaVu Sans")});
    }

    void ratioExamples_data() {
        QTest::addColumn<QString>("stock");
        QTest::addColumn<QString>("demanded");
        QTest::addColumn<QString>("ratio");
        QTest::newRow("5/0") << "5"
                             << "0"
                             << "50";
        QTest::newRow("0/4") << "0"
                             << "4"
                             << "0";
        QTest::newRow("7/2") << "7"
                             << "2"
                             << "350";
        QTest::newRow("1/8 half to even") << "1"
                                          << "8"
                                          << "12";
        QTest::newRow("3/8 half to even") << "3"
                                          << "8"
                                          << "38";
        QTest::newRow("empty/empty") << ""
                                     << ""
                                     << "0";
        QTest::newRow("5/empty") << "5"
                                 << ""
                                 << "50";
        QTest::newRow("text") << "12abc"
                              << "x"
                              << "120";
        QTest::newRow("negative stock") << "-1"
                                        << "400"
                                        << "0";
        QTest::newRow("2.5 to even") << "1"
                                     << "40"
                                     << "2";
        QTest::newRow("3.5 to even") << "7"
                                     << "200"
                                     << "4";
    }
    void ratioExamples() {
        QFETCH(QString, stock);
        QFETCH(QString, demanded);
        QFETCH(QString, ratio);
        QCOMPARE(SufficiencyRatio(stock, demanded), ratio);
    }

    void gridIsRebuiltFromTheServer() {
        QVERIFY(TestDb::addDrug("Bravo", "12.5", "10", "", "5", "0", "14"));
        QVERIFY(TestDb::addDrug("Alpha", "3", "7", "261201", "7", "2"));
        QVERIFY(TestDb::addDrug("Charlie", "", "", "", "1", "8"));
        QVERIFY(TestDb::addDrug("", "9", "1", "", "3", "8")); // no name: no date fill, no ratio; sorts first
        auto w = openEditor();
        const FlexGrid& g = w->Xxx1->grid();
        QCOMPARE(g.Cols(), 10);
        QCOMPARE(g.Rows(), 5);
        const QStringList headers{"الدواء", "السعر",   "الخصم",       "اعلي خصم", "تحديث",
                                  "الرصيد", "المطلوب", "نسبةالكفاية", "",         ""};
        const int widths[] = {3700,
                              1000,
                              1000,
                              FlexGrid::DefaultColWidth,
                              1600,
                              FlexGrid::DefaultColWidth,
                              FlexGrid::DefaultColWidth,
                              FlexGrid::DefaultColWidth,
                              0,
                              0};
        for (int c = 0; c < 10; ++c) {
            QCOMPARE(g.TextMatrix(0, c), headers[c]);
            QCOMPARE(g.ColWidth(c), widths[c]);
            QCOMPARE(g.ColAlignment(c), c == 0 ? 2 : 3);
        }
        QCOMPARE(column(g, ColName), (QStringList{"", "Alpha", "Bravo", "Charlie"}));
        QCOMPARE(column(g, ColLastChange), (QStringList{"", "261201", "170801", "170801"}));
        QCOMPARE(column(g, ColRatio), (QStringList{"", "350", "50", "12"}));
        QCOMPARE(column(g, ColHighest), (QStringList{"", "", "14", ""}));
        QCOMPARE(column(g, ColPrice), (QStringList{"9", "3", "12.5", ""}));
        QCOMPARE(column(g, ColStock), (QStringList{"3", "7", "5", "1"}));
        QCOMPARE(column(g, ColDemanded), (QStringList{"8", "2", "0", "8"})); // the 10 is for the ratio only
        // The filled date is shown only: the server row keeps its empty date.
        QCOMPARE(TestDb::scalar("SELECT lastdate FROM bowndrugs WHERE drug='Bravo'"), QString());
        QCOMPARE(w->LLLDrug->text(), QString());
    }

    // The page arranged row by row as it is read is the page laid out step by step after the read,
    // also when it is shown again over the last one (headers, widths and alignments included).
    void pageArrangedWhileReadIsTheSteppedLayout() {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        auto any = [&](const QStringList& from) { return from[rng.bounded(int(from.size()))]; };
        for (int i = 0; i < 40; ++i)
            QVERIFY(TestDb::addDrug(any({"", "Zyrtec", "amoxil", "Amoxil", "بنادول", QString("Drug %1").arg(i)}),
                                    any({"", "3", "12.5", "0.1"}), any({"", "7"}), any({"", "261201"}),
                                    any({"", "0", "5", "-1", "2.5"}), any({"", "0", "8", "3"}), any({"", "14"})));
        auto state = [](const FlexGrid& g) {
            QList<QStringList> all{GridText::row(g, 0)};
            all << GridText::rows(g);
            for (int c = 0; c < g.Cols(); ++c)
                all << QStringList{QString::number(g.ColWidth(c)), QString::number(g.ColAlignment(c))};
            return all;
        };
        FlexGrid stepped;
        QVERIFY(ModSQL::SQLSelectToFlex(stepped, QStringLiteral("bowndrugs")));
        Arrange(stepped);
        FlexGrid page;
        QVERIFY(ShowPage(page));
        QCOMPARE(state(page), state(stepped));
        QVERIFY(ShowPage(page));
        QCOMPARE(state(page), state(stepped));
    }

    void windowControlsAndCaptions() {
        auto w = openEditor();
        QCOMPARE(w->windowTitle(), QStringLiteral("بيانات الادوية"));
        QCOMPARE(w->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(w->findChild<QWidget*>(QStringLiteral("client"))->size(), QSize(820, 580));
        const QList<QPair<QPushButton*, QString>> buttons{
            {w->Command1, "اعلي خصم في المخازن"}, {w->Command5, "ترتيب  الاعمدة"},
            {w->Command6, "حسب التحديث"},         {w->Command7, "حسب الخصم"},
            {w->Command8, "حسب السعر"},           {w->Command9, "حسب الاسم التجاري"},
            {w->Command10, "حسب النقص"}};
        for (const auto& [b, caption] : buttons) {
            QCOMPARE(b->text(), caption);
            QVERIFY(b->font().bold());
            QVERIFY2(b->fontMetrics().horizontalAdvance(caption) < b->width() - 8, qPrintable(caption));
            QVERIFY(w->findChild<QPushButton*>(b->objectName()) == b);
        }
        QCOMPARE(w->EDit->title(), QStringLiteral("تحرير"));
        QCOMPARE(w->EditChangeName->text(), QStringLiteral("تغيير الاسم"));
        QCOMPARE(w->mnuPrint->title(), QStringLiteral("طباعة"));
        QCOMPARE(w->mnuPrintChoose->text(), QStringLiteral("اختيار الطابعة"));
        QCOMPARE(w->mnuPrintOrder100->text(), QStringLiteral("طباعة اوردر 100 صنف"));
        QVERIFY(!w->PH->pixmap().isNull());
        QVERIFY(!w->PF->pixmap().isNull());
        // Every control inside the client area, none overlapping another.
        const QList<QWidget*> controls{w->LLLDrug,  w->Command1, w->Command5,  w->Command6, w->Command7,
                                       w->Command8, w->Command9, w->Command10, w->Xxx1};
        const QRect client = w->findChild<QWidget*>(QStringLiteral("client"))->rect();
        for (QWidget* a : controls) {
            QVERIFY2(client.contains(a->geometry()), qPrintable(a->objectName()));
            for (QWidget* b : controls)
                QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " " + b->objectName()));
        }
        if (Shots::wanted()) {
            QVERIFY(TestDb::addDrug("دواء تجريبي 5 مجم", "12.5", "10", "", "5", "0", "14"));
            QVERIFY(TestDb::addDrug("Augmentin 1 g", "85", "12", "261130", "30", "20"));
            w->ShowPage();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            QVERIFY(Shots::widget(*w, "FormDrugsEditor"));
        }
    }

    void eachSortButton() {
        // name, price, disc, lastdate, stock, demanded -> ratio
        QVERIFY(TestDb::addDrug("Delta", "40", "5", "261101", "1", "8"));   // 12
        QVERIFY(TestDb::addDrug("Alpha", "9.5", "20", "250101", "7", "2")); // 350
        QVERIFY(TestDb::addDrug("Charlie", "100", "12", "", "0", "4"));     // 0, date 170801
        QVERIFY(TestDb::addDrug("Bravo", "10", "2.5", "261207", "5", "0")); // 50
        auto w = openEditor();
        const FlexGrid& g = w->Xxx1->grid();
        QCOMPARE(column(g, ColName), (QStringList{"Alpha", "Bravo", "Charlie", "Delta"}));
        QTest::mouseClick(w->Command8, Qt::LeftButton);
        QCOMPARE(column(g, ColName), (QStringList{"Charlie", "Delta", "Bravo", "Alpha"}));
        QTest::mouseClick(w->Command7, Qt::LeftButton);
        QCOMPARE(column(g, ColName), (QStringList{"Alpha", "Charlie", "Delta", "Bravo"}));
        QTest::mouseClick(w->Command6, Qt::LeftButton);
        QCOMPARE(column(g, ColName), (QStringList{"Bravo", "Delta", "Alpha", "Charlie"}));
        QTest::mouseClick(w->Command10, Qt::LeftButton);
        QCOMPARE(column(g, ColName), (QStringList{"Charlie", "Delta", "Bravo", "Alpha"}));
        QCOMPARE(column(g, ColRatio), (QStringList{"0", "12", "50", "350"}));
        QTest::mouseClick(w->Command9, Qt::LeftButton);
        QCOMPARE(column(g, ColName), (QStringList{"Alpha", "Bravo", "Charlie", "Delta"}));
        // Sorting moves whole rows.
        QCOMPARE(column(g, ColPrice), (QStringList{"9.5", "10", "100", "40"}));
        QTest::mouseClick(w->Command5, Qt::LeftButton); // has no action
        QCOMPARE(column(g, ColName), (QStringList{"Alpha", "Bravo", "Charlie", "Delta"}));
        QVERIFY(updates().isEmpty());
    }

    // Names in mixed case and Arabic: the name sort follows the collation, not the code points.
    void nameSortOfMixedCaseAndArabic() {
        for (const char* name : {"beta", "Alpha", "بنادول", "alpha", "أدول", "Zinc"})
            QVERIFY(TestDb::addDrug(QString::fromUtf8(name), "1", "0", "261101", "1", "1"));
        auto w = openEditor();
        QTest::mouseClick(w->Command8, Qt::LeftButton);
        QTest::mouseClick(w->Command9, Qt::LeftButton);
        QCOMPARE(column(w->Xxx1->grid(), ColName),
                 (QStringList{"alpha", "Alpha", "beta", "Zinc", QStringLiteral("أدول"), QStringLiteral("بنادول")}));
    }

    void clickSelectsDrugButNotHeader() {
        QVERIFY(TestDb::addDrug("Alpha", "1", "2"));
        QVERIFY(TestDb::addDrug("Bravo", "1", "2"));
        auto w = openEditor();
        clickRow(*w, 2);
        QCOMPARE(w->LLLDrug->text(), QStringLiteral("Bravo"));
        w->Xxx1->clickCell(0, 0);
        QCOMPARE(w->LLLDrug->text(), QStringLiteral("Bravo"));
        w->ShowPage(); // a rebuild leaves the label alone
        QCOMPARE(w->LLLDrug->text(), QStringLiteral("Bravo"));
    }

    void discountBounds_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("sent");
        QTest::newRow("1 refused") << "1" << false;
        QTest::newRow("0 refused") << "0" << false;
        QTest::newRow("96 refused") << "96" << false;
        QTest::newRow("95.01 refused") << "95.01" << false;
        QTest::newRow("text refused") << "abc" << false;
        QTest::newRow("cancelled") << QString() << false;
        QTest::newRow("1.5 sent") << "1.5" << true;
        QTest::newRow("95 sent") << "95" << true;
        QTest::newRow("12 sent") << "12" << true;
        QTest::newRow("12% sent as typed") << "12%" << true;
    }
    void discountBounds() {
        QFETCH(QString, answer);
        QFETCH(bool, sent);
        QVERIFY(TestDb::addDrug("Alpha", "9", "3", "170101"));
        QVERIFY(TestDb::addDrug("Zulu", "9", "3", "170101"));
        auto w = openEditor();
        QTest::mouseClick(w->Command8, Qt::LeftButton);
        clickRow(*w, rowOf(w->Xxx1->grid(), "Alpha"));
        QCOMPARE(w->LLLDrug->text(), QStringLiteral("Alpha"));
        if (answer.isNull())
            Dialogs::setNextInputCancelled();
        else
            Dialogs::setNextInput(answer);
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(Dialogs::shown().size(), size_t(1));
        QCOMPARE(Dialogs::shown().front().kind, QStringLiteral("input"));
        QCOMPARE(Dialogs::shown().front().text, QStringLiteral("ادخل الخصم الجديد"));
        QCOMPARE(Dialogs::shown().front().defaultText, QString());
        if (!sent) {
            QVERIFY(updates().isEmpty());
            QCOMPARE(TestDb::scalar("SELECT lastdate FROM bowndrugs WHERE drug='Alpha'"),
                     QStringLiteral("170101"));
            return;
        }
        QCOMPARE(updates(), QStringList{" UPDATE bowndrugs SET  highistdiskout = '" + answer +
                                        "' , lastdate = '261207'  WHERE drug='Alpha';"});
        QCOMPARE(TestDb::rows("SELECT highistdiskout, lastdate FROM bowndrugs WHERE drug='Alpha'"),
                 (QList<QStringList>{{answer, "261207"}}));
        QCOMPARE(TestDb::scalar("SELECT lastdate FROM bowndrugs WHERE drug='Zulu'"),
                 QStringLiteral("170101"));
        const FlexGrid& g = w->Xxx1->grid();
        QCOMPARE(column(g, ColName), (QStringList{"Alpha", "Zulu"})); // back in name order
        QCOMPARE(g.TextMatrix(1, ColHighest), answer);
        QCOMPARE(g.TextMatrix(1, ColLastChange), QStringLiteral("261207"));
    }

    void discountWithoutSelectionAsksAndDrops() {
        QVERIFY(TestDb::addDrug("Alpha", "9", "3"));
        auto w = openEditor();
        Dialogs::setNextInput("12");
        w->Command1_Click();
        QCOMPARE(Dialogs::shown().size(), size_t(1));
        QVERIFY(updates().isEmpty());
    }

    void discountOnApostropheName() {
        QVERIFY(TestDb::addDrug("O'Neil's", "9", "3"));
        auto w = openEditor();
        clickRow(*w, 1);
        Dialogs::setNextInput("10'");
        w->Command1_Click();
        QVERIFY(Dialogs::shownTexts().isEmpty()); // no refusal from the server
        QCOMPARE(TestDb::scalar("SELECT highistdiskout FROM bowndrugs WHERE drug='O''Neil''s'"),
                 QStringLiteral("10'"));
    }

    void renameSendsStatementAndFollowsName() {
        QVERIFY(TestDb::addDrug("Mango", "9", "3", "170101"));
        QVERIFY(TestDb::addDrug("Kiwi", "5", "1", "170101"));
        QVERIFY(TestDb::addDrug("Pear", "5", "1", "170101"));
        auto w = openEditor();
        QTest::mouseClick(w->Command10, Qt::LeftButton);
        clickRow(*w, rowOf(w->Xxx1->grid(), "Mango"));
        Dialogs::setNextInput("Apple O'Brien");
        w->EditChangeName->trigger();
        QCOMPARE(Dialogs::shown().front().kind, QStringLiteral("input"));
        QCOMPARE(Dialogs::shown().front().text, QStringLiteral("ادخل الاسم الجديد"));
        QCOMPARE(Dialogs::shown().front().defaultText, QStringLiteral("Mango"));
        QCOMPARE(updates(),
                 QStringList{" UPDATE bowndrugs SET  drug = 'Apple O''Brien',  lastdate = '261207'  "
                             "WHERE drug='Mango';"});
        QCOMPARE(TestDb::rows("SELECT drug, lastdate FROM bowndrugs ORDER BY drug"),
                 (QList<QStringList>{{"Apple O'Brien", "261207"}, {"Kiwi", "170101"}, {"Pear", "170101"}}));
        QCOMPARE(column(w->Xxx1->grid(), ColName), (QStringList{"Apple O'Brien", "Kiwi", "Pear"}));
        QCOMPARE(w->LLLDrug->text(), QStringLiteral("Apple O'Brien"));
        // A second rename finds the renamed row through its apostrophe.
        Dialogs::setNextInput("Zest");
        w->EditChangeName_Click();
        QCOMPARE(TestDb::scalar("SELECT COUNT(*) FROM bowndrugs WHERE drug='Zest'"), QStringLiteral("1"));
        QCOMPARE(column(w->Xxx1->grid(), ColName), (QStringList{"Kiwi", "Pear", "Zest"}));
    }

    void renameRefusals_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << QString() << QString();
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("blanks") << "   " << QString();
        QTest::newRow("caret") << "Kiwi^2"
                               << "لا يمكن ان يحتوي اسم الدواء على ^ او |";
        QTest::newRow("bar") << "Ki|wi"
                             << "لا يمكن ان يحتوي اسم الدواء على ^ او |";
        QTest::newRow("taken") << "Pear"
                               << "يوجد دواء آخر بهذا الاسم";
        QTest::newRow("taken, another spelling") << " PEAR"
                                                 << "يوجد دواء آخر بهذا الاسم";
    }
    void renameRefusals() {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QVERIFY(TestDb::addDrug("Kiwi", "5", "1", "170101"));
        QVERIFY(TestDb::addDrug("Pear", "5", "1", "170101"));
        auto w = openEditor();
        clickRow(*w, 1);
        if (answer.isNull())
            Dialogs::setNextInputCancelled();
        else
            Dialogs::setNextInput(answer);
        w->EditChangeName_Click();
        QVERIFY(updates().isEmpty());
        QCOMPARE(Dialogs::shownTexts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(TestDb::rows("SELECT drug FROM bowndrugs ORDER BY drug"),
                 (QList<QStringList>{{"Kiwi"}, {"Pear"}}));
        QCOMPARE(w->LLLDrug->text(), QStringLiteral("Kiwi"));
    }

    void renameWithoutSelectionAsksNothing() {
        QVERIFY(TestDb::addDrug("Kiwi", "5", "1"));
        auto w = openEditor();
        w->EditChangeName->trigger();
        QVERIFY(Dialogs::shown().empty());
        QVERIFY(updates().isEmpty());
    }

    void refusedStatementIsReportedAndGridRebuilt() {
        // The server's name column holds 70 characters; SQLite does not enforce it.
        QVERIFY(TestDb::addDrug("Kiwi", "5", "1", "170101"));
        auto w = openEditor();
        clickRow(*w, 1);
        QTest::mouseClick(w->Command8, Qt::LeftButton);
        const QString longName(80, u'k');
        Dialogs::setNextInput(longName);
        w->EditChangeName_Click();
        QCOMPARE(updates().size(), 1);
        if (TestDb::currentBackend() == QLatin1String("postgres")) {
            QCOMPARE(Dialogs::shownTexts().size(), 1);
            QVERIFY(Dialogs::shownTexts().front().startsWith(WriteRoad::RefusedText + u'\n'));
            QCOMPARE(TestDb::scalar("SELECT drug FROM bowndrugs"), QStringLiteral("Kiwi"));
            QCOMPARE(w->LLLDrug->text(), QStringLiteral("Kiwi"));
        } else {
            QVERIFY(Dialogs::shownTexts().isEmpty());
            QCOMPARE(TestDb::scalar("SELECT drug FROM bowndrugs"), longName);
        }
        QCOMPARE(w->Xxx1->grid().Rows(), 2);
        QVERIFY(sortedByName(w->Xxx1->grid()));
    }
};

QTEST_MAIN(TestDrugsEditor)
#include "test_drugseditor.moc"
