#include "app/FFFLOGIN.h"

#include "app/FFFLOGINTexts.h"
#include "app/LoginRules.h"
#include "ui/DesignFonts.h"
#include "ui/Dialogs.h"
#include "ui/VbUnits.h"
#include "ui/ScreenFit.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

void FFFLOGINLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

namespace {
QFont labelFont() {
    return QFont(DesignFonts::ArabicTransparent, 10, QFont::Bold);
}
} // namespace

FFFLOGIN::FFFLOGIN(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FFFLOGIN"));
    setWindowTitle(FFFLOGINTexts::Title);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(VbUnits::px(6600), VbUnits::px(3300));

    // Inputs stand on the left and their Arabic labels on the right, as the form reads right-to-left.
    TextTel = new QLineEdit(this);
    TextTel->setObjectName(QStringLiteral("TextTel"));
    TextTel->setFont(DesignFonts::font(DesignFonts::MsSansSerif, 18, QFont::Bold));
    TextTel->setGeometry(VbUnits::rect(240, 300, 3600, 615));

    Label1 = new QLabel(FFFLOGINTexts::PhoneLabel, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(labelFont());
    Label1->setGeometry(VbUnits::rect(4000, 420, 2360, 375));

    Label4 = new FFFLOGINLabel(QStringLiteral("kafrelsheikh"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(VbUnits::rect(240, 1140, 3600, 375));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setAutoFillBackground(true);
    QPalette grey = Label4->palette();
    grey.setColor(QPalette::Window, VbUnits::color(0x00C0C0C0));
    Label4->setPalette(grey);

    Label3 = new QLabel(FFFLOGINTexts::GovernorateLabel, this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(labelFont());
    Label3->setGeometry(VbUnits::rect(4000, 1140, 2360, 375));

    ComMarkaz = new QComboBox(this);
    ComMarkaz->setObjectName(QStringLiteral("ComMarkaz"));
    ComMarkaz->setEditable(false);
    ComMarkaz->addItems(LoginRules::districts());
    ComMarkaz->setCurrentIndex(-1);
    ComMarkaz->setGeometry(VbUnits::rect(240, 1740, 3600, 375));

    Label2 = new QLabel(FFFLOGINTexts::DistrictLabel, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(labelFont());
    Label2->setGeometry(VbUnits::rect(4000, 1740, 2360, 375));

    Command1 = new QPushButton(FFFLOGINTexts::Ok, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(VbUnits::rect(2580, 2460, 1440, 495));
    Command1->setDefault(true);

    setTabOrder(TextTel, ComMarkaz);
    setTabOrder(ComMarkaz, Command1);
    TextTel->setFocus();

    connect(Command1, &QPushButton::clicked, this, &FFFLOGIN::Command1_Click);
    connect(Label4, &FFFLOGINLabel::Click, this, &FFFLOGIN::Label4_Click);
    ScreenFit::apply(*this);
}

void FFFLOGIN::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void FFFLOGIN::Command1_Click() {
    switch (LoginRules::apply(TextTel->text(), ComMarkaz->currentText())) {
    case LoginRules::Verdict::BadPhone:
        Dialogs::MsgBox(FFFLOGINTexts::BadPhone, Dialogs::vbOKOnly, this);
        break;
    case LoginRules::Verdict::NoDistrict:
        Dialogs::MsgBox(FFFLOGINTexts::NoDistrict, Dialogs::vbOKOnly, this);
        break;
    case LoginRules::Verdict::Accepted:
        accept();
        break;
    }
}

void FFFLOGIN::Label4_Click() {
    Dialogs::MsgBox(FFFLOGINTexts::GovernorateOnly, Dialogs::vbOKOnly, this);
}
