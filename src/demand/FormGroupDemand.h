#pragma once

#include "demand/GroupDemand.h"
#include "demand/GroupDemandSheet.h"

#include "ui/WorkDialog.h"

#include <functional>

class FlexGridView;
class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

// The manager's view of what the whole group ordered in a period, drug by drug, and which orders
// hold a drug; saved as an Excel workbook or CSV, or printed.
class FormGroupDemand : public WorkDialog {
    Q_OBJECT
public:
    // Opens on the last seven days (the collected-orders window's clock), sent orders only.
    explicit FormGroupDemand(QWidget* parent = nullptr);

    void CommandShow_Click();
    void Xxx1_Click();
    void Xxx2_Click();
    void CommandCsv_Click();
    void CommandXlsx_Click();
    void CommandPrint_Click();
    void CommandPurchaseOrders_Click();

    // Where to save the CSV and the PDF; tests replace them. An empty answer saves nothing.
    std::function<QString()> askCsvPath;
    std::function<QString()> askXlsxPath;
    std::function<QString()> askPdfPath;

    const GroupDemand::Report& report() const { return m_report; }
    GroupDemandSheet::Input sheetInput() const;

    QDateEdit* DateFrom;
    QDateEdit* DateTo;
    QCheckBox* CheckSentOnly;
    QPushButton* CommandShow;
    FlexGridView* Xxx1;
    FlexGridView* Xxx2;
    QPushButton* CommandCsv;
    QPushButton* CommandXlsx;
    QPushButton* CommandPrint;
    QPushButton* CommandPurchaseOrders;
    QLabel* LLLCounts;
    QLabel* LLLDrug;
    QLabel* LLLCashNote;
    QLabel* LLLOffers; // why the best discounts are the catalogue's (no offer book read)

private:
    QString periodText() const;
    QString countsText() const;

    GroupDemand::Report m_report;
    GroupDemand::SortState m_demandSort{GroupDemand::ColDrug, QStringLiteral("AZ")};
    GroupDemand::SortState m_placeSort;
};
