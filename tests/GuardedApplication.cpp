// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "GuardedApplication.h"

#include <QTest>

#include <exception>

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        QTest::qFail(e.what(), __FILE__, __LINE__);
    } catch (...) {
        QTest::qFail("an exception of unknown type", __FILE__, __LINE__);
    }
    return false;
}
