#include "collection/ClientBookStart.h"

#include "collection/ModOmla.h"
#include "ui/Dialogs.h"

void LoadClientBookAtStart(QWidget* parent) {
    const ModOmla::BookStatus status = ModOmla::LoadClientBook();
    if (!status.message.isEmpty())
        Dialogs::MsgBox(status.message, Dialogs::vbOKOnly, parent);
}
