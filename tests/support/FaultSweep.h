#pragma once

#include "TestDb.h"
#include "data/ServerConnection.h"

#include <QStringList>
#include <QTest>
#include <functional>
#include <initializer_list>

// One fault at one statement of an action, the same for every sweep: the connection gone before
// it, its reply lost with the connection gone for the rest of the action, its reply lost while the
// server goes on answering, or its session killed (a server only).
namespace FaultSweep {

inline const QString Before = QStringLiteral("before");
inline const QString LostGone = QStringLiteral("lost reply");
inline const QString LostGoesOn = QStringLiteral("lost reply, server goes on");
inline const QString Killed = QStringLiteral("killed");
inline QStringList faults() { return {Before, LostGone, LostGoesOn, Killed}; }

// Arms fault at statement k (1 the first; 0 none); n counts the statements run since.
class Armed {
public:
    Armed(const QString& fault, int k) {
        ServerConnection& server = ServerConnection::instance();
        server.beforeExecute = [this, fault, k, &server](const QString&) {
            // At least the program's session; a session it closed a moment ago may still be
            // on its way out and be counted too.
            if (++n == k && fault == Killed)
                QVERIFY(TestDb::pgTerminateOthers() >= 1);
            else if (down || (n == k && fault == Before))
                server.Close();
        };
        server.afterExecute = [this, fault, k, &server](const QString&) {
            if (n == k && fault == LostGoesOn)
                return true;
            down = down || (n == k && fault == LostGone);
            if (down)
                server.Close();
            return down;
        };
    }
    ~Armed() { disarm(); }
    // Ends the fault; the connection is opened again as the next action would find it.
    void disarm() {
        ServerConnection& server = ServerConnection::instance();
        server.beforeExecute = nullptr;
        server.afterExecute = nullptr;
        if (server.State() != 1)
            server.Open(nullptr);
    }
    int n = 0;
    bool down = false;
};

// Whether fault can be raised on the current backend.
inline bool possible(const QString& fault) {
    return fault != Killed || TestDb::currentBackend() == QLatin1String("postgres");
}

// The data of a sweep: one row per action and fault, columns "action" and "fault".
inline void addRows(std::initializer_list<const char*> actions) {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("fault");
    for (const char* a : actions)
        for (const QString& f : faults())
            QTest::addRow("%s, %s", a, qPrintable(f)) << QString::fromLatin1(a) << f;
}

// The sweep: round 0 runs the action without a fault and counts its statements, then one round
// per statement with the fault at it. A round sets up, acts with the fault armed, and checks
// (given k, the statement, 0 for none). Stops at the first failure; returns the count.
inline int run(const QString& fault, const std::function<void()>& setUp, const std::function<void()>& act,
               const std::function<void(int k)>& check) {
    int statements = 0;
    for (int k = 0; k == 0 || k <= statements; ++k) {
        setUp();
        if (QTest::currentTestFailed())
            break;
        {
            Armed armed(fault, k);
            act();
            armed.disarm();
            if (k == 0)
                statements = armed.n;
        }
        if (!QTest::currentTestFailed())
            check(k);
        if (QTest::currentTestFailed())
            break;
    }
    return statements;
}

} // namespace FaultSweep
