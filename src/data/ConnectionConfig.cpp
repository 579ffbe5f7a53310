#include "data/ConnectionConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

namespace ConnectionConfig {

namespace {
const QString kFile = QStringLiteral("connection.ini");
const QString kGroup = QStringLiteral("connection/");
} // namespace

QString filePath(Scope scope) {
#ifdef Q_OS_WIN
    const QString base = scope == Scope::User ? qEnvironmentVariable("LOCALAPPDATA") : qEnvironmentVariable("ProgramData");
    return QDir(QDir::fromNativeSeparators(base)).filePath(QStringLiteral("Brentoval/") + kFile);
#else
    if (scope == Scope::User)
        return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(QStringLiteral("Brentoval/") + kFile);
    return QStringLiteral("/etc/xdg/Brentoval/") + kFile;
#endif
}

std::optional<Values> read(const QString& path, const Values& defaults, QString* error) {
    if (!QFileInfo(path).isReadable()) {
        if (error)
            *error = QStringLiteral("cannot read %1").arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    QSettings s(path, QSettings::IniFormat);
    if (s.status() != QSettings::NoError) {
        if (error)
            *error = QStringLiteral("%1 is damaged").arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    Values v = defaults;
    const auto take = [&](const char* key, QString& into) {
        const QString k = kGroup + QLatin1String(key);
        if (s.contains(k))
            into = s.value(k).toString();
    };
    take("driver", v.driver);
    take("server", v.host);
    take("database", v.database);
    take("uid", v.uid);
    take("extra", v.extra);
    const QString sealed = s.value(kGroup + QStringLiteral("password")).toString();
    if (!sealed.isEmpty()) {
        QString why;
        const std::optional<QString> pwd = SecretProtect::open(sealed, &why);
        if (!pwd) {
            if (error)
                *error = QStringLiteral("the password in %1 cannot be opened by this user on this machine (%2)")
                             .arg(QDir::toNativeSeparators(path), why);
            return std::nullopt;
        }
        v.pwd = *pwd;
    } else {
        v.pwd.clear();
    }
    return v;
}

std::optional<Values> readPlain(const QString& path, const Values& defaults, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1").arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    const QByteArray bytes = f.readAll();
    const std::optional<QStringConverter::Encoding> bom = QStringConverter::encodingForData(bytes);
    QStringDecoder decode(bom.value_or(QStringConverter::Utf8));
    QString text = decode(bytes);
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    Values v = defaults;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QStringView key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).toString();
        for (auto [name, into] : {std::pair{"driver", &v.driver}, std::pair{"server", &v.host},
                                  std::pair{"database", &v.database}, std::pair{"uid", &v.uid},
                                  std::pair{"pwd", &v.pwd}, std::pair{"extra", &v.extra}})
            if (key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                *into = value;
    }
    return v;
}

bool write(const QString& path, const Values& v, Scope scope, QString* error) {
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    QString why;
    const QString sealed = v.pwd.isEmpty() ? QString() : SecretProtect::seal(v.pwd, scope, &why);
    if (!v.pwd.isEmpty() && sealed.isEmpty())
        return fail(QStringLiteral("cannot protect the password: %1").arg(why));
    {
        QSettings s(path, QSettings::IniFormat);
        s.clear();
        s.setValue(kGroup + QStringLiteral("driver"), v.driver);
        s.setValue(kGroup + QStringLiteral("server"), v.host);
        s.setValue(kGroup + QStringLiteral("database"), v.database);
        s.setValue(kGroup + QStringLiteral("uid"), v.uid);
        s.setValue(kGroup + QStringLiteral("password"), sealed);
        s.setValue(kGroup + QStringLiteral("extra"), v.extra);
        s.sync();
        if (s.status() != QSettings::NoError)
            return fail(QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(path)));
    }
#ifndef Q_OS_WIN
    // Without a system store the password rests as text: only the owner may read the file.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
    return true;
}

Current current() {
    Current c;
    c.values = BuildSettings::compiledValues();
    for (const Scope scope : {Scope::User, Scope::Machine}) {
        const QString path = filePath(scope);
        if (!QFileInfo::exists(path))
            continue;
        QString error;
        if (const std::optional<Values> v = read(path, c.values, &error)) {
            c.values = *v;
            c.source = path;
        } else {
            c.error = error;
        }
        return c;
    }
    return c;
}

} // namespace ConnectionConfig
