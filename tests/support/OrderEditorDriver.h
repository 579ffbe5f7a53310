#pragma once

#include "ordering/FormUserBuy.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

class QLineEdit;

// The pharmacist at the order editor: clicks and typing on the real window, each question
// answered in advance through the message-box layer.
namespace OrderEditorDriver {

// Logs in as the pharmacist tel of markaz, in the group's governorate.
void logIn(const QString& tel, const QString& markaz);
void fixClock(FormUserBuy& w, const QDateTime& at);
// The catalogue row of the drug; 0 or less when it is not listed.
int catalogueRow(FormUserBuy& w, const QString& name);
// Clicks the arrow of the drug, answering the quantity prompt with answer (cancelled when null).
void add(FormUserBuy& w, const QString& name, const QString& answer);
// A new order, its question answered Yes.
void newOrder(FormUserBuy& w);
// A cell of the order's grid.
QString cell(FormUserBuy& w, int row, int col);
// An editor whose clock stands at at, showing a new order with two of Panadol.
std::unique_ptr<FormUserBuy> editorWithOrder(const QDateTime& at);
// The information boxes shown: the questions and prompts left out.
QStringList told();
// Types text into edit, one key press per character (as Arabic needs).
void typeInto(QLineEdit* edit, const QString& text);

} // namespace OrderEditorDriver
