#pragma once

#include <QString>
#include <functional>

// The one road every write to the server takes: a statement, or statements that stand or fall
// together, and one outcome that says what the server can hold afterwards.
namespace WriteRoad {

enum class Outcome {
    Saved,      // the server carried it out
    Taken,      // the state the write assumed is gone (its condition touched no row): nothing written
    Refused,    // the server answered with a refusal: nothing written
    NotWritten, // it never reached the server, or a read proved it is not there
    Unknown,    // no reply, and no read could tell: it may have been written
    ReadOnly,   // the embedded database is open for reading only (its folder cannot be written)
};

struct Result {
    Outcome outcome = Outcome::NotWritten;
    long rows = 0;  // rows the statement changed, when Saved
    // The server's or the driver's text, when failed; for a Taken, the writer's own words for what
    // changed, when it knows (told instead of the general text).
    QString error;
    QString folder{}; // the folder that cannot be written, when ReadOnly
    bool saved() const { return outcome == Outcome::Saved; }
    // Nothing of it can be on the server.
    bool nothingWritten() const { return outcome == Outcome::Taken || outcome == Outcome::Refused || outcome == Outcome::NotWritten ||
                                        outcome == Outcome::ReadOnly; }
};

// After a lost reply: 1 when the write is on the server, 0 when it is not, -1 when that cannot be read.
using ReadBack = std::function<int()>;

// One statement on its own: Saved when it changed a row, Taken when it changed none, else what the
// failure leaves known; a lost reply is settled by readBack where one is given.
Result Run(const QString& sql, const ReadBack& readBack = {});
// A statement inside Transaction's steps (no read back: nothing before the commit stands).
Result Step(const QString& sql);
// Runs steps between BEGIN and COMMIT. A step result other than Saved rolls back and is returned
// (a lost reply before the commit leaves nothing: NotWritten). A commit without a reply is settled by
// readBack, else Unknown.
Result Transaction(const std::function<Result()>& steps, const ReadBack& readBack = {});

// The one Arabic text of an outcome that is not Saved (empty for Saved); a refusal carries the
// server's words, a read-only database names its folder, a Taken its own words when it has them.
QString Text(const Result& r);

// Its parts, for windows that go on with more lines.
inline const QString NotSavedText = QStringLiteral("لم يصل هذا التعديل الى الخادم ولم يتم حفظه.");
inline const QString UnknownText =
    QStringLiteral("انقطع الاتصال بالخادم قبل وصول رده، فلا يعرف هل تم هذا التعديل ام لا.");
inline const QString RefusedText = QStringLiteral("رفض الخادم هذا التعديل ولم يتم حفظه. رد الخادم:");
// The program's folder (%1) cannot be written: its database was opened for reading only.
inline const QString ReadOnlyText = QStringLiteral(
    "لم يتم حفظ هذا التعديل: مجلد البرنامج للقراءة فقط ولا يمكن الكتابة فيه:\n%1\n"
    "لحفظ التغييرات ثبت البرنامج ببرنامج التثبيت، او انقل مجلد البرنامج الي مجلد تستطيع الكتابة فيه وشغله من هناك.");
inline const QString TakenText =
    QStringLiteral("لم يتم هذا التعديل: تغيرت البيانات على الخادم (ربما من جهاز اخر).");

} // namespace WriteRoad
