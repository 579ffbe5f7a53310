#pragma once

#include "catalogue/OrderSheet.h"

#include <QDateTime>
#include <QMainWindow>
#include <functional>

class FlexGridView;
class FormSetPrinter;
class QAction;
class QLabel;
class QMenu;
class QPushButton;

// How the catalogue window opens a window another folder builds (set in main.cpp): modally over
// the parent, returning when it is closed; left unset it opens nothing.
struct FormDrugsEditorOpeners {
    std::function<void(QWidget* parent)> wholesalers; // FormWholesalers
};

// The manager's catalogue window: the whole of bowndrugs with the sufficiency ratio, five sorts,
// the best-wholesaler-discount entry, the rename and the printed order sheet.
class FormDrugsEditor : public QMainWindow {
    Q_OBJECT
public:
    explicit FormDrugsEditor(QWidget* parent = nullptr, FormDrugsEditorOpeners openers = {});

    void ShowPage();
    void PrintOrderSheet(int rowsPerBlock, float rowHeight);

    FlexGridView* Xxx1;
    QLabel* LLLDrug;
    QPushButton* Command1;
    QPushButton* Command5;
    QPushButton* Command6;
    QPushButton* Command7;
    QPushButton* Command8;
    QPushButton* Command9;
    QPushButton* Command10;
    QMenu* EDit;
    QAction* EditChangeName;
    QMenu* mnuPrint;
    QAction* mnuPrintChoose;
    QAction* mnuPrintOrder100;
    QAction* mnuPrintPreview;
    QMenu* mnuWholesalers;
    QAction* mnuWholesalerOffers;
    QAction* mnuBestOffer;
    QLabel* PH;
    QLabel* PF;
    FormSetPrinter* setPrinter = nullptr;

    void Xxx1_Click();
    void Command1_Click();
    void EditChangeName_Click();
    void mnuPrintChoose_Click();
    void mnuPrintOrder100_Click();
    void mnuPrintPreview_Click();
    void mnuWholesalerOffers_Click();
    // Fills the best wholesaler discount of the chosen drug from the best current offer.
    void mnuBestOffer_Click();

private:
    OrderSheet::Input sheetInput(int rowsPerBlock, float rowHeight) const;
    // Runs an edit statement; a refusal by the server is shown. Returns the rows changed.
    long runEdit(const QString& sql);

    FormDrugsEditorOpeners m_openers;
};
