#pragma once

#include <QDialog>
#include <QPrinterInfo>
#include <QString>

class QComboBox;
class QListWidget;
class QListWidgetItem;

// The program's current printer for the rest of the run. Qt has no application-wide printer
// object, so the choice is held here; until one is made the system's default printer serves.
namespace CurrentPrinter {
// The chosen printer while it is still installed, else the default one, else the first installed;
// a null QPrinterInfo when none is installed.
QPrinterInfo info();
void set(const QPrinterInfo& printer);
QString chosenName(); // empty until a choice is made
void reset();
} // namespace CurrentPrinter

// Fills the list with the installed printers' device names, or "(No Printer Installed)".
bool PopulateListControlWithPrinters(QListWidget* list);
bool PopulateListControlWithPrinters(QComboBox* list);
// Makes the installed printer of that device name (blanks at both ends ignored, case kept) the
// current printer; true when one was found.
bool PrinterSetActive(const QString& myPrinterName);

class FormSetPrinter : public QDialog {
    Q_OBJECT
public:
    explicit FormSetPrinter(QWidget* parent = nullptr);

    QListWidget* ListPrinter;

    void ListPrinter_Click(QListWidgetItem* item);
};
