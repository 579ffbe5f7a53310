#include "app/AppStart.h"

#include "app/FormSplashTexts.h"
#include "data/BuildSettings.h"
#include "data/EmbeddedDatabase.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ui/DesignFonts.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUrl>
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
        const QString path = EmbeddedDatabase::defaultPath();
        const EmbeddedStart db = openEmbedded(path, folderWritable(QFileInfo(path).absolutePath()));
        if (!db.message.isEmpty())
            Dialogs::MsgBox(db.message);
        if (db.connectionString.isEmpty())
            return false;
        ServerConnection::instance().configure({QStringLiteral("QSQLITE"), db.connectionString});
    }
    installConnectHooks();
    return true;
}

bool folderWritable(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("brentoval-XXXXXX.tmp")));
    return probe.open();
}

EmbeddedStart openEmbedded(const QString& path, bool writable) {
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    if (!writable) {
        if (!QFileInfo(path).isReadable())
            return {QString(), FormSplashTexts::FolderNotWritable.arg(folder)};
        // Read only, and without the lock files SQLite would otherwise make beside it.
        return {QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
                    QStringLiteral("?mode=ro&immutable=1"),
                FormSplashTexts::ReadOnlyFolder.arg(folder)};
    }
    QString error;
    if (!EmbeddedDatabase::ensureCreated(path, &error))
        return {QString(), FormSplashTexts::LocalDatabaseFailed + error + QStringLiteral("\n") + folder};
    return {path, QString()};
}

void installFontSubstitutes() { DesignFonts::installSubstitutes(); }

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
