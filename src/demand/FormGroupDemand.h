#pragma once

#include "demand/GroupDemand.h"
#include "demand/GroupDemandSheet.h"

#include "ui/WorkDialog.h"

#include <QDate>
#include <functional>

class FlexGridView;
class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

// How the group demand opens a window another folder builds (set in main.cpp); left unset it
// opens nothing.
struct FormGroupDemandOpeners {
    // FormPurchaseOrders, made for the period shown here; returns when it is closed.
    std::function<void(QWidget* parent, QDate from, QDate to)> purchaseOrders;
    // Puts the best offers of the group's offer book in the report's best-discount column
    // (DemandOffers::Read); returns why the catalogue's figures stay, empty when applied. Unset,
    // the catalogue's figures stand.
    std::function<QString(GroupDemand::Report& report)> bestOffers;
};

// The manager's view of what the whole group ordered in a period, drug by drug, and which orders
// hold a drug; saved as an Excel workbook or CSV, or printed.
class FormGroupDemand : public WorkDialog {
    Q_OBJECT
public:
    // Opens on the last seven days (the program's clock), sent orders only.
    explicit FormGroupDemand(QWidget* parent = nullptr, FormGroupDemandOpeners openers = {});

    void buttonShow_Click();
    void gridDemand_Click();
    void gridOrders_Click();
    void buttonCsv_Click();
    void buttonXlsx_Click();
    void buttonPrint_Click();
    void buttonPurchaseOrders_Click();

    const GroupDemand::Report& report() const { return m_report; }
    GroupDemandSheet::Input sheetInput() const;

    QDateEdit* dateFrom;
    QDateEdit* dateTo;
    QCheckBox* checkSentOnly;
    QPushButton* buttonShow;
    FlexGridView* gridDemand;
    FlexGridView* gridOrders;
    QPushButton* buttonCsv;
    QPushButton* buttonXlsx;
    QPushButton* buttonPrint;
    QPushButton* buttonPurchaseOrders;
    QLabel* labelCounts;
    QLabel* labelDrug;
    QLabel* labelCashNote;
    QLabel* labelOffers; // why the best discounts are the catalogue's (no offer book read)

private:
    QString periodText() const;
    QString countsText() const;

    GroupDemand::Report m_report;
    GroupDemand::SortState m_demandSort{GroupDemand::ColDrug, QStringLiteral("AZ")};
    GroupDemand::SortState m_placeSort;
    FormGroupDemandOpeners m_openers;
};
