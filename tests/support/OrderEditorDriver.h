#pragma once

#include "data/Clock.h"
#include "data/AppGlobals.h"
#include "ordering/FormUserBuy.h"
#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>

// The pharmacist at the order editor: clicks and typing on the real window, each question
// answered in advance through the message-box layer.
namespace OrderEditorDriver {

// Logs in as the pharmacist tel of markaz, in the group's governorate.
inline void logIn(const QString& tel, const QString& markaz) {
    AppGlobals::reset();
    AppGlobals::LoginTel = tel;
    AppGlobals::LoginMarkaz = markaz;
    AppGlobals::LoginMohafaza = AppGlobals::Mohafaza;
}

inline void fixClock(FormUserBuy&, const QDateTime& at) {
    Clock::set([at] { return at; });
}

// The catalogue row of the drug; 0 or less when it is not listed.
inline int catalogueRow(FormUserBuy& w, const QString& name) {
    return FLXMod::FlexFindText(w.Xxx1->grid(), name, 0);
}

// Clicks the arrow of the drug, answering the quantity prompt with answer (cancelled when null).
inline void add(FormUserBuy& w, const QString& name, const QString& answer) {
    if (answer.isNull())
        Dialogs::setNextInputCancelled();
    else
        Dialogs::setNextInput(answer);
    const int row = catalogueRow(w, name);
    QVERIFY2(row > 0, qPrintable(name));
    w.Xxx1->clickCell(row, 3);
}

// A new order, its question answered Yes.
inline void newOrder(FormUserBuy& w) {
    Dialogs::setNextAnswer(Dialogs::vbYes);
    w.ButonWebNewOrder_Click();
}

// A cell of the order's grid.
inline QString cell(FormUserBuy& w, int row, int col) {
    return w.Xxx2->grid().TextMatrix(row, col);
}

// An editor whose clock stands at at, showing a new order with two of Panadol.
inline std::unique_ptr<FormUserBuy> editorWithOrder(const QDateTime& at) {
    auto w = std::make_unique<FormUserBuy>();
    fixClock(*w, at);
    newOrder(*w);
    add(*w, QStringLiteral("Panadol"), QStringLiteral("2"));
    return w;
}

// The information boxes shown: the questions and prompts left out.
inline QStringList told() {
    QStringList out;
    for (const Dialogs::Shown& s : Dialogs::shown())
        if (s.kind != QLatin1String("input") && !(s.style & Dialogs::vbYesNo))
            out << s.text;
    return out;
}

// Types text into edit, one key press per character (as Arabic needs).
inline void typeInto(QLineEdit* edit, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
}

} // namespace OrderEditorDriver
