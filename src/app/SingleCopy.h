#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

// One copy of the program per user: the first copy listens under a name of the user's; a second
// start finds it, asks it to come forward and ends. (Two copies started within the same instant
// may both stay; nothing worse follows.)
class SingleCopy : public QObject {
    Q_OBJECT
public:
    explicit SingleCopy(const QString& name, QObject* parent = nullptr);
    // The name for the user running this process.
    static QString nameForUser();

    // True when another copy runs and was asked to come forward.
    bool forwardToRunning(int timeoutMs = 2000);
    // Listens for later starts; comeForward runs for each. False when it cannot listen.
    bool listen(std::function<void()> comeForward);
    // Stops listening, so that a copy started to replace this one is a first copy.
    void close();

private:
    QString m_name;
    QLocalServer* m_server = nullptr;
};
