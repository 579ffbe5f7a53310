#pragma once

#include "ordering/Catalogue.h"
#include "ordering/OrderPane.h"

#include <QDialog>

class ButonWeb;
class FlexGridView;
class QLabel;
class QLineEdit;

// The order editor: the catalogue on one side, the open order on the other.
class FormUserBuy : public QDialog {
    Q_OBJECT
public:
    explicit FormUserBuy(QWidget* parent = nullptr);

    void ShowMyList(const QString& orderId);
    void SaveTable();
    // A new order with the drugs and quantities of order sourceId at today's catalogue prices.
    void Reorder(const QString& sourceId);

    OrderPane& pane() { return m_pane; }
    FlexGridView* Xxx1 = nullptr;
    FlexGridView* Xxx2 = nullptr;
    QLineEdit* TextSearch = nullptr;
    QLabel* LLLOrderID = nullptr;
    QLabel* LLLDate = nullptr;
    QLabel* LLLOrderTel = nullptr;
    QLabel* LLLSubmitted = nullptr;
    QLabel* LLLNaqdyValue = nullptr;
    QLabel* LLLLAgelValue = nullptr;
    ButonWeb* ButonWebNewOrder = nullptr;
    ButonWeb* ButonWebCallOrder = nullptr;
    ButonWeb* ButonWeb1 = nullptr;
    ButonWeb* ButonWebSendToPrepare = nullptr;

    void ButonWebNewOrder_Click();
    void ButonWebCallOrder_Click();
    void ButonWeb1_Click();
    void ButonWebSendToPrepare_Click();
    void Xxx1_Click();
    void Xxx2_Click();
    void TextSearch_Change();

    const Catalogue::Search& search() const { return m_search; }

private:
    void Form_Load();
    void showLabels();

    OrderPane m_pane;
    Catalogue::Search m_search;
};
