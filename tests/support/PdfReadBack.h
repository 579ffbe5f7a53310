#pragma once

#include <QFileInfo>
#include <QStandardPaths>
#include <QtTest>

// pdftotext and pdftoppm are the build machine's programs, which a Windows build run under wine
// cannot start: there a printed page is checked for size only.
#define READ_BACK_OR_SKIP(pdf)                                                                         \
    do {                                                                                               \
        QVERIFY(QFileInfo(pdf).size() > 1000);                                                         \
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())                     \
            QSKIP("pdftotext cannot be started from here (Windows build under wine)");                 \
    } while (false)
