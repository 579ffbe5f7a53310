#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A secret as it may rest in a settings file. On Windows it is sealed with the system's data
// protection for the current user (or for the machine, so every user of an all-users install can
// open it), and only that user or machine can open it again. Other systems have no such store:
// there the text is kept as it is, "text:" in front, in a file only its owner may read.
namespace SecretProtect {

enum class Scope { User, Machine };

// "dpapi:<base64>" on Windows, "text:<the secret>" elsewhere; empty with error set on failure.
QString seal(const QString& secret, Scope scope, QString* error = nullptr);
// The secret again; nothing when the text is not one seal made or cannot be opened here
// (another user's or machine's seal).
std::optional<QString> open(const QString& sealed, QString* error = nullptr);

} // namespace SecretProtect
