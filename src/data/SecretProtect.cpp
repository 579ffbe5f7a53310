#include "data/SecretProtect.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <dpapi.h>
#endif

namespace SecretProtect {

namespace {
const QString kSealed = QStringLiteral("dpapi:");
const QString kText = QStringLiteral("text:");
#ifdef Q_OS_WIN
// Names the purpose, so a blob sealed for something else by the same user does not open here.
QByteArray entropy() { return QByteArrayLiteral("Brentoval connection password"); }

QString systemError() {
    return QStringLiteral("Windows error %1").arg(qulonglong(GetLastError()));
}
#endif
} // namespace

QString seal(const QString& secret, Scope scope, QString* error) {
#ifdef Q_OS_WIN
    QByteArray plain = secret.toUtf8();
    QByteArray extra = entropy();
    DATA_BLOB in{DWORD(plain.size()), reinterpret_cast<BYTE*>(plain.data())};
    DATA_BLOB salt{DWORD(extra.size()), reinterpret_cast<BYTE*>(extra.data())};
    DATA_BLOB out{};
    const DWORD flags = CRYPTPROTECT_UI_FORBIDDEN | (scope == Scope::Machine ? CRYPTPROTECT_LOCAL_MACHINE : 0);
    const bool ok = CryptProtectData(&in, L"Brentoval", &salt, nullptr, nullptr, flags, &out);
    plain.fill('\0');
    if (!ok) {
        if (error)
            *error = systemError();
        return {};
    }
    const QByteArray blob(reinterpret_cast<const char*>(out.pbData), int(out.cbData));
    LocalFree(out.pbData);
    return kSealed + QString::fromLatin1(blob.toBase64());
#else
    Q_UNUSED(scope);
    Q_UNUSED(error);
    return kText + secret;
#endif
}

std::optional<QString> open(const QString& sealed, QString* error) {
#ifdef Q_OS_WIN
    if (!sealed.startsWith(kSealed)) {
        if (error)
            *error = QStringLiteral("not a sealed password");
        return std::nullopt;
    }
    QByteArray blob = QByteArray::fromBase64(sealed.mid(kSealed.size()).toLatin1());
    QByteArray extra = entropy();
    DATA_BLOB in{DWORD(blob.size()), reinterpret_cast<BYTE*>(blob.data())};
    DATA_BLOB salt{DWORD(extra.size()), reinterpret_cast<BYTE*>(extra.data())};
    DATA_BLOB out{};
    if (blob.isEmpty() || !CryptUnprotectData(&in, nullptr, &salt, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
        if (error)
            *error = systemError();
        return std::nullopt;
    }
    const QString secret = QString::fromUtf8(reinterpret_cast<const char*>(out.pbData), int(out.cbData));
    SecureZeroMemory(out.pbData, out.cbData);
    LocalFree(out.pbData);
    return secret;
#else
    if (!sealed.startsWith(kText)) {
        if (error)
            *error = QStringLiteral("not a stored password");
        return std::nullopt;
    }
    return sealed.mid(kText.size());
#endif
}

} // namespace SecretProtect
