#pragma once

#include <QString>
#include <QStringList>

// The group's own tables, made by the group-*.sql scripts.
namespace GroupTables {
inline const QString ServerScript = QStringLiteral("group-sqlserver.sql");
enum class Presence { Present, Missing, ServerFailed };
Presence Check(const QStringList& tables, QString* error = nullptr);
QString MissingMessage();
} // namespace GroupTables
