#include "app/FormSplash.h"

#include "app/AppStart.h"
#include "app/FormSplashTexts.h"
#include "app/ModSmarterControl.h"
#include "data/AppGlobals.h"
#include "data/ModSQL.h"
#include "ui/DesignFonts.h"
#include "ui/VbUnits.h"
#include "ui/ScreenFit.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {
constexpr quint32 SplashBlue = 0x00CB8E29;
constexpr quint32 Yellow = 0x0000FFFF;
} // namespace

FormSplash::FormSplash(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FormSplash"));
    setWindowTitle(FormSplashTexts::Title);
    setFixedSize(VbUnits::px(4680), VbUnits::px(3090));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, VbUnits::color(SplashBlue));
    setPalette(p);

    Label1 = new QLabel(FormSplashTexts::Wait, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(VbUnits::rect(585, 1425, 3795, 645));
    Label1->setAlignment(Qt::AlignCenter);
    QFont f = DesignFonts::font(DesignFonts::MsSansSerif, 18, QFont::Bold);
    f.setItalic(true);
    Label1->setFont(f);
    Label1->setAutoFillBackground(true);
    QPalette lp = Label1->palette();
    lp.setColor(QPalette::Window, VbUnits::color(SplashBlue));
    lp.setColor(QPalette::WindowText, VbUnits::color(Yellow));
    Label1->setPalette(lp);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    // A coarse timer may fire a little early; the two seconds are a minimum.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &FormSplash::Timer1_Timer);
    Timer1->start();
    ScreenFit::apply(*this);
}

void FormSplash::Timer1_Timer() {
    Timer1->stop();
    if (loadClientBook)
        loadClientBook();
    // When the server cannot be reached the connection's fatal handling has ended the run; should
    // it return, the main window must still not appear.
    if (!ModSQL::ConnectServer()) {
        close();
        return;
    }
    AppGlobals::AppMessage = ModSmarterControl::ReadAppMessage(AppGlobals::AppKey).value;
    setWindowTitle(FormSplashTexts::TitleWithVersion + AppGlobals::BuildVersion);
    if (!m_main)
        m_main = new FormMain(mainOpeners);
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    m_main->show();
    AppStart::startupFinished();
    close();
}
