#pragma once

#include <QDialog>
#include <QPrinterInfo>
#include <QString>

class QComboBox;
class QListWidget;
class QListWidgetItem;

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
