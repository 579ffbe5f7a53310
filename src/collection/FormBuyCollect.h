#pragma once

#include "data/FlexGrid.h"
#include "preparation/PickList.h"

#include <QDialog>
#include <QVariant>
#include <functional>

class FlexGridView;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;

// How the collected-orders window opens what other folders build (set in main.cpp); each returns
// when it is done, and one left unset does nothing.
struct FormBuyCollectOpeners {
    std::function<void(QWidget* parent)> groupDemand; // FormGroupDemand
    // The pick list of the order shown (its id as shown, empty when none is).
    std::function<void(QWidget* parent, const QString& shownOrderId)> pickListOfOrder;
    std::function<void(QWidget* parent, const PickList::Selection& selection)> pickLists;
};

// The manager's window over every pharmacist's orders: a click opens an order's lines and values,
// menus re-sort the list, add a client to the client book and delete old orders.
class FormBuyCollect : public QDialog {
    Q_OBJECT
public:
    // Loads the list from the server, as every opening does.
    explicit FormBuyCollect(QWidget* parent = nullptr, FormBuyCollectOpeners openers = {});

    // Puts the client book's names in place of the phones of the orders list.
    void ReplaceTelName();
    void DrugFieldToFlex(FlexGrid& flex, const QVariant& textFromServer);

    void Form_Load();
    void XXX_Click();
    void mnuDeletOlderThan_Click();
    void mnuAddNewAmil_Click();
    void MNUSORTNAME_Click();
    void MNUSORTDATE_Click();
    void MNUSORTADRESS_Click();
    void mnuPickList_Click();
    void mnuPickListsAll_Click();
    void mnuPickListsNew_Click();
    void mnuPickListsPeriod_Click();
    void mnuPickListsDistrict_Click();
    void mnuGroupDemand_Click();

    FlexGridView* XXX;
    FlexGridView* Xxx2;
    QLabel* LLLOrderID;
    QLabel* LLLDate;
    QLabel* LLLOrderTel;
    QLabel* LLLSubmitted;
    QLabel* LLLNaqdyValue;
    QLabel* LLLLAgelValue;

    QMenuBar* menuBar;
    QMenu* mnuOperations;
    QAction* mnuDeletOlderThan;
    QMenu* mnuAmil;
    QAction* mnuAddNewAmil;
    QMenu* MNUSORTMENU;
    QAction* MNUSORTNAME;
    QAction* MNUSORTDATE;
    QAction* MNUSORTADRESS;
    QMenu* mnuReports;
    QAction* mnuGroupDemand;
    QAction* mnuPickList;
    QAction* mnuPickListsAll;
    QAction* mnuPickListsNew;
    QAction* mnuPickListsPeriod;
    QAction* mnuPickListsDistrict;

private:
    void reloadList();
    // Fills the orders list; a failed query leaves it as it was and is reported.
    void fillList();
    void pickLists(const PickList::Selection& selection);

    FormBuyCollectOpeners m_openers;
};
