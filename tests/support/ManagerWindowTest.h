#pragma once

#include <QDateTime>
#include <QObject>
#include <QTemporaryDir>
#include <optional>

// The base of a test of the manager's windows: every case on each backend over a fresh test
// database, logged in as the manager, message boxes answered by the test, right to left, and an
// empty client book in a folder of the test's own. A test that needs more declares the slot
// again and calls this one first.
class ManagerWindowTest : public QObject {
    Q_OBJECT
public:
    // now: the clock of the order lists and periods; none leaves the real one.
    explicit ManagerWindowTest(std::optional<QDateTime> now = {});

protected:
    QTemporaryDir m_dir; // holds the client book; the test may keep its files here too

protected slots:
    void initTestCase_data();
    void initTestCase();
    void init();

private:
    std::optional<QDateTime> m_now;
};
