#include "data/UserLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QStringList>
#include <exception>

namespace UserLog {

namespace {
struct State {
    QMutex mutex;
    QString path;
    qint64 maxBytes = 0;
    int keep = 0;
    QStringList secrets;
    QtMessageHandler previous = nullptr;
};
State& st() {
    static State s;
    return s;
}

void rotate(State& s) {
    if (QFileInfo(s.path).size() < s.maxBytes)
        return;
    QFile::remove(s.path + u'.' + QString::number(s.keep));
    for (int i = s.keep - 1; i >= 1; --i)
        QFile::rename(s.path + u'.' + QString::number(i), s.path + u'.' + QString::number(i + 1));
    QFile::rename(s.path, s.path + QStringLiteral(".1"));
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // Debug lines stay out; the statements the server refused come as info of brentoval.sql.
    const bool sql = context.category && QLatin1String(context.category) == QLatin1String("brentoval.sql");
    if (type != QtDebugMsg && (type != QtInfoMsg || sql)) {
        static const char* const kinds[] = {"debug", "warning", "critical", "fatal", "info"};
        write(sql ? QStringLiteral("sql") : QLatin1String(kinds[type]), message);
    }
    if (st().previous)
        st().previous(type, context, message);
}
} // namespace

QString filePath() { return st().path; }

void addSecret(const QString& secret) {
    if (secret.size() < 4)
        return;
    QMutexLocker lock(&st().mutex);
    st().secrets.append(secret);
}

void write(const QString& kind, const QString& text) {
    State& s = st();
    QMutexLocker lock(&s.mutex);
    if (s.path.isEmpty())
        return;
    QString line = QDateTime::currentDateTime().toString(Qt::ISODate) + u' ' + kind + QStringLiteral(": ") + text;
    for (const QString& secret : std::as_const(s.secrets))
        line.replace(secret, QStringLiteral("****"));
    line.replace(u'\n', QStringLiteral(" | "));
    rotate(s);
    QFile f(s.path);
    if (f.open(QIODevice::Append | QIODevice::Text))
        f.write(line.toUtf8() + '\n');
}

void start(const QString& folder, qint64 maxBytes, int keep) {
    {
        State& s = st();
        QMutexLocker lock(&s.mutex);
        if (!QDir().mkpath(folder))
            return;
        s.path = QDir(folder).filePath(QStringLiteral("brentoval.log"));
        s.maxBytes = maxBytes;
        s.keep = keep;
    }
    st().previous = qInstallMessageHandler(handler);
    std::set_terminate([] {
        write(QStringLiteral("fatal"), QStringLiteral("the program ended unexpectedly"));
        std::abort();
    });
}

} // namespace UserLog
