#include "data/GroupTables.h"

#include "data/ServerConnection.h"

namespace GroupTables {

static bool readable(const QString& table, QString* error) {
    long affected = 0;
    ServerConnection::instance().Execute(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1 = 0"),
                                         affected, error);
    return affected != 0;
}

Presence Check(const QStringList& tables, QString* error) {
    for (const QString& table : tables) {
        QString why;
        if (readable(table, &why))
            continue;
        // A table that cannot be read is missing only if the server answers for a table it has.
        QString serverWhy;
        if (!readable(QStringLiteral("smartertable"), &serverWhy)) {
            if (error)
                *error = serverWhy.isEmpty() ? why : serverWhy;
            return Presence::ServerFailed;
        }
        return Presence::Missing;
    }
    return Presence::Present;
}

QString MissingMessage() {
    return QStringLiteral("جداول المجموعة غير موجودة على الخادم. يجب على مدير قاعدة البيانات تشغيل الملف ") +
           ServerScript + QStringLiteral(" لانشائها، وباقي البرنامج يعمل كما هو.");
}

QString OlderMessage() {
    return QStringLiteral("جداول المجموعة على الخادم اقدم من هذه النسخة. يجب على مدير قاعدة البيانات تشغيل الملف ") +
           UpdateScript + QStringLiteral(" لاضافة الجداول الناقصة، وباقي البرنامج يعمل كما هو.");
}

QString Message(Presence presence) {
    return presence == Presence::Older ? OlderMessage() : MissingMessage();
}

} // namespace GroupTables
