#include "WindowCaseTest.h"

#include "TestDb.h"
#include "data/AppGlobals.h"
#include "data/ServerConnection.h"
#include "ui/Dialogs.h"

#include <QtTest>

void WindowCaseTest::initTestCase_data() {
    TestDb::addBackendRows();
}

void WindowCaseTest::initTestCase() {
    TestDb::installRecordingHooks();
    Dialogs::setTestMode(true);
}

void WindowCaseTest::init() {
    TESTDB_INIT();
    TestDb::fatalErrors().clear();
    AppGlobals::reset();
    Dialogs::clearAnswers();
    Dialogs::clearShown();
    ServerConnection::instance().clearExecutedStatements();
}
