#include "ManagerWindowTest.h"

#include "TestDb.h"
#include "data/Clock.h"
#include "collection/BuyCollectCore.h"
#include "collection/ModOmla.h"
#include "data/AppGlobals.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

ManagerWindowTest::ManagerWindowTest(std::optional<QDateTime> now) : m_now(std::move(now)) {}

void ManagerWindowTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    WindowCaseTest::initTestCase();
    QApplication::setLayoutDirection(Qt::RightToLeft);
    ModOmla::setBookFolder(m_dir.path());
    if (m_now)
        Clock::set([now = *m_now] { return now; });
}

void ManagerWindowTest::init() {
    WindowCaseTest::init();
    AppGlobals::LoginTel = TestDb::ManagerPhone;
    QFile::remove(ModOmla::BookPath());
    ModOmla::ClientBook.clear();
    ModOmla::LoadClientBook();
}
