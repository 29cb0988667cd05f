// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "app/Form1.h"

#include <QPushButton>
#include <QTest>

// Clicks "&Query" and waits until the command has shown its reply or its
// failure: the lookup runs in a thread of its own, so the click returns at
// once. False when it has not ended after a minute.
inline bool queryAndWait(Form1 &form)
{
    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("cmdQuery")), Qt::LeftButton);
    return QTest::qWaitFor([&form] { return !form.isLookingUp(); }, 60000);
}
