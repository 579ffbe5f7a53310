#include "ui/FormSetPrinter.h"

#include "paper/CurrentPrinter.h"
#include "ui/Dialogs.h"
#include "ui/VbUnits.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>

namespace {
template <typename AddFn> bool populate(AddFn add) {
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (names.isEmpty()) {
        add(QStringLiteral("(No Printer Installed)"));
        return true;
    }
    for (const QString& n : names)
        add(n);
    return true;
}
} // namespace

bool PopulateListControlWithPrinters(QListWidget* list) {
    if (!list)
        return false;
    list->clear();
    return populate([list](const QString& s) { list->addItem(s); });
}

bool PopulateListControlWithPrinters(QComboBox* list) {
    if (!list)
        return false;
    list->clear();
    return populate([list](const QString& s) { list->addItem(s); });
}

bool PrinterSetActive(const QString& myPrinterName) {
    const QString wanted = myPrinterName.trimmed();
    for (const QPrinterInfo& p : QPrinterInfo::availablePrinters()) {
        if (p.printerName() == wanted) {
            CurrentPrinter::set(p);
            return true;
        }
    }
    return false;
}

FormSetPrinter::FormSetPrinter(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormSetPrinter"));
    setWindowTitle(QStringLiteral("Set Active printer"));
    setFixedSize(VbUnits::px(8910), VbUnits::px(5070));

    ListPrinter = new QListWidget(this);
    ListPrinter->setObjectName(QStringLiteral("ListPrinter"));
    ListPrinter->setGeometry(VbUnits::rect(120, 90, 8655, 4680));
    QFont f(QStringLiteral("Arabic Transparent"));
    f.setPointSize(14);
    f.setBold(true);
    ListPrinter->setFont(f);
    connect(ListPrinter, &QListWidget::itemClicked, this, &FormSetPrinter::ListPrinter_Click);

    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    PopulateListControlWithPrinters(ListPrinter);
}

void FormSetPrinter::ListPrinter_Click(QListWidgetItem* item) {
    if (!item)
        return;
    const bool found = PrinterSetActive(item->text());
    Dialogs::MsgBox(found ? QStringLiteral("True") : QStringLiteral("False"), Dialogs::vbOKOnly, this);
    accept();
}
