#pragma once

#include <QObject>

// The base of a test of windows over the test database: every case on each backend over fresh
// tables, a lost connection recorded instead of ending the program, every box answered by the
// test, and nothing left from the case before (globals, answers, boxes and files asked, statements
// recorded, lost connections). A test that needs more declares the slot again and calls this one
// first.
class WindowCaseTest : public QObject {
    Q_OBJECT
protected slots:
    void initTestCase_data();
    void initTestCase();
    void init();
};
