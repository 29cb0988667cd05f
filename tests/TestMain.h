// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "GuardedApplication.h"

#include <QMetaMethod>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <exception>

// QtTest ends the whole run when a test function throws, so each function
// runs on its own and one that throws fails alone. Arguments, if any, are
// QtTest's own and run once as given.
template <typename App, typename TestObject>
int runTestFunctions(int argc, char *argv[], void (*setSourcePath)())
{
    App app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestObject tc;
    setSourcePath();
    const auto run = [&](const QStringList &arguments) {
        try {
            return QTest::qExec(&tc, arguments);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "The test threw: %s\n", e.what());
        } catch (...) {
            std::fprintf(stderr, "The test threw an exception of unknown type.\n");
        }
        return 1;
    };
    const QStringList arguments = app.arguments();
    if (arguments.size() > 1)
        return run(arguments);

    int failed = 0;
    const QMetaObject *meta = tc.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const QByteArray name = method.name();
        if (method.methodType() != QMetaMethod::Slot || method.access() != QMetaMethod::Private
            || method.parameterCount() != 0 || name.endsWith("_data") || name == "init" || name == "cleanup"
            || name == "initTestCase" || name == "cleanupTestCase")
            continue;
        failed += run({arguments.value(0), QString::fromLatin1(name)});
    }
    return failed > 0 ? 1 : 0;
}

// Like QTEST_MAIN, but with the program's own application object, so tests
// run with its name, fonts and last-resort handler (guarded, unless the
// application type is given).
#define HOLDRIN_TEST_MAIN_WITH(TestObject, App)                                                    \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        return runTestFunctions<App, TestObject>(argc, argv, [] { QTEST_SET_MAIN_SOURCE_PATH });   \
    }
#define HOLDRIN_TEST_MAIN(TestObject) HOLDRIN_TEST_MAIN_WITH(TestObject, GuardedApplication)

// JSON written with single quotes, so test data reads without escapes.
inline QByteArray json(const char *singleQuoted)
{
    return QByteArray(singleQuoted).replace('\'', '"');
}
