#include "ui/PdfSave.h"

#include "paper/PaperRoute.h"
#include "ui/Dialogs.h"

#include <QDir>

namespace PdfSave {

bool SaveAs(QWidget* parent, const std::function<QString()>& askPath,
            const std::function<bool(const QString& path)>& write, const QString& notSaved) {
    const QString path = PaperRoute::PdfName(askPath ? askPath() : QString());
    if (path.isEmpty())
        return false;
    if (write && write(path))
        return true;
    Dialogs::MsgBox(notSaved + QDir::toNativeSeparators(path), Dialogs::vbOKOnly, parent);
    return false;
}

} // namespace PdfSave
