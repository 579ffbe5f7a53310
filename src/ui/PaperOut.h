#pragma once

#include "ui/PrintPreview.h"

#include <QString>
#include <functional>

class QWidget;

// The windows' side of where a paper goes: with a printer, the print preview on it; without one,
// the one question, then a save dialog for a PDF file. Declined, nothing is saved and nothing more
// is said.
namespace PaperOut {

struct Job {
    QString title;
    Qt::LayoutDirection direction = Qt::RightToLeft;
    PrintPreview::Paint paint;                   // the pages on the printer
    std::function<bool(const QString&)> writePdf; // the same pages into a PDF file
    std::function<QString()> askPath;             // the file's name (empty: cancelled)
    QString notSaved;                             // told, with the path, when the file was not written
    std::function<void()> failed;                 // a drawing on the printer failed
};

enum class Result { Printed, PrintFailed, PreviewClosed, Saved, Declined, NotSaved };
// The paper went out: printed, or saved as a PDF file.
inline bool WentOut(Result r) {
    return r == Result::Printed || r == Result::Saved;
}

Result Send(QWidget* parent, const Job& job);

} // namespace PaperOut
