#pragma once

#include "app/Application.h"

#include <QTest>
#include <QTimer>

// Like QTEST_MAIN, but with the program's own application object, so tests
// run with its name, fonts and last-resort handler.
#define HOLDRIN_TEST_MAIN(TestObject)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        Application app(argc, argv);                                                               \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

// JSON written with single quotes, so test data reads without escapes.
inline QByteArray json(const char *singleQuoted)
{
    return QByteArray(singleQuoted).replace('\'', '"');
}
