#include "ui/PaperOut.h"

#include "paper/CurrentPrinter.h"
#include "paper/PaperRoute.h"
#include "ui/Dialogs.h"
#include "ui/PdfSave.h"

namespace PaperOut {

Result Send(QWidget* parent, const Job& job) {
    const PaperRoute::Decision d = PaperRoute::Decide(CurrentPrinter::info());
    if (d.way == PaperRoute::Way::Printer)
        return PrintPreview::Show(parent, {job.title, {}, job.direction}, job.paint, job.failed)
                   ? Result::Printed
                   : Result::PreviewClosed;
    if (!Dialogs::Confirm(d.question, parent, true))
        return Result::Declined;
    return PdfSave::SaveAs(parent, job.askPath, job.writePdf, job.notSaved) ? Result::Saved : Result::NotSaved;
}

} // namespace PaperOut
