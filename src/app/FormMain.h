#pragma once

#include "app/ModSmarterControl.h"

#include <QMainWindow>
#include <functional>

class QAction;
class QMenu;
class QPushButton;
class QTimer;

// How the main window opens the working windows that other folders build. Each opens its window
// modally over the parent and returns when it is closed; one left unset opens nothing.
struct FormMainOpeners {
    std::function<void(QWidget* parent)> orderEditor;     // FormUserBuy
    std::function<void(QWidget* parent)> drugsEditor;     // FormDrugsEditor
    std::function<void(QWidget* parent)> collectedOrders; // FormBuyCollect
    std::function<void(QWidget* parent)> purchaseOrders;  // FormPurchaseOrders
};

// The home window: the administrator's blinking message, the login, and the gated way into the
// order editor and the two management windows.
class FormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FormMain(FormMainOpeners openers = {}, QWidget* parent = nullptr);

    QPushButton* Command1;
    QPushButton* Command3;
    QPushButton* CccMsg;
    QPushButton* Command2;
    QTimer* Timer1;
    QMenu* mnuManager;
    QAction* mnuDruEdit;
    QAction* mnuBuyReport;
    QAction* mnuPurchaseOrders;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void mnuDruEdit_Click();
    void mnuBuyReport_Click();
    void Timer1_Timer();

    // The message button's background as a COLORREF (0x8000000F for the button face).
    quint32 cccMsgBackColor() const { return m_cccBackColor; }
    // The message as given, whatever the button makes of ampersands.
    QString cccMsgCaption() const { return m_cccCaption; }


private:
    void setCccMsgBackColor(quint32 colorRef);
    void showCccMsgCaption();
    // Tells why a gate stayed closed: refusal when the server said no, the server's failure when
    // it could not be asked.
    bool gatePasses(const ModSmarterControl::GateResult& gate, const QString& refusal);
    void openIfManager(const std::function<void(QWidget*)>& opener);

    FormMainOpeners m_openers;
    quint32 m_cccBackColor;
    QString m_cccCaption;
};
