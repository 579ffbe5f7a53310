#pragma once

#include "WindowCaseTest.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <optional>

// The base of a test of the manager's windows: a window case logged in as the manager, right to
// left, with an empty client book in a folder of the test's own. A test that needs more declares
// the slot again and calls this one first.
class ManagerWindowTest : public WindowCaseTest {
    Q_OBJECT
public:
    // now: the clock of the order lists and periods; none leaves the real one.
    explicit ManagerWindowTest(std::optional<QDateTime> now = {});

protected:
    QTemporaryDir m_dir; // holds the client book; the test may keep its files here too

protected slots:
    void initTestCase();
    void init();

private:
    std::optional<QDateTime> m_now;
};
