#include "data/GroupTables.h"

#include "data/ModSQL.h"
#include "data/ServerConnection.h"

namespace GroupTables {

Presence Check(const QStringList& tables, QString* error) {
    ServerConnection& server = ServerConnection::instance();
    if (!ModSQL::ConnectServer())
        return Presence::ServerFailed;
    for (const QString& t : tables) {
        long affected = 0;
        QString e;
        server.Execute(QStringLiteral("SELECT * FROM ") + t + QStringLiteral(" WHERE 1 = 0"), affected, &e);
        if (affected == 0) {
            if (error)
                *error = e;
            return server.State() == 1 ? Presence::Missing : Presence::ServerFailed;
        }
    }
    return Presence::Present;
}

QString MissingMessage() {
    return QStringLiteral("جداول المجموعة غير موجودة على الخادم. انشئها بالملف ") + ServerScript;
}

} // namespace GroupTables
