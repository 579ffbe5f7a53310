#include "app/AppStart.h"

#include "app/FormConnection.h"
#include "app/ConnectionStartTexts.h"
#include "app/AppStartTexts.h"
#include "data/BuildSettings.h"
#include "data/ConnectionCheck.h"
#include "data/ConnectionConfig.h"
#include "data/EmbeddedDatabase.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "data/UserLog.h"
#include "ui/DesignFonts.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QProcess>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUrl>
#include <QEventLoop>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QWidget>
#include <QTranslator>

#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace AppStart {

namespace {
ConnectionConfig::Scope scopeOf(const QString& file) {
    return file == ConnectionConfig::filePath(ConnectionConfig::Scope::Machine) ? ConnectionConfig::Scope::Machine
                                                                                  : ConnectionConfig::Scope::User;
}
} // namespace

bool editSettings(ConnectionConfig::Scope scope) {
    const QString file = ConnectionConfig::filePath(scope);
    FormConnection window(file, scope);
    ConnectionConfig::Values values = BuildSettings::compiledValues();
    QString ignored;
    if (const auto saved = ConnectionConfig::read(file, values, &ignored))
        values = *saved;
    window.setValues(values);
    return window.exec() == QDialog::Accepted;
}

void offerSettings(const QString& text) {
    if (Dialogs::MsgBox(text + ConnectionStartTexts::OfferSettings, Dialogs::vbYesNo | Dialogs::vbQuestion) != Dialogs::vbYes)
        return;
    const ConnectionConfig::Current config = ConnectionConfig::current();
    const QString used = config.source.isEmpty() ? ConnectionConfig::filePath(ConnectionConfig::Scope::User) : config.source;
    // Saved: the program starts again with the new values, as a new run.
    if (editSettings(scopeOf(used))) {
        if (beforeRestart)
            beforeRestart();
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
    }
}

int runCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption settings(QStringLiteral("settings"));
    const QCommandLineOption importFrom(QStringLiteral("import-settings"), {}, QStringLiteral("file"));
    const QCommandLineOption allUsers(QStringLiteral("all-users"));
    parser.addOptions({settings, importFrom, allUsers});
    if (!parser.parse(arguments))
        return -1;
    const auto scope = parser.isSet(allUsers) ? ConnectionConfig::Scope::Machine : ConnectionConfig::Scope::User;
    if (parser.isSet(settings))
        return editSettings(scope) ? 0 : 1;
    if (parser.isSet(importFrom)) {
        // The installer's values, in a file of its own that goes once they are stored sealed.
        const QString from = parser.value(importFrom);
        QString error;
        // Values the installer was not given stay as the file (or the build) had them.
        const QString file = ConnectionConfig::filePath(scope);
        const ConnectionConfig::Values before =
            ConnectionConfig::read(file, BuildSettings::compiledValues(), &error).value_or(BuildSettings::compiledValues());
        const auto values = ConnectionConfig::readPlain(from, before, &error);
        QFile::remove(from);
        return values && ConnectionConfig::write(file, *values, scope, &error) ? 0 : 2;
    }
    return -1;
}

void announceRunning() {
#ifdef Q_OS_WIN
    // Held until the process ends; Windows closes it then, however the process ends.
    static HANDLE running = CreateMutexW(nullptr, FALSE, L"Global\\BrentovalRunning");
    Q_UNUSED(running);
#endif
}

void startLog() {
    QLoggingCategory::setFilterRules(QStringLiteral("brentoval.sql.info=true"));
    UserLog::start(QFileInfo(ConnectionConfig::filePath(ConnectionConfig::Scope::User)).absolutePath());
}

void bringForward() {
    QWidget* front = QApplication::activeModalWidget();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        if (w->isMinimized())
            w->showNormal();
        w->raise();
        if (!front)
            front = w;
    }
    if (front) {
        front->raise();
        front->activateWindow();
    }
}

void setUp(QApplication& app) {
    app.setApplicationName(QStringLiteral("Brentoval"));
    // No display name: Qt would append it to every caption, and the captions are exact.
    app.setLayoutDirection(Qt::RightToLeft);
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));

    installFontSubstitutes();

    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Arabic), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qt);
}

bool prepare() {
    const ConnectionConfig::Current config = ConnectionConfig::current();
    if (!config.error.isEmpty()) {
        // A settings file that cannot be used is not passed over for the compiled values.
        offerSettings(ConnectionStartTexts::SettingsUnreadable + config.error);
        return false;
    }
    UserLog::addSecret(config.values.pwd);
    UserLog::addSecret(BuildSettings::OdbcValue(config.values.pwd));
    ServerConnection::instance().configure(BuildSettings::connectionSettings(config.values));
    ServerConnection::instance().yieldHook = [] {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    if (BuildSettings::usesEmbeddedDatabase(config.values)) {
        const QString path = EmbeddedDatabase::defaultPath();
        QDir().mkpath(QFileInfo(path).absolutePath());
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
            return {QString(), AppStartTexts::FolderNotWritable.arg(folder)};
        // Read only. Changes still in the write-ahead log (a copy that ended without folding it
        // in) are read with it; without a log there is nothing beyond the file, and SQLite then
        // needs no lock files it could not make here.
        const bool log = QFileInfo::exists(path + QStringLiteral("-wal"));
        return {QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
                    (log ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=ro&immutable=1")),
                AppStartTexts::ReadOnlyFolder.arg(folder)};
    }
    QString error;
    if (!EmbeddedDatabase::ensureCreated(path, &error))
        return {QString(), AppStartTexts::LocalDatabaseFailed + error + QStringLiteral("\n") + folder};
    return {path, QString()};
}

QString startFailureText(const QString& error, const QString& code, const QString& driver) {
    if (ConnectionCheck::isDriverMissing(error, code))
        return ConnectionStartTexts::DriverMissing.arg(driver) + QStringLiteral("\n\n") + error;
    return error;
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
            // No server at start: say why, offer the settings, then end the run.
            offerSettings(startFailureText(error, ServerConnection::instance().lastOpenErrorCode(),
                                           ConnectionConfig::current().values.driver));
            std::exit(1);
        }
        // Later on a lost server must not take the open windows and their orders with it: say so
        // and let the user try again; the next statement reconnects once the server is back.
        Dialogs::MsgBox(AppStartTexts::ServerLost +
                        QStringLiteral("\n\n") + error);
    };
    ModSQL::setConnectHooks(hooks);
}

} // namespace AppStart
