#include "ui/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace Dialogs {

namespace {
class EscapeEater : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The key reaches the window only when the control with focus did not take it.
        if (watched == parent() && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

void KeepOpenOnEscape(QDialog& window) {
    window.installEventFilter(new EscapeEater(&window));
}

namespace {
struct Answer {
    enum Kind { Button, Input, InputCancelled, Path } kind;
    int button = 0;
    QString text;
};
struct State {
    bool testMode = false;
    std::deque<Answer> answers;
    std::deque<Shown> shown;
    std::deque<FileAsked> files;
};
State& state() {
    static State s;
    return s;
}

std::optional<Answer> takeAnswer(Answer::Kind kind) {
    const auto family = [](Answer::Kind k) { return k == Answer::InputCancelled ? Answer::Input : k; };
    auto& q = state().answers;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (family(it->kind) == family(kind)) {
            Answer a = *it;
            q.erase(it);
            return a;
        }
    }
    return std::nullopt;
}

QString appTitle() {
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Brentoval") : name;
}
} // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const QString& text, int style, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setObjectName(QStringLiteral("MsgBox"));
    box->setWindowTitle(appTitle());
    box->setText(text);
    box->setIcon((style & vbQuestion) ? QMessageBox::Question : QMessageBox::NoIcon);
    if ((style & 0x7) == vbYesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->button(QMessageBox::Yes)->setText(YesText);
        box->button(QMessageBox::No)->setText(NoText);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
        box->button(QMessageBox::Ok)->setText(OkText);
    }
    if (style & vbMsgBoxRight) {
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return box;
}

int MsgBox(const QString& text, int style, QWidget* parent) {
    state().shown.push_back({QStringLiteral("msgbox"), text, style, QString()});
    const bool yesNo = (style & 0x7) == vbYesNo;
    if (state().testMode) {
        if (auto a = takeAnswer(Answer::Button))
            return a->button;
        return yesNo ? vbNo : vbOK;
    }
    const std::unique_ptr<QMessageBox> box = buildMessageBox(text, style, parent);
    const int r = box->exec();
    if (r == QMessageBox::Yes)
        return vbYes;
    if (r == QMessageBox::No)
        return vbNo;
    return yesNo ? vbNo : vbOK;
}

bool Confirm(const QString& text, QWidget* parent, bool rightAligned) {
    const int style = vbYesNo + vbQuestion + (rightAligned ? vbMsgBoxRight : 0);
    return MsgBox(text, style, parent) != vbNo;
}

std::unique_ptr<QInputDialog> buildInputBox(const QString& prompt, const QString& defaultText, QWidget* parent) {
    auto dlg = std::make_unique<QInputDialog>(parent);
    dlg->setObjectName(QStringLiteral("InputBox"));
    dlg->setWindowTitle(appTitle());
    dlg->setLabelText(prompt);
    dlg->setTextValue(defaultText);
    dlg->setInputMode(QInputDialog::TextInput);
    dlg->setOkButtonText(OkText);
    dlg->setCancelButtonText(CancelText);
    return dlg;
}

QString InputBox(const QString& prompt, const QString& defaultText, QWidget* parent) {
    state().shown.push_back({QStringLiteral("input"), prompt, 0, defaultText});
    if (state().testMode) {
        if (auto a = takeAnswer(Answer::Input))
            return a->kind == Answer::Input ? a->text : QString();
        return {};
    }
    const std::unique_ptr<QInputDialog> dlg = buildInputBox(prompt, defaultText, parent);
    if (dlg->exec() != QDialog::Accepted)
        return {};
    return dlg->textValue();
}

QString FileDialog(bool save, const QString& title, const QString& startPath, const QString& filter,
                   QWidget* parent) {
    state().files.push_back({save, title, startPath, filter});
    if (state().testMode) {
        if (auto a = takeAnswer(Answer::Path))
            return a->text;
        return {};
    }
    return save ? QFileDialog::getSaveFileName(parent, title, startPath, filter)
                : QFileDialog::getOpenFileName(parent, title, startPath, filter);
}

void setTestMode(bool on) { state().testMode = on; }
bool testMode() { return state().testMode; }
void setNextAnswer(int button) { state().answers.push_back({Answer::Button, button, {}}); }
void setNextInput(const QString& text) { state().answers.push_back({Answer::Input, 0, text}); }
void setNextInputCancelled() { state().answers.push_back({Answer::InputCancelled, 0, {}}); }
void setNextPath(const QString& path) { state().answers.push_back({Answer::Path, 0, path}); }
void clearAnswers() { state().answers.clear(); }
const std::deque<Shown>& shown() { return state().shown; }
void clearShown() {
    state().shown.clear();
    state().files.clear();
}
const std::deque<FileAsked>& filesAsked() { return state().files; }
QStringList shownTexts() {
    QStringList out;
    for (const Shown& s : state().shown)
        if (s.kind == QLatin1String("msgbox"))
            out.append(s.text);
    return out;
}

} // namespace Dialogs
