#pragma once

#include "ui/WorkDialog.h"
#include "paper/TablePaper.h"
#include "buying/BuyingStore.h"
#include "buying/OfferBook.h"
#include "buying/PeriodDemand.h"
#include "buying/PurchasePlan.h"

#include <QDateTime>
#include <functional>

class FlexGridView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

// Purchase orders made from the open lines of sent orders (of the chosen days, or all): per drug
// the quantity to buy after the group's stock and the wholesaler of the best offer (both
// changeable, or the drug's open units given up), kept on the server one per wholesaler, printed,
// received line by line with the delivery shared among the pharmacies' orders, and closed with the
// units that did not come carried or cancelled. Beside them each drug's figures, what is still to
// come from each wholesaler, and the group's stock.
class FormPurchaseOrders : public WorkDialog {
    Q_OBJECT
public:
    explicit FormPurchaseOrders(QWidget* parent = nullptr);
    // Opens modally on that period, the plan made at once when the tables are there.
    static void OpenOnPeriod(QWidget* parent, QDate from, QDate to);

    void buttonMake_Click();
    void gridPlan_Click();
    void gridUnoffered_Click();
    void buttonMove_Click();
    void buttonKeep_Click();
    void comboOrders_Change();
    void gridOrderLines_Click();
    void buttonReceive_Click();
    void buttonPrint_Click();
    void buttonPdf_Click();
    void buttonXlsx_Click();
    void buttonDistribution_Click();
    void buttonCancelDrug_Click();
    void buttonClose_Click();
    void buttonCount_Click();

    const PurchasePlan& plan() const { return m_plan; }
    const std::vector<BuyingStore::KeptOrder>& kept() const { return m_kept; }
    TablePaper::Input orderPaper() const;
    TablePaper::Input distributionPaper() const;
    bool tablesPresent() const { return m_tablesPresent; }

    QDateEdit* dateFrom;
    QDateEdit* dateTo;
    QPushButton* buttonMake;
    QCheckBox* checkAllOpen;
    QLabel* labelBatch;
    FlexGridView* gridPlan; // drugs to buy
    QLabel* labelUnoffered;
    FlexGridView* gridUnoffered; // drugs without an offer
    QComboBox* comboWholesaler;
    QPushButton* buttonMove;
    QPushButton* buttonKeep;
    QPushButton* buttonCancelDrug;
    QLabel* labelTotal;
    QComboBox* comboOrders;
    FlexGridView* gridOrderLines; // lines of the chosen kept order
    QComboBox* comboRule;
    QLabel* labelRule;
    QPushButton* buttonReceive;
    QPushButton* buttonPrint;
    QPushButton* buttonPdf;
    QPushButton* buttonXlsx;
    QPushButton* buttonDistribution;
    QPushButton* buttonClose;
    FlexGridView* gridFigures; // each drug's figures
    QPushButton* buttonCount;
    FlexGridView* gridPending; // what is still to come from each wholesaler

private:
    void showPlan();
    void readKept();
    void showOrder();
    void showFigures();
    void tell(const WriteRoad::Result& r);
    static QString ruleTitle(DeliveryShare::Rule rule);
    void printPaper(const TablePaper::Input& paper);
    void savePdf(const TablePaper::Input& paper);
    QString askPdfPath();
    const BuyingStore::KeptOrder* chosenOrder() const;
    const BuyingStore::KeptLine* chosenLine() const;
    DeliveryShare::Rule rule() const;
    Wholesaler wholesaler(int id) const;

    bool m_tablesPresent = false;
    GroupTables::Presence m_presence = GroupTables::Presence::Present;
    GroupDemand::Period m_period;
    PeriodDemand m_demand;
    OfferBook m_offers;
    PurchasePlan m_plan;
    std::vector<BuyingStore::Figures> m_figures;
    std::vector<int> m_rowLine; // gridPlan row -> plan line
    std::vector<int> m_unofferedLine;
    int m_line = -1;            // the plan line chosen
    std::vector<BuyingStore::KeptOrder> m_kept;
    int m_keptLine = -1;        // index into the chosen order's lines
};
