#include "OrderEditorDriver.h"

#include "data/AppGlobals.h"
#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QtTest>

namespace OrderEditorDriver {

void logIn(const QString& tel, const QString& markaz) {
    AppGlobals::reset();
    AppGlobals::LoginTel = tel;
    AppGlobals::LoginMarkaz = markaz;
    AppGlobals::LoginMohafaza = AppGlobals::Mohafaza;
}

void fixClock(FormUserBuy& w, const QDateTime& at) {
    w.pane().clock = [at] { return at; };
}

int catalogueRow(FormUserBuy& w, const QString& name) {
    return FLXMod::FlexFindText(w.Xxx1->grid(), name, 0);
}

void add(FormUserBuy& w, const QString& name, const QString& answer) {
    if (answer.isNull())
        Dialogs::setNextInputCancelled();
    else
        Dialogs::setNextInput(answer);
    const int row = catalogueRow(w, name);
    QVERIFY2(row > 0, qPrintable(name));
    w.Xxx1->clickCell(row, 3);
}

void newOrder(FormUserBuy& w) {
    Dialogs::setNextAnswer(Dialogs::vbYes);
    w.ButonWebNewOrder_Click();
}

QString cell(FormUserBuy& w, int row, int col) {
    return w.Xxx2->grid().TextMatrix(row, col);
}

std::unique_ptr<FormUserBuy> editorWithOrder(const QDateTime& at) {
    auto w = std::make_unique<FormUserBuy>();
    fixClock(*w, at);
    newOrder(*w);
    add(*w, QStringLiteral("Panadol"), QStringLiteral("2"));
    return w;
}

QStringList told() {
    QStringList out;
    for (const Dialogs::Shown& s : Dialogs::shown())
        if (s.kind != QLatin1String("input") && !(s.style & Dialogs::vbYesNo))
            out << s.text;
    return out;
}

void typeInto(QLineEdit* edit, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
}

} // namespace OrderEditorDriver
