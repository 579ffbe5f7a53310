#include "app/AppStart.h"

#include "app/FormSplashTexts.h"
#include "data/BuildSettings.h"
#include "data/EmbeddedDatabase.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>

namespace AppStart {

bool prepare(QApplication& app) {
    app.setApplicationName(QStringLiteral("Brentoval"));
    // No display name: Qt would append it to every caption, and the captions are exact.
    app.setLayoutDirection(Qt::RightToLeft);
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));

    installFontSubstitutes();

    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Arabic), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qt);

    ServerConnection::instance().configure(BuildSettings::connectionSettings());
    ServerConnection::instance().yieldHook = [] {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    if (BuildSettings::usesEmbeddedDatabase()) {
        QString error;
        if (!EmbeddedDatabase::ensureCreated(EmbeddedDatabase::defaultPath(), &error)) {
            Dialogs::MsgBox(FormSplashTexts::LocalDatabaseFailed + error);
            return false;
        }
    }
    installConnectHooks();
    return true;
}

void installFontSubstitutes() {
#ifdef Q_OS_WIN
    // Neither design face is on today's Windows ("MS Sans Serif" is a bitmap face that Qt cannot
    // scale). Arial carries the Arabic Transparent letters; Tahoma, on every Windows and in wine,
    // carries Arabic too and is what Windows itself puts in place of MS Sans Serif in dialogs.
    QFont::insertSubstitutions(QStringLiteral("Arabic Transparent"),
                               {QStringLiteral("Arial"), QStringLiteral("Tahoma")});
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma"));
#else
    // The window designs name Windows faces; map them to faces a Debian machine has.
    QFont::insertSubstitutions(QStringLiteral("Arabic Transparent"),
                               {QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Naskh Arabic"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans Arabic")});
#endif
}

namespace {
bool g_startupFinished = false;
}

void startupFinished() { g_startupFinished = true; }

void installConnectHooks() {
    ModSQL::ConnectHooks hooks;
    hooks.busyOn = [] { QApplication::setOverrideCursor(Qt::WaitCursor); };
    hooks.busyOff = [] { QApplication::restoreOverrideCursor(); };
    hooks.fatal = [](const QString& error) {
        if (!g_startupFinished) {
            // No server at start: say why, then end the run.
            Dialogs::MsgBox(error);
            std::exit(1);
        }
        // Later on a lost server must not take the open windows and their orders with it: say so
        // and let the user try again; the next statement reconnects once the server is back.
        Dialogs::MsgBox(FormSplashTexts::ServerLost +
                        QStringLiteral("\n\n") + error);
    };
    ModSQL::setConnectHooks(hooks);
}

} // namespace AppStart
