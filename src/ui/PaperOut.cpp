#include "ui/PaperOut.h"

#include "paper/CurrentPrinter.h"
#include "paper/PaperRoute.h"
#include "ui/Dialogs.h"
#include "ui/PdfSave.h"

namespace PaperOut {

Result Send(QWidget* parent, const Job& job) {
    const PaperRoute::Decision d = PaperRoute::Decide(CurrentPrinter::info());
    if (d.way == PaperRoute::Way::Printer) {
        // The preview draws the pages again for the printer last: a job whose last drawing failed
        // did not go out, though the preview was left by its print button.
        bool lastDrawn = true;
        const PrintPreview::Paint paint = [&](QPagedPaintDevice& device, QPointF origin) {
            return lastDrawn = job.paint && job.paint(device, origin);
        };
        if (!PrintPreview::Show(parent, {job.title, {}, job.direction}, paint, job.failed))
            return Result::PreviewClosed;
        return lastDrawn ? Result::Printed : Result::PrintFailed;
    }
    if (!Dialogs::Confirm(d.question, parent, true))
        return Result::Declined;
    return PdfSave::SaveAs(parent, job.askPath, job.writePdf, job.notSaved) ? Result::Saved : Result::NotSaved;
}

} // namespace PaperOut
