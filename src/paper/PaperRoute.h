#pragma once

#include <QPrinterInfo>
#include <QString>

// Where a paper goes: to the current printer, or, when the machine has none, into a PDF file once
// the user has been told so and has agreed. Declining saves nothing and says nothing more: the user
// was just told why, and the window stays as it was.
namespace PaperRoute {

enum class Way { Printer, AskPdf };
struct Decision {
    Way way = Way::AskPdf;
    QPrinterInfo printer; // the printer to use; null when there is none
    QString question;     // what the user is asked before a PDF is offered; empty for a printer
};

// The one Arabic question when no printer is installed.
inline const QString NoPrinterOfferPdf =
    QStringLiteral("لا توجد طابعة مثبتة على هذا الجهاز.\nهل تريد حفظ الورقة في ملف PDF بدلا من ذلك؟");

Decision Decide(const QPrinterInfo& printer);
// A PDF file's name as saved: the name typed, with ".pdf" when it lacks it; empty stays empty.
QString PdfName(const QString& typed);

} // namespace PaperRoute
