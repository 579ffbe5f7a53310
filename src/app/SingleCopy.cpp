#include "app/SingleCopy.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

SingleCopy::SingleCopy(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

QString SingleCopy::nameForUser() {
    // Named pipes on Windows are seen by every user: the user's name (hashed, as it may hold any
    // letter) keeps each user's copy apart.
    const QString user = qEnvironmentVariable("USERDOMAIN") + u'\\' + qEnvironmentVariable("USERNAME") + qEnvironmentVariable("USER");
    return QStringLiteral("brentoval-") +
           QString::fromLatin1(QCryptographicHash::hash(user.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleCopy::forwardToRunning(int timeoutMs) {
#ifdef Q_OS_WIN
    // The start the user just made may hand the foreground to the copy already running.
    AllowSetForegroundWindow(ASFW_ANY);
#endif
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

bool SingleCopy::listen(std::function<void()> comeForward) {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A name left by a copy that ended without closing (no copy answered it above).
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name))
        return false;
    // A connection is the request itself: what a closing pipe may lose is never needed.
    connect(m_server, &QLocalServer::newConnection, this, [this, comeForward] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            comeForward();
        }
    });
    return true;
}

void SingleCopy::close() {
    if (m_server)
        m_server->close();
}
