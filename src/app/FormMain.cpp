#include "app/FormMain.h"

#include "app/FFFLOGIN.h"
#include "app/FormMainTexts.h"
#include "app/ModSmarterControl.h"
#include "data/AppGlobals.h"
#include "ui/DesignFonts.h"
#include "ui/Dialogs.h"
#include "ui/VbUnits.h"
#include "ui/ScreenFit.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>


namespace {
constexpr quint32 Cyan = 0x00FFFF00;

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setFont(DesignFonts::font(DesignFonts::ArabicTransparent, 12, QFont::Bold));
    b->setGeometry(geometry);
    return b;
}
} // namespace

FormMain::FormMain(FormMainOpeners openers, QWidget* parent)
    : QMainWindow(parent), m_openers(std::move(openers)), m_cccBackColor(VbUnits::ButtonFace) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(FormMainTexts::Title);

    mnuManager = menuBar()->addMenu(FormMainTexts::MenuManager);
    mnuManager->setObjectName(QStringLiteral("mnuManager"));
    mnuDruEdit = mnuManager->addAction(FormMainTexts::MenuDrugsEditor);
    mnuDruEdit->setObjectName(QStringLiteral("mnuDruEdit"));
    mnuBuyReport = mnuManager->addAction(FormMainTexts::MenuCollectedOrders);
    mnuBuyReport->setObjectName(QStringLiteral("mnuBuyReport"));
    mnuPurchaseOrders = mnuManager->addAction(FormMainTexts::MenuPurchaseOrders);
    mnuPurchaseOrders->setObjectName(QStringLiteral("mnuPurchaseOrders"));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("FormMainClient"));
    client->setFixedSize(VbUnits::px(12840), VbUnits::px(8670));
    setCentralWidget(client);

    Command1 = button(client, "Command1", FormMainTexts::LogIn, VbUnits::rect(10425, 2145, 2295, 600));
    Command3 = button(client, "Command3", FormMainTexts::Purchases, VbUnits::rect(8340, 2145, 2070, 600));
    Command3->setEnabled(false);
    CccMsg = button(client, "CccMsg", QString(), VbUnits::rect(1215, 2145, 7125, 600));
    // The background colour must show, as on a graphical-style button.
    CccMsg->setAutoFillBackground(true);
    Command2 = button(client, "Command2", FormMainTexts::More, VbUnits::rect(240, 2160, 975, 585));
    setTabOrder(Command1, Command3);
    setTabOrder(Command3, CccMsg);
    setTabOrder(CccMsg, Command2);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);

    // Load: the message read at start-up goes on the button.
    m_cccCaption = AppGlobals::AppMessage;
    showCccMsgCaption();
    setCccMsgBackColor(VbUnits::ButtonFace);

    connect(Command1, &QPushButton::clicked, this, &FormMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FormMain::Command3_Click);
    connect(mnuDruEdit, &QAction::triggered, this, &FormMain::mnuDruEdit_Click);
    connect(mnuBuyReport, &QAction::triggered, this, &FormMain::mnuBuyReport_Click);
    connect(mnuPurchaseOrders, &QAction::triggered, this, [this] { openIfManager(m_openers.purchaseOrders); });
    connect(Timer1, &QTimer::timeout, this, &FormMain::Timer1_Timer);
    Timer1->start();

    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    ScreenFit::apply(*this);
}

void FormMain::showCccMsgCaption() {
    // A message longer than the button shows its beginning and an ellipsis; the more button
    // shows it whole. A literal ampersand must not turn into a shortcut and vanish.
    const int room = CccMsg->width() - 2 * CccMsg->fontMetrics().horizontalAdvance(u'M');
    const QString fits = CccMsg->fontMetrics().elidedText(m_cccCaption, Qt::ElideRight, room);
    CccMsg->setText(QString(fits).replace(u'&', QStringLiteral("&&")));
}

void FormMain::setCccMsgBackColor(quint32 colorRef) {
    m_cccBackColor = colorRef;
    QPalette p = CccMsg->palette();
    p.setColor(QPalette::Button, VbUnits::color(colorRef));
    p.setColor(QPalette::Window, VbUnits::color(colorRef));
    CccMsg->setPalette(p);
    // Native styles (the Windows one above all) draw a themed face over the palette; a style sheet
    // with a border of its own has the face painted in exactly this colour on every platform.
    CccMsg->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid palette(shadow);"
                                         " padding: 2px; } QPushButton:pressed { border-width: 2px; }")
                              .arg(VbUnits::color(colorRef).name()));
}

void FormMain::Timer1_Timer() {
    setCccMsgBackColor(m_cccBackColor == VbUnits::ButtonFace ? Cyan : VbUnits::ButtonFace);
}

void FormMain::Command2_Click() {
    Dialogs::MsgBox(m_cccCaption, Dialogs::vbOKOnly, this);
}

void FormMain::Command1_Click() {
    {
        FFFLOGIN login(this);
        login.exec();
    }
    if (AppGlobals::LoginTel.isEmpty())
        return;
    Command3->setEnabled(true);
    Command1->setEnabled(false);
    Dialogs::MsgBox(FormMainTexts::LoggedIn, Dialogs::vbOKOnly, this);
    setWindowTitle(windowTitle() + QStringLiteral("   ") + AppGlobals::LoginTel);
}

bool FormMain::gatePasses(const ModSmarterControl::GateResult& gate, const QString& refusal) {
    using ModSmarterControl::Gate;
    if (gate.gate == Gate::ServerFailed) {
        if (!gate.told)
            Dialogs::MsgBox(FormMainTexts::ServerMessage + QStringLiteral("\n\n") + gate.error, Dialogs::vbOKOnly,
                            this);
        return false;
    }
    if (gate.gate == Gate::Refused && !refusal.isEmpty())
        Dialogs::MsgBox(refusal, Dialogs::vbOKOnly, this);
    return gate.gate == Gate::Passes;
}

void FormMain::Command3_Click() {
    if (!gatePasses(ModSmarterControl::VersionGate(), FormMainTexts::VersionMessage))
        return;
    if (AppGlobals::LoginTel.isEmpty()) {
        Dialogs::MsgBox(FormMainTexts::LogInFirst, Dialogs::vbOKOnly, this);
        return;
    }
    if (m_openers.orderEditor)
        m_openers.orderEditor(this);
}

void FormMain::openIfManager(const std::function<void(QWidget*)>& opener) {
    if (!gatePasses(ModSmarterControl::VersionGate(), FormMainTexts::VersionMessage))
        return;
    // Someone who is not the manager is refused without a word.
    if (gatePasses(ModSmarterControl::ManagementGate(), QString()) && opener)
        opener(this);
}

void FormMain::mnuDruEdit_Click() {
    openIfManager(m_openers.drugsEditor);
}
void FormMain::mnuBuyReport_Click() {
    openIfManager(m_openers.collectedOrders);
}
