#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <optional>

class QDialog;
class QInputDialog;
class QMessageBox;
class QWidget;

// Message boxes and input boxes as the windows use them: no title of their own (the application's
// name shows), OK only for information, Yes and No with the question icon for confirmations.
// Tests queue answers in advance and read what was shown, so no test waits on a modal box.
namespace Dialogs {

enum Button { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };
enum Style { vbOKOnly = 0, vbYesNo = 4, vbQuestion = 32, vbMsgBoxRight = 524288 };

// Shows text with the buttons of style (a sum of Style values); returns the button pressed.
int MsgBox(const QString& text, int style = vbOKOnly, QWidget* parent = nullptr);
// Yes/No with the question icon; true unless the answer is No.
bool Confirm(const QString& text, QWidget* parent = nullptr, bool rightAligned = false);
// The typed text, or the empty text when cancelled.
QString InputBox(const QString& prompt, const QString& defaultText = QString(), QWidget* parent = nullptr);
// The system's file dialog, where to save (save) or which file to open, starting at startPath and
// showing the files filter names; the chosen path, empty when cancelled.
QString FileDialog(bool save, const QString& title, const QString& startPath, const QString& filter,
                   QWidget* parent = nullptr);

// A working window made as a dialog ends only by its close button: Escape, the dialog's default
// key, is what a pharmacist presses to leave a search box, not the window.
void KeepOpenOnEscape(QDialog& window);

// The boxes MsgBox and InputBox show, built but not shown. Their buttons carry whole Arabic words
// ("موافق", "إلغاء", "نعم", "لا"): Qt's own short translations read as cut-off words.
std::unique_ptr<QMessageBox> buildMessageBox(const QString& text, int style, QWidget* parent = nullptr);
std::unique_ptr<QInputDialog> buildInputBox(const QString& prompt, const QString& defaultText,
                                            QWidget* parent = nullptr);
inline const QString OkText = QStringLiteral("موافق");
inline const QString CancelText = QStringLiteral("إلغاء");
inline const QString YesText = QStringLiteral("نعم");
inline const QString NoText = QStringLiteral("لا");

// --- for tests -------------------------------------------------------------------------------
struct Shown {
    QString kind; // "msgbox" or "input"
    QString text; // message text or prompt
    int style = 0;
    QString defaultText;
};
// Once set, no box is ever shown: queued answers are used, and when the queue is empty an
// information box answers OK, a question No and an input box is cancelled.
void setTestMode(bool on);
bool testMode();
void setNextAnswer(int button);          // for the next MsgBox
void setNextInput(const QString& text);  // for the next InputBox
void setNextInputCancelled();
void setNextPath(const QString& path);   // for the next FileDialog; none queued: cancelled
void clearAnswers();
const std::deque<Shown>& shown();
void clearShown();
// The texts of the message boxes shown, in order.
QStringList shownTexts();
// The file dialogs asked, in order; kept apart from the boxes, cleared with them.
struct FileAsked {
    bool save = true;
    QString title;
    QString startPath;
    QString filter;
};
const std::deque<FileAsked>& filesAsked();

} // namespace Dialogs
