#include "app/AppStart.h"

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

    // The window designs name Windows faces; map them to faces a Debian machine has.
    QFont::insertSubstitutions(QStringLiteral("Arabic Transparent"),
                               {QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Naskh Arabic"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans Arabic")});

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
            Dialogs::MsgBox(QStringLiteral("تعذر انشاء قاعدة البيانات المحلية: ") + error);
            return false;
        }
    }
    installConnectHooks();
    return true;
}

void installConnectHooks() {
    ModSQL::ConnectHooks hooks;
    hooks.busyOn = [] { QApplication::setOverrideCursor(Qt::WaitCursor); };
    hooks.busyOff = [] { QApplication::restoreOverrideCursor(); };
    hooks.fatal = [](const QString& error) {
        // The server cannot be reached: say why, then end the run.
        Dialogs::MsgBox(error);
        std::exit(1);
    };
    ModSQL::setConnectHooks(hooks);
}

} // namespace AppStart
